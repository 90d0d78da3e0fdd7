// The once-per-drawn-frame side of play: what turns smoothly between the
// fixed steps, pickups coming back, and the radar's drain on energy.
#include "game/game_scene.h"
#include "game/ghost.h"
#include "game/pickups.h"

void GameScene::updateAnimations(float stepFraction) {
    if (arrowsPickup) {
        arrowsPickup->animate(stepFraction);
    }
    if (energyPickup) {
        energyPickup->animate(stepFraction);
    }
    for (const std::unique_ptr<Ghost>& ghost : ghosts) {
        if (ghost) {
            ghost->animate(stepFraction);
        }
    }
    PickupObject* pickups[3] = {arrowsPickup.get(), energyPickup.get(), healthPickup.get()};
    for (PickupObject* pickup : pickups) {
        if (pickup && pickup->checkRespawn()) {
            int x = 0;
            int y = 0;
            findFreeCell(x, y);
            pickup->setPosition(static_cast<float>(x) * cellSize, 0.0f,
                                static_cast<float>(y) * cellSize);
        }
    }
    m_player.addEnergy(-frameTime);
}
