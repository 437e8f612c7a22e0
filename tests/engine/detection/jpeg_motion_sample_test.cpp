// Motion detection on a received JPEG that nobody has decoded: the sample it takes without making the frame
// equals the one the decoded frame gives, and the JPEG stays to be decoded, once, for the frame's readers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/motion_detection.h"
#include "tests/engine/device/kit/test_device.h"
#include "tests/peers/fakecam/test_jpeg.h"

namespace kestrova {
namespace {

using testing::MakeTestJpeg;
using testing::Rgb;
using testing::TestDevice;

std::string TexturedJpeg(int width, int height) {
    return MakeTestJpeg(width, height, [](int x, int y) {
        const unsigned texture = ((unsigned(x) * 2654435761u) ^ (unsigned(y) * 40503u)) >> 26;
        return Rgb{uint8_t(x / 3 + texture), uint8_t(y / 2 + texture), uint8_t((x + y) / 5 + texture)};
    });
}

// The sample of the device's current frame as a reader gets the frame.
MotionSample SampleOfCopiedFrame(TestDevice& device, const FrameShape& shape) {
    std::vector<uint8_t> frame(size_t(shape.width) * shape.height * 3);
    MotionSample sample{};
    EXPECT_EQ(device.CopyFrame(frame.data(), int(frame.size()), nullptr), 1);
    EXPECT_TRUE(TakeMotionSample(frame.data(), frame.size(), sample));
    return sample;
}

const uint8_t* Point(const MotionSample& sample, int r, int k) {
    return sample.data() + (r * kMaskSide + k) * 3;
}

TEST(JpegMotionSampleTest, EqualsTheDecodedFramesSampleWithoutDecoding) {
    struct Case {
        const char* name;
        int pictureWidth, pictureHeight;
        FrameShape shape;
    };
    MaskGrid privacy{};
    privacy[MaskCell(0, 0)] = privacy[MaskCell(12, 7)] = privacy[MaskCell(39, 39)] = 1;
    for (const Case& c : {Case{"640 x 480", 640, 480, {640, 480, false}},
                          Case{"upside down", 640, 480, {640, 480, true}},
                          Case{"320 x 240", 320, 240, {320, 240, false}},
                          Case{"a larger picture's corner", 800, 600, {640, 480, false}},
                          Case{"a larger picture's corner upside down", 400, 300, {320, 240, true}}}) {
        TestDevice device;
        device.SetMasks(nullptr, &privacy);
        device.PutJpeg(TexturedJpeg(c.pictureWidth, c.pictureHeight), c.shape);

        MotionSample fromJpeg{};
        ASSERT_TRUE(device.SampleFrame(fromJpeg)) << c.name;
        EXPECT_EQ(device.DecodedJpegs(), 0) << c.name;
        // Mask row 12 is sample row 27 (sample rows count from the bottom).
        EXPECT_EQ(Point(fromJpeg, 27, 7)[1], 0) << c.name << ": a private point reads black";
        EXPECT_NE(Point(fromJpeg, 27, 8)[1], 0) << c.name;

        const MotionSample fromFrame = SampleOfCopiedFrame(device, c.shape);
        EXPECT_EQ(device.DecodedJpegs(), 1) << c.name << ": the frame's reader still decodes the JPEG";
        EXPECT_EQ(fromJpeg, fromFrame) << c.name;
    }
}

TEST(JpegMotionSampleTest, ADamagedJpegGivesTheFrameReadersSee) {
    const FrameShape shape{320, 240, false};
    // Its header reads well, but its scan asks for Huffman tables that are never defined.
    std::string damaged = TexturedJpeg(320, 240);
    damaged[damaged.find("\xFF\xDA") + 6] = char(0x33);

    TestDevice device;
    device.PutJpeg(TexturedJpeg(320, 240), shape);
    device.PutJpeg(damaged, shape);
    MotionSample sample{};
    ASSERT_TRUE(device.SampleFrame(sample));
    EXPECT_EQ(sample, SampleOfCopiedFrame(device, shape)) << "the good picture received before it";

    TestDevice neverGood;
    neverGood.PutJpeg(damaged, shape);
    EXPECT_FALSE(neverGood.SampleFrame(sample));
}

}  // namespace
}  // namespace kestrova
