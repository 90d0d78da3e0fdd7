#pragma once
#include "scene/animation.h"
#include "scene/vector.h"

class LightPoint;
class NodeTransform;

// What the ghosts of one level share: the size of the map they roam in world
// units, and the lowest speed a ghost comes back with, which grows as the
// game goes on. The level's ghost set owns it and hands it to every update.
struct GhostWorld {
    static constexpr float START_SPEED = 3.0f;

    float width = 0.0f;
    float depth = 0.0f;
    float baseSpeed = START_SPEED;
};

// One of the three ghosts: it floats through the walls along its heading,
// notices and chases the player, swings its arms when close, dies from the
// mace or an arrow and comes back from an edge of the map. The model node
// and the light belong to the scene; the ghost only moves them.
class Ghost {
public:
    enum class State {
        Wandering,
        Chasing,
        Dying,
        Waiting,
    };

    // Points of a mace kill.
    static constexpr int MACE_POINTS = 5;
    // An arrow kill is worth more from further away: points per unit of distance.
    static constexpr float ARROW_POINTS_PER_UNIT = 0.2f;
    // Seconds a dead ghost waits before it comes back.
    static constexpr float RESPAWN_DELAY = 5.0f;

    explicit Ghost(NodeTransform* root);
    Ghost(const Ghost&) = delete;
    Ghost& operator=(const Ghost&) = delete;

    void setLight(LightPoint* light) { m_light = light; }
    // Reports the first missing node or the missing light (shown at once).
    bool checkNodes() const;
    void setPosition(float x, float y, float z);
    // Turns the ghost to a heading in degrees; 0 faces +Z, 90 faces +X.
    void setHeading(float degrees);
    // The drawn position, hovering included.
    Vector3 getPosition() const;
    bool isVisible() const;
    bool isAlive() const { return m_state != State::Dying && m_state != State::Waiting; }
    // Starts dying; returns the points of a mace kill.
    int kill();
    // One fixed step in the world the level's ghosts share.
    void update(const Vector3& playerPosition, GhostWorld& world);
    // Once per drawn frame; alpha is the fraction of a step left over.
    void animate(float alpha);
    // Kills the ghost when the arrow is inside its head, chest or back and
    // returns the points (more from further away); 0 for a miss.
    int arrowHit(const Vector3& arrow, const Vector3& player);
    // The change of the player's health this step from being near the ghost:
    // -0.5 at its centre, rising to 0 at 2 units (horizontally).
    float damage(const Vector3& playerPosition) const;

    State getState() const { return m_state; }
    int getAttackMode() const { return m_attackMode; }
    float getSpeed() const { return m_speed; }
    const Vector3& getDirection() const { return m_direction; }
    // The ghost's own position, without hovering.
    const Vector3& getOwnPosition() const { return m_position; }
    float getRespawnTime() const { return m_respawnTime; }

private:
    void chase(const Vector3& playerPosition);
    void reappear(float now, const GhostWorld& world);
    void advanceArms();
    void moveJaw(float now);
    void placeArms();

    State m_state = State::Waiting;
    NodeTransform* m_root;
    NodeTransform* m_jawBone = nullptr;
    NodeTransform* m_rightShoulder = nullptr;
    NodeTransform* m_leftShoulder = nullptr;
    NodeTransform* m_rightHand = nullptr;
    NodeTransform* m_leftHand = nullptr;
    LightPoint* m_light = nullptr;
    Vector3 m_position;
    Vector3 m_direction{0.0f, 0.0f, 1.0f};
    float m_respawnTime = 0.0f;
    float m_speed = 0.0f;
    Tween m_bobX;
    Tween m_bobY;
    Tween m_bobZ;
    Tween m_jaw;
    float m_nextMoanTime = 0.0f;
    int m_attackMode = 0;
    KeyframeTrack m_rightShoulderTrack;
    KeyframeTrack m_leftShoulderTrack;
    KeyframeTrack m_rightHandTrack;
    KeyframeTrack m_leftHandTrack;
};
