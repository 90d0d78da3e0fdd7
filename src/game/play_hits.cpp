// What the weapons hit in a step of play.
#include "app/error_reporter.h"
#include "game/ghost_set.h"
#include "game/level.h"
#include "game/play_rules.h"
#include "game/play_support.h"
#include "game/player.h"
#include "game/weapon_crossbow.h"
#include "input/game_settings.h"

namespace {

// The mace reaches 2.5 units, and only what lies within 10 degrees of the
// view line. The view direction keeps its vertical part, so a player looking
// far up or down misses everything.
constexpr float MACE_REACH_SQ = 6.25f;
constexpr float MACE_ARC = 10.0f;
// A hit is felt in the hand, harder and shorter than a ghost's touch.
constexpr float MACE_HIT_RUMBLE_STRENGTH = 1.0f;
constexpr int MACE_HIT_RUMBLE_MS = 120;

}  // namespace

void PlayRules::maceHitTest() {
    const Vector3 eye = m_player.getPosition();
    const Vector3 view = m_player.getDirection();
    for (std::size_t i = 0; i < m_ghosts.count(); ++i) {
        Ghost* ghost = m_ghosts.at(i);
        if (!ghost->isAlive()) {
            continue;
        }
        Vector3 d = ghost->getPosition().subtract(eye);
        d.y = 0.0f;
        if (d.x * d.x + d.z * d.z < MACE_REACH_SQ && angleToUnitDegrees(d, view) < MACE_ARC) {
            m_player.addScore(ghost->kill());
            playSound(Sound::Hit);
            if (GameSettings* settings = gameSettings()) {
                settings->rumble(MACE_HIT_RUMBLE_STRENGTH, MACE_HIT_RUMBLE_MS);
            }
            traceEvent("ghost hit by the mace, score %d", m_player.getScore());
        }
    }
    // The swing is heard on every swing, hit or miss.
    if (!isSoundPlaying(Sound::Miss)) {
        playSound(Sound::Miss);
    }
}

void PlayRules::arrowHitTest() {
    WeaponCrossbow* crossbow = m_player.getCrossbow();
    if (!crossbow) {
        return;
    }
    const Vector3 player = m_player.getPosition();
    for (int i = 0; i < crossbow->flyingCount(); ++i) {
        Vector3 p;
        if (!crossbow->flyingPosition(i, p)) {
            continue;
        }
        if (p.y < 0.0f) {
            crossbow->stopArrow(i);
        } else {
            int cx = 0;
            int cz = 0;
            m_level.worldToCell(p.x, p.z, cx, cz);
            // Outside the map the colour reads as a wall.
            if (arrowStopsInCell(m_level.cellColour(cx, cz), p.y, m_level.wallHeight())) {
                crossbow->stopArrow(i);
            }
        }
        // An arrow that has just struck a wall may still reach a ghost in
        // this step, and one that kills flies on.
        for (std::size_t g = 0; g < m_ghosts.count(); ++g) {
            int points = m_ghosts.at(g)->arrowHit(p, player);
            if (points > 0) {
                m_player.addScore(points);
                traceEvent("ghost hit by an arrow, score %d", m_player.getScore());
            }
        }
    }
}
