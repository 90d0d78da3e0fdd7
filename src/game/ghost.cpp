#include "game/ghost.h"

#include <cmath>

#include "app/error_reporter.h"
#include "game/play_support.h"
#include "scene/light.h"
#include "scene/node.h"
#include "scene/random.h"
#include "scene/scalar_math.h"

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

Ghost::Ghost(NodeTransform* root)
    : m_root(root),
      m_rightShoulderTrack(shoulderTrack()),
      m_leftShoulderTrack(shoulderTrack()),
      m_rightHandTrack(handTrack()),
      m_leftHandTrack(handTrack()) {
    m_bobX.init(-0.02f, 0.02f, 1.0f, true);
    m_bobY.init(0.15f, 0.3f, 1.0f, true);
    m_bobZ.init(-0.02f, 0.02f, 1.0f, true);
    m_jaw.init(-0.03f, 0.02f, 0.2f, true);
    m_speed = randomFloat(3.0f, 5.0f);
    m_jawBone = findTransform(m_root, "jawBone");
    m_rightShoulder = findTransform(m_root, "R_Shoulder");
    m_leftShoulder = findTransform(m_root, "L_Shoulder");
    m_rightHand = findTransform(m_root, "R_hand");
    m_leftHand = findTransform(m_root, "L_hand");
    if (m_root) {
        m_position = m_root->m_vTranslation;
    }
}

bool Ghost::checkNodes() const {
    const char* missing = nullptr;
    if (!m_root) {
        missing = "Ghost: Could not find root transform node";
    } else if (!m_jawBone) {
        missing = "Ghost: Could not find jawBone transform node";
    } else if (!m_rightShoulder) {
        missing = "Ghost: Could not find Right Shoulder transform node";
    } else if (!m_leftShoulder) {
        missing = "Ghost: Could not find Left Shoulder transform node";
    } else if (!m_rightHand) {
        missing = "Ghost: Could not find Right Hand transform node";
    } else if (!m_leftHand) {
        missing = "Ghost: Could not find Left Hand transform node";
    } else if (!m_light) {
        missing = "Ghost: invalid light source";
    }
    if (missing) {
        reportShowReset(RESET_NO_ERROR, ERROR_GAME, "%s", missing);
        return false;
    }
    return true;
}

void Ghost::setPosition(float x, float y, float z) {
    m_position = Vector3(x, y, z);
    m_root->m_vTranslation = m_position;
}

Vector3 Ghost::getPosition() const {
    return m_root->m_vTranslation;
}

bool Ghost::isVisible() const {
    return m_root->isVisible();
}

int Ghost::kill() {
    m_state = State::Dying;
    m_attackMode = 0;
    if (m_light) {
        m_light->setOn(false);
    }
    return MACE_POINTS;
}

void Ghost::setHeading(float degrees) {
    m_root->m_fAngle = degrees;
    float h = degrees * DEG_TO_RAD;
    m_direction = Vector3(std::sin(h), 0.0f, std::cos(h));
}

void Ghost::chase(const Vector3& playerPosition) {
    Vector3 d = playerPosition.subtract(m_position);
    d.y = 0.0f;
    float q = d.x * d.x + d.z * d.z;
    if (q > LOSE_RANGE_SQ) {
        m_state = State::Wandering;
        m_attackMode = 0;
        return;
    }
    float a = angleToUnitDegrees(d, m_direction);
    if (FACING_ANGLE < a && a < VIEW_ANGLE) {
        float turn = cross(m_direction, d).y;
        float sign = turn > 0.0f ? 1.0f : (turn < 0.0f ? -1.0f : 0.0f);
        setHeading(m_root->m_fAngle + sign);
    }
    if (q < ATTACK_RANGE_SQ && a < ATTACK_ANGLE) {
        if (m_attackMode == 0) {
            m_attackMode = randomFloat(0.0f, 1.0f) < 0.5f ? 2 : 1;
            m_rightShoulderTrack.restart();
            m_leftShoulderTrack.restart();
            m_rightHandTrack.restart();
            m_leftHandTrack.restart();
        } else if (m_attackMode != 3 && randomFloat(0.0f, 1.0f) >= 0.96f) {
            m_attackMode = 3;
        }
    } else {
        m_attackMode = 0;
    }
}

