#include "platform/shell/sound.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/shell/wav_file.h"
#include "tests/platform/shell/debug_lines.h"
#include "tests/platform/shell/wav_builder.h"
#include "tests/support/alsa_file_sink.h"
#include "tests/support/temp_folder.h"

namespace kestrova {
namespace {

// Plays through ALSA's own file plugin: everything the program plays lands in `played` as raw samples,
// written as fast as the program writes them.
class SoundTest : public ::testing::Test {
protected:
    void SetUp() override { SetSoundDevice(alsa_.Device(Played())); }
    void TearDown() override {
        StopSound();
        SetSoundDevice("");
    }

    std::string Played() const { return tmp_.native() + "played.raw"; }
    std::vector<uint8_t> PlayedBytes() const {
        std::vector<uint8_t> bytes;
        ReadWholeFile(FromUtf8(Played()), bytes);
        return bytes;
    }
    size_t PlayedSize() const {
        struct stat st {};
        return stat(Played().c_str(), &st) == 0 ? size_t(st.st_size) : 0;
    }

    std::wstring WriteWav(const std::wstring& name, const WavSpec& spec,
                          const std::vector<uint8_t>& samples) {
        std::vector<uint8_t> wav = MakeWav(spec, samples);
        std::wstring path = tmp_.path() + name;
        EXPECT_TRUE(WriteFileAtomic(path, wav.data(), wav.size()));
        return path;
    }

    // The samples played are `samples` once, then at most the silence that fills the device's last period.
    static void ExpectPlayedOnce(const std::vector<uint8_t>& played, const std::vector<uint8_t>& samples,
                                 uint8_t silence) {
        ASSERT_GE(played.size(), samples.size());
        EXPECT_TRUE(std::equal(samples.begin(), samples.end(), played.begin()));
        EXPECT_EQ(std::count(played.begin() + samples.size(), played.end(), silence),
                  std::ptrdiff_t(played.size() - samples.size()));
    }

