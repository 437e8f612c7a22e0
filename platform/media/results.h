#pragma once
// Results of the media layer's calls: zero or positive is success, negative is failure.

#include <cstdint>

namespace kestrova::media {

using HRESULT = int32_t;

inline constexpr bool SUCCEEDED(HRESULT hr) {
    return hr >= 0;
}
inline constexpr bool FAILED(HRESULT hr) {
    return hr < 0;
}

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;

inline constexpr HRESULT E_NOTIMPL = int32_t(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = int32_t(0x80004002);
inline constexpr HRESULT E_POINTER = int32_t(0x80004003);
inline constexpr HRESULT E_ABORT = int32_t(0x80004004);
inline constexpr HRESULT E_FAIL = int32_t(0x80004005);
inline constexpr HRESULT E_UNEXPECTED = int32_t(0x8000FFFF);
inline constexpr HRESULT E_OUTOFMEMORY = int32_t(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = int32_t(0x80070057);
// No factory is registered for the class id asked for.
inline constexpr HRESULT REGDB_E_CLASSNOTREG = int32_t(0x80040154);

// Graph and pin failures.
inline constexpr HRESULT VFW_E_INVALIDMEDIATYPE = int32_t(0x80040200);
inline constexpr HRESULT VFW_E_NO_ACCEPTABLE_TYPES = int32_t(0x80040207);
inline constexpr HRESULT VFW_E_INVALID_DIRECTION = int32_t(0x80040208);
inline constexpr HRESULT VFW_E_NOT_CONNECTED = int32_t(0x80040209);
inline constexpr HRESULT VFW_E_ALREADY_CONNECTED = int32_t(0x8004020A);
inline constexpr HRESULT VFW_E_NOT_IN_GRAPH = int32_t(0x8004020B);
inline constexpr HRESULT VFW_E_CANNOT_CONNECT = int32_t(0x80040217);
inline constexpr HRESULT VFW_E_NOT_STOPPED = int32_t(0x80040224);
inline constexpr HRESULT VFW_E_DUPLICATE_NAME = int32_t(0x8004022B);
inline constexpr HRESULT VFW_E_NOT_FOUND = int32_t(0x80040216);
inline constexpr HRESULT VFW_E_WRONG_STATE = int32_t(0x80040227);
inline constexpr HRESULT VFW_E_FILE_ERROR = int32_t(0x80040230);

}  // namespace kestrova::media
