#pragma once
// The registry store: keys holding named DWORD, text and binary values, kept per user in the configuration
// folder. Every change rewrites the store's file whole, through a temporary file renamed over the old one.
// The per-user key that starts programs with the session is not stored there: each of its text values is the
// command line of an autostart entry of the same name.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/shell/registry_file.h"

namespace kestrova {

enum class RegistryRoot { kCurrentUser, kLocalMachine };

// Results of the key operations; only success has a fixed value.
enum RegistryResult : long {
    kRegistryOk = 0,
    kRegistryNotFound,      // no such key or value
    kRegistryMoreData,      // the buffer is too small; the size needed is given back
    kRegistryAccessDenied,  // the machine-wide root: a per-user program has no store there
    kRegistryInvalid,       // a value type or size that the store does not hold
    kRegistryWriteFailed,   // the store's file cannot be written; it stays as it was
};

// The per-user key whose values start programs with the session.
inline constexpr wchar_t kSessionStartKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class RegistryKey {
public:
    // Opens the key `path` ("\" or "/" separated) under `root`, creating it when missing.
    static long Create(RegistryRoot root, std::wstring_view path, std::unique_ptr<RegistryKey>& key);
    // Opens the key only when it exists.
    static long Open(RegistryRoot root, std::wstring_view path, std::unique_ptr<RegistryKey>& key);

    // Reads the value `name`: its type into `type` and its bytes into `data`, which holds `*size` bytes.
    // `*size` becomes the value's size. With `data` null only the type and size are given. Text comes back
    // as wchar_t units with a terminating zero. Both `type` and `data` may be null.
    long QueryValue(std::wstring_view name, uint32_t* type, void* data, uint32_t* size) const;
    // Writes the value `name`: a DWORD takes exactly 4 bytes; text is wchar_t units, up to the first zero.
    long SetValue(std::wstring_view name, uint32_t type, const void* data, uint32_t size);
    long DeleteValue(std::wstring_view name);

private:
    RegistryKey(std::wstring id, std::wstring path, bool sessionStart)
        : id_(std::move(id)), path_(std::move(path)), sessionStart_(sessionStart) {}

    std::wstring id_;    // the key's identity in the store's tree
    std::wstring path_;  // as spelled by whoever created it
    bool sessionStart_;
};

// The store's file: the configuration folder's "Registry.txt".
std::wstring RegistryFilePath();

}  // namespace kestrova
