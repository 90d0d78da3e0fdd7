#pragma once
#include <cstdint>

// The ids that address the scene's lists: positions in them, 1-based, so 0
// means none (or failure). Light ids are the exception: 0-based, with -1 for
// failure (see Scene::addLight).
using NodeID = std::uint32_t;
using MaterialID = std::uint32_t;
