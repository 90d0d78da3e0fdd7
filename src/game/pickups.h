#pragma once
#include "scene/animation.h"
#include "scene/vector.h"

class NodeTransform;

// Something lying on the floor of the maze that the player collects by
// walking over it; it comes back on another free cell after its respawn
// delay. The model nodes belong to the scene.
class PickupObject {
public:
    // How close (squared, horizontally) the player must come.
    static constexpr float COLLECT_RANGE_SQ = 1.0f;

    PickupObject(NodeTransform* root, float respawnDelay);
    virtual ~PickupObject();
    PickupObject(const PickupObject&) = delete;
    PickupObject& operator=(const PickupObject&) = delete;

    // True when the player at playerPosition has just taken it (it is hidden).
    virtual bool tryCollect(const Vector3& playerPosition);
    // Once per drawn frame; alpha is the fraction of a step left over.
    virtual void animate(float alpha) = 0;
    // Once per fixed step.
    virtual void update() = 0;
    // Reports a missing node (shown at once).
    virtual bool checkNodes() const;

    void setPosition(float x, float y, float z);
    Vector3 getPosition() const;
    bool isVisible() const;
    // Once per drawn frame: true when the pickup has just reappeared and must
    // be placed. The delay counts from the first call after the collection.
    bool checkRespawn();

    float getRespawnTime() const { return m_respawnTime; }
    NodeTransform* getRoot() const { return m_root; }

protected:
    NodeTransform* m_root;
    bool m_collected = false;
    float m_respawnTime = 0.0f;
    float m_respawnDelay;
};

// +50 health.
class PickupHealth : public PickupObject {
public:
    PickupHealth(NodeTransform* node, float respawnDelay);
    void animate(float) override {}
    void update() override {}
    float getAmount() const { return m_amount; }

private:
    float m_amount = 50.0f;
};

// +25 energy, the radar's power. The battery and the cell inside it spin at
// different rates.
class PickupEnergy : public PickupObject {
public:
    static constexpr float ROOT_SPIN = 75.0f;     // degrees per second
    static constexpr float NESTED_SPIN = 133.3f;  // degrees per second

    PickupEnergy(NodeTransform* rootNode, NodeTransform* nestedNode, float respawnDelay);
    void animate(float alpha) override;
    void update() override;
    bool checkNodes() const override;
    float getAmount() const { return m_amount; }
    const AngleValue& getRootSpin() const { return m_rootSpin; }
    const AngleValue& getNestedSpin() const { return m_nestedSpin; }

private:
    NodeTransform* m_nested;
    AngleValue m_rootSpin;
    AngleValue m_nestedSpin;
    float m_amount = 25.0f;
};

// Three arrows for the crossbow.
class PickupArrows : public PickupObject {
public:
    static constexpr float SPIN = 50.0f;  // degrees per second

    PickupArrows(NodeTransform* node, float respawnDelay);
    void animate(float alpha) override;
    void update() override;
    int getAmount() const { return m_amount; }
    const AngleValue& getSpin() const { return m_spin; }

private:
    AngleValue m_spin;
    int m_amount = 3;
};
