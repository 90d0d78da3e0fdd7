#include "app/demo_file.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "app/atomic_file.h"

namespace {

const char MAGIC[8] = {'S', 'P', 'K', 'D', 'E', 'M', 'O', '\n'};
// The highest event type a file of a version may hold; a new type goes at
// the end of the enumeration and moves this (and the version, if old players
// must refuse it).
platform::EventType lastEventType(std::uint32_t version) {
    return version >= 3 ? platform::EventType::PadRemoved : platform::EventType::Quit;
}
std::size_t eventSize(std::uint32_t version) {
    constexpr std::size_t MOUSE_AND_KEYS = 1 + 4 + 1 + 4 + 4 + 4 + 4 + 4 + 4;
    constexpr std::size_t PADS = 4 + 4 + 4 + 4;
    return version >= 3 ? MOUSE_AND_KEYS + PADS : MOUSE_AND_KEYS;
}

std::uint32_t fnv1a(const std::string& bytes, std::size_t length) {
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < length; ++i) {
        hash ^= static_cast<unsigned char>(bytes[i]);
        hash *= 16777619u;
    }
    return hash;
}

class Writer {
public:
    void bytes(const char* data, std::size_t size) { m_out.append(data, size); }
    void u8(std::uint8_t value) { m_out.push_back(static_cast<char>(value)); }
    void u32(std::uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) {
            u8(static_cast<std::uint8_t>(value >> shift));
        }
    }
    void i32(int value) { u32(static_cast<std::uint32_t>(value)); }
    void f64(double value) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        u32(static_cast<std::uint32_t>(bits));
        u32(static_cast<std::uint32_t>(bits >> 32));
    }
    std::string& out() { return m_out; }

private:
    std::string m_out;
};

// Every read checks what is left first; after the first short read all
// further reads fail too, so a parse can check once at the end of a block.
class Reader {
public:
    Reader(const std::string& bytes, std::size_t end) : m_bytes(bytes), m_end(end) {}
    std::size_t left() const { return m_ok ? m_end - m_at : 0; }
    bool ok() const { return m_ok; }
    bool take(std::size_t size) {
        if (!m_ok || m_end - m_at < size) {
            m_ok = false;
            return false;
        }
        return true;
    }
    bool bytes(char* data, std::size_t size) {
        if (!take(size)) {
            return false;
        }
        std::memcpy(data, m_bytes.data() + m_at, size);
        m_at += size;
        return true;
    }
    std::uint8_t u8() {
        if (!take(1)) {
            return 0;
        }
        return static_cast<std::uint8_t>(m_bytes[m_at++]);
    }
    std::uint32_t u32() {
        if (!take(4)) {
            return 0;
        }
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            value |= static_cast<std::uint32_t>(static_cast<unsigned char>(m_bytes[m_at++]))
                     << (8 * i);
        }
        return value;
    }
    int i32() { return static_cast<int>(u32()); }
    double f64() {
        std::uint64_t low = u32();
        std::uint64_t high = u32();
        std::uint64_t bits = low | (high << 32);
        double value = 0.0;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

private:
    const std::string& m_bytes;
    std::size_t m_end;
    std::size_t m_at = 0;
    bool m_ok = true;
};

// Every field of the event, so the replay hands the game exactly what the
// platform delivered; a field added to platform::Event belongs here too.
void writeEvent(Writer& out, const platform::Event& event) {
    out.u8(static_cast<std::uint8_t>(event.type));
    out.i32(event.keyCode);
    out.u8(event.extended ? 1 : 0);
    out.i32(event.button);
    out.i32(event.wheel);
    out.i32(event.x);
    out.i32(event.y);
    out.i32(event.dx);
    out.i32(event.dy);
    out.i32(event.pad);
    out.i32(static_cast<int>(event.padButton));
    out.i32(static_cast<int>(event.padAxis));
    out.i32(event.axisValue);
}

