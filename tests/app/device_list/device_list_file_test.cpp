// "DevList.db" against files laid out by hand from the file's and the record's offsets, restored onto
// scripted V4L2 cameras and microphones of ALSA's file plugin.

#include "app/device_list_file.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "alsa_file_devices.h"
#include "app/main_window.h"
#include "engine/device.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "scripted_v4l2.h"
#include "tests/engine/device/kit/notify_recorder.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/temp_folder.h"

namespace kestrova {
namespace {

constexpr size_t kHeader = 8;
constexpr size_t kRecord = 54804;
constexpr size_t kMotionArea = 3604;
constexpr size_t kPrivacyArea = 29204;

// A file's bytes, written field by field at the offsets of its layout; every field not written stays NUL.
class FileBytes {
public:
    FileBytes() : bytes_(kHeader) {
        std::memcpy(bytes_.data(), "LDVK", 4);
        PutInt32(4, 1);
    }

    // Appends a record of `type` and returns its number.
    size_t AddRecord(int32_t type) {
        bytes_.resize(bytes_.size() + kRecord);
        const size_t record = (bytes_.size() - kHeader) / kRecord - 1;
        Int32(record, 0, type);
        return record;
    }
    void Int32(size_t record, size_t offset, int32_t value) { PutInt32(Base(record) + offset, value); }
    void Utf8(size_t record, size_t offset, std::string_view text) {
        std::memcpy(&bytes_[Base(record) + offset], text.data(), text.size());
    }
    void Utf16(size_t record, size_t offset, std::u16string_view text) {
        for (size_t i = 0; i < text.size(); ++i) {
            bytes_[Base(record) + offset + 2 * i] = uint8_t(text[i]);
            bytes_[Base(record) + offset + 2 * i + 1] = uint8_t(text[i] >> 8);
        }
    }
    void Actions(size_t record, const std::array<int32_t, 9>& flags) {
        for (size_t i = 0; i < flags.size(); ++i) Int32(record, 1292 + 4 * i, flags[i]);
    }
    void MaskCell(size_t record, size_t area, int cell) { Int32(record, area + 4 * size_t(cell), 1); }
    void PutInt32(size_t at, int32_t value) {
        for (size_t i = 0; i < 4; ++i) bytes_[at + i] = uint8_t(uint32_t(value) >> (8 * i));
    }

    const std::vector<uint8_t>& bytes() const { return bytes_; }
    // As saving writes the file back: every record's reserved field zero.
    std::vector<uint8_t> Saved() const {
        std::vector<uint8_t> saved = bytes_;
        for (size_t at = kHeader + 1288; at < saved.size(); at += kRecord) std::memset(&saved[at], 0, 4);
        return saved;
    }

private:
    static size_t Base(size_t record) { return kHeader + record * kRecord; }

