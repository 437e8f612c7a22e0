#pragma once
// The program's resources, packed into the executable at build time from resources/ and found by kind and id.

#include <cstddef>
#include <cstdint>

namespace kestrova {

enum class ResourceKind { Bitmap, Icon, Data, Menu };

struct ResourceBytes {
    const uint8_t* data = nullptr;
    size_t size = 0;
};

// True and the bytes when a resource of that kind and id was packed.
bool FindProgramResource(ResourceKind kind, int id, ResourceBytes* out);

// One entry of the table that the build generates from resources/manifest.txt, sorted by kind, then id.
struct PackedResource {
    ResourceKind kind;
    int id;
    const uint8_t* data;
    size_t size;
};
extern const PackedResource kPackedResources[];
extern const size_t kPackedResourceCount;

}  // namespace kestrova
