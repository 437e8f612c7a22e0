#include "platform/shell/registry.h"

#include <cstring>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/shell/autostart.h"

namespace kestrova {
namespace {

// One change at a time within the process: each reads the file, changes it and writes it back.
std::mutex g_storeMutex;

RegistryTree Load() {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(RegistryFilePath(), bytes)) return {};
    return ParseRegistryFile(bytes);
}

bool Save(const RegistryTree& tree) {
    const std::string text = FormatRegistryFile(tree);
    return WriteFileAtomic(RegistryFilePath(), text.data(), text.size(), Durability::SyncToDisk);
}

// "a/b\\\\c\\" becomes "a\\b\\c".
std::wstring NormalPath(std::wstring_view path) {
    std::wstring out;
    for (wchar_t c : path) {
        if (c == L'/' || c == L'\\') {
            if (!out.empty() && out.back() != L'\\') out.push_back(L'\\');
        } else {
            out.push_back(c);
        }
    }
    if (!out.empty() && out.back() == L'\\') out.pop_back();
    return out;
}

std::wstring KeyId(std::wstring_view path) {
    return L"current-user\\" + FoldRegistryName(path);
}

long CopyOut(uint32_t valueType, const void* bytes, size_t count, uint32_t* type, void* data,
             uint32_t* size) {
    if (type) *type = valueType;
    if (!size) return data ? kRegistryInvalid : kRegistryOk;
    const uint32_t room = *size;
    *size = uint32_t(count);
    if (!data) return kRegistryOk;
    if (room < count) return kRegistryMoreData;
    if (count) std::memcpy(data, bytes, count);
    return kRegistryOk;
}

long CopyOutText(const std::wstring& text, uint32_t* type, void* data, uint32_t* size) {
    return CopyOut(kRegistryText, text.c_str(), (text.size() + 1) * sizeof(wchar_t), type, data, size);
}

std::wstring TextOf(const void* data, uint32_t size) {
    const wchar_t* units = static_cast<const wchar_t*>(data);
    std::wstring text(units, size / sizeof(wchar_t));
    return text.substr(0, text.find(L'\0'));
}

}  // namespace

std::wstring RegistryFilePath() {
    return ConfigFolder() + L"Registry.txt";
}

long RegistryKey::Create(RegistryRoot root, std::wstring_view path, std::unique_ptr<RegistryKey>& key) {
    if (root != RegistryRoot::kCurrentUser) return kRegistryAccessDenied;
    const std::wstring normal = NormalPath(path);
    if (normal.empty()) return kRegistryInvalid;
    const std::wstring id = KeyId(normal);
    const bool sessionStart = FoldRegistryName(normal) == FoldRegistryName(kSessionStartKey);
    if (!sessionStart) {
        std::lock_guard<std::mutex> g(g_storeMutex);
        RegistryTree tree = Load();
        if (!tree.count(id)) {
            tree[id].path = normal;
            if (!Save(tree)) return kRegistryWriteFailed;
        }
    }
    key.reset(new RegistryKey(id, normal, sessionStart));
    return kRegistryOk;
}

long RegistryKey::Open(RegistryRoot root, std::wstring_view path, std::unique_ptr<RegistryKey>& key) {
    if (root != RegistryRoot::kCurrentUser) return kRegistryAccessDenied;
    const std::wstring normal = NormalPath(path);
    const std::wstring id = KeyId(normal);
    const bool sessionStart = FoldRegistryName(normal) == FoldRegistryName(kSessionStartKey);
    if (!sessionStart) {
        std::lock_guard<std::mutex> g(g_storeMutex);
        if (normal.empty() || !Load().count(id)) return kRegistryNotFound;
    }
    key.reset(new RegistryKey(id, normal, sessionStart));
    return kRegistryOk;
}

long RegistryKey::QueryValue(std::wstring_view name, uint32_t* type, void* data, uint32_t* size) const {
    if (sessionStart_) {
        std::optional<std::wstring> command = ReadAutostartEntry(name);
        return command ? CopyOutText(*command, type, data, size) : kRegistryNotFound;
    }
    std::lock_guard<std::mutex> g(g_storeMutex);
    const RegistryTree tree = Load();
    auto key = tree.find(id_);
    if (key == tree.end()) return kRegistryNotFound;
    auto value = key->second.values.find(FoldRegistryName(name));
    if (value == key->second.values.end()) return kRegistryNotFound;
    const RegistryValue& v = value->second;
    if (v.type == kRegistryText)
        return CopyOutText(
            FromUtf8(std::string_view(reinterpret_cast<const char*>(v.data.data()), v.data.size())), type,
            data, size);
    return CopyOut(v.type, v.data.data(), v.data.size(), type, data, size);
}

long RegistryKey::SetValue(std::wstring_view name, uint32_t type, const void* data, uint32_t size) {
    if (size && !data) return kRegistryInvalid;
    RegistryValue value;
    value.name = name;
    value.type = type;
    switch (type) {
        case kRegistryDword:
            if (size != 4) return kRegistryInvalid;
            value.data.assign(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + 4);
            break;
        case kRegistryText: {
            const std::string utf8 = ToUtf8(TextOf(data, size));
            value.data.assign(utf8.begin(), utf8.end());
            break;
        }
        case kRegistryBinary:
            value.data.assign(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
            break;
        default:
            return kRegistryInvalid;
    }
    if (sessionStart_) {
        if (type != kRegistryText) return kRegistryInvalid;
        return WriteAutostartEntry(name, TextOf(data, size)) ? kRegistryOk : kRegistryWriteFailed;
    }
    std::lock_guard<std::mutex> g(g_storeMutex);
    RegistryTree tree = Load();
    RegistryKeyData& key = tree[id_];
    if (key.path.empty()) key.path = path_;
    key.values[FoldRegistryName(name)] = std::move(value);
    return Save(tree) ? kRegistryOk : kRegistryWriteFailed;
}

long RegistryKey::DeleteValue(std::wstring_view name) {
    if (sessionStart_) {
        if (!ReadAutostartEntry(name)) return kRegistryNotFound;
        return RemoveAutostartEntry(name) ? kRegistryOk : kRegistryWriteFailed;
    }
    std::lock_guard<std::mutex> g(g_storeMutex);
    RegistryTree tree = Load();
    auto key = tree.find(id_);
    if (key == tree.end() || !key->second.values.erase(FoldRegistryName(name))) return kRegistryNotFound;
    return Save(tree) ? kRegistryOk : kRegistryWriteFailed;
}

}  // namespace kestrova
