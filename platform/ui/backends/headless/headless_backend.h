#pragma once
// The desktop without a display: windows live only in memory, and input comes from whoever calls
// platform/ui/input.h. Driven by a test, it has a user; chosen because no display opened, it has none.

#include "platform/ui/backend.h"

namespace kestrova::ui {

class HeadlessBackend : public Backend {
public:
    explicit HeadlessBackend(bool driven = false) : driven_(driven) {}
    const char* Name() const override { return "headless"; }
    bool HasUser() const override { return driven_; }
    void DesktopChanged() override {}
    void SurfaceChanged(HWND, const RECT&) override {}
    void PointerWarped(POINT) override {}

private:
    const bool driven_;
};

}  // namespace kestrova::ui
