#include "game/pickups.h"

#include "app/error_reporter.h"
#include "game/play_support.h"
#include "scene/node.h"

PickupObject::PickupObject(NodeTransform* node, float delay) : root(node), respawnDelay(delay) {}

PickupObject::~PickupObject() = default;

bool PickupObject::tryCollect(const Vector3& playerPosition) {
    if (!root || !root->isVisible()) {
        return false;
    }
    float dx = playerPosition.x - root->m_vTranslation.x;
    float dz = playerPosition.z - root->m_vTranslation.z;
    if (dx * dx + dz * dz < COLLECT_RANGE_SQ) {
        root->setVisible(false);
        collected = true;
        return true;
    }
    return false;
}

bool PickupObject::checkNodes() const {
    if (!root) {
        reportShowReset(RESET_NO_ERROR, ERROR_GAME,
                        "PickupObject: Could not find root transform node");
        return false;
    }
    return true;
}

// A pickup without its node (its check has failed and the level is being
// given up) reads as lying nowhere, so nothing that asks about it can crash.
void PickupObject::setPosition(float x, float y, float z) {
    if (root) {
        root->m_vTranslation = Vector3(x, y, z);
    }
}

Vector3 PickupObject::getPosition() const {
    return root ? root->m_vTranslation : Vector3();
}

bool PickupObject::isVisible() const {
    return root && root->isVisible();
}

bool PickupObject::checkRespawn() {
    if (!root || root->isVisible()) {
        return false;
    }
    const float now = playTimeNow();
    if (collected) {
        collected = false;
        respawnTime = now + respawnDelay;
        return false;
    }
    if (respawnTime < now) {
        root->setVisible(true);
        return true;
    }
    return false;
}

PickupHealth::PickupHealth(NodeTransform* node, float delay) : PickupObject(node, delay) {}

PickupEnergy::PickupEnergy(NodeTransform* rootNode, NodeTransform* nestedNode, float delay)
    : PickupObject(rootNode, delay), nested(nestedNode) {}

bool PickupEnergy::checkNodes() const {
    if (!PickupObject::checkNodes()) {
        return false;
    }
    if (!nested) {
        reportShowReset(RESET_NO_ERROR, ERROR_GAME,
                        "PickupEnergy: Could not find nested transform node");
        return false;
    }
    return true;
}

void PickupEnergy::update() {
    if (!isVisible()) {
        return;
    }
    rootSpin.advance(PLAY_STEP * ROOT_SPIN);
    nestedSpin.advance(PLAY_STEP * NESTED_SPIN);
}

void PickupEnergy::animate(float alpha) {
    if (!isVisible()) {
        return;
    }
    root->m_fAngle = rootSpin.value(alpha);
    if (nested) {
        nested->m_fAngle = nestedSpin.value(alpha);
    }
}

PickupArrows::PickupArrows(NodeTransform* node, float delay) : PickupObject(node, delay) {}

void PickupArrows::update() {
    if (!isVisible()) {
        return;
    }
    spin.advance(PLAY_STEP * SPIN);
}

void PickupArrows::animate(float alpha) {
    if (!isVisible()) {
        return;
    }
    root->m_fAngle = spin.value(alpha);
}
