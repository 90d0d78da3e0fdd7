// The player's view, movement and the two values it carries. The weapon
// operations live in player_weapons.cpp.
#include "game/player.h"

#include <cmath>

#include "game/weapon_crossbow.h"
#include "game/weapon_mace.h"
#include "input/control_table.h"
#include "input/game_settings.h"
#include "scene/math_constants.h"

// The play step hands a held movement action to move() as the command of the
// same number.
static_assert(static_cast<int>(Player::Command::MoveForward) == ControlTable::MOVE_FORWARD);
static_assert(static_cast<int>(Player::Command::MoveBack) == ControlTable::MOVE_BACK);
static_assert(static_cast<int>(Player::Command::StrafeLeft) == ControlTable::STRAFE_LEFT);
static_assert(static_cast<int>(Player::Command::StrafeRight) == ControlTable::STRAFE_RIGHT);

namespace {

constexpr float VALUE_MIN = 0.0f;
constexpr float VALUE_MAX = 100.0f;

float clampValue(float v) {
    if (v < VALUE_MIN) {
        return VALUE_MIN;
    }
    if (v > VALUE_MAX) {
        return VALUE_MAX;
    }
    return v;
}

}  // namespace

Player::Player(float distance)
    : m_position(0.0f, 0.5f, 0.0f),
      m_target(0.0f, 0.5f, -distance),
      m_lookDistance(distance),
      m_pitchUpLimit(std::tan(50.0f * DEG_TO_RAD) * distance),
      m_pitchDownLimit(std::tan(30.0f * DEG_TO_RAD) * distance) {
    GameSettings* settings = gameSettings();
    setInvertMouse(settings != nullptr && settings->invertMouse);
    reset();
}

// Out of line: the weapons are incomplete types in the header.
Player::~Player() = default;

void Player::reset() {
    m_energy = 50.0f;
    m_health = 100.0f;
    m_score = 0;
    m_crossbow.reset();
    m_mace.reset();
}

void Player::setSpeeds(float newMoveSpeed, float newTurnSpeed) {
    m_moveSpeed = newMoveSpeed;
    m_turnSpeed = newTurnSpeed;
}

void Player::setView(const Vector3& eye, const Vector3& direction) {
    Vector3 unit = direction;
    unit.normalize();
    m_position = eye;
    m_target = Vector3(eye.x + unit.x * m_lookDistance, eye.y + unit.y * m_lookDistance,
                       eye.z + unit.z * m_lookDistance);
}

void Player::setPosition(float x, float y, float z) {
    Vector3 offset = m_target.subtract(m_position);
    m_position = Vector3(x, y, z);
    m_target = m_position.add(offset);
}

Vector3 Player::getDirection() const {
    Vector3 d = m_target.subtract(m_position);
    d.normalize();
    return d;
}

// The horizontal offset to the target is not normalised: its length is
// lookDistance and stays so under turning and pitching, which makes the speed
// lookDistance x moveSpeed whatever the pitch.
void Player::move(Command command, float amount) {
    Vector3 d = m_target.subtract(m_position);
    auto shift = [this](const Vector3& step) {
        m_position = m_position.add(step);
        m_target = m_target.add(step);
    };
    switch (command) {
        case Command::MoveForward:
        case Command::MoveBack: {
            float f = amount * m_moveSpeed * (command == Command::MoveForward ? 1.0f : -1.0f);
            shift(Vector3(d.x * f, 0.0f, d.z * f));
            break;
        }
        case Command::StrafeLeft:
        case Command::StrafeRight: {
            // (-d.z, 0, d.x) points to the right of the view.
            float f = amount * m_moveSpeed * (command == Command::StrafeRight ? 1.0f : -1.0f);
            shift(Vector3(-d.z * f, 0.0f, d.x * f));
            break;
        }
        case Command::Turn:
        case Command::TurnBack: {
            float a = m_turnSpeed * amount;
            float c = std::cos(a);
            float s = std::sin(a) * (command == Command::Turn ? 1.0f : -1.0f);
            m_target.x = c * d.x - s * d.z + m_position.x;
            m_target.z = s * d.x + c * d.z + m_position.z;
            break;
        }
        case Command::LookUpDown:
            m_target.y = m_target.y - m_turnSpeed * amount * static_cast<float>(m_invertSign);
            if (m_target.y > m_position.y + m_pitchUpLimit) {
                m_target.y = m_position.y + m_pitchUpLimit;
            } else if (m_target.y < m_position.y - m_pitchDownLimit) {
                m_target.y = m_position.y - m_pitchDownLimit;
            }
            break;
        default:
            break;
    }
}

// A value that is not a number would stick: every later sum and clamp keeps it.
void Player::addEnergy(float amount) {
    if (!std::isfinite(amount)) {
        return;
    }
    m_energy = clampValue(m_energy + amount);
}

void Player::addHealth(float amount) {
    if (!std::isfinite(amount)) {
        return;
    }
    m_health = clampValue(m_health + amount);
}
