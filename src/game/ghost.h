#pragma once
#include "scene/animation.h"
#include "scene/vector.h"

class LightPoint;
class NodeTransform;

// One of the three ghosts: it floats through the walls along its heading,
// notices and chases the player, swings its arms when close, dies from the
// mace or an arrow and comes back from an edge of the map. The model node
// and the light belong to the scene; the ghost only moves them.
class Ghost {
public:
    enum State : int {
        Wandering = 0,
        Chasing = 1,
        Dying = 2,
        Waiting = 3,
    };

    // Points of a mace kill.
    static constexpr int MACE_POINTS = 5;
    // Seconds a dead ghost waits before it comes back.
    static constexpr float RESPAWN_DELAY = 5.0f;

    Ghost(NodeTransform* root, float worldWidth, float worldDepth);
    Ghost(const Ghost&) = delete;
    Ghost& operator=(const Ghost&) = delete;

    void setLight(LightPoint* pointLight) { light = pointLight; }
    // Reports the first missing node or the missing light (shown at once).
    bool checkNodes() const;
    void setPosition(float x, float y, float z);
    // Turns the ghost to a heading in degrees; 0 faces +Z, 90 faces +X.
    void setHeading(float degrees);
    // The drawn position, hovering included.
    Vector3 getPosition() const;
    bool isVisible() const;
    bool isAlive() const { return state != Dying && state != Waiting; }
    // Starts dying; returns the points of a mace kill.
    int kill();
    // One fixed step.
    void update(const Vector3& playerPosition);
    // Once per drawn frame; alpha is the fraction of a step left over.
    void animate(float alpha);
    // Kills the ghost when the arrow is inside its head, chest or back and
    // returns the points (more from further away); 0 for a miss.
    int arrowHit(const Vector3& arrow, const Vector3& player);
    // The change of the player's health this step from being near the ghost:
    // -0.5 at its centre, rising to 0 at 2 units (horizontally).
    float damage(const Vector3& playerPosition) const;

    State getState() const { return state; }
    int getAttackMode() const { return attackMode; }
    float getSpeed() const { return speed; }
    const Vector3& getDirection() const { return direction; }
    // The ghost's own position, without hovering.
    const Vector3& getOwnPosition() const { return position; }
    float getRespawnTime() const { return respawnTime; }

    // Shared by all ghosts: the lowest speed of a ghost that appears (it
    // grows as the game goes on), the points per unit of distance of an
    // arrow kill, and the size of the map in world units.
    static float baseSpeed;
    static float pointsPerUnit;
    static float worldWidth;
    static float worldDepth;

private:
    void chase(const Vector3& playerPosition);
    void reappear(float now);
    void advanceArms();
    void moveJaw(float now);
    void placeArms();

    State state = Waiting;
    NodeTransform* root;
    NodeTransform* jawBone = nullptr;
    NodeTransform* rightShoulder = nullptr;
    NodeTransform* leftShoulder = nullptr;
    NodeTransform* rightHand = nullptr;
    NodeTransform* leftHand = nullptr;
    LightPoint* light = nullptr;
    Vector3 position;
    Vector3 direction{0.0f, 0.0f, 1.0f};
    float respawnTime = 0.0f;
    float speed = 0.0f;
    Tween bobX;
    Tween bobY;
    Tween bobZ;
    Tween jaw;
    float nextMoanTime = 0.0f;
    int attackMode = 0;
    KeyframeTrack rightShoulderTrack;
    KeyframeTrack leftShoulderTrack;
    KeyframeTrack rightHandTrack;
    KeyframeTrack leftHandTrack;
};
