#pragma once
#include <array>
#include <memory>

#include "game/pickups.h"

class Level;
class Player;

// The three pickups of a level: health, energy and arrows. Each is placed on
// a free cell, taken when the player walks over it, and comes back on
// another free cell.
class PickupSet {
public:
    PickupSet();
    ~PickupSet();
    PickupSet(const PickupSet&) = delete;
    PickupSet& operator=(const PickupSet&) = delete;

    void setHealth(std::unique_ptr<PickupHealth> pickup);
    void setEnergy(std::unique_ptr<PickupEnergy> pickup);
    void setArrows(std::unique_ptr<PickupArrows> pickup);
    void clear();

    PickupHealth* health() const { return m_health.get(); }
    PickupEnergy* energy() const { return m_energy.get(); }
    PickupArrows* arrows() const { return m_arrows.get(); }

    // A random open cell of the level with no pickup on it (the pickups that
    // exist so far, lying or waiting to come back); false, with (0, 0), only
    // when there is none.
    bool findFreeCell(const Level& level, int& x, int& y) const;
    // Places a pickup on a free cell.
    void placeOnFreeCell(PickupObject& pickup, const Level& level) const;

    // One fixed step: the pickups spin, and the player standing on one
    // takes it.
    void collect(Player& player);
    // Once per drawn frame: the smooth spin between steps, and the pickups
    // whose time has come reappear on a free cell.
    void animate(float alpha);
    void respawn(const Level& level);

private:
    bool liesOn(const Vector3& cell) const;
    // The three in the order they are asked (those that exist or not).
    std::array<PickupObject*, 3> all() const;

    std::unique_ptr<PickupHealth> m_health;
    std::unique_ptr<PickupEnergy> m_energy;
    std::unique_ptr<PickupArrows> m_arrows;
};
