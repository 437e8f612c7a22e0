#include "toolkit/debug_trace.h"

#include <algorithm>
#include <cwchar>
#include <string>

#include "platform/ui/windows.h"

namespace kestrova::toolkit {
namespace {

constexpr size_t kLineCapacity = 511;
constexpr std::wstring_view kSeparator = L" | ";

// The value as its format letter asks, or nothing when the letter does not name the value's kind.
bool Format(wchar_t letter, const TraceValue& traced, std::wstring& out) {
    const auto& value = traced.Value();
    wchar_t number[64];
    if (letter == L's' && std::holds_alternative<std::wstring_view>(value)) {
        out = std::get<std::wstring_view>(value);
    } else if (letter == L'i' && std::holds_alternative<int>(value)) {
        std::swprintf(number, 64, L"%i", std::get<int>(value));
        out = number;
    } else if (letter == L'f' && std::holds_alternative<double>(value)) {
        std::swprintf(number, 64, L"%.3f", std::get<double>(value));
        out = number;
    } else {
        return false;
    }
    return true;
}

}  // namespace

void DebugTraceValues(const wchar_t* format, std::initializer_list<TraceValue> values) {
    std::wstring line;
    const TraceValue* next = values.begin();
    bool first = true;
    for (const wchar_t* p = format ? std::wcschr(format, L'%') : nullptr; p && next != values.end();
         p = std::wcschr(p + 1, L'%')) {
        std::wstring text;
        if (!Format(p[1], *next++, text)) break;
        if (!first) line += kSeparator;
        first = false;
        line += text;
        if (line.size() >= kLineCapacity - 1) break;
    }
    line.resize(std::min(line.size(), kLineCapacity - 1));
    line += L'\n';
    OutputDebugStringW(line.c_str());
}

}  // namespace kestrova::toolkit
