#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <span>
#include <type_traits>

#include "core/io/native_file.h"

namespace tagwarden {

// A growable array of plain values in one block of the system's (large pages where
// the block is large), never zeroed first: a million-entry directory spends most
// of its time on fresh memory, and small pages cost a fault every 4 KiB.
template <class T>
class BlockArray {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    [[nodiscard]] std::size_t size() const { return size_; }
    [[nodiscard]] std::size_t capacity() const { return capacity_; }
    [[nodiscard]] const T* data() const { return block_.get(); }
    [[nodiscard]] T& operator[](std::size_t index) { return block_[index]; }
    [[nodiscard]] const T& operator[](std::size_t index) const { return block_[index]; }
    [[nodiscard]] std::span<const T> view() const { return {block_.get(), size_}; }

    // Room for this many values in all.
    void reserve(std::size_t wanted)
    {
        if (wanted <= capacity_)
            return;
        std::unique_ptr<T[], Release> grown(static_cast<T*>(native::allocateBlock(wanted * sizeof(T))));
        std::copy_n(block_.get(), size_, grown.get());
        block_ = std::move(grown);
        capacity_ = wanted;
    }

    // Where `more` values go behind the last one; they count once `extend` says so.
    [[nodiscard]] T* roomFor(std::size_t more)
    {
        if (capacity_ - size_ < more)
            reserve(std::max({size_ + more, 2 * capacity_, std::size_t{16}}));
        return block_.get() + size_;
    }
    void extend(std::size_t more) { size_ += more; }

    void push_back(const T& value)
    {
        *roomFor(1) = value;
        ++size_;
    }

    void release()
    {
        block_.reset();
        size_ = capacity_ = 0;
    }

private:
    struct Release {
        void operator()(T* block) const noexcept { native::releaseBlock(block); }
    };

    std::unique_ptr<T[], Release> block_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace tagwarden
