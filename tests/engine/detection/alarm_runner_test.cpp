// The alarm runner on a test device: photos, the hold counter, the stop, the Run action and the alarm sound.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

#include "engine/device_messages.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/shell/shell_open.h"
#include "platform/shell/sound.h"
#include "tests/engine/detection/alarm_fixture.h"
#include "tests/platform/base/log_capture.h"
#include "tests/support/alsa_file_sink.h"
#include "tests/support/wait_until.h"

namespace kestrova::testing {
namespace {

// The photo file of pass i (every 500 ms from the test clock's Monday 00:00:00) with its number and suffix.
std::string PhotoName(int pass, int number, const char* suffix, const char* extension) {
    char name[96];
    std::snprintf(name, sizeof name, "26-01-05/26-01-05 00-00-%02d %03d%s.%s", pass / 2, number, suffix,
                  extension);
    return name;
}

// Photos of passes [from, to) named the way two photos a second are: 000, then 001 for the same time text.
std::vector<std::string> PhotoRun(int from, int to, const char* suffix = "", const char* extension = "png") {
    std::vector<std::string> names;
    for (int pass = from; pass < to; ++pass) names.push_back(PhotoName(pass, pass % 2, suffix, extension));
    return names;
}

std::vector<std::string> Joined(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    std::sort(a.begin(), a.end());
    return a;
}

struct PhotoCase {
    const char* name;
    int save, photo, email, format;
    std::vector<std::string> photos;
};

class AlarmPhotoTest : public ::testing::TestWithParam<PhotoCase> {};

TEST_P(AlarmPhotoTest, OneTriggerLastsSevenSecondsOfPhotos) {
    const PhotoCase& c = GetParam();
    Alarmed a;
    a.device.SetSaveFiles(c.save);
    a.device.SetSavePhotos(c.photo);
    a.device.SetPhotoFormat(c.format);
    a.device.SetSendEmail(c.email);
    a.device.SetSmtpServer(L"127.0.0.1");  // nothing listens on the discard port: the mail fails at once
    a.device.SetSmtpPort(9);
    a.Start();
    EXPECT_EQ(a.PassToTheEnd(), 14);
    EXPECT_EQ(a.clock.Milliseconds(), 7000u);
    EXPECT_EQ(a.Photos(), c.photos);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AlarmPhotoTest,
    ::testing::Values(PhotoCase{"PhotoOn", 1, 1, 0, 0, PhotoRun(0, 14)},
                      PhotoCase{"AnyOtherFormatIsPng", 1, 1, 0, 7, PhotoRun(0, 14)},
                      PhotoCase{"Jpeg", 1, 1, 0, 1, PhotoRun(0, 14, "", "jpg")},
                      PhotoCase{"PhotoOff", 1, 0, 0, 0, {}}, PhotoCase{"SaveOffMasksPhoto", 0, 1, 0, 0, {}},
                      PhotoCase{"SaveOffEmailOn", 0, 1, 1, 0, PhotoRun(0, 3, " Email")},
                      PhotoCase{"PhotoAndEmailOn", 1, 1, 1, 0,
                                // the first plain photo of second 1 is number 000 again: its name differs
                                Joined(PhotoRun(0, 3, " Email"),
                                       Joined({PhotoName(3, 0, "", "png")}, PhotoRun(4, 14)))}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AlarmRunnerTest, TriggersEverySecondKeepOneAlarmUntilSevenSecondsAfterTheLast) {
    Alarmed a;
    a.device.SetSaveFiles(0);
    a.Start();
    for (int second = 1; second <= 20; ++second) {
        ASSERT_TRUE(a.Pass());
        ASSERT_TRUE(a.Pass());
        ASSERT_EQ(a.device.TriggerAlarm(), 1);
    }
    a.PassToTheEnd();
    EXPECT_NEAR(double(a.clock.Milliseconds()), 27000.0, 500.0);
    EXPECT_EQ(a.notes.Take(kNotifyState),
              (std::vector<int>{kStateAlarm, kStateAlarm}));  // set once, cleared once

    a.Start();  // the next trigger starts a new alarm
    EXPECT_TRUE(a.InAlarm());
}

TEST(AlarmRunnerTest, StopAlarmEndsItWithinThePass) {
    Alarmed a;
    a.Start();
    a.Pass();
    a.Pass();
    ASSERT_EQ(a.Photos().size(), 3u);
    EXPECT_EQ(a.device.StopAlarm(), 1);  // returns without the clock moving on
    EXPECT_EQ(a.clock.Milliseconds(), 1000u);
    EXPECT_FALSE(a.InAlarm());
    EXPECT_EQ(a.device.GetState(kStateRecording), 0);
    EXPECT_EQ(a.Photos().size(), 3u);
    EXPECT_EQ(a.notes.Take(kNotifyState), (std::vector<int>{kStateAlarm, kStateAlarm}));
    EXPECT_EQ(a.device.StopAlarm(), 1);  // nothing runs
}

TEST(AlarmRunnerTest, PhotosThatCannotBeSavedAreLoggedOnceAnAlarm) {
    LogCapture log;
    Alarmed a;
    a.device.SetSavePhotos(1);
    // A file where the photo folder belongs.
    std::ofstream(a.storage.native() + "Photos") << "not a folder";
    a.Start();
    EXPECT_EQ(a.PassToTheEnd(), 14);
    ASSERT_TRUE(log.AwaitLine("more photos"));
    EXPECT_EQ(log.LinesWith("storage"),
              std::vector<std::string>{"error: storage: cannot create the folder " + a.storage.native() +
                                       "Photos/: Not a directory"});
    EXPECT_EQ(
        log.LinesWith("alarm"),
        (std::vector<std::string>{"error: alarm: Hall: photo not saved, " + a.storage.native() +
                                      "Photos/26-01-05/26-01-05 00-00-00 000.png: the file could not be "
                                      "written",
                                  "error: alarm: Hall: 13 more photos of this alarm were not saved"}));
}

TEST(AlarmRunnerTest, TheRunActionOpensTheFileAsItIs) {
    TempFolder tmp;
    const std::string opener = tmp.native() + "opener.sh";
    std::ofstream(opener) << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$0.tmp\" && mv "
                             "\"$0.tmp\" \"$0.out\"\n";
    chmod(opener.c_str(), 0755);
    SetShellOpener(opener);
    const std::string target = tmp.native() + "what to do; $(not run).txt";
    std::ofstream(target) << "notes\n";

    Alarmed a;
    a.device.SetSaveFiles(0);
    a.device.SetRunFile(1);
    a.device.SetRunFilePath(FromUtf8(target));
    a.Start();

    ASSERT_TRUE(WaitUntil([&] { return FileExists(FromUtf8(opener + ".out")); }));
    std::ifstream in(opener + ".out");
    std::stringstream args;
    args << in.rdbuf();
    EXPECT_EQ(args.str(), target + "\n");
    SetShellOpener("");
}

// Sounds play through ALSA's file plugin into a raw file; the two alarm sounds of the current folder are
// one repeated sample value each, so the file shows which sound played.
class AlarmSoundTest : public ::testing::Test {
protected:
    static constexpr uint8_t kBeep = 0x22;
    static constexpr uint8_t kSirene = 0x66;

    void SetUp() override {
        SetSoundDevice(alsa_.Device(tmp_.native() + "played.raw"));
        WriteWav("alarm_beep.wav", kBeep);
        WriteWav("alarm_sirene.wav", kSirene);
        ASSERT_NE(getcwd(oldFolder_, sizeof oldFolder_), nullptr);
        ASSERT_EQ(chdir(tmp_.native().c_str()), 0);  // the storage folder is the current folder
    }
    void TearDown() override {
        StopSound();
        SetSoundDevice("");
        EXPECT_EQ(chdir(oldFolder_), 0);
    }

    // A 16-bit mono WAV of 4,000 bytes of `value`.
    void WriteWav(const std::string& name, uint8_t value) {
        const uint32_t dataBytes = 4000;
        std::ofstream out(tmp_.native() + name, std::ios::binary);
        auto u32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
        auto u16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
        out << "RIFF";
        u32(36 + dataBytes);
        out << "WAVEfmt ";
        u32(16);
        u16(1);
        u16(1);
        u32(8000);
        u32(16000);
        u16(2);
        u16(16);
        out << "data";
        u32(dataBytes);
        out << std::string(dataBytes, char(value));
    }
    // Waits (in real time) until the sound device has been written to.
    void AwaitSound() {
        const std::string played = tmp_.native() + "played.raw";
        ASSERT_TRUE(WaitUntil([&] {
            struct stat st {};
            return stat(played.c_str(), &st) == 0 && st.st_size > 0;
        }));
    }
    // The distinct non-silent byte values played so far.
    std::set<uint8_t> Played() {
        std::vector<uint8_t> bytes;
        ReadWholeFile(FromUtf8(tmp_.native() + "played.raw"), bytes);
        std::set<uint8_t> values(bytes.begin(), bytes.end());
        values.erase(0);
        return values;
    }

    TempFolder tmp_;
    AlsaFileSink alsa_{tmp_.native()};
    char oldFolder_[4096] = {};
};

TEST_F(AlarmSoundTest, TheSoundKindChoosesTheFile) {
    for (auto [kind, value] : {std::pair{0, kBeep}, {1, kSirene}, {5, kBeep}}) {
        Alarmed a;
        a.device.SetSaveFiles(0);
        a.device.SetPlaySound(1);
        a.device.SetSoundKind(kind);
        a.Start();
        EXPECT_TRUE(SoundPlaying());
        AwaitSound();
        a.device.StopAlarm();
        EXPECT_FALSE(SoundPlaying());
        EXPECT_EQ(Played(), std::set<uint8_t>{value}) << kind;
        std::remove((tmp_.native() + "played.raw").c_str());
    }
}

TEST_F(AlarmSoundTest, TwoDevicesShareTheOneSoundAndEitherEndStopsIt) {
    Alarmed first;
    Alarmed second(first.clock);
    first.device.SetSaveFiles(0);
    first.device.SetPlaySound(1);
    first.device.SetSoundKind(1);
    second.device.SetSaveFiles(0);
    second.device.SetPlaySound(1);
    second.device.SetSoundKind(0);

    first.Start();
    AwaitSound();
    second.Start();  // its sound waits for no one: it plays none
    EXPECT_TRUE(SoundPlaying());
    EXPECT_TRUE(first.InAlarm());
    EXPECT_TRUE(second.InAlarm());

    second.device.StopAlarm();  // the silent alarm's end stops the other's sound
    EXPECT_FALSE(SoundPlaying());
    ASSERT_TRUE(first.Pass());
    EXPECT_FALSE(SoundPlaying());
    first.device.StopAlarm();
    EXPECT_EQ(Played(), std::set<uint8_t>{kSirene});
}

}  // namespace
}  // namespace kestrova::testing
