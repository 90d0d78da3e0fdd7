#pragma once
// Waiting on the real game: a test starts it with "--trace -", and the game
// writes one line per event to standard error ("0.412 state MainMenu",
// "1.093 level built", "error 9 Can not open ..."). A test waits for the
// line it needs with a generous deadline instead of sleeping for a guess.
#include <chrono>
#include <cstddef>
#include <string>
#include <thread>

#include "support/child_process.h"

class GameTrace {
public:
    explicit GameTrace(ChildProcess& process) : m_process(process) {}

    // Waits for the next event that begins with `event` (after the last one
    // waited for); false when the game ended first or the deadline passed.
    bool waitFor(const std::string& event, double seconds) {
        const auto deadline = std::chrono::steady_clock::now() +
                              std::chrono::milliseconds(static_cast<long>(seconds * 1000));
        for (;;) {
            const bool running = m_process.running();
            if (takeNext(event)) {
                return true;
            }
            if (!running || std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

    // Whether any event so far begins with `event`, without moving on.
    bool seen(const std::string& event) const {
        const std::string text = m_process.standardError();
        return find(text, event, 0) != std::string::npos;
    }

    // Every trace line so far, for failure messages.
    std::string text() const { return m_process.standardError(); }

private:
    // The end of the first line at or after `from` whose event begins with
    // `event`; npos when there is none yet.
    static std::size_t find(const std::string& text, const std::string& event, std::size_t from) {
        while (from < text.size()) {
            const std::size_t end = text.find('\n', from);
            if (end == std::string::npos) {
                return std::string::npos;  // a line still being written
            }
            // Trace lines begin with their time; message boxes shown on
            // standard error do not.
            const std::size_t space = text.find(' ', from);
            const bool timed = from < end && text[from] >= '0' && text[from] <= '9';
            if (timed && space != std::string::npos && space < end &&
                text.compare(space + 1, event.size(), event) == 0 &&
                space + 1 + event.size() <= end) {
                return end + 1;
            }
            from = end + 1;
        }
        return std::string::npos;
    }

    bool takeNext(const std::string& event) {
        const std::size_t next = find(m_process.standardError(), event, m_consumed);
        if (next == std::string::npos) {
            return false;
        }
        m_consumed = next;
        return true;
    }

    ChildProcess& m_process;
    std::size_t m_consumed = 0;
};
