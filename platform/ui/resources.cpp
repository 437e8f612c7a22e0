#include "platform/ui/resources.h"

#include <map>
#include <memory>
#include <mutex>

#include "platform/base/resources.h"
#include "platform/imaging/bitmap.h"
#include "platform/ui/gdi_objects.h"

namespace kestrova::ui {
namespace {

std::shared_ptr<Surface> ToSurface(const imaging::Bitmap& picture) {
    auto s = std::make_shared<Surface>(picture.Width(), picture.Height());
    for (int y = 0; y < picture.Height(); ++y) {
        const uint8_t* in = picture.Row(y);
        uint32_t* out = s->Pixels() + size_t(y) * size_t(picture.Width());
        for (int x = 0; x < picture.Width(); ++x, in += 3)
            out[x] = 0xFF000000u | (uint32_t(in[2]) << 16) | (uint32_t(in[1]) << 8) | in[0];
    }
    return s;
}

// Decoded once per id and kept: the program loads its skins at every paint.
std::shared_ptr<Surface> Decoded(ResourceKind kind, int id) {
    static std::mutex mutex;
    static std::map<std::pair<ResourceKind, int>, std::shared_ptr<Surface>> cache;
    std::lock_guard<std::mutex> g(mutex);
    auto& slot = cache[{kind, id}];
    if (!slot) {
        ResourceBytes bytes;
        if (!FindProgramResource(kind, id, &bytes)) return nullptr;
        auto picture = imaging::Bitmap::Decode(bytes.data, bytes.size);
        if (!picture) return nullptr;
        slot = ToSurface(*picture);
    }
    return slot;
}

// Icons are their pixels; a handle is the address of the cached surface, which lives for ever.
constexpr uintptr_t kStandardIcon = 1;
constexpr int kFirstStandardIcon = 32512, kLastStandardIcon = 32517;

}  // namespace

const Surface* IconPixels(HICON icon) {
    uintptr_t v = reinterpret_cast<uintptr_t>(icon);
    return v > kStandardIcon ? reinterpret_cast<const Surface*>(v) : nullptr;
}

}  // namespace kestrova::ui

using namespace kestrova::ui;

HBITMAP LoadBitmapW(HINSTANCE, const wchar_t* name) {
    if (!name || !IS_INTRESOURCE(name)) return nullptr;
    auto pixels = Decoded(kestrova::ResourceKind::Bitmap, int(reinterpret_cast<uintptr_t>(name)));
    if (!pixels) return nullptr;
    GdiLock lock = LockGdi();
    return AddObjectLocked(GdiObject{BitmapData{pixels}});
}

HICON LoadIconW(HINSTANCE, const wchar_t* name) {
    if (!name || !IS_INTRESOURCE(name)) return nullptr;
    int id = int(reinterpret_cast<uintptr_t>(name));
    if (id >= kFirstStandardIcon && id <= kLastStandardIcon) return reinterpret_cast<HICON>(kStandardIcon);
    auto pixels = Decoded(kestrova::ResourceKind::Icon, id);
    return pixels ? reinterpret_cast<HICON>(pixels.get()) : nullptr;
}

BOOL DestroyIcon(HICON icon) {
    return icon ? TRUE : FALSE;
}
