#pragma once
// The desktop without a display: windows live only in memory, and input comes from whoever calls
// platform/ui/input.h (the test driver).

#include "platform/ui/backend.h"

namespace kestrova::ui {

class HeadlessBackend : public Backend {
public:
    const char* Name() const override { return "headless"; }
    void DesktopChanged() override {}
    void SurfaceChanged(HWND, const RECT&) override {}
    void PointerWarped(POINT) override {}
};

}  // namespace kestrova::ui
