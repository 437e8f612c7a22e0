#include "engine/ipcam/camera_model.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrova {
namespace {

std::string StreamPath(int family, int frameSize) {
    char path[kCameraPathCapacity] = {};
    const int length = BuildStreamPath(family, frameSize, path);
    EXPECT_EQ(length, BuildStreamPath(family, frameSize, nullptr));
    EXPECT_EQ(length, static_cast<int>(std::string(path).size()));
    return path;
}

TEST(CameraModel, StreamPathsOfTheFourFamilies) {
    struct Case {
        int family, frameSize;
        const char* path;
    };
    for (const Case& c : {Case{0, 1, "videostream.cgi?resolution=8"}, Case{0, 2, "videostream.cgi?resolution=32"},
                          Case{1, 1, "video.cgi?resolution=qvga"}, Case{1, 2, "video.cgi?resolution=vga"},
                          Case{2, 1, "axis-cgi/mjpg/video.cgi?resolution=320x240"},
                          Case{2, 2, "axis-cgi/mjpg/video.cgi?resolution=640x480"},
                          Case{3, 1, "axis-cgi/mjpg/mjpeg.cgi?resolution=qvga"},
                          Case{3, 2, "axis-cgi/mjpg/mjpeg.cgi?resolution=vga"}, Case{3, 0, "axis-cgi/mjpg/mjpeg.cgi"},
                          Case{1, 7, "video.cgi"}, Case{4, 2, ""}, Case{-1, 2, ""}}) {
        EXPECT_EQ(StreamPath(c.family, c.frameSize), c.path) << c.family << "/" << c.frameSize;
    }
}

TEST(CameraModel, PanTiltPathsAndStopPartners) {
    char path[kCameraPathCapacity];
    EXPECT_EQ(BuildPtzPath(kPanLeftStart, path), 29);
    EXPECT_STREQ(path, "decoder_control.cgi?command=4");
    BuildPtzPath(8, path);
    EXPECT_STREQ(path, "decoder_control.cgi");
    BuildPtzPath(-1, path);
    EXPECT_STREQ(path, "decoder_control.cgi");
    for (int command = 0; command < 8; ++command) {
        EXPECT_EQ(PtzStopPartner(command), command | 1) << command;
    }
    BuildFrameSizePath(1, path);
    EXPECT_STREQ(path, "camera_control.cgi?param=0&value=1");
    BuildFrameSizePath(2, path);
    EXPECT_STREQ(path, "camera_control.cgi?param=0&value=0");
}

TEST(CameraModel, LevelsAndCameraValues) {
    struct Case {
        int level, value;
    };
    for (const Case& c : {Case{0, 0}, Case{5, 51}, Case{6, 62}, Case{13, 133}, Case{25, 255}}) {
        EXPECT_EQ(LevelToCameraValue(c.level), c.value) << c.level;
    }
    for (int level = 0; level <= 25; ++level) EXPECT_EQ(CameraValueToLevel(LevelToCameraValue(level)), level);
    for (const Case& c : {Case{12, 128}, Case{0, 1}, Case{0, 10}, Case{12, 123}, Case{97, 999}}) {
        EXPECT_EQ(CameraValueToLevel(c.value), c.level) << c.value;
    }
}

}  // namespace
}  // namespace kestrova
