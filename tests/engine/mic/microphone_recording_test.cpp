// The audio recording of a microphone on an ALSA capture device: it records from the device's second
// capture filter while the live graph runs, and real readers take the WAV file it writes.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "observed_microphone.h"
#include "platform/media/capture_graph_builder.h"
#include "tests/platform/media/support/probe.h"

namespace kestrova::testing {
namespace {

using namespace media;

std::vector<std::string> WavFiles(const std::string& folder) {
    std::vector<std::string> files;
    if (!std::filesystem::exists(folder)) return files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.path().extension() == ".wav") files.push_back(entry.path().string());
    }
    return files;
}

TEST(MicrophoneRecording, RecordsTheAlsaDevicesSamplesIntoAWavFile) {
    // Distinct samples, so that the file shows it holds the device's input from its start.
    std::vector<int16_t> pattern(AlsaMicrophone::kBufferSamples);
    for (size_t i = 0; i < pattern.size(); ++i) pattern[i] = int16_t(i * 29 - 16000);
    AlsaMicrophone mic(pattern, 400);
    ASSERT_EQ(mic.device.Start(), 1);
    ASSERT_EQ(mic.device.GetState(kStatePowered), 1);

    ASSERT_EQ(mic.device.BuildAudioGraph(1), 1);
    ASSERT_EQ(mic.device.RecordAudio(1), 1);
    // ALSA's file plugin captures as fast as it is read: stop as soon as some buffers are written.
    const std::string audio = mic.storage.native() + "Audio";
    EXPECT_TRUE(WaitUntil([&] {
        const auto files = WavFiles(audio);
        std::error_code error;
        return files.size() == 1 && std::filesystem::file_size(files[0], error) >= 64 * 1024;
    }));
    ASSERT_EQ(mic.device.RecordAudio(0), 1);
    mic.device.BuildAudioGraph(0);

    const std::vector<std::string> files = WavFiles(audio);
    ASSERT_EQ(files.size(), 1u);
    // The recording filter keeps the device's own first format; the live one was set to 11,025 Hz mono.
    CaptureGraphBuilder builder;
    std::shared_ptr<IAMStreamConfig> config;
    ASSERT_EQ(
        builder.FindInterface(PIN_CATEGORY_CAPTURE, MEDIATYPE_Audio, mic.filters.recording.get(), &config),
        S_OK);
    AM_MEDIA_TYPE recorded;
    ASSERT_EQ(config->GetFormat(&recorded), S_OK);
    const WAVEFORMATEX* wave = recorded.WaveFormat();
    ASSERT_NE(wave, nullptr);

    const auto probed = mediatest::ProbeFirstStream(files[0]);
    ASSERT_TRUE(probed);
    EXPECT_EQ(probed->codecName, "pcm_s16le");
    EXPECT_EQ(probed->sampleRate, int(wave->nSamplesPerSec));
    EXPECT_EQ(probed->channels, int(wave->nChannels));

    const auto sizes = mediatest::ReadWavSizes(files[0]);
    ASSERT_TRUE(sizes);
    ASSERT_GE(sizes->dataSize, pattern.size() * 2);
    std::ifstream in(files[0], std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(std::memcmp(bytes.data() + sizes->dataOffset, pattern.data(), pattern.size() * 2), 0);
}

}  // namespace
}  // namespace kestrova::testing
