#include "game/ghost.h"

#include <cmath>

#include "app/error_reporter.h"
#include "game/play_support.h"
#include "scene/light.h"
#include "scene/node.h"
#include "scene/random.h"
#include "scene/scalar_math.h"

float Ghost::baseSpeed = 3.0f;
float Ghost::pointsPerUnit = 0.2f;
float Ghost::worldWidth = 0.0f;
float Ghost::worldDepth = 0.0f;

namespace {

// The ghost notices the player this close, and gives up beyond the second.
constexpr float NOTICE_RANGE_SQ = 225.0f;
constexpr float LOSE_RANGE_SQ = 625.0f;
// Within 5 degrees the ghost already faces the player; beyond 120 it does
// not see them.
constexpr float FACING_ANGLE = 5.0f;
constexpr float VIEW_ANGLE = 120.0f;
constexpr float ATTACK_RANGE_SQ = 56.25f;
constexpr float ATTACK_ANGLE = 45.0f;
constexpr float HARM_RANGE_SQ = 4.0f;
constexpr float SPEED_GROWTH = 0.004166f;
// Keeps a ghost that appears at an edge just inside the map.
constexpr float EDGE_MARGIN = 0.5f;

NodeTransform* findTransform(NodeTransform* root, const char* name) {
    if (!root) {
        return nullptr;
    }
    Node* node = root->findByName(name);
    return node && node->isTransform() ? static_cast<NodeTransform*>(node) : nullptr;
}

// (x, y, z) turned about Y by h radians.
Vector3 rotateY(const Vector3& v, float h) {
    float s = std::sin(h);
    float c = std::cos(h);
    return Vector3(v.z * s + v.x * c, v.y, v.z * c - v.x * s);
}

float horizontalDistanceSq(const Vector3& a, const Vector3& b) {
    float dx = a.x - b.x;
    float dz = a.z - b.z;
    return dx * dx + dz * dz;
}

KeyframeTrack shoulderTrack() {
    KeyframeTrack track(0.0f, 35.0f, 0.11666667f);
    track.addKeyframe(-56.0f, 0.1f);
    track.addKeyframe(0.0f, 0.11666667f);
    return track;
}

KeyframeTrack handTrack() {
    KeyframeTrack track(0.0f, -52.0f, 0.11666667f);
    track.addKeyframe(39.0f, 0.1f);
    track.addKeyframe(0.0f, 0.11666667f);
    return track;
}

// A joint not driven by the attack swings back toward rest a little each frame.
void relax(NodeTransform* joint) {
    if (joint->m_fAngle > 1.0f) {
        joint->m_fAngle -= 0.3f;
    } else if (joint->m_fAngle < -1.0f) {
        joint->m_fAngle += 0.3f;
    }
}

void drive(NodeTransform* joint, const KeyframeTrack& track, bool driven) {
    if (driven) {
        joint->m_fAngle = track.value();
    } else {
        relax(joint);
    }
}

}  // namespace

Ghost::Ghost(NodeTransform* rootNode, float width, float depth)
    : root(rootNode),
      rightShoulderTrack(shoulderTrack()),
      leftShoulderTrack(shoulderTrack()),
      rightHandTrack(handTrack()),
      leftHandTrack(handTrack()) {
    bobX.init(-0.02f, 0.02f, 1.0f, true);
    bobY.init(0.15f, 0.3f, 1.0f, true);
    bobZ.init(-0.02f, 0.02f, 1.0f, true);
    jaw.init(-0.03f, 0.02f, 0.2f, true);
    baseSpeed = 3.0f;
    pointsPerUnit = 0.2f;
    speed = randomFloat(3.0f, 5.0f);
    jawBone = findTransform(root, "jawBone");
    rightShoulder = findTransform(root, "R_Shoulder");
    leftShoulder = findTransform(root, "L_Shoulder");
    rightHand = findTransform(root, "R_hand");
    leftHand = findTransform(root, "L_hand");
    worldWidth = width;
    worldDepth = depth;
    if (root) {
        position = root->m_vTranslation;
    }
}

bool Ghost::checkNodes() const {
    const char* missing = nullptr;
    if (!root) {
        missing = "Ghost: Could not find root transform node";
    } else if (!jawBone) {
        missing = "Ghost: Could not find jawBone transform node";
    } else if (!rightShoulder) {
        missing = "Ghost: Could not find Right Shoulder transform node";
    } else if (!leftShoulder) {
        missing = "Ghost: Could not find Left Shoulder transform node";
    } else if (!rightHand) {
        missing = "Ghost: Could not find Right Hand transform node";
    } else if (!leftHand) {
        missing = "Ghost: Could not find Left Hand transform node";
    } else if (!light) {
        missing = "Ghost: invalid light source";
    }
    if (missing) {
        reportShowReset(RESET_NO_ERROR, ERROR_GAME, "%s", missing);
        return false;
    }
    return true;
}

