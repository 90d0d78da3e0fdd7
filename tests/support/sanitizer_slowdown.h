#pragma once
// How many times slower the game runs in this build: sanitizer builds run it
// several times slower, and tests that wait for it stretch their waits.
#if defined(__SANITIZE_ADDRESS__)
constexpr double SLOWDOWN = 4.0;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr double SLOWDOWN = 4.0;
#else
constexpr double SLOWDOWN = 1.0;
#endif
#else
constexpr double SLOWDOWN = 1.0;
#endif
