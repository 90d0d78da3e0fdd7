#pragma once
#include <cstddef>
#include <memory>
#include <vector>

#include "game/ghost.h"

// The ghosts of a level and the world they share. A level that could not
// make all of its ghosts keeps those it made.
class GhostSet {
public:
    // No ghosts, and a world of the given size with the ghosts' first speed.
    void start(float worldWidth, float worldDepth);
    void clear();
    void add(std::unique_ptr<Ghost> ghost);

    std::size_t count() const { return m_ghosts.size(); }
    // Null past the last ghost.
    Ghost* at(std::size_t index) const;
    GhostWorld& world() { return m_world; }

    // Once per drawn frame; alpha is the fraction of a step left over.
    void animate(float alpha);

private:
    std::vector<std::unique_ptr<Ghost>> m_ghosts;
    GhostWorld m_world;
};
