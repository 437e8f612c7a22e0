#include "platform/media/driver_controls.h"

#include <cstdio>
#include <cstring>

#include "platform/base/text.h"

namespace kestrova::media {
namespace {

// System error numbers travel in the low word of a failure of a facility of the layer's own, apart from
// the platform's results, whose numbers mean something else.
constexpr uint32_t kErrnoFacility = 0x80AB0000u;

}  // namespace

HRESULT HresultFromErrno(int error) {
    if (error <= 0) return E_FAIL;
    return HRESULT(kErrnoFacility | (uint32_t(error) & 0xFFFFu));
}

std::wstring DescribeResult(HRESULT hr) {
    if (SUCCEEDED(hr)) return L"done";
    const uint32_t bits = uint32_t(hr);
    if ((bits & 0xFFFF0000u) == kErrnoFacility) return FromUtf8(std::strerror(int(bits & 0xFFFFu)));
    if (hr == E_OUTOFMEMORY) return L"out of memory";
    if (hr == E_INVALIDARG) return L"invalid value";
    char text[32];
    std::snprintf(text, sizeof text, "error 0x%08X", bits);
    return FromUtf8(text);
}

}  // namespace kestrova::media
