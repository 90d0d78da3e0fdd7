#pragma once
#include "scene/animation.h"
#include "scene/vector.h"

class NodeTransform;

// The close-combat weapon: swings down and back on Attack and kills a ghost
// right in front of the player while it is in the middle of the swing. It is
// drawn in eye space, held low on the right of the view.
class WeaponMace {
public:
    static constexpr float SWING_SPEED = 360.0f;  // degrees per second
    static constexpr float SWING_LIMIT = 75.0f;
    static constexpr float STRIKE_FROM = 35.0f;
    static constexpr float STRIKE_TO = 65.0f;

    explicit WeaponMace(NodeTransform* node);
    WeaponMace(const WeaponMace&) = delete;
    WeaponMace& operator=(const WeaponMace&) = delete;

    bool checkNodes() const;
    // With start, sets off toward the away (or the held) position; every call
    // steps the move. True once the move is complete.
    bool moveHold(bool toAway, bool start);
    // One fixed step of the swing.
    void update();
    bool isStriking() const;
    void render();

    int getSwingState() const { return m_swingState; }
    NodeTransform* getRoot() const { return m_root; }
    const Vector3& holdPosition() const { return m_holdTween.value(); }

private:
    NodeTransform* m_root;
    int m_swingState = 0;
    Vector3 m_heldPosition{-2.017f, 5.729f, -3.668f};
    Vector3 m_awayPosition{-2.107f, 5.6f, -3.13f};
    Tween3 m_holdTween;
};