    TempFolder tmp_;
    AlsaFileSink alsa_{tmp_.native()};
};

TEST_F(SoundTest, PlaysTheFileSamplesInTheirOwnFormat) {
    const std::pair<WavSpec, uint8_t> cases[] = {
        {{1, 1, 8000, 16, 1}, 0x00},
        {{1, 2, 22050, 8, 1}, 0x80},  // unsigned 8-bit silence is the middle value
        {{1, 2, 48000, 24, 1}, 0x00},
        {{3, 1, 16000, 32, 1}, 0x00},
    };
    for (const auto& [spec, silence] : cases) {
        SCOPED_TRACE(spec.bits);
        const std::vector<uint8_t> samples = TestSamples(size_t(spec.channels) * spec.bits / 8 * 5000);
        ASSERT_TRUE(PlaySoundFile(WriteWav(L"tone.wav", spec, samples), kSoundWait));
        EXPECT_FALSE(SoundPlaying());
        ExpectPlayedOnce(PlayedBytes(), samples, silence);
    }
}

TEST_F(SoundTest, LoopsWithoutWaitingUntilStopped) {
    const std::vector<uint8_t> samples = TestSamples(3000);
    ASSERT_TRUE(PlaySoundFile(WriteWav(L"loop.wav", {}, samples), kSoundLoop));
    EXPECT_TRUE(SoundPlaying());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (PlayedSize() < 4 * samples.size() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    StopSound();
    EXPECT_FALSE(SoundPlaying());
    const std::vector<uint8_t> played = PlayedBytes();
    ASSERT_GE(played.size(), 4 * samples.size());
    for (size_t i = 0; i < 4 * samples.size(); ++i) ASSERT_EQ(played[i], samples[i % samples.size()]) << i;
    EXPECT_EQ(PlayedSize(), played.size());  // nothing more after the stop
}

TEST_F(SoundTest, NoStopLeavesAPlayingSoundAloneOtherwiseTheNewOneReplacesIt) {
    const std::wstring first = WriteWav(L"first.wav", {}, TestSamples(2000, 1));
    const std::vector<uint8_t> second = TestSamples(2000, 99);
    const std::wstring secondPath = WriteWav(L"second.wav", {}, second);

    ASSERT_TRUE(PlaySoundFile(first, kSoundLoop));
    EXPECT_FALSE(PlaySoundFile(secondPath, kSoundLoop | kSoundNoStop | kSoundWait));
    EXPECT_TRUE(SoundPlaying());

    ASSERT_TRUE(PlaySoundFile(secondPath, kSoundWait));
    EXPECT_FALSE(SoundPlaying());
    ExpectPlayedOnce(PlayedBytes(), second, 0);  // the device was opened afresh for the second sound

    ASSERT_TRUE(PlaySoundFile(first, kSoundLoop));
    StopSound();
    EXPECT_TRUE(PlaySoundFile(secondPath, kSoundNoStop | kSoundWait));  // nothing plays after a stop
}

TEST_F(SoundTest, FilesThatCannotPlayAreRefusedAndSaidSo) {
    DebugLines debug;
    const std::wstring notWav = tmp_.path() + L"text.wav";
    ASSERT_TRUE(WriteFileAtomic(notWav, "hello", 5));
    EXPECT_FALSE(PlaySoundFile(tmp_.path() + L"missing.wav", kSoundLoop));
    EXPECT_FALSE(PlaySoundFile(notWav, kSoundLoop));
    EXPECT_FALSE(PlaySoundFile(L"", kSoundLoop));
    EXPECT_FALSE(SoundPlaying());
    EXPECT_EQ(debug.Count("cannot find"), 2);
    EXPECT_EQ(debug.Count("not a playable WAV"), 1);
}

TEST_F(SoundTest, WithoutASoundDevicePlaysNothingAndSaysSoOnce) {
    DebugLines debug;
    const std::wstring wav = WriteWav(L"tone.wav", {}, TestSamples(200));
    SetSoundDevice("kestrova_no_such_device");
    EXPECT_FALSE(PlaySoundFile(wav, kSoundLoop));
    EXPECT_FALSE(PlaySoundFile(wav, kSoundLoop | kSoundNoStop));
    EXPECT_FALSE(SoundPlaying());
    EXPECT_EQ(debug.Count("no sound device"), 1);
    EXPECT_FALSE(FileExists(FromUtf8(Played())));
}

// Runs the test body in another current folder and comes back.
class InFolder {
public:
    explicit InFolder(const std::string& folder) : old_(getcwd(nullptr, 0)) {
        EXPECT_EQ(chdir(folder.c_str()), 0);
    }
    ~InFolder() {
        EXPECT_EQ(chdir(old_), 0);
        free(old_);
    }

private:
    char* old_;
};

TEST_F(SoundTest, BareNamesAreFoundInTheCurrentFolderThenInTheDataFolder) {
    ASSERT_TRUE(CreateFolder(tmp_.path() + L"current"));
    ASSERT_TRUE(CreateFolder(tmp_.path() + L"data"));
    for (const char* file : {"current/both.wav", "data/both.wav", "data/shipped.wav", "current/local.wav"})
        ASSERT_TRUE(WriteFileAtomic(tmp_.path() + FromUtf8(file), "x", 1));
    ScopedEnv data("KESTROVA_DATA_DIR", (tmp_.native() + "data").c_str());
    InFolder current(tmp_.native() + "current");

    const std::pair<const wchar_t*, std::wstring> cases[] = {
        {L"both.wav", L"both.wav"},
        {L"local.wav", L"local.wav"},
        {L"shipped.wav", tmp_.path() + L"data/shipped.wav"},
        {L"absent.wav", L""},
        {L"./shipped.wav", L""},  // a name with a folder is taken as it is
        {L"", L""},
    };
    for (const auto& [name, expected] : cases) EXPECT_EQ(FindSoundFile(name), expected) << ToUtf8(name);
}

TEST_F(SoundTest, TheShippedAlarmSoundsPlayByTheirBareNames) {
    ScopedEnv data("KESTROVA_DATA_DIR", nullptr);  // the data folder is the executable's own
    InFolder elsewhere(tmp_.native());
    for (const wchar_t* name : {L"alarm_beep.wav", L"alarm_sirene.wav"}) {
        SCOPED_TRACE(ToUtf8(name));
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(ReadWholeFile(FolderOf(ExecutablePath()) + name, bytes));
        EXPECT_LT(bytes.size(), 64u * 1024);
        WavSound shipped;
        ASSERT_TRUE(ParseWav(bytes, shipped));
        EXPECT_GT(shipped.samples.size(), shipped.rate / 4 * shipped.bytesPerFrame);  // over a quarter second
        ASSERT_TRUE(PlaySoundFile(name, kSoundWait));
        ExpectPlayedOnce(PlayedBytes(), shipped.samples, 0);
    }
}

}  // namespace
}  // namespace kestrova
