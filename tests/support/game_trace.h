#pragma once
// Waiting on the real game: a test starts it with "--trace -", and the game
// writes one line per event to standard error ("0.412 state MainMenu",
// "1.093 level built", "error 9 Can not open ..."). A test waits for the
// line it needs with a generous deadline instead of sleeping for a guess.
#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <functional>
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
    bool seen(const std::string& event) const { return count(event) > 0; }

    // How many events so far begin with `event`.
    std::size_t count(const std::string& event) const {
        std::size_t found = 0;
        forEachLine(text(), 0, [&](const Line& line) {
            found += line.begins(event) ? 1 : 0;
            return true;
        });
        return found;
    }

    // The time of the first event that begins with `event`; -1 when none.
    double timeOf(const std::string& event) const {
        double time = -1.0;
        forEachLine(text(), 0, [&](const Line& line) {
            if (line.begins(event)) {
                time = std::atof(line.text.substr(0, line.space).c_str());
                return false;
            }
            return true;
        });
        return time;
    }

    // What the game wrote besides its trace: the message boxes it showed.
    std::string untraced() const {
        std::string others;
        forEachLine(text(), 0, [&](const Line& line) {
            if (!line.timed()) {
                others += line.text + "\n";
            }
            return true;
        });
        return others;
    }

    // Every trace line so far, for failure messages.
    std::string text() const { return m_process.standardError(); }

private:
    // One whole line of standard error. Trace lines begin with their time
    // and a space; message boxes shown on standard error do not.
    struct Line {
        std::string text;
        std::size_t space;
        bool timed() const {
            return !text.empty() && text[0] >= '0' && text[0] <= '9' && space != std::string::npos;
        }
        bool begins(const std::string& event) const {
            return timed() && text.compare(space + 1, event.size(), event) == 0;
        }
    };

    // Calls `visit` with each whole line from `from` on (a line still being
    // written is left for later) until it returns false; returns the offset
    // just past the last line visited.
    static std::size_t forEachLine(const std::string& text, std::size_t from,
                                   const std::function<bool(const Line&)>& visit) {
        for (std::size_t end = text.find('\n', from); end != std::string::npos;
             end = text.find('\n', from)) {
            Line line{text.substr(from, end - from), std::string::npos};
            line.space = line.text.find(' ');
            from = end + 1;
            if (!visit(line)) {
                break;
            }
        }
        return from;
    }

    bool takeNext(const std::string& event) {
        bool found = false;
        const std::size_t next = forEachLine(text(), m_consumed, [&](const Line& line) {
            found = line.begins(event);
            return !found;
        });
        if (found) {
            m_consumed = next;
        }
        return found;
    }

    ChildProcess& m_process;
    std::size_t m_consumed = 0;
};
