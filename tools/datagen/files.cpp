#include <cstdio>
#include <filesystem>
#include <system_error>

#include "generators.h"

namespace datagen {

bool makeFolder(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (error) {
        std::fprintf(stderr, "datagen: cannot create %s: %s\n", path.c_str(),
                     error.message().c_str());
        return false;
    }
    return true;
}

}  // namespace datagen
