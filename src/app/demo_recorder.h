#pragma once
#include <cstdint>
#include <string>

#include "app/demo_file.h"
#include "platform/events.h"

// Collects what the main loop consumed while a game is played: every event it
// handled, then the time of the frame that followed. The file is written
// whole at the end (replacing any old one only once it is complete).
class DemoRecorder {
public:
    DemoRecorder(std::string path, std::uint32_t seed);

    void start(const DemoWindow& window);
    // Events wait until the frame they came before is recorded.
    void recordEvent(const platform::Event& event);
    void recordFrame(double frameTime);
    // Events after the last frame changed nothing that was played: dropped.
    bool save(std::string& reason);

    const Demo& demo() const { return m_demo; }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
    Demo m_demo;
    std::vector<platform::Event> m_pending;
};
