// The player's view, movement and the two values it carries. The weapon
// operations live in player_weapons.cpp.
#include "game/player.h"

#include <cmath>

#include "game/weapon_crossbow.h"
#include "game/weapon_mace.h"
#include "input/game_settings.h"
#include "scene/math_constants.h"

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
    : position(0.0f, 0.5f, 0.0f),
      target(0.0f, 0.5f, -distance),
      lookDistance(distance),
      pitchUpLimit(std::tan(50.0f * DEG_TO_RAD) * distance),
      pitchDownLimit(std::tan(30.0f * DEG_TO_RAD) * distance) {
    GameSettings* settings = gameSettings();
    setInvertMouse(settings != nullptr && settings->invertMouse);
    reset();
}

// Out of line: the weapons are incomplete types in the header.
Player::~Player() = default;

void Player::reset() {
    energy = 50.0f;
    health = 100.0f;
    score = 0;
    crossbow.reset();
    mace.reset();
}

void Player::setSpeeds(float newMoveSpeed, float newTurnSpeed) {
    moveSpeed = newMoveSpeed;
    turnSpeed = newTurnSpeed;
}

void Player::setView(const Vector3& eye, const Vector3& direction) {
    Vector3 unit = direction;
    unit.normalize();
    position = eye;
    target = Vector3(eye.x + unit.x * lookDistance, eye.y + unit.y * lookDistance,
                     eye.z + unit.z * lookDistance);
}

void Player::setPosition(float x, float y, float z) {
    Vector3 offset = target.subtract(position);
    position = Vector3(x, y, z);
    target = position.add(offset);
}

Vector3 Player::getDirection() const {
    Vector3 d = target.subtract(position);
    d.normalize();
    return d;
}

// The horizontal offset to the target is not normalised: its length is
// lookDistance and stays so under turning and pitching, which makes the speed
// lookDistance x moveSpeed whatever the pitch.
void Player::move(int command, float amount) {
    Vector3 d = target.subtract(position);
    auto shift = [this](const Vector3& step) {
        position = position.add(step);
        target = target.add(step);
    };
    switch (command) {
        case MOVE_FORWARD:
        case MOVE_BACK: {
            float f = amount * moveSpeed * (command == MOVE_FORWARD ? 1.0f : -1.0f);
            shift(Vector3(d.x * f, 0.0f, d.z * f));
            break;
        }
        case STRAFE_LEFT:
        case STRAFE_RIGHT: {
            // (-d.z, 0, d.x) points to the right of the view.
            float f = amount * moveSpeed * (command == STRAFE_RIGHT ? 1.0f : -1.0f);
            shift(Vector3(-d.z * f, 0.0f, d.x * f));
            break;
        }
        case TURN:
        case TURN_BACK: {
            float a = turnSpeed * amount;
            float c = std::cos(a);
            float s = std::sin(a) * (command == TURN ? 1.0f : -1.0f);
            target.x = c * d.x - s * d.z + position.x;
            target.z = s * d.x + c * d.z + position.z;
            break;
        }
        case LOOK_UP_DOWN:
            target.y = target.y - turnSpeed * amount * static_cast<float>(invertSign);
            if (target.y > position.y + pitchUpLimit) {
                target.y = position.y + pitchUpLimit;
            } else if (target.y < position.y - pitchDownLimit) {
                target.y = position.y - pitchDownLimit;
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
    energy = clampValue(energy + amount);
}

void Player::addHealth(float amount) {
    if (!std::isfinite(amount)) {
        return;
    }
    health = clampValue(health + amount);
}