void Ghost::reappear(float now, const GhostWorld& world) {
    if (!(now > m_respawnTime)) {
        return;
    }
    float h = 0.0f;
    switch (randomInt(1, 4)) {
        case 1:
            setPosition(randomFloat(EDGE_MARGIN, world.width - EDGE_MARGIN), 0.0f, EDGE_MARGIN);
            h = randomFloat(-45.0f, 45.0f);
            break;
        case 2:
            setPosition(world.width - EDGE_MARGIN, 0.0f,
                        randomFloat(EDGE_MARGIN, world.depth - EDGE_MARGIN));
            h = randomFloat(225.0f, 315.0f);
            break;
        case 3:
            setPosition(randomFloat(EDGE_MARGIN, world.width - EDGE_MARGIN), 0.0f,
                        world.depth - EDGE_MARGIN);
            h = randomFloat(135.0f, 225.0f);
            break;
        default:
            setPosition(EDGE_MARGIN, 0.0f, randomFloat(EDGE_MARGIN, world.depth - EDGE_MARGIN));
            h = randomFloat(45.0f, 135.0f);
            break;
    }
    setHeading(h);
    m_speed = randomFloat(world.baseSpeed, world.baseSpeed + 2.0f);
    m_root->m_vScale = Vector3(1.0f, 1.0f, 1.0f);
    m_root->setVisible(true);
    if (m_light) {
        m_light->setOn(true);
    }
    m_state = State::Wandering;
    m_attackMode = 0;
}

void Ghost::advanceArms() {
    if (m_attackMode < 1 || m_attackMode > 3) {
        return;
    }
    bool right = m_attackMode != 2;
    bool left = m_attackMode != 1;
    if (right) {
        m_rightShoulderTrack.update(PLAY_STEP);
        m_rightHandTrack.update(PLAY_STEP);
    }
    if (left) {
        m_leftShoulderTrack.update(PLAY_STEP);
        m_leftHandTrack.update(PLAY_STEP);
    }
    if (!isSoundPlaying(Sound::GhostAttack)) {
        playSound(Sound::GhostAttack);
    }
}

void Ghost::update(const Vector3& playerPosition, GhostWorld& world) {
    const float now = playTimeNow();
    m_bobX.step();
    m_bobY.step();
    m_bobZ.step();
    m_jaw.step();

    switch (m_state) {
        case State::Wandering: {
            Vector3 d = playerPosition.subtract(m_position);
            d.y = 0.0f;
            if (d.x * d.x + d.z * d.z < NOTICE_RANGE_SQ) {
                float a = angleToUnitDegrees(d, m_direction);
                if (FACING_ANGLE < a && a < VIEW_ANGLE) {
                    m_state = State::Chasing;
                }
            }
            break;
        }
        case State::Chasing:
            chase(playerPosition);
            break;
        case State::Dying: {
            Vector3& s = m_root->m_vScale;
            s = Vector3(s.x - 0.01f, s.y - 0.01f, s.z - 0.01f);
            if (s.x < 0.0f) {
                m_root->setVisible(false);
                m_state = State::Waiting;
                m_respawnTime = now + RESPAWN_DELAY;
            }
            break;
        }
        case State::Waiting:
            reappear(now, world);
            break;
    }

    advanceArms();

    m_position = m_position.add(Vector3(m_direction.x * m_speed * PLAY_STEP,
                                        m_direction.y * m_speed * PLAY_STEP,
                                        m_direction.z * m_speed * PLAY_STEP));
    if (m_position.x < 0.0f || m_position.x > world.width || m_position.z < 0.0f ||
        m_position.z > world.depth) {
        m_respawnTime = 0.0f;
        m_state = State::Waiting;
    }
    world.baseSpeed += PLAY_STEP * SPEED_GROWTH;
}

void Ghost::moveJaw(float now) {
    float v = m_jaw.value();
    if (m_jaw.finished()) {
        if (v <= 0.0f) {
            m_jaw.reverse(randomFloat(0.1f, 0.25f));
        } else if (now > m_nextMoanTime) {
            m_nextMoanTime = now + randomFloat(2.0f, 5.0f);
            m_jaw.reverse(randomFloat(0.25f, 0.4f));
            if (m_state == State::Chasing) {
                playSound(Sound::Ghost);
            }
        }
    }
    m_jawBone->m_vTranslation.y = v;
}

void Ghost::placeArms() {
    bool right = m_attackMode == 1 || m_attackMode == 3;
    bool left = m_attackMode == 2 || m_attackMode == 3;
    drive(m_rightShoulder, m_rightShoulderTrack, right);
    drive(m_rightHand, m_rightHandTrack, right);
    drive(m_leftShoulder, m_leftShoulderTrack, left);
    drive(m_leftHand, m_leftHandTrack, left);
}

void Ghost::animate(float alpha) {
    if (!m_root->isVisible()) {
        return;
    }
    m_root->m_vTranslation =
        Vector3(m_position.x + m_bobX.value(alpha), m_position.y + m_bobY.value(alpha),
                m_position.z + m_bobZ.value(alpha));
    Tween* tweens[3] = {&m_bobX, &m_bobY, &m_bobZ};
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
    const Vector3 t = m_root->m_vTranslation;
    const float h = m_root->m_fAngle * DEG_TO_RAD;
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
                                    sphere.distanceFactor * distance * ARROW_POINTS_PER_UNIT);
        }
    }
    return 0;
}

float Ghost::damage(const Vector3& playerPosition) const {
    float q = horizontalDistanceSq(getPosition(), playerPosition);
    return q < HARM_RANGE_SQ ? -0.5f + 0.125f * q : 0.0f;
}
