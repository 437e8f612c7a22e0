#pragma once
// A GDI object (font, brush, pen, bitmap) that its holder owns and deletes when it goes: the controls keep
// their fonts and brushes in these, and a paint keeps what it creates for itself.

#include <utility>

#include "platform/ui/gdi.h"

namespace kestrova::toolkit {

class OwnedGdiObject {
public:
    OwnedGdiObject() = default;
    explicit OwnedGdiObject(HGDIOBJ object) : object_(object) {}
    ~OwnedGdiObject() {
        if (object_) DeleteObject(object_);
    }
    OwnedGdiObject(OwnedGdiObject&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    OwnedGdiObject& operator=(OwnedGdiObject&& other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }
    OwnedGdiObject(const OwnedGdiObject&) = delete;
    OwnedGdiObject& operator=(const OwnedGdiObject&) = delete;

    HGDIOBJ get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    HGDIOBJ object_ = nullptr;
};

// Selects an object into a device context for a scope and puts the previous one back at its end.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (previous_) SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace kestrova::toolkit
