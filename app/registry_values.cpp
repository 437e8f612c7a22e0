#include "app/registry_values.h"

#include <string>

namespace kestrova {
namespace {

// The value's type and size, or nothing when it is missing.
bool Describe(const RegistryKey& key, std::wstring_view name, uint32_t* type, uint32_t* size) {
    *size = 0;
    return key.QueryValue(name, type, nullptr, size) == kRegistryOk;
}

long OpenHintsKey(std::unique_ptr<RegistryKey>& key) {
    return RegistryKey::Create(RegistryRoot::kCurrentUser, kHintsKey, key);
}

}  // namespace

uint32_t RegReadBinary(const RegistryKey& key, std::wstring_view name, void* buffer, uint32_t size) {
    uint32_t type = 0, stored = 0;
    if (!Describe(key, name, &type, &stored) || type != kRegistryBinary || stored > size) return 0;
    if (key.QueryValue(name, nullptr, buffer, &stored) != kRegistryOk) return 0;
    return stored;
}

uint32_t RegReadDword(const RegistryKey& key, std::wstring_view name, uint32_t missing) {
    uint32_t type = 0, size = 0, value = 0;
    if (!Describe(key, name, &type, &size) || type != kRegistryDword || size != sizeof value) return missing;
    return key.QueryValue(name, nullptr, &value, &size) == kRegistryOk ? value : missing;
}

int RegReadBool(const RegistryKey& key, std::wstring_view name, int missing) {
    uint32_t type = 0, size = 0;
    if (!Describe(key, name, &type, &size) || type != kRegistryDword) return missing;
    return RegReadDword(key, name, 0) != 0 ? 1 : 0;
}

long RegWriteDword(RegistryKey& key, std::wstring_view name, uint32_t value) {
    return key.SetValue(name, kRegistryDword, &value, sizeof value);
}

long RegWriteString(RegistryKey& key, std::wstring_view name, std::wstring_view text) {
    const std::wstring terminated(text);
    return key.SetValue(name, kRegistryText, terminated.c_str(),
                        uint32_t((terminated.size() + 1) * sizeof(wchar_t)));
}

long RegWriteBinary(RegistryKey& key, std::wstring_view name, const void* data, uint32_t size) {
    return key.SetValue(name, kRegistryBinary, data, size);
}

long OpenFirstRunKey(std::unique_ptr<RegistryKey>& key) {
    const long machine = RegistryKey::Create(RegistryRoot::kLocalMachine, kFirstRunKey, key);
    return machine == kRegistryOk ? machine
                                  : RegistryKey::Create(RegistryRoot::kCurrentUser, kFirstRunKey, key);
}

int ReadHintFlag(std::wstring_view name) {
    std::unique_ptr<RegistryKey> key;
    if (OpenHintsKey(key) != kRegistryOk) return 1;
    return RegReadBool(*key, name, 1);
}

long TurnOffHint(std::wstring_view name) {
    std::unique_ptr<RegistryKey> key;
    const long opened = OpenHintsKey(key);
    return opened == kRegistryOk ? RegWriteDword(*key, name, 0) : opened;
}

}  // namespace kestrova
