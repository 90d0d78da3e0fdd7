#pragma once
#include <functional>

class GameSettings;
class GhostSet;
class Level;
class PickupSet;
class Player;

// What happens in one fixed step of play: the player moves by the held
// controls and is kept out of the walls, the weapon in hand acts, the mace
// and the arrows hit ghosts, pickups are taken, and the ghosts move and hurt
// the player. A player whose health runs out ends the game through the
// callback, which the game object answers.
class PlayRules {
public:
    PlayRules(Player& player, const Level& level, GhostSet& ghosts, PickupSet& pickups,
              std::function<void()> playerDied);

    void step();
    // Mouse movement (and the pad's right stick) turns the player and looks
    // up and down.
    void look(float dx, float dy);
    // A new level starts without footsteps.
    void restart() {
        m_footstepsPlaying = false;
        m_stepsSinceHurtRumble = HURT_RUMBLE_READY;
    }
    bool footstepsPlaying() const { return m_footstepsPlaying; }

private:
    void movePlayer();
    bool moveByStick(GameSettings& settings);
    void padLook();
    void rumbleOnHurt();
    void keepOutOfWalls();
    void updateGhosts();
    // The mace against the ghosts, in a step in which it strikes.
    void maceHitTest();
    // Every arrow in flight against the map cells and the ghosts.
    void arrowHitTest();

    Player& m_player;
    const Level& m_level;
    GhostSet& m_ghosts;
    PickupSet& m_pickups;
    std::function<void()> m_playerDied;
    bool m_footstepsPlaying = false;
    static constexpr int HURT_RUMBLE_READY = 1 << 20;
    int m_stepsSinceHurtRumble = HURT_RUMBLE_READY;
};
