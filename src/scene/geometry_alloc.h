#pragma once
// PRIVATE HEADER: only src/scene (and its tests, tools and benchmarks) include this.
#include <cstdint>
#include <memory>
#include <new>

// Primitive arrays are allocated without throwing: a failed or absurdly
// large allocation leaves the primitive without arrays (it then draws
// nothing) instead of ending the program.
constexpr std::int64_t MAX_PRIMITIVE_ENTRIES = 1 << 24;

template <typename T>
std::unique_ptr<T[]> allocatePrimitiveArray(std::int64_t count) {
    if (count <= 0 || count > MAX_PRIMITIVE_ENTRIES) {
        return nullptr;
    }
    return std::unique_ptr<T[]>(new (std::nothrow) T[static_cast<std::size_t>(count)]);
}
