// Handles of the layer: every GDI object and window lives in one table and is
// reached only through its handle, so that a null, foreign or stale handle is
// caught in one place and the call fails the way Windows fails it.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

namespace layer {

enum class ObjectKind : uint8_t { Bitmap, DeviceContext, Region, Font, Brush, Icon, Window };

struct LayerObject {
    explicit LayerObject(ObjectKind k) : kind(k) {}
    virtual ~LayerObject() = default;
    const ObjectKind kind;
    bool stock = false;  // stock objects are shared and never freed
    // How many device contexts hold it. GDI defers the deletion of an object
    // that some DC still holds until the last one lets go of it.
    int selections = 0;
    bool deletePending = false;
};

class ObjectTable {
public:
    // Stores the object and returns its handle value, or 0 (freeing the
    // object) when every handle the table can tell apart is in use, as
    // Windows refuses creations once a process has used up its handles.
    uintptr_t add(std::unique_ptr<LayerObject> object);

    // The live object behind a handle value, or null when the value names
    // nothing (null, never issued, or already freed).
    LayerObject* find(uintptr_t handle) const;

    template <class T>
    T* findAs(uintptr_t handle, ObjectKind kind) const {
        LayerObject* object = find(handle);
        return object && object->kind == kind ? static_cast<T*>(object) : nullptr;
    }

    // Frees the object; later look-ups of the handle fail.
    void remove(uintptr_t handle);

    // Frees every object (between test runs).
    void clear();

    std::size_t liveCount() const;

private:
    struct Slot {
        std::unique_ptr<LayerObject> object;
        uint32_t generation = 1;
    };
    // Handles carry the slot's generation so that a freed slot reused for a
    // new object does not answer to the old handle. Generations wrap, as
    // Windows' do: after 32,767 reuses of one slot its first handle names
    // that slot's object again.
    static uintptr_t encode(std::size_t index, uint32_t generation);

    std::vector<Slot> slots_;
    std::deque<std::size_t> freeSlots_;  // oldest first
};

}  // namespace layer
