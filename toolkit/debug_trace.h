#pragma once
// A developer's trace line on the debugger output: DebugTrace(L"%s %i %f", name, count, ratio) writes
// "name | 3 | 0.250". Each "%" of the format takes the next value: "s" a wide string, "i" an int, "f" a
// double with three decimals; another letter, a value of another kind, or the end of the format or of the
// values ends the line. The line holds at most 511 characters, its line feed included.

#include <initializer_list>
#include <string_view>
#include <variant>

namespace kestrova {

namespace toolkit {
// One value of a trace line; a null string is written as an empty one.
class TraceValue {
public:
    TraceValue(const wchar_t* text) : value_(text ? std::wstring_view(text) : std::wstring_view()) {}
    TraceValue(std::wstring_view text) : value_(text) {}
    TraceValue(int number) : value_(number) {}
    TraceValue(double number) : value_(number) {}
    const std::variant<std::wstring_view, int, double>& Value() const { return value_; }

private:
    std::variant<std::wstring_view, int, double> value_;
};
void DebugTraceValues(const wchar_t* format, std::initializer_list<TraceValue> values);
}  // namespace toolkit

template <class... Values>
void DebugTrace(const wchar_t* format, const Values&... values) {
    toolkit::DebugTraceValues(format, {toolkit::TraceValue(values)...});
}

}  // namespace kestrova
