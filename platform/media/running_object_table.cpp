#include "platform/media/running_object_table.h"

#include <map>
#include <mutex>

namespace kestrova::media {
namespace {

struct Entry {
    std::wstring displayName;
    std::shared_ptr<FilterGraph> graph;
};

struct Table {
    std::mutex mutex;
    std::map<uint32_t, Entry> entries;
    uint32_t nextCookie = 1;
};

Table& TheTable() {
    static Table table;
    return table;
}

}  // namespace

HRESULT RotRegister(const std::wstring& delimiter, const std::wstring& item,
                    const std::shared_ptr<FilterGraph>& graph, uint32_t* cookie) {
    if (!cookie) return E_POINTER;
    *cookie = 0;
    if (!graph) return E_INVALIDARG;
    Table& table = TheTable();
    std::lock_guard<std::mutex> lock(table.mutex);
    if (table.nextCookie == 0) table.nextCookie = 1;
    *cookie = table.nextCookie++;
    table.entries[*cookie] = {delimiter + item, graph};
    return S_OK;
}

HRESULT RotRevoke(uint32_t cookie) {
    Table& table = TheTable();
    std::shared_ptr<FilterGraph> released;  // let go of the graph outside the lock
    std::lock_guard<std::mutex> lock(table.mutex);
    auto it = table.entries.find(cookie);
    if (it == table.entries.end()) return E_INVALIDARG;
    released = std::move(it->second.graph);
    table.entries.erase(it);
    return S_OK;
}

std::shared_ptr<FilterGraph> RotFind(const std::wstring& displayName) {
    Table& table = TheTable();
    std::lock_guard<std::mutex> lock(table.mutex);
    for (const auto& [cookie, entry] : table.entries) {
        if (entry.displayName == displayName) return entry.graph;
    }
    return nullptr;
}

}  // namespace kestrova::media
