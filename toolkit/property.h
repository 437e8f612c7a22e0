#pragma once
// The property messages of the toolkit's controls. A control's settable properties are messages WM_USER+2
// upwards: a non-zero low word of wParam sets the property from lParam, a non-zero high word with it also
// repaints the whole control afterwards, a zero low word only reads; every such message answers the
// property's value after it. Two-part properties travel as MAKELONG(first, second) and keep each half as an
// unsigned 16-bit number.

#include <cstdint>

#include "platform/ui/types.h"

namespace kestrova {

// wParam of a property message: windows set without repainting while they build, and set and repaint after.
inline constexpr WPARAM kPropertyRead = 0;
inline constexpr WPARAM kPropertySet = 1;
inline constexpr WPARAM kPropertySetAndRepaint = 0x10001;

}  // namespace kestrova

namespace kestrova::toolkit {

struct WordPair {
    uint16_t first = 0;
    uint16_t second = 0;

    static WordPair Unpack(LPARAM packed) { return {LOWORD(uintptr_t(packed)), HIWORD(uintptr_t(packed))}; }
    LRESULT Packed() const { return MAKELPARAM(first, second); }
};

// One property message as a control's procedure receives it.
class PropertyMessage {
public:
    PropertyMessage(HWND control, WPARAM wParam, LPARAM lParam)
        : control_(control), wParam_(wParam), lParam_(lParam) {}

    bool Sets() const { return LOWORD(wParam_) != 0; }
    LPARAM Value() const { return lParam_; }
    // After a property was set: invalidates the whole control, without erasing, when the message asks.
    void RepaintIfAsked() const;

    // The common case: stores the value in `field` when the message sets, repaints when asked, and answers
    // the field.
    LRESULT Apply(int32_t& field) const;
    LRESULT Apply(WordPair& field) const;

private:
    HWND control_;
    WPARAM wParam_;
    LPARAM lParam_;
};

}  // namespace kestrova::toolkit
