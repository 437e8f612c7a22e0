#pragma once
// What the camera settings window draws itself: the title strip, each shown row's name (grey while the
// control is inactive) and range, the white fields behind the value edits, the page list's frame and the
// message of a camera without controls. The edits, buttons, checks and the list paint their own insides.

#include <string>
#include <vector>

#include "platform/shell/camera_controls_layout.h"
#include "platform/ui/types.h"

namespace kestrova {

struct ControlRowFace {
    std::wstring name;
    std::wstring range;
    bool inactive = false;
    bool withField = false;  // an integer's value edit
};

struct CameraControlsFace {
    std::wstring caption;
    std::wstring message;              // none when empty
    std::vector<ControlRowFace> rows;  // the rows of the page shown
};

void PaintCameraControls(HDC dc, HFONT font, const CameraControlsLayout& layout,
                         const CameraControlsFace& face);

}  // namespace kestrova
