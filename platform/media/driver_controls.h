#pragma once
// The settings a capture driver offers of its own beyond the picture amplifier (exposure, white balance,
// power-line frequency, focus...): a capture filter that has them gives this interface, and the shell's
// camera settings window lists and changes them. Calls come from the user-interface thread and may come
// while the filter streams.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/media/results.h"

namespace kestrova::media {

enum class DriverControlKind {
    Integer,      // a value from minimum to maximum in steps of `step`
    Boolean,      // 0 or 1
    Menu,         // one of `choices`, by index
    IntegerMenu,  // one of `choices`, by index; each choice is a number
    Button,       // an action without a value (setting it does it)
};

struct DriverControlChoice {
    int32_t index = 0;
    std::wstring text;
};

struct DriverControl {
    uint32_t id = 0;
    std::wstring name;
    std::wstring group;  // the driver's class of the control ("User Controls", "Camera Controls")
    DriverControlKind kind = DriverControlKind::Integer;
    int32_t minimum = 0;
    int32_t maximum = 0;
    int32_t step = 1;
    int32_t defaultValue = 0;
    std::vector<DriverControlChoice> choices;  // menus only: the indexes the driver names, in order
    bool readOnly = false;                     // shown, never set
    bool inactive = false;      // has no effect now: an automatic mode or another control overrides it
    int32_t value = 0;          // the value when listed
    HRESULT readResult = S_OK;  // why `value` could not be read, when it could not

    // Whether the user can give it a value (buttons are pressed, not set).
    bool Settable() const { return !readOnly && kind != DriverControlKind::Button; }
};

class IDriverControls {
public:
    virtual ~IDriverControls() = default;

    // Every enabled control in the driver's order, each with its current value.
    virtual HRESULT ListControls(std::vector<DriverControl>* controls) = 0;
    virtual HRESULT GetControl(uint32_t id, int32_t* value) = 0;
    // The driver may round the value to its step; read it back to see what is in force.
    virtual HRESULT SetControl(uint32_t id, int32_t value) = 0;
    // Sets several in one step, so that a driver takes an automatic mode and the value it governs together.
    // On failure `*failedAt` is the index of the value refused, or values.size() when the driver refused
    // the whole set before it changed anything.
    virtual HRESULT SetControls(const std::vector<std::pair<uint32_t, int32_t>>& values,
                                size_t* failedAt) = 0;
};

// A system error number as a failure result, and the words for a failure result.
HRESULT HresultFromErrno(int error);
std::wstring DescribeResult(HRESULT hr);

}  // namespace kestrova::media