void Ghost::setPosition(float x, float y, float z) {
    position = Vector3(x, y, z);
    root->m_vTranslation = position;
}

Vector3 Ghost::getPosition() const {
    return root->m_vTranslation;
}

bool Ghost::isVisible() const {
    return root->isVisible();
}

int Ghost::kill() {
    state = Dying;
    attackMode = 0;
    if (light) {
        light->setOn(false);
    }
    return MACE_POINTS;
}

void Ghost::setHeading(float degrees) {
    root->m_fAngle = degrees;
    float h = degrees * DEG_TO_RAD;
    direction = Vector3(std::sin(h), 0.0f, std::cos(h));
}

void Ghost::chase(const Vector3& playerPosition) {
    Vector3 d = playerPosition.subtract(position);
    d.y = 0.0f;
    float q = d.x * d.x + d.z * d.z;
    if (q > LOSE_RANGE_SQ) {
        state = Wandering;
        attackMode = 0;
        return;
    }
    float a = angleToUnitDegrees(d, direction);
    if (FACING_ANGLE < a && a < VIEW_ANGLE) {
        float turn = cross(direction, d).y;
        float sign = turn > 0.0f ? 1.0f : (turn < 0.0f ? -1.0f : 0.0f);
        setHeading(root->m_fAngle + sign);
    }
    if (q < ATTACK_RANGE_SQ && a < ATTACK_ANGLE) {
        if (attackMode == 0) {
            attackMode = randomFloat(0.0f, 1.0f) < 0.5f ? 2 : 1;
            rightShoulderTrack.restart();
            leftShoulderTrack.restart();
            rightHandTrack.restart();
            leftHandTrack.restart();
        } else if (attackMode != 3 && randomFloat(0.0f, 1.0f) >= 0.96f) {
            attackMode = 3;
        }
    } else {
        attackMode = 0;
    }
}

void Ghost::reappear(float now) {
    if (!(now > respawnTime)) {
        return;
    }
    float h = 0.0f;
    switch (randomInt(1, 4)) {
        case 1:
            setPosition(randomFloat(EDGE_MARGIN, worldWidth - EDGE_MARGIN), 0.0f, EDGE_MARGIN);
            h = randomFloat(-45.0f, 45.0f);
            break;
        case 2:
            setPosition(worldWidth - EDGE_MARGIN, 0.0f,
                        randomFloat(EDGE_MARGIN, worldDepth - EDGE_MARGIN));
            h = randomFloat(225.0f, 315.0f);
            break;
        case 3:
            setPosition(randomFloat(EDGE_MARGIN, worldWidth - EDGE_MARGIN), 0.0f,
                        worldDepth - EDGE_MARGIN);
            h = randomFloat(135.0f, 225.0f);
            break;
        default:
            setPosition(EDGE_MARGIN, 0.0f, randomFloat(EDGE_MARGIN, worldDepth - EDGE_MARGIN));
            h = randomFloat(45.0f, 135.0f);
            break;
    }
    setHeading(h);
    speed = randomFloat(baseSpeed, baseSpeed + 2.0f);
    root->m_vScale = Vector3(1.0f, 1.0f, 1.0f);
    root->setVisible(true);
    if (light) {
        light->setOn(true);
    }
    state = Wandering;
    attackMode = 0;
}

void Ghost::advanceArms() {
    if (attackMode < 1 || attackMode > 3) {
        return;
    }
    bool right = attackMode != 2;
    bool left = attackMode != 1;
    if (right) {
        rightShoulderTrack.update(PLAY_STEP);
        rightHandTrack.update(PLAY_STEP);
    }
    if (left) {
        leftShoulderTrack.update(PLAY_STEP);
        leftHandTrack.update(PLAY_STEP);
    }
    if (!isSoundPlaying(Sound::GhostAttack)) {
        playSound(Sound::GhostAttack);
    }
}

