#pragma once
#include <memory>

#include "scene/vector.h"

class NodeTransform;
class WeaponCrossbow;
class WeaponMace;

// Which weapon is in hand, or on its way down or up.
enum WeaponState : int {
    MaceReady = 0,
    MaceLowering = 1,
    MaceRaising = 2,
    CrossbowReady = 3,
    CrossbowLowering = 4,
    CrossbowRaising = 5,
};

// The first-person view of the game: an eye and a look target, moved by the
// movement actions and turned by the mouse; it carries energy, health, score
// and the two weapons.
class Player {
public:
    // The movement commands of move(); 0 to 3 share the numbers of the
    // movement control actions.
    enum Command : int {
        MOVE_FORWARD = 0,
        MOVE_BACK = 1,
        STRAFE_LEFT = 2,
        STRAFE_RIGHT = 3,
        TURN_BACK = 4,
        TURN = 5,
        LOOK_UP_DOWN = 6,
    };

    explicit Player(float lookDistance);
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // Energy 50, health 100, score 0, no weapons.
    void reset();
    void setSpeeds(float moveSpeed, float turnSpeed);
    void setView(const Vector3& eye, const Vector3& direction);
    // Moves eye and target together so that the eye is at (x, y, z).
    void setPosition(float x, float y, float z);
    Vector3 getPosition() const { return position; }
    Vector3 getTarget() const { return target; }
    Vector3 getDirection() const;
    void move(int command, float amount);

    void addEnergy(float amount);
    void addHealth(float amount);
    void addScore(int points) { score += points; }
    int getEnergy() const { return static_cast<int>(energy); }
    int getHealth() const { return static_cast<int>(health); }
    int getScore() const { return score; }
    float energyValue() const { return energy; }
    float healthValue() const { return health; }

    bool isCrossbowSelected() const;
    void setInvertMouse(bool on) { invertSign = on ? -1 : 1; }
    int getInvertSign() const { return invertSign; }
    WeaponState getWeaponState() const { return weaponState; }
    float getMoveSpeed() const { return moveSpeed; }
    float getTurnSpeed() const { return turnSpeed; }

    // Weapons (player_weapons.cpp).
    bool createWeapons(NodeTransform* hidden);
    // One fixed step of the weapon in hand; true while the mace is in its
    // strike window.
    bool updateWeapons();
    void switchWeapon();
    // Draws the weapon in hand in eye space.
    void renderWeapon();
    WeaponCrossbow* getCrossbow() { return crossbow.get(); }
    WeaponMace* getMace() { return mace.get(); }

private:
    int invertSign = 1;
    WeaponState weaponState = MaceReady;
    Vector3 position;
    Vector3 target;
    float lookDistance;
    float pitchUpLimit;
    float pitchDownLimit;
    float moveSpeed = 15.0f;
    float turnSpeed = 3.0f;
    float energy = 50.0f;
    float health = 100.0f;
    int score = 0;
    std::unique_ptr<WeaponCrossbow> crossbow;
    std::unique_ptr<WeaponMace> mace;
};
