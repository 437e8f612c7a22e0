#pragma once
// The registry store's file: every key with its values, as text, one value a line.
//
//   [current-user Software\Maker\Program]
//   dword StorageMsg 1
//   text Title Caf%C3%A9%20Kestrova
//   binary Blob 00ff10
//
// Names and text are UTF-8 with blanks, "%", "[", "]" and control characters percent-encoded. Lines that do
// not parse are skipped, so a damaged line costs only itself.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kestrova {

enum RegistryValueType : uint32_t {
    kRegistryText = 1,
    kRegistryBinary = 3,
    kRegistryDword = 4,
};

struct RegistryValue {
    std::wstring name;  // as first spelled
    uint32_t type = kRegistryBinary;
    std::vector<uint8_t> data;  // dword: 4 bytes little-endian; text: UTF-8 without terminator
};

struct RegistryKeyData {
    std::wstring path;                             // as first spelled, "\" separated
    std::map<std::wstring, RegistryValue> values;  // by folded name: names are matched without regard to case
};

// Keys by their folded identity ("current-user\software\..."), see RegistryKeyId.
using RegistryTree = std::map<std::wstring, RegistryKeyData>;

// Case-folded text for matching key paths and value names.
std::wstring FoldRegistryName(std::wstring_view name);

RegistryTree ParseRegistryFile(const std::vector<uint8_t>& bytes);
std::string FormatRegistryFile(const RegistryTree& tree);

}  // namespace kestrova
