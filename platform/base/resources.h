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

}  // namespace kestrova