// What is wrong with the event read, for the reason; nullptr when nothing.
const char* readEvent(Reader& in, std::uint32_t version, platform::Event& event) {
    std::uint8_t type = in.u8();
    event.keyCode = in.i32();
    std::uint8_t extended = in.u8();
    event.button = in.i32();
    event.wheel = in.i32();
    event.x = in.i32();
    event.y = in.i32();
    event.dx = in.i32();
    event.dy = in.i32();
    int pad = -1;
    int padButton = static_cast<int>(platform::PadButton::None);
    int padAxis = static_cast<int>(platform::PadAxis::LeftX);
    int axisValue = 0;
    if (version >= 3) {
        pad = in.i32();
        padButton = in.i32();
        padAxis = in.i32();
        axisValue = in.i32();
    }
    if (!in.ok() || type > static_cast<std::uint8_t>(lastEventType(version)) || extended > 1) {
        return "bad event";
    }
    // The game indexes its pad tables with these.
    if (pad < -1) {
        return "bad pad number";
    }
    if (padButton < static_cast<int>(platform::PadButton::None) ||
        padButton >= static_cast<int>(platform::PadButton::Count)) {
        return "bad pad button";
    }
    if (padAxis < 0 || padAxis >= static_cast<int>(platform::PadAxis::Count)) {
        return "bad pad axis";
    }
    if (axisValue < -32768 || axisValue > 32767) {
        return "bad pad axis value";
    }
    event.type = static_cast<platform::EventType>(type);
    event.extended = extended == 1;
    event.pad = pad;
    event.padButton = static_cast<platform::PadButton>(padButton);
    event.padAxis = static_cast<platform::PadAxis>(padAxis);
    event.axisValue = axisValue;
    return nullptr;
}

bool hasPointer(platform::EventType type) {
    return type == platform::EventType::MouseDown || type == platform::EventType::MouseUp ||
           type == platform::EventType::MouseWheel || type == platform::EventType::MouseMove;
}

// Whatever a hostile file holds, the result is a number an int can take.
int clampedInt(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    return static_cast<int>(
        std::round(std::clamp(value, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX))));
}

bool fail(std::string& reason, const std::string& why) {
    reason = why;
    return false;
}

// Version 1 kept the pointer in pixels of the recorded window.
void convertWindowPositions(Demo& demo) {
    const DesignFit old = unscaledDesign(demo.window.width, demo.window.height);
    for (DemoFrame& frame : demo.frames) {
        for (platform::Event& event : frame.events) {
            event = demoEventFromWindow(event, old);
        }
    }
}

bool readFrames(Reader& in, std::uint32_t version, Demo& demo, std::string& reason) {
    std::uint32_t count = in.u32();
    // Each frame takes at least 12 bytes, so a count the file cannot hold is
    // refused before anything is reserved for it.
    if (!in.ok() || count > in.left() / 12) {
        return fail(reason, "it is damaged (bad frame count)");
    }
    demo.frames.resize(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        DemoFrame& frame = demo.frames[i];
        frame.frameTime = in.f64();
        std::uint32_t events = in.u32();
        if (!in.ok()) {
            return fail(reason, "it is damaged (cut short)");
        }
        if (!std::isfinite(frame.frameTime) || frame.frameTime < 0.0 ||
            frame.frameTime > DEMO_MAX_FRAME_TIME) {
            return fail(reason,
                        "it is damaged (bad frame time in frame " + std::to_string(i) + ")");
        }
        if (events > DEMO_MAX_EVENTS_PER_FRAME || events > in.left() / eventSize(version)) {
            return fail(reason,
                        "it is damaged (bad event count in frame " + std::to_string(i) + ")");
        }
        frame.events.resize(events);
        for (platform::Event& event : frame.events) {
            if (const char* wrong = readEvent(in, version, event)) {
                return fail(reason, std::string("it is damaged (") + wrong + " in frame " +
                                        std::to_string(i) + ")");
            }
        }
    }
    return true;
}

}  // namespace

platform::Event demoEventFromWindow(const platform::Event& event, const DesignFit& fit) {
    platform::Event out = event;
    if (hasPointer(event.type)) {
        const double up = static_cast<double>(fit.height) - static_cast<double>(event.y);
        const double x = (static_cast<double>(event.x) - fit.originX(DesignAnchor::Centre)) /
                         static_cast<double>(fit.scale);
        const double y = (up - fit.originY(DesignAnchor::Centre)) / static_cast<double>(fit.scale);
        out.x = clampedInt(x * DEMO_POSITION_UNITS);
        out.y = clampedInt(y * DEMO_POSITION_UNITS);
    }
    return out;
}

