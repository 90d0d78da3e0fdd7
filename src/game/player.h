#pragma once
#include <memory>

#include "scene/vector.h"

class NodeTransform;
class WeaponCrossbow;
class WeaponMace;

// Which weapon is in hand, or on its way down or up.
enum class WeaponState : int {
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
    // The commands of move(). MoveForward to StrafeRight share the numbers 0
    // to 3 of the movement control actions: the play step converts a held
    // action into its command.
    enum class Command : int {
        MoveForward = 0,
        MoveBack = 1,
        StrafeLeft = 2,
        StrafeRight = 3,
        TurnBack = 4,
        Turn = 5,
        LookUpDown = 6,
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
    Vector3 getPosition() const { return m_position; }
    Vector3 getTarget() const { return m_target; }
    Vector3 getDirection() const;
    void move(Command command, float amount);

    void addEnergy(float amount);
    void addHealth(float amount);
    void addScore(int points) { m_score += points; }
    int getEnergy() const { return static_cast<int>(m_energy); }
    int getHealth() const { return static_cast<int>(m_health); }
    int getScore() const { return m_score; }
    float energyValue() const { return m_energy; }
    float healthValue() const { return m_health; }

    bool isCrossbowSelected() const;
    void setInvertMouse(bool on) { m_invertSign = on ? -1 : 1; }
    int getInvertSign() const { return m_invertSign; }
    WeaponState getWeaponState() const { return m_weaponState; }
    float getMoveSpeed() const { return m_moveSpeed; }
    float getTurnSpeed() const { return m_turnSpeed; }

    // Weapons (player_weapons.cpp).
    bool createWeapons(NodeTransform* hidden);
    // One fixed step of the weapon in hand; true while the mace is in its
    // strike window.
    bool updateWeapons();
    void switchWeapon();
    // Draws the weapon in hand in eye space.
    void renderWeapon();
    WeaponCrossbow* getCrossbow() { return m_crossbow.get(); }
    WeaponMace* getMace() { return m_mace.get(); }

private:
    int m_invertSign = 1;
    WeaponState m_weaponState = WeaponState::MaceReady;
    Vector3 m_position;
    Vector3 m_target;
    float m_lookDistance;
    float m_pitchUpLimit;
    float m_pitchDownLimit;
    float m_moveSpeed = 15.0f;
    float m_turnSpeed = 3.0f;
    float m_energy = 50.0f;
    float m_health = 100.0f;
    int m_score = 0;
    std::unique_ptr<WeaponCrossbow> m_crossbow;
    std::unique_ptr<WeaponMace> m_mace;
};
