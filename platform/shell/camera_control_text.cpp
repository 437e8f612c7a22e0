#include "platform/shell/camera_control_text.h"

#include <cerrno>
#include <cstdint>
#include <cwchar>
#include <cwctype>

namespace kestrova {

using media::DriverControl;
using media::DriverControlKind;

std::wstring RangeText(const DriverControl& control) {
    if (control.kind != DriverControlKind::Integer) return L"";
    std::wstring text = std::to_wstring(control.minimum) + L" to " + std::to_wstring(control.maximum);
    if (control.step > 1) text += L", by " + std::to_wstring(control.step);
    return text;
}

std::wstring ValueText(const DriverControl& control, int32_t value) {
    for (const media::DriverControlChoice& choice : control.choices)
        if (choice.index == value) return choice.text;
    return std::to_wstring(value);
}

bool ParseValue(const std::wstring& text, int32_t* value) {
    const wchar_t* start = text.c_str();
    while (std::iswspace(wint_t(*start))) ++start;
    if (*start == L'\0') return false;
    wchar_t* end = nullptr;
    errno = 0;
    const long long number = std::wcstoll(start, &end, 10);
    while (std::iswspace(wint_t(*end))) ++end;
    if (*end != L'\0' || errno == ERANGE || number < INT32_MIN || number > INT32_MAX) return false;
    *value = int32_t(number);
    return true;
}

}  // namespace kestrova
