#include "game/ghost_set.h"

#include <utility>

void GhostSet::start(float worldWidth, float worldDepth) {
    m_ghosts.clear();
    m_world = GhostWorld();
    m_world.width = worldWidth;
    m_world.depth = worldDepth;
}

void GhostSet::clear() {
    m_ghosts.clear();
    m_world = GhostWorld();
}

void GhostSet::add(std::unique_ptr<Ghost> ghost) {
    if (ghost != nullptr) {
        m_ghosts.push_back(std::move(ghost));
    }
}

Ghost* GhostSet::at(std::size_t index) const {
    return index < m_ghosts.size() ? m_ghosts[index].get() : nullptr;
}

void GhostSet::animate(float alpha) {
    for (const std::unique_ptr<Ghost>& ghost : m_ghosts) {
        ghost->animate(alpha);
    }
}
