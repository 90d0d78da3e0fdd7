#pragma once
#include <string>

namespace platform {

// A single-instance guard: a lock named after the application, shared by all
// processes of the same user and released by the system when the holder dies.
class InstanceGuard {
public:
    InstanceGuard() = default;
    ~InstanceGuard();
    InstanceGuard(const InstanceGuard&) = delete;
    InstanceGuard& operator=(const InstanceGuard&) = delete;

    // True when this process now holds the lock; false when another process
    // holds it or the lock could not be created.
    bool acquire(const std::string& name);
    void release();
    bool held() const { return m_fd >= 0; }

    // Where the lock for a name lives (the user's runtime folder, else /tmp).
    static std::string lockPath(const std::string& name);

private:
    int m_fd = -1;
};

}  // namespace platform
