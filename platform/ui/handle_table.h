#pragma once
// A table of objects named by handles. A handle is a slot and that slot's generation: when an object goes,
// its slot's generation moves on, so an old handle never finds a later object. Not locked: its owner locks.

#include <cstdint>
#include <memory>
#include <vector>

namespace kestrova::ui {

template <class Object>
class HandleTable {
public:
    // Stores `object` and returns its handle (never null, never one of the small special values).
    uintptr_t Add(std::unique_ptr<Object> object) {
        uint32_t index;
        if (!free_.empty()) {
            index = free_.back();
            free_.pop_back();
        } else {
            index = uint32_t(slots_.size());
            slots_.emplace_back();
        }
        Slot& slot = slots_[index];
        slot.object = std::move(object);
        return (uintptr_t(slot.generation) << 32) | (uintptr_t(index) + 1);
    }

    Object* Find(uintptr_t handle) const {
        uint32_t index = uint32_t(handle & 0xFFFFFFFF);
        uint32_t generation = uint32_t(handle >> 32);
        if (index == 0 || index > slots_.size()) return nullptr;
        const Slot& slot = slots_[index - 1];
        return slot.generation == generation ? slot.object.get() : nullptr;
    }

    // Takes the object out; its handle is stale from here on.
    std::unique_ptr<Object> Remove(uintptr_t handle) {
        if (!Find(handle)) return nullptr;
        uint32_t index = uint32_t(handle & 0xFFFFFFFF) - 1;
        Slot& slot = slots_[index];
        std::unique_ptr<Object> object = std::move(slot.object);
        // A slot whose generation would wrap is retired rather than reused.
        if (++slot.generation != 0) free_.push_back(index);
        return object;
    }

    // Every live object, in slot order.
    std::vector<Object*> All() const {
        std::vector<Object*> all;
        for (const Slot& slot : slots_)
            if (slot.object) all.push_back(slot.object.get());
        return all;
    }

private:
    struct Slot {
        uint32_t generation = 1;
        std::unique_ptr<Object> object;
    };
    std::vector<Slot> slots_;
    std::vector<uint32_t> free_;
};

}  // namespace kestrova::ui
