// The microphone on an ALSA capture device of ALSA's file plugin: the levels and the level picture its
// buffers give, and starting and stopping it.

#include "engine/mic/microphone_device.h"

#include <gtest/gtest.h>

#include <cstring>

#include "engine/mic/level_picture.h"
#include "observed_microphone.h"
#include "platform/media/capture_graph_builder.h"

namespace kestrova::testing {
namespace {

using namespace media;

constexpr size_t kStride = 480 * 3;
constexpr uint8_t kLit[3] = {184, 130, 97};
constexpr uint8_t kUnlit[3] = {214, 212, 211};
constexpr uint8_t kWhite[3] = {255, 255, 255};

std::vector<int16_t> Constant(int16_t value) {
    return std::vector<int16_t>(AlsaMicrophone::kBufferSamples, value);
}

// The pixel at x, y counted from the picture's top-left corner.
const uint8_t* Pixel(const std::vector<uint8_t>& picture, int x, int y) {
    return &picture[size_t(359 - y) * kStride + size_t(x) * 3];
}

bool PixelIs(const std::vector<uint8_t>& picture, int x, int y, const uint8_t (&colour)[3]) {
    return std::memcmp(Pixel(picture, x, y), colour, 3) == 0;
}

// One letter a segment of the level bar: 'L' lit, 'u' unlit, '?' anything else, over all its 8 x 23 pixels.
std::string Bar(const std::vector<uint8_t>& picture) {
    std::string bar;
    for (int k = 0; k < 10; ++k) {
        bool lit = true, unlit = true;
        for (int y = 271; y <= 278; ++y) {
            for (int x = 116 + 25 * k; x < 116 + 25 * k + 23; ++x) {
                lit &= PixelIs(picture, x, y, kLit);
                unlit &= PixelIs(picture, x, y, kUnlit);
            }
        }
        bar += lit ? 'L' : unlit ? 'u' : '?';
    }
    return bar;
}

// Starts the microphone on `pattern` at `sensitivity` and waits for its first level picture.
std::vector<uint8_t> FirstPicture(AlsaMicrophone& mic, int sensitivity) {
    mic.device.SetSensitivity(sensitivity);
    mic.device.Start();
    if (!WaitUntil([&] { return !mic.device.Picture().empty(); })) return {};
    return mic.device.Picture();
}

TEST(MicrophoneLevels, EachBufferGivesTheLevelOfItsPeakAndLightsThatManySegments) {
    struct Case {
        int sensitivity;
        int16_t sample;
        int level;
        const char* bar;
    };
    const Case cases[] = {
        {5, 999, 0, "uuuuuuuuuu"},    {5, 1000, 1, "Luuuuuuuuu"}, {5, 6800, 3, "LLLuuuuuuu"},
        {5, 27100, 10, "LLLLLLLLLL"}, {10, 100, 2, "LLuuuuuuuu"}, {10, 99, 0, "uuuuuuuuuu"},
        {5, -32768, 0, "uuuuuuuuuu"},
    };
    for (const Case& c : cases) {
        AlsaMicrophone mic(Constant(c.sample));
        const std::vector<uint8_t> picture = FirstPicture(mic, c.sensitivity);
        ASSERT_EQ(picture.size(), 518400u) << c.sample;
        EXPECT_EQ(mic.device.SoundLevel(), c.level) << c.sensitivity << " " << c.sample;
        EXPECT_EQ(Bar(picture), c.bar) << c.sensitivity << " " << c.sample;
    }
}

TEST(MicrophoneLevels, OnlyEveryTenthSampleCounts) {
    for (int offset : {0, 5}) {
        std::vector<int16_t> pattern = Constant(0);
        for (size_t i = size_t(offset); i < pattern.size(); i += 10) pattern[i] = 30000;
        AlsaMicrophone mic(pattern);
        ASSERT_FALSE(FirstPicture(mic, 5).empty());
        EXPECT_EQ(mic.device.SoundLevel(), offset == 0 ? 10 : 0) << offset;
    }
}

TEST(MicrophonePicture, ShowsTheSymbolOnWhiteAboveTheBarUntilStopped) {
    AlsaMicrophone mic(Constant(6800));
    const std::vector<uint8_t> picture = FirstPicture(mic, 5);
    ASSERT_EQ(picture.size(), 518400u);
    const imaging::BitmapInfoHeader header = mic.device.PictureHeader();
    EXPECT_EQ(header.biSize, 40u);
    EXPECT_EQ(header.biWidth, 480);
    EXPECT_EQ(header.biHeight, 360);
    EXPECT_EQ(header.biBitCount, 24);

    const std::vector<uint8_t> symbol = ReadSymbolPicture(kMicrophoneSymbolResource);
    ASSERT_EQ(symbol.size(), 86u * 3 * 128);
    for (int s = 0; s < 128; ++s) {
        ASSERT_EQ(std::memcmp(Pixel(picture, 197, 105 + s), &symbol[size_t(s) * 258], 258), 0) << "row " << s;
    }
    // Around the symbol and the bar, and in the bar's gaps, the background shows.
    for (auto [x, y] : {std::pair{0, 0},
                        {479, 359},
                        {196, 105},
                        {283, 232},
                        {197, 104},
                        {282, 233},
                        {139, 271},
                        {140, 278},
                        {364, 275},
                        {115, 275},
                        {116, 270},
                        {363, 279}}) {
        EXPECT_TRUE(PixelIs(picture, x, y, kWhite)) << x << ", " << y;
    }
    EXPECT_EQ(Bar(picture), "LLLuuuuuuu");

    ASSERT_EQ(mic.device.Stop(), 1);
    EXPECT_TRUE(mic.device.Picture().empty());
    EXPECT_EQ(mic.device.SoundLevel(), 3) << "the level stays while unpowered";
}

TEST(MicrophonePicture, SymbolIsTheBitmapResourceWhenItIs86By128) {
    EXPECT_EQ(ReadSymbolPicture(kMicrophoneSymbolResource).size(), 33024u);
    EXPECT_EQ(ReadSymbolPicture(0x10000 | kMicrophoneSymbolResource).size(), 33024u) << "low 16 bits";
    EXPECT_TRUE(ReadSymbolPicture(1).empty()) << "no such resource";
}

TEST(MicrophoneStart, ChoosesElevenKilohertzMonoAndPowersTheDevice) {
    AlsaMicrophone mic(Constant(0));
    ASSERT_EQ(mic.device.Start(), 1);
    EXPECT_EQ(mic.device.GetState(kStatePowered), 1);
    EXPECT_EQ(mic.notes.Drain(kNotifyState), (std::vector<Note>{{kNotifyState, kStatePowered, &mic.device}}));

    // The device offers 44,100 Hz first; the level meter needs no more than 11,025 Hz mono.
    CaptureGraphBuilder builder;
    std::shared_ptr<IAMStreamConfig> config;
    ASSERT_EQ(builder.FindInterface(PIN_CATEGORY_CAPTURE, MEDIATYPE_Audio, mic.filters.live.get(), &config),
              S_OK);
    AM_MEDIA_TYPE first, chosen;
    AUDIO_STREAM_CONFIG_CAPS caps;
    ASSERT_EQ(config->GetStreamCaps(0, &first, reinterpret_cast<uint8_t*>(&caps)), S_OK);
    EXPECT_NE(first.WaveFormat()->nSamplesPerSec, 11025u);
    ASSERT_EQ(config->GetFormat(&chosen), S_OK);
    EXPECT_EQ(chosen, MakePcmType(11025, 1, 16));

    ASSERT_EQ(mic.device.Stop(), 1);
    EXPECT_EQ(mic.device.GetState(kStatePowered), 0);
    EXPECT_EQ(mic.device.HandleGraphEvents(), 0);
    // The capture filter stays with the device: it starts again and draws its picture anew.
    mic.device.Start();
    EXPECT_EQ(mic.device.GetState(kStatePowered), 1);
    EXPECT_TRUE(WaitUntil([&] { return !mic.device.Picture().empty(); }));
}

}  // namespace
}  // namespace kestrova::testing
