// Buffers of tens of megabytes that are filled once and thrown away (sort keys, orders, pages
// of output) cost a page fault for every 4 KiB touched. On Linux the kernel can back them with
// 2 MiB pages instead when asked; elsewhere, or when it declines, nothing changes.
#pragma once

#include <cstddef>
#include <vector>

namespace kit {

// A hint for the whole 2 MiB pages within [data, data + bytes).
void PreferLargePages(const void *data, std::size_t bytes) noexcept;

// `reserve`, with the hint for the reserved storage.
template <typename T> void ReserveLarge(std::vector<T> &v, std::size_t count)
{
    v.reserve(count);
    PreferLargePages(v.data(), v.capacity() * sizeof(T));
}

// `assign(count, value)`, in storage with the hint when it has to grow.
template <typename T> void AssignLarge(std::vector<T> &v, std::size_t count, const T &value)
{
    if (v.capacity() < count) {
        std::vector<T>().swap(v);
        ReserveLarge(v, count);
    }
    v.assign(count, value);
}

}  // namespace kit
