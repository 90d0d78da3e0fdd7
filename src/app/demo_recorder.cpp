#include "app/demo_recorder.h"

#include <utility>

DemoRecorder::DemoRecorder(std::string path, std::uint32_t seed) : m_path(std::move(path)) {
    m_demo.seed = seed;
}

void DemoRecorder::start(const DemoWindow& window) {
    m_demo.window = window;
}

void DemoRecorder::recordEvent(const platform::Event& event) {
    m_pending.push_back(event);
}

void DemoRecorder::recordFrame(double frameTime) {
    DemoFrame frame;
    frame.frameTime = frameTime;
    frame.events.swap(m_pending);
    m_demo.frames.push_back(std::move(frame));
}

bool DemoRecorder::save(std::string& reason) {
    return saveDemo(m_path, m_demo, reason);
}
