#include "game/pickup_set.h"

#include <utility>

#include "app/error_reporter.h"
#include "game/level.h"
#include "game/player.h"
#include "game/sound_slots.h"
#include "game/weapon_crossbow.h"

PickupSet::PickupSet() = default;

PickupSet::~PickupSet() = default;

void PickupSet::setHealth(std::unique_ptr<PickupHealth> pickup) {
    m_health = std::move(pickup);
}

void PickupSet::setEnergy(std::unique_ptr<PickupEnergy> pickup) {
    m_energy = std::move(pickup);
}

void PickupSet::setArrows(std::unique_ptr<PickupArrows> pickup) {
    m_arrows = std::move(pickup);
}

void PickupSet::clear() {
    m_health.reset();
    m_energy.reset();
    m_arrows.reset();
}

std::array<PickupObject*, 3> PickupSet::all() const {
    return {m_arrows.get(), m_energy.get(), m_health.get()};
}

bool PickupSet::liesOn(const Vector3& cell) const {
    for (const PickupObject* pickup : all()) {
        if (pickup != nullptr && pickup->getPosition().subtract(cell).lengthSquared() < 1.0f) {
            return true;
        }
    }
    return false;
}

bool PickupSet::findFreeCell(const Level& level, int& x, int& y) const {
    return level.findFreeCell(
        [this, &level](int cx, int cy) { return !liesOn(level.cellPosition(cx, cy)); }, x, y);
}

void PickupSet::placeOnFreeCell(PickupObject& pickup, const Level& level) const {
    int x = 0;
    int y = 0;
    findFreeCell(level, x, y);
    Vector3 cell = level.cellPosition(x, y);
    pickup.setPosition(cell.x, cell.y, cell.z);
}

void PickupSet::collect(Player& player) {
    const Vector3 p = player.getPosition();
    if (m_arrows) {
        m_arrows->update();
        if (m_arrows->tryCollect(p)) {
            if (WeaponCrossbow* crossbow = player.getCrossbow()) {
                crossbow->addArrows(m_arrows->getAmount());
            }
            playSound(Sound::PickupArrows);
            traceEvent("picked up arrows");
        }
    }
    if (m_energy) {
        m_energy->update();
        if (m_energy->tryCollect(p)) {
            player.addEnergy(m_energy->getAmount());
            playSound(Sound::PickupPower);
            traceEvent("picked up energy");
        }
    }
    if (m_health) {
        m_health->update();
        if (m_health->tryCollect(p)) {
            player.addHealth(m_health->getAmount());
            playSound(Sound::PickupHealth);
            traceEvent("picked up health");
            stopSound(Sound::Heartbeat);
        }
    }
}

void PickupSet::animate(float alpha) {
    if (m_arrows) {
        m_arrows->animate(alpha);
    }
    if (m_energy) {
        m_energy->animate(alpha);
    }
}

void PickupSet::respawn(const Level& level) {
    for (PickupObject* pickup : all()) {
        if (pickup && pickup->checkRespawn()) {
            placeOnFreeCell(*pickup, level);
        }
    }
}
