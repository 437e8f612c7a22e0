// camera_controls_gallery: shows the camera settings window over a scripted camera with a driver's worth of
// controls (or, given "bare", one without any) on the X display, for judging it by eye; it ends when the
// window is closed.
//
//   camera_controls_gallery [bare]

#include <cstdio>
#include <cstring>

#include "platform/media/v4l2/v4l2_camera.h"
#include "platform/shell/camera_controls_window.h"
#include "platform/ui/backend.h"
#include "scripted_controls.h"

int main(int argc, char** argv) {
    using namespace kestrova;
    const bool bare = argc == 2 && std::strcmp(argv[1], "bare") == 0;
    if (argc > 2 || (argc == 2 && !bare)) {
        std::fputs("usage: camera_controls_gallery [bare]\n", stderr);
        return 2;
    }
    ui::UseBackend(ui::ChooseBackend());  // opened first, so that the window is centred on its screen
    mediatest::ScriptedV4l2 kernel;
    mediatest::ScriptedCamera camera = mediatest::CameraWithSettings();
    if (bare) camera.controls.clear();
    kernel.AddCamera("/dev/video0", camera);
    media::V4l2Camera filter("/dev/video0");
    if (!ShowCameraControls(nullptr, L"Desk Camera", filter)) {
        std::fputs("camera_controls_gallery: the window could not be made\n", stderr);
        return 1;
    }
    return 0;
}