void Ghost::update(const Vector3& playerPosition) {
    const float now = playTimeNow();
    bobX.step();
    bobY.step();
    bobZ.step();
    jaw.step();

    switch (state) {
        case Wandering: {
            Vector3 d = playerPosition.subtract(position);
            d.y = 0.0f;
            if (d.x * d.x + d.z * d.z < NOTICE_RANGE_SQ) {
                float a = angleToUnitDegrees(d, direction);
                if (FACING_ANGLE < a && a < VIEW_ANGLE) {
                    state = Chasing;
                }
            }
            break;
        }
        case Chasing:
            chase(playerPosition);
            break;
        case Dying: {
            Vector3& s = root->m_vScale;
            s = Vector3(s.x - 0.01f, s.y - 0.01f, s.z - 0.01f);
            if (s.x < 0.0f) {
                root->setVisible(false);
                state = Waiting;
                respawnTime = now + RESPAWN_DELAY;
            }
            break;
        }
        case Waiting:
            reappear(now);
            break;
    }

    advanceArms();

    position =
        position.add(Vector3(direction.x * speed * PLAY_STEP, direction.y * speed * PLAY_STEP,
                             direction.z * speed * PLAY_STEP));
    if (position.x < 0.0f || position.x > worldWidth || position.z < 0.0f ||
        position.z > worldDepth) {
        respawnTime = 0.0f;
        state = Waiting;
    }
    baseSpeed += PLAY_STEP * SPEED_GROWTH;
}

void Ghost::moveJaw(float now) {
    float v = jaw.value();
    if (jaw.finished()) {
        if (v <= 0.0f) {
            jaw.reverse(randomFloat(0.1f, 0.25f));
        } else if (now > nextMoanTime) {
            nextMoanTime = now + randomFloat(2.0f, 5.0f);
            jaw.reverse(randomFloat(0.25f, 0.4f));
            if (state == Chasing) {
                playSound(Sound::Ghost);
            }
        }
    }
    jawBone->m_vTranslation.y = v;
}

void Ghost::placeArms() {
    bool right = attackMode == 1 || attackMode == 3;
    bool left = attackMode == 2 || attackMode == 3;
    drive(rightShoulder, rightShoulderTrack, right);
    drive(rightHand, rightHandTrack, right);
    drive(leftShoulder, leftShoulderTrack, left);
    drive(leftHand, leftHandTrack, left);
}

void Ghost::animate(float alpha) {
    if (!root->isVisible()) {
        return;
    }
    root->m_vTranslation = Vector3(position.x + bobX.value(alpha), position.y + bobY.value(alpha),
                                   position.z + bobZ.value(alpha));
    Tween* tweens[3] = {&bobX, &bobY, &bobZ};
    for (Tween* tween : tweens) {
        if (tween->finished()) {
            tween->reverse(randomFloat(0.5f, 1.0f));
        }
    }
    moveJaw(playTimeNow());
    placeArms();
}

int Ghost::arrowHit(const Vector3& arrow, const Vector3& player) {
    if (!isAlive()) {
        return 0;
    }
    const Vector3 t = root->m_vTranslation;
    const float h = root->m_fAngle * DEG_TO_RAD;
    if (!(t.y + 0.829f <= arrow.y && arrow.y <= t.y + 1.887f)) {
        return 0;
    }
    // A cheap test of the upright column the body stands in comes first.
    if (horizontalDistanceSq(t.add(rotateY(Vector3(0.0f, 0.0f, -0.057f), h)), arrow) > 0.08f) {
        return 0;
    }
    struct Sphere {
        Vector3 offset;
        float radiusSq;
        float basePoints;
        float distanceFactor;
    };
    static const Sphere spheres[3] = {
        {Vector3(0.0f, 1.377f, 0.0f), 0.06f, 5.0f, 1.0f},
        {Vector3(0.0f, 1.756f, 0.085f), 0.03f, 3.0f, 3.0f},
        {Vector3(0.0f, 0.96f, -0.191f), 0.03f, 4.0f, 2.0f},
    };
    const float distance = std::sqrt(horizontalDistanceSq(player, t));
    for (const Sphere& sphere : spheres) {
        Vector3 centre = t.add(rotateY(sphere.offset, h));
        if (arrow.subtract(centre).lengthSquared() <= sphere.radiusSq) {
            kill();
            return static_cast<int>(sphere.basePoints +
                                    sphere.distanceFactor * distance * pointsPerUnit);
        }
    }
    return 0;
}

float Ghost::damage(const Vector3& playerPosition) const {
    float q = horizontalDistanceSq(getPosition(), playerPosition);
    return q < HARM_RANGE_SQ ? -0.5f + 0.125f * q : 0.0f;
}
