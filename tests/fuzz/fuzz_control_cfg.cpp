// The bindings file: read, then saved and read again, which must give the
// same bytes; no binding may ever hold a code outside the key array.
#include <cstdlib>

#include "fuzz_support.h"
#include "input/control_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string path = fuzzEnvironment().write(data, size, "control.cfg");
    ControlTable table;
    table.load(path.c_str());
    for (int row = 0; row < table.count(); ++row) {
        int key = table.boundKey(table.actionIdAt(row));
        if (key < 0 || key > 255) {
            std::abort();
        }
        table.keyNameAt(row);
    }
    const std::string bytes = table.serialise();
    std::string copy = fuzzEnvironment().write(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                               bytes.size(), "control_copy.cfg");
    ControlTable again;
    again.load(copy.c_str());
    if (again.serialise() != bytes) {
        std::abort();
    }
    return 0;
}
