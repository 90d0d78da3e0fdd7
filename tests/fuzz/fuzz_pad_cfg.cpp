// The pad bindings file: read, then saved and read again, which must give
// the same bytes; no binding may hold a button outside the enum, and no
// button may be on two actions.
#include <cstdlib>

#include "fuzz_support.h"
#include "input/control_table.h"
#include "input/pad_bindings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using platform::PadButton;
    std::string path = fuzzEnvironment().write(data, size, "pad.cfg");
    PadBindings bindings;
    bindings.load(path.c_str());
    bool used[static_cast<int>(PadButton::Count)] = {};
    for (int action = -1; action <= ControlTable::ATTACK + 1; ++action) {
        PadButton button = bindings.button(action);
        if (button == PadButton::None) {
            continue;
        }
        if (button < PadButton::A || button >= PadButton::Count || used[static_cast<int>(button)]) {
            std::abort();
        }
        used[static_cast<int>(button)] = true;
    }
    const std::string bytes = bindings.serialise();
    std::string copy = fuzzEnvironment().write(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                               bytes.size(), "pad_copy.cfg");
    PadBindings again;
    again.load(copy.c_str());
    if (again.serialise() != bytes) {
        std::abort();
    }
    return 0;
}
