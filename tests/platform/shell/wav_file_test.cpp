#include "platform/shell/wav_file.h"

#include <gtest/gtest.h>

#include "tests/platform/shell/wav_builder.h"

namespace kestrova {
namespace {

struct GoodCase {
    const char* what;
    WavSpec spec;
    SampleFormat format;
    uint32_t bytesPerFrame;
};

TEST(WavFile, ReadsEverySupportedFormat) {
    const GoodCase cases[] = {
        {"8-bit stereo", {1, 2, 11025, 8, 1}, SampleFormat::kUnsigned8, 2},
        {"16-bit mono", {1, 1, 8000, 16, 1}, SampleFormat::kSigned16, 2},
        {"24-bit stereo", {1, 2, 48000, 24, 1}, SampleFormat::kSigned24, 6},
        {"32-bit", {1, 1, 44100, 32, 1}, SampleFormat::kSigned32, 4},
        {"float", {3, 2, 44100, 32, 1}, SampleFormat::kFloat32, 8},
        {"extensible 16-bit", {0xFFFE, 2, 16000, 16, 1}, SampleFormat::kSigned16, 4},
        {"extensible float", {0xFFFE, 1, 16000, 32, 3}, SampleFormat::kFloat32, 4},
    };
    for (const GoodCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<uint8_t> samples = TestSamples(c.bytesPerFrame * 10);
        WavSound sound;
        ASSERT_TRUE(ParseWav(MakeWav(c.spec, samples), sound));
        EXPECT_EQ(sound.format, c.format);
        EXPECT_EQ(sound.channels, c.spec.channels);
        EXPECT_EQ(sound.rate, c.spec.rate);
        EXPECT_EQ(sound.bytesPerFrame, c.bytesPerFrame);
        EXPECT_EQ(sound.samples, samples);
    }
}

TEST(WavFile, SkipsOddLengthChunksAndCutsAShortDataChunkToWholeFrames) {
    const std::vector<uint8_t> samples = TestSamples(40);
    WavSound sound;
    ASSERT_TRUE(ParseWav(MakeWav({}, samples, "LISTabc"), sound));
    EXPECT_EQ(sound.samples, samples);

    std::vector<uint8_t> truncated = MakeWav({}, samples);
    truncated.resize(truncated.size() - 5);  // the data chunk still claims 40 bytes; 35 are there
    ASSERT_TRUE(ParseWav(truncated, sound));
    EXPECT_EQ(sound.samples, std::vector<uint8_t>(samples.begin(), samples.begin() + 34));
}

TEST(WavFile, RefusesWhatItCannotPlay) {
    const std::vector<uint8_t> samples = TestSamples(16);
    std::vector<uint8_t> notRiff = MakeWav({}, samples);
    notRiff[0] = 'X';
    std::vector<uint8_t> dataFirst = MakeWav({}, samples);
    std::copy_n("data", 4, dataFirst.begin() + 12);  // a data chunk before any format
    std::vector<uint8_t> zeroChannels = MakeWav({1, 0, 8000, 16, 1}, samples);
    std::vector<uint8_t> headerOnly = MakeWav({}, {});
    std::vector<uint8_t> cutFormat = MakeWav({}, samples);
    cutFormat.resize(30);
    const std::pair<const char*, std::vector<uint8_t>> cases[] = {
        {"empty", {}},
        {"not RIFF", notRiff},
        {"no format before the data", dataFirst},
        {"no channels", zeroChannels},
        {"12-bit", MakeWav({1, 1, 8000, 12, 1}, samples)},
        {"compressed", MakeWav({2, 1, 8000, 16, 1}, samples)},
        {"64-bit float", MakeWav({3, 1, 8000, 64, 1}, samples)},
        {"extensible compressed", MakeWav({0xFFFE, 1, 8000, 16, 2}, samples)},
        {"no rate", MakeWav({1, 1, 0, 16, 1}, samples)},
        {"no samples", headerOnly},
        {"format chunk cut", cutFormat},
    };
    for (const auto& [what, bytes] : cases) {
        WavSound sound;
        EXPECT_FALSE(ParseWav(bytes, sound)) << what;
    }
}

}  // namespace
}  // namespace kestrova
