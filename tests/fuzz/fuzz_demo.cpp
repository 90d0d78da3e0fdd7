// Recorded games as a hostile file may hold them, read and then placed in a
// window as a replay places their pointer positions. Nearly every mutation
// breaks the file's checksum, so each input is also read with the checksum
// made right again: that is how the fuzzer reaches the frames and events
// (pad fields included) behind it.
#include <cstdint>
#include <string>

#include "app/demo_file.h"
#include "app/design_fit.h"

namespace {

void readAndPlace(const std::string& bytes) {
    Demo demo;
    std::string reason;
    if (!decodeDemo(bytes, demo, reason)) {
        return;
    }
    const DesignFit fits[] = {fitDesign(640, 480), fitDesign(demo.window.width, demo.window.height),
                              fitDesign(7680, 2160)};
    for (const DemoFrame& frame : demo.frames) {
        for (const platform::Event& event : frame.events) {
            for (const DesignFit& fit : fits) {
                demoEventFromWindow(demoEventToWindow(event, fit), fit);
            }
        }
    }
    encodeDemo(demo);
}

// The FNV-1a of everything before the last four bytes, stored in them.
std::string resealed(std::string bytes) {
    if (bytes.size() < 4) {
        return bytes;
    }
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i + 4 < bytes.size(); ++i) {
        hash ^= static_cast<unsigned char>(bytes[i]);
        hash *= 16777619u;
    }
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[bytes.size() - 4 + i] = static_cast<char>(hash >> (8 * i));
    }
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    readAndPlace(bytes);
    readAndPlace(resealed(bytes));
    return 0;
}
