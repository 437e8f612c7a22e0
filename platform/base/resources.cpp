#include "platform/base/resources.h"

#include <algorithm>
#include <tuple>

namespace kestrova {

bool FindProgramResource(ResourceKind kind, int id, ResourceBytes* out) {
    const PackedResource* end = kPackedResources + kPackedResourceCount;
    const PackedResource* found = std::lower_bound(kPackedResources, end, std::make_tuple(kind, id),
                                                   [](const PackedResource& entry, const auto& key) {
                                                       return std::make_tuple(entry.kind, entry.id) < key;
                                                   });
    if (found == end || found->kind != kind || found->id != id) return false;
    if (out) *out = ResourceBytes{found->data, found->size};
    return true;
}

}  // namespace kestrova
