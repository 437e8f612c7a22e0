#pragma once
// How the camera settings window arranges a driver's controls: pages of at most kRowsPerPage rows, one per
// class of controls (a long class goes on over several pages), and where every part of the window and of a
// row goes. A page list appears on the left only when there is more than one page.

#include <string>
#include <vector>

#include "platform/media/driver_controls.h"
#include "platform/ui/types.h"

namespace kestrova {

inline constexpr size_t kRowsPerPage = 10;

struct ControlPage {
    std::wstring title;
    size_t first = 0;  // the index of its first control in the list
    size_t count = 0;
};

std::vector<ControlPage> PageControls(const std::vector<media::DriverControl>& controls);

struct ControlRowLayout {
    RECT name;
    RECT less, value, more;  // an integer's step buttons round its value field
    RECT wideValue;          // the value part of the other kinds: a check, a menu's button, a button
    RECT range;
    RECT reset;
};

struct CameraControlsLayout {
    int width = 0, height = 0;
    RECT caption;  // the title strip, by which the window is moved
    RECT pages;    // the page list; empty with one page
    RECT message;  // where a camera without controls says so
    RECT status;   // the last failure
    RECT allDefaults, ok, cancel;
};

// `rows` is the most rows any page has; 0 lays out the window of a camera without controls.
CameraControlsLayout LayOutCameraControls(size_t rows, bool withPages);
// Row `slot` of the page shown.
ControlRowLayout LayOutControlRow(const CameraControlsLayout& window, size_t slot);

}  // namespace kestrova
