#include "ObjectTable.h"

namespace layer {

namespace {
// As on Windows, 16 bits of a handle pick its slot (Windows gives a process
// 10,000 GDI objects by default; the layer 65,535) and the bits above tell
// the slot's successive objects apart. The handle stays within 31 bits.
constexpr uintptr_t indexBits = 16;
constexpr uintptr_t indexMask = (uintptr_t{1} << indexBits) - 1;
constexpr uint32_t generationMask = 0x7fff;
}  // namespace

uintptr_t ObjectTable::encode(std::size_t index, uint32_t generation) {
    return (uintptr_t(generation & generationMask) << indexBits) | uintptr_t(index + 1);
}

uintptr_t ObjectTable::add(std::unique_ptr<LayerObject> object) {
    std::size_t index;
    if (!freeSlots_.empty()) {
        // The slot freed longest ago: a handle's slot is reused only once
        // every slot freed after it has been.
        index = freeSlots_.front();
        freeSlots_.pop_front();
    } else {
        // Past the last index the handle's index bits would run into its
        // generation bits, and two live objects could share a handle.
        if (slots_.size() >= indexMask) return 0;
        index = slots_.size();
        slots_.emplace_back();
    }
    slots_[index].object = std::move(object);
    return encode(index, slots_[index].generation);
}

LayerObject* ObjectTable::find(uintptr_t handle) const {
    uintptr_t index = (handle & indexMask);
    if (index == 0 || index > slots_.size()) return nullptr;
    const Slot& slot = slots_[index - 1];
    if (!slot.object || encode(index - 1, slot.generation) != handle) return nullptr;
    return slot.object.get();
}

void ObjectTable::remove(uintptr_t handle) {
    if (!find(handle)) return;
    std::size_t index = (handle & indexMask) - 1;
    slots_[index].object.reset();
    slots_[index].generation = (slots_[index].generation + 1) & generationMask;
    if (slots_[index].generation == 0) slots_[index].generation = 1;
    freeSlots_.push_back(index);
}

void ObjectTable::clear() {
    slots_.clear();
    freeSlots_.clear();
}

std::size_t ObjectTable::liveCount() const {
    std::size_t count = 0;
    for (const Slot& slot : slots_) count += slot.object ? 1 : 0;
    return count;
}

}  // namespace layer
