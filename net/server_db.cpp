#include "net/server_db.h"

#include <limits>
#include <string>

#include "platform/base/files.h"

namespace kestrova {

int32_t LoadWholeFile(std::wstring_view name, std::vector<uint8_t>* out, std::wstring_view folder) {
    std::wstring path = name == L"Server.db" ? ProgramDataFolder() : std::wstring(folder);
    path += name;
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes) || bytes.empty()) return 0;
    if (bytes.size() > size_t(std::numeric_limits<int32_t>::max())) return 0;
    *out = std::move(bytes);
    return int32_t(out->size());
}

std::vector<uint8_t> LoadServerDb() {
    std::vector<uint8_t> db;
    if (LoadWholeFile(L"Server.db", &db, {}) != int32_t(kServerDbSize)) db.clear();
    return db;
}

}  // namespace kestrova