platform::Event demoEventToWindow(const platform::Event& event, const DesignFit& fit) {
    platform::Event out = event;
    if (hasPointer(event.type)) {
        const double scale = static_cast<double>(fit.scale) / DEMO_POSITION_UNITS;
        const double x = fit.originX(DesignAnchor::Centre) + scale * event.x;
        const double up = fit.originY(DesignAnchor::Centre) + scale * event.y;
        out.x = clampedInt(x);
        out.y = clampedInt(static_cast<double>(fit.height) - up);
    }
    return out;
}

std::string encodeDemo(const Demo& demo) {
    Writer out;
    out.bytes(MAGIC, sizeof MAGIC);
    out.u32(DEMO_VERSION);
    out.u32(demo.seed);
    out.i32(demo.window.width);
    out.i32(demo.window.height);
    out.u8(demo.window.fullscreen ? 1 : 0);
    out.u32(static_cast<std::uint32_t>(demo.frames.size()));
    for (const DemoFrame& frame : demo.frames) {
        out.f64(frame.frameTime);
        out.u32(static_cast<std::uint32_t>(frame.events.size()));
        for (const platform::Event& event : frame.events) {
            writeEvent(out, event);
        }
    }
    out.u32(fnv1a(out.out(), out.out().size()));
    return std::move(out.out());
}

bool decodeDemo(const std::string& bytes, Demo& demo, std::string& reason) {
    demo = Demo();
    char magic[sizeof MAGIC] = {};
    Reader header(bytes, bytes.size());
    if (!header.bytes(magic, sizeof magic) || std::memcmp(magic, MAGIC, sizeof MAGIC) != 0) {
        return fail(reason, "it is not a Spookhollow demo");
    }
    std::uint32_t version = header.u32();
    if (!header.ok()) {
        return fail(reason, "it is damaged (cut short)");
    }
    if (version < DEMO_OLDEST_VERSION || version > DEMO_VERSION) {
        return fail(reason, "it is a version " + std::to_string(version) +
                                " demo; this game plays versions " +
                                std::to_string(DEMO_OLDEST_VERSION) + " to " +
                                std::to_string(DEMO_VERSION));
    }
    if (bytes.size() < sizeof MAGIC + 8) {
        return fail(reason, "it is damaged (cut short)");
    }
    std::size_t end = bytes.size() - 4;
    std::uint32_t stored = 0;
    for (int i = 0; i < 4; ++i) {
        stored |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[end + i])) << (8 * i);
    }
    if (stored != fnv1a(bytes, end)) {
        return fail(reason, "it is damaged (checksum mismatch)");
    }

    Reader in(bytes, end);
    in.bytes(magic, sizeof magic);
    in.u32();
    demo.seed = in.u32();
    demo.window.width = in.i32();
    demo.window.height = in.i32();
    std::uint8_t fullscreen = in.u8();
    if (!in.ok()) {
        return fail(reason, "it is damaged (cut short)");
    }
    if (demo.window.width < 1 || demo.window.height < 1 || fullscreen > 1) {
        return fail(reason, "it is damaged (bad window size)");
    }
    demo.window.fullscreen = fullscreen == 1;
    if (!readFrames(in, version, demo, reason)) {
        demo = Demo();
        return false;
    }
    if (in.left() != 0) {
        demo = Demo();
        return fail(reason, "it is damaged (bytes after the last frame)");
    }
    if (version == 1) {
        convertWindowPositions(demo);
    }
    return true;
}

bool loadDemo(const std::string& path, Demo& demo, std::string& reason) {
    std::error_code error;
    std::uintmax_t size = std::filesystem::file_size(path, error);
    std::ifstream in(path, std::ios::binary);
    if (error || !in) {
        reason = "Can not open the demo " + path + ".";
        return false;
    }
    if (size > DEMO_MAX_FILE_SIZE) {
        reason = "Can not play the demo " + path + ": it is too large.";
        return false;
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!bytes.empty()) {
        in.read(&bytes[0], static_cast<std::streamsize>(bytes.size()));
    }
    std::string why = "it can not be read";
    if (static_cast<std::uintmax_t>(in.gcount()) != size || !decodeDemo(bytes, demo, why)) {
        reason = "Can not play the demo " + path + ": " + why + ".";
        return false;
    }
    return true;
}

bool saveDemo(const std::string& path, const Demo& demo, std::string& reason) {
    std::string why;
    if (!writeFileAtomically(path, encodeDemo(demo), &why)) {
        reason = "Can not save the demo " + path + ": " + why;
        return false;
    }
    return true;
}
