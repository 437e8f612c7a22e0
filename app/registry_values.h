#pragma once
// The program's registry values and the helpers that read and write one value of an open key (the layer's
// registry store, platform/shell/registry.h). User-interface thread.
//
//   per user, the session-start key   "KestrovaV2"    text: the program's path and " /min", present exactly
//                                                     while START_WITH_WIN is on (AppSettings::SyncAutoStart)
//   machine, else per user, kFirstRunKey   "firstrun"  DWORD 1 once the first run opened the welcome page
//   per user, kHintsKey   "StorageMsg", "StreamingMsg", "MaskingMsg"   DWORD 0 = do not show the hint again

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/shell/registry.h"

namespace kestrova {

inline constexpr wchar_t kAutoStartValue[] = L"KestrovaV2";
inline constexpr wchar_t kFirstRunKey[] = L"Software\\BRANTLOW\\Kestrova\\2102";
inline constexpr wchar_t kFirstRunValue[] = L"firstrun";
inline constexpr wchar_t kHintsKey[] = L"Software\\BRANTLOW\\Kestrova\\2";
inline constexpr wchar_t kStorageHint[] = L"StorageMsg";
inline constexpr wchar_t kStreamingHint[] = L"StreamingMsg";
inline constexpr wchar_t kMaskingHint[] = L"MaskingMsg";

// Reads a binary value into `buffer`: the number of bytes read, or 0 when the value is missing, larger than
// `size` or not binary (the buffer is then left alone).
uint32_t RegReadBinary(const RegistryKey& key, std::wstring_view name, void* buffer, uint32_t size);
// The DWORD value, or `missing` when there is none or the value is of another type.
uint32_t RegReadDword(const RegistryKey& key, std::wstring_view name, uint32_t missing);
// 1 for a non-zero DWORD, 0 for zero; `missing` when there is none or the value is of another type.
int RegReadBool(const RegistryKey& key, std::wstring_view name, int missing);
// The writers return the store's result: kRegistryOk (0) on success.
long RegWriteDword(RegistryKey& key, std::wstring_view name, uint32_t value);
// Writes the text and its terminating zero.
long RegWriteString(RegistryKey& key, std::wstring_view name, std::wstring_view text);
long RegWriteBinary(RegistryKey& key, std::wstring_view name, const void* data, uint32_t size);

// Opens (creating when missing) the first-run key: machine-wide when that can be opened, else per user.
long OpenFirstRunKey(std::unique_ptr<RegistryKey>& key);
// Whether the hint `name` is still to be shown: 1 unless its flag is 0; 1 too when the key cannot be opened.
int ReadHintFlag(std::wstring_view name);
// "Don't show again": writes 0 to the hint's flag. The store's result.
long TurnOffHint(std::wstring_view name);

}  // namespace kestrova