    std::vector<uint8_t> bytes_;
};

// An IP camera with a connection, actions, a file to run, e-mail settings and both masks; the reserved
// field is not zero.
size_t AddIpCamera(FileBytes& file) {
    const size_t r = file.AddRecord(kDeviceIpCamera);
    file.Int32(r, 516, 8081);
    file.Utf8(r, 520, "127.0.0.1");
    file.Utf8(r, 776, "admin");
    file.Utf8(r, 1032,
              "s\xC3\xA9"
              "cret");
    file.Int32(r, 1288, int32_t(0xABABABAB));
    file.Actions(r, {1, 1, 1, 0, 1, 0, 1, 1, 1});
    file.Utf16(r, 1328, u"/usr/local/bin/on alarm.sh");
    file.Int32(r, 3332, 1);
    file.Utf8(r, 3336, "127.0.0.1");
    file.Int32(r, 3388, 2525);
    file.Int32(r, 3392, 1);
    file.Utf8(r, 3396, "mailer");
    file.Utf8(r, 3448, "p\xC3\xA4ss");
    file.Utf8(r, 3500, "camera@localhost");
    file.Utf8(r, 3552, "me@localhost");
    file.MaskCell(r, kMotionArea, 0);
    file.MaskCell(r, kPrivacyArea, 41);
    return r;
}

size_t AddUsbCamera(FileBytes& file, std::u16string_view path) {
    const size_t r = file.AddRecord(kDeviceUsbCamera);
    file.Utf16(r, 4, path);
    file.Actions(r, {1, 0, 1, 0, 0, 1, 0, 0, 0});
    file.MaskCell(r, kMotionArea, 1599);
    file.MaskCell(r, kPrivacyArea, 0);
    return r;
}

size_t AddMicrophone(FileBytes& file, std::u16string_view key) {
    const size_t r = file.AddRecord(kDeviceMicrophone);
    file.Utf16(r, 4, key);
    file.Actions(r, {0, 0, 0, 1, 1, 1, 1, 0, 0});
    file.Utf16(r, 1328, u"/bin/true");
    return r;
}

std::vector<uint8_t> ReadBytes(const std::wstring& path) {
    std::ifstream in(ToUtf8(path), std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(ToUtf8(path), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::wstring NameOf(Device& device) {
    wchar_t name[256] = {};
    device.GetFriendlyName(name, 255);
    return name;
}

// Display names from the list's head, the newest device.
std::vector<std::wstring> Names(DeviceList& list) {
    std::vector<std::wstring> names;
    for (Device* d = list.GetHead(); d != nullptr; d = d->GetNext()) names.push_back(NameOf(*d));
    return names;
}

mediatest::ScriptedCamera Camera(const std::string& card, const std::string& link) {
    mediatest::ScriptedCamera camera;
    camera.card = card;
    camera.formats = {{V4L2_PIX_FMT_YUYV, {{640, 480}, {320, 240}}, 30}};
    camera.links = {link};
    return camera;
}

class DeviceListFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        kernel_.AddCamera("/dev/video0", Camera("Desk Camera", "/dev/v4l/by-id/usb-Desk-video-index0"));
        kernel_.AddCamera("/dev/video2", Camera("Door Camera", "/dev/v4l/by-id/usb-Door-video-index0"));
        // Two microphones of one model: wave-in numbers 0 and 1.
        const std::vector<int16_t> silence(1102, 0);
        alsa_.Add("deskmic", "Desk Microphone", silence, 1);
        alsa_.Add("deskmic2", "Desk Microphone", silence, 1);
        window_.SetHandle(notes_.window());
        window_.SetDisplayWindow(display_.window());
        window_.SetStorageFolder(storage_.path());
    }

    DeviceList& list() { return window_.GetDeviceList(); }

    TempFolder config_;
    ScopedEnv configDir_{"KESTROVA_CONFIG_DIR", config_.native().c_str()};
    ScopedEnv noVirtual_{"KESTROVA_VIRTUAL_DEVICES", nullptr};
    mediatest::ScriptedV4l2 kernel_;
    mediatest::AlsaFileDevices alsa_;
    TempFolder storage_;
    testing::NotifyRecorder notes_;
    testing::NotifyRecorder display_;
    MainWindow window_;
};

TEST_F(DeviceListFileTest, RestoresEveryKindPoweredOffAndSavesTheSameBytes) {
    FileBytes file;
    AddIpCamera(file);
    AddUsbCamera(file, u"/dev/v4l/by-id/usb-Desk-video-index0");
    AddMicrophone(file, u"0 Desk Microphone");
    AddMicrophone(file, u"1 Desk Microphone");
    WriteBytes(DeviceListFile::Path(), file.bytes());

    window_.RestoreDevices();
    // Oldest first in the file, so the head is the last record's device.
    ASSERT_EQ(Names(list()), (std::vector<std::wstring>{L"Desk Microphone-1", L"Desk Microphone",
                                                        L"Desk Camera", L"127.0.0.1:8081"}));
    const std::array<int, 4> types = {kDeviceMicrophone, kDeviceMicrophone, kDeviceUsbCamera,
                                      kDeviceIpCamera};
    Device* device = list().GetHead();
    for (int type : types) {
        SCOPED_TRACE(NameOf(*device));
        EXPECT_EQ(device->GetType(), type);
        EXPECT_EQ(device->GetState(0), 0);  // powered off, and nothing else either
        EXPECT_EQ(device->GetNotifyWindow(), notes_.window());
        EXPECT_EQ(device->GetDisplayWindow(), display_.window());
        EXPECT_EQ(device->GetStorageFolder(), storage_.path());
        device = device->GetNext();
    }
    EXPECT_TRUE(notes_.Drain().empty());

    // Every field of every record went into its device: the devices' records are the file's again.
    ASSERT_EQ(DeviceListFile::Save(list()), 1);
    EXPECT_EQ(ReadBytes(DeviceListFile::Path()), file.Saved());

    // The attached camera that is not listed yet comes after, with its defaults; the restored one is not
    // added twice.
    window_.AddUsbVideoDevices();
    ASSERT_EQ(Names(list()),
              (std::vector<std::wstring>{L"Door Camera", L"Desk Microphone-1", L"Desk Microphone",
                                         L"Desk Camera", L"127.0.0.1:8081"}));
    Device& door = *list().GetHead();
    EXPECT_EQ(door.GetRecordVideo(), kDefaultActions[kActionVideo]);
    EXPECT_EQ(door.GetState(0), 0);
    Device& desk = *list().FindByName(L"Desk Camera");
    EXPECT_EQ(desk.GetRecordVideo(), 1);
}

TEST_F(DeviceListFileTest, DevicesThatAreNotAttachedAreDroppedAndAKeylessRecordMatchesNone) {
    FileBytes file;
    AddUsbCamera(file, u"/dev/v4l/by-id/usb-Gone-video-index0");
    AddMicrophone(file, u"7 Desk Microphone");
    AddUsbCamera(file, u"");
    AddMicrophone(file, u"");
    AddMicrophone(file, u"0 desk microphone");  // keys compare exactly
    AddIpCamera(file);
    WriteBytes(DeviceListFile::Path(), file.bytes());

    window_.RestoreDevices();
    EXPECT_EQ(Names(list()), std::vector<std::wstring>{L"127.0.0.1:8081"});

    FileBytes kept;
    AddIpCamera(kept);
    ASSERT_EQ(DeviceListFile::Save(list()), 1);
    EXPECT_EQ(ReadBytes(DeviceListFile::Path()), kept.Saved());
}

TEST_F(DeviceListFileTest, OnlyAWholeFileRestores) {
    FileBytes whole;
    AddIpCamera(whole);
    const std::vector<uint8_t> good = whole.bytes();
    auto changed = [&](auto change) {
        std::vector<uint8_t> bytes = good;
        change(bytes);
        return bytes;
    };
    struct Case {
        const char* what;
        std::optional<std::vector<uint8_t>> file;
        size_t restored;
    };
    const Case cases[] = {
        {"whole", good, 1},
        {"missing", std::nullopt, 0},
        {"empty", std::vector<uint8_t>{}, 0},
        {"shorter than the header", std::vector<uint8_t>(good.begin(), good.begin() + 7), 0},
        {"one byte over", changed([](auto& b) { b.push_back(0); }), 0},
        {"one byte short", changed([](auto& b) { b.pop_back(); }), 0},
        {"wrong magic", changed([](auto& b) { b[3] = 'X'; }), 0},
        {"version 2", changed([](auto& b) { b[4] = 2; }), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RemoveFile(DeviceListFile::Path());
        if (c.file) WriteBytes(DeviceListFile::Path(), *c.file);
        std::vector<DeviceSettings> records(3);
        EXPECT_EQ(DeviceListFile::Load(records), c.restored ? 1 : 0);
        EXPECT_EQ(records.size(), c.restored);
        for (const DeviceSettings& record : records) {
            EXPECT_EQ(std::vector<uint8_t>(record.Bytes() + 1288, record.Bytes() + 1292),
                      std::vector<uint8_t>(4, 0));  // the reserved field reads as zero
        }

        MainWindow window;
        window.RestoreDevices();
        EXPECT_EQ(Names(window.GetDeviceList()).size(), c.restored);
    }
}

TEST_F(DeviceListFileTest, AnEmptyListIsTheHeaderAlone) {
    ASSERT_EQ(DeviceListFile::Save(list()), 1);
    EXPECT_EQ(ReadBytes(DeviceListFile::Path()), (std::vector<uint8_t>{'L', 'D', 'V', 'K', 1, 0, 0, 0}));
    std::vector<DeviceSettings> records(1);
    EXPECT_EQ(DeviceListFile::Load(records), 1);
    EXPECT_TRUE(records.empty());
}

TEST_F(DeviceListFileTest, AFailedSaveLeavesTheOldFileByteForByte) {
    FileBytes file;
    AddIpCamera(file);
    AddIpCamera(file);
    WriteBytes(DeviceListFile::Path(), file.bytes());
    window_.RestoreDevices();
    window_.RestoreDevices();
    ASSERT_EQ(Names(list()).size(), 4u);
    {
        FileSizeLimit fullDisk(kHeader + kRecord);  // room for the header and one record of four
        EXPECT_EQ(DeviceListFile::Save(list()), 0);
    }
    EXPECT_EQ(ReadBytes(DeviceListFile::Path()), file.bytes());
    EXPECT_EQ(config_.Entries(), std::vector<std::string>{"DevList.db"});  // no temporary file stays behind
}

}  // namespace
}  // namespace kestrova
