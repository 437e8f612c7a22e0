#include "engine/ipcam/camera_control.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "tests/peers/fakecam/fake_camera.h"

namespace kestrova {
namespace {

using testing::FakeCamera;

class CameraControlTest : public ::testing::Test {
protected:
    CameraControlTest() {
        connection.host = "127.0.0.1";
        connection.port = camera.Port();
        connection.credentials = kNoCredentials;
        connection.connectTimeout = 1;
        connection.receiveTimeout = 1;
    }

    std::string OnlyRequestPath() {
        const auto requests = camera.Requests();
        EXPECT_EQ(requests.size(), 1u);
        return requests.empty() ? std::string() : requests[0].path;
    }

    FakeCamera camera;
    CameraConnection connection;
};

TEST_F(CameraControlTest, ReadsBrightnessAndContrastLevels) {
    struct Case {
        const char* body;
        int brightness;
        int contrast;
    };
    for (const Case& c : {Case{"var vbright=128;\r\nvar vcontrast=0;\r\n", (12 << 16) | 1, 1},
                          Case{"vbright=0 vcontrast=255", 0, (25 << 16) | 1},
                          Case{"vbright=1234 vcontrast= 999", (12 << 16) | 1, (97 << 16) | 1},
                          Case{"vbright=5", 1, 0}, Case{"nothing here", 0, 0}}) {
        camera.SetParamsBody(c.body);
        EXPECT_EQ(GetCameraBrightness(connection), c.brightness) << c.body;
        EXPECT_EQ(GetCameraContrast(connection), c.contrast) << c.body;
    }
    EXPECT_EQ(camera.Requests().back().text, "GET /get_camera_params.cgi HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
}

TEST_F(CameraControlTest, SetsLevelsAsCameraValues) {
    connection.credentials = "YWRtaW46";
    EXPECT_EQ(SetCameraBrightness(connection, 13), (13 << 16) | 1);
    EXPECT_EQ(OnlyRequestPath(), "/camera_control.cgi?param=1&value=133");
    EXPECT_NE(camera.Requests()[0].text.find("\r\nAuthorization: Basic YWRtaW46\r\n"), std::string::npos);
    EXPECT_EQ(SetCameraBrightness(connection, 0), 1);
    EXPECT_EQ(SetCameraContrast(connection, 5), (5 << 16) | 1);
    EXPECT_EQ(camera.Requests().back().path, "/camera_control.cgi?param=2&value=51");
    // A confirmed contrast of level 0 still reads as a failure to the caller.
    EXPECT_EQ(SetCameraContrast(connection, 0), 0);

    camera.SetControlReply("HTTP/1.0 200 OK\r\n\r\nresult=\"error\"\r\n");
    EXPECT_EQ(SetCameraBrightness(connection, 13), 0);
    camera.SetControlReply("HTTP/1.0 401 Unauthorized\r\n\r\nresult=\"ok\"\r\n");
    EXPECT_EQ(SetCameraContrast(connection, 13), 0);
}

TEST_F(CameraControlTest, FailsWithoutACamera) {
    connection.port = 1;
    EXPECT_EQ(GetCameraBrightness(connection), 0);
    EXPECT_EQ(SetCameraContrast(connection, 10), 0);
}

TEST_F(CameraControlTest, PanStartsAndStopsAfterItsDuration) {
    RunPtzCommand(connection, 4, 500);
    const auto requests = camera.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].text, "GET /decoder_control.cgi?command=4 HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
    EXPECT_EQ(requests[1].path, "/decoder_control.cgi?command=5");
    const auto gap = std::chrono::duration_cast<std::chrono::milliseconds>(requests[1].received - requests[0].received);
    EXPECT_GE(gap.count(), 500);
    EXPECT_LT(gap.count(), 1500);
}

TEST_F(CameraControlTest, AStopWithoutDurationIsSentOnce) {
    RunPtzCommand(connection, 1, 0);
    EXPECT_EQ(OnlyRequestPath(), "/decoder_control.cgi?command=1");
}

TEST_F(CameraControlTest, ARefusingCameraGetsFourRequestsAndNoStop) {
    camera.SetPtzReply("HTTP/1.0 401 Unauthorized\r\n\r\n");
    RunPtzCommand(connection, 4, 500);
    const auto requests = camera.Requests();
    ASSERT_EQ(requests.size(), 4u);
    for (const auto& request : requests) EXPECT_EQ(request.path, "/decoder_control.cgi?command=4");
}

TEST_F(CameraControlTest, ASilentCameraGetsNoFurtherRequest) {
    camera.SetPtzReply("");
    RunPtzCommand(connection, 6, 500);
    EXPECT_EQ(OnlyRequestPath(), "/decoder_control.cgi?command=6");
}

}  // namespace
}  // namespace kestrova
