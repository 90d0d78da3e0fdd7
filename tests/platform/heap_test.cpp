#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "platform/heap.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#define SPOOKHOLLOW_OWN_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SPOOKHOLLOW_OWN_ALLOCATOR 1
#endif
#endif

namespace {

// A level's biggest pictures are a few megabytes: freed, they stay with the
// program, and the next picture of that size takes the same memory again
// instead of new pages from the system.
TEST(Heap, FreedPicturesStayForTheNextOne) {
#if !defined(__GLIBC__) || defined(SPOOKHOLLOW_OWN_ALLOCATOR)
    GTEST_SKIP() << "only the GNU C library's own allocator is tuned";
#else
    platform::keepFreedMemoryForReuse();
    constexpr std::size_t PICTURE = 12u << 20;
    const struct mallinfo2 before = mallinfo2();
    void* first = std::malloc(PICTURE);
    ASSERT_NE(first, nullptr);
    std::memset(first, 1, PICTURE);
    const struct mallinfo2 holding = mallinfo2();
    EXPECT_EQ(holding.hblkhd, before.hblkhd) << "the picture got a mapping of its own";
    std::free(first);
    const struct mallinfo2 freed = mallinfo2();
    EXPECT_GE(freed.arena, before.arena + PICTURE) << "the freed picture went back to the system";
    void* second = std::malloc(PICTURE);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(mallinfo2().arena, freed.arena) << "the next picture took new memory";
    std::free(second);
#endif
}

}  // namespace
