#pragma once
// The process-wide table of running graphs by display name, so that a tool can find a graph while it runs.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/media/filter_graph.h"

namespace kestrova::media {

// Registers `graph` under the item moniker of `delimiter` and `item` (display name: the two joined) and
// returns a non-zero cookie; the table holds the graph until the entry is revoked.
HRESULT RotRegister(const std::wstring& delimiter, const std::wstring& item,
                    const std::shared_ptr<FilterGraph>& graph, uint32_t* cookie);
// Removes an entry; E_INVALIDARG for a cookie that is not registered.
HRESULT RotRevoke(uint32_t cookie);
// The graph registered under a display name, or null.
std::shared_ptr<FilterGraph> RotFind(const std::wstring& displayName);

}  // namespace kestrova::media
