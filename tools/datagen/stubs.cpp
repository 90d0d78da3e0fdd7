#include "generators.h"
namespace datagen {
bool generateSounds(const std::string&) {
    return true;
}
bool generateMusic(const std::string&) {
    return true;
}
}  // namespace datagen
