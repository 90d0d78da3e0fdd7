#include "game/pickups.h"

#include "app/error_reporter.h"
#include "game/play_support.h"
#include "scene/node.h"

PickupObject::PickupObject(NodeTransform* node, float delay)
    : m_root(node), m_respawnDelay(delay) {}

PickupObject::~PickupObject() = default;

bool PickupObject::tryCollect(const Vector3& playerPosition) {
    if (!m_root || !m_root->isVisible()) {
        return false;
    }
    float dx = playerPosition.x - m_root->m_vTranslation.x;
    float dz = playerPosition.z - m_root->m_vTranslation.z;
    if (dx * dx + dz * dz < COLLECT_RANGE_SQ) {
        m_root->setVisible(false);
        m_collected = true;
        return true;
    }
    return false;
}

bool PickupObject::checkNodes() const {
    if (!m_root) {
        reportShowReset(RESET_NO_ERROR, ERROR_GAME,
                        "PickupObject: Could not find root transform node");
        return false;
    }
    return true;
}

// A pickup without its node (its check has failed and the level is being
// given up) reads as lying nowhere, so nothing that asks about it can crash.
void PickupObject::setPosition(float x, float y, float z) {
    if (m_root) {
        m_root->m_vTranslation = Vector3(x, y, z);
    }
}

Vector3 PickupObject::getPosition() const {
    return m_root ? m_root->m_vTranslation : Vector3();
}

bool PickupObject::isVisible() const {
    return m_root && m_root->isVisible();
}

bool PickupObject::checkRespawn() {
    if (!m_root || m_root->isVisible()) {
        return false;
    }
    const float now = playTimeNow();
    if (m_collected) {
        m_collected = false;
        m_respawnTime = now + m_respawnDelay;
        return false;
    }
    if (m_respawnTime < now) {
        m_root->setVisible(true);
        return true;
    }
    return false;
}

PickupHealth::PickupHealth(NodeTransform* node, float delay) : PickupObject(node, delay) {}

PickupEnergy::PickupEnergy(NodeTransform* rootNode, NodeTransform* nestedNode, float delay)
    : PickupObject(rootNode, delay), m_nested(nestedNode) {}

bool PickupEnergy::checkNodes() const {
    if (!PickupObject::checkNodes()) {
        return false;
    }
    if (!m_nested) {
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
    m_rootSpin.advance(PLAY_STEP * ROOT_SPIN);
    m_nestedSpin.advance(PLAY_STEP * NESTED_SPIN);
}

void PickupEnergy::animate(float alpha) {
    if (!isVisible()) {
        return;
    }
    m_root->m_fAngle = m_rootSpin.value(alpha);
    if (m_nested) {
        m_nested->m_fAngle = m_nestedSpin.value(alpha);
    }
}

PickupArrows::PickupArrows(NodeTransform* node, float delay) : PickupObject(node, delay) {}

void PickupArrows::update() {
    if (!isVisible()) {
        return;
    }
    m_spin.advance(PLAY_STEP * SPIN);
}

void PickupArrows::animate(float alpha) {
    if (!isVisible()) {
        return;
    }
    m_root->m_fAngle = m_spin.value(alpha);
}
