// Recorded games as a hostile file may hold them, read and then placed in a
// window as a replay places their pointer positions.
#include <string>

#include "app/demo_file.h"
#include "app/design_fit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    Demo demo;
    std::string reason;
    if (!decodeDemo(bytes, demo, reason)) {
        return 0;
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
    return 0;
}
