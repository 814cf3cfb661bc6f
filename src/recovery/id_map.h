#pragma once
// A hash map from 64-bit object numbers (or other ids) to small values, stored flat: one array
// of slots, open addressing with linear probing. On volumes of millions of records a lookup
// costs one cache miss where a node-based map costs several, and no node is allocated.
// Entries are never removed; a pointer to a value stays valid until the next insertion.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace lumbra {

template <typename Value>
class IdMap {
public:
    // The value of `key`, inserted as Value{} when missing; `inserted` tells which.
    std::pair<Value*, bool> tryEmplace(uint64_t key, const Value& value = Value{}) {
        if (2 * (size_ + 1) > slots_.size()) Grow();
        size_t at = Home(key);
        while (slots_[at].used) {
            if (slots_[at].key == key) return {&slots_[at].value, false};
            at = (at + 1) & mask_;
        }
        slots_[at] = {key, value, true};
        ++size_;
        return {&slots_[at].value, true};
    }

    const Value* find(uint64_t key) const {
        if (size_ == 0) return nullptr;
        for (size_t at = Home(key); slots_[at].used; at = (at + 1) & mask_)
            if (slots_[at].key == key) return &slots_[at].value;
        return nullptr;
    }

    bool contains(uint64_t key) const { return find(key) != nullptr; }
    size_t size() const { return size_; }

    void clear() {
        slots_.clear();
        size_ = 0;
        mask_ = 0;
        shift_ = 64;
    }

    // Room for `count` entries without growing.
    void reserve(size_t count) {
        while (2 * count > slots_.size()) Grow();
    }

private:
    struct Slot {
        uint64_t key = 0;
        Value value{};
        bool used = false;
    };

    // Fibonacci hashing: the high bits of the product spread runs of consecutive ids.
    size_t Home(uint64_t key) const {
        return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> shift_) & mask_;
    }

    void Grow() {
        std::vector<Slot> old = std::move(slots_);
        size_t capacity = old.empty() ? 16 : 2 * old.size();
        slots_.assign(capacity, Slot{});
        mask_ = capacity - 1;
        shift_ = 64 - BitsOf(capacity);
        size_ = 0;
        for (const Slot& slot : old)
            if (slot.used) tryEmplace(slot.key, slot.value);
    }

    static int BitsOf(size_t powerOfTwo) {
        int bits = 0;
        while ((size_t{1} << bits) < powerOfTwo) ++bits;
        return bits;
    }

    std::vector<Slot> slots_;
    size_t size_ = 0;
    size_t mask_ = 0;
    int shift_ = 64;
};

}  // namespace lumbra
