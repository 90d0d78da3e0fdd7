#pragma once
#include <deque>

#include "scene/animation.h"
#include "scene/color.h"
#include "scene/vector.h"

class NodeTransform;

// An arrow shot from the crossbow. Its node is one of the crossbow's
// flying-arrow nodes, owned by the scene.
struct FlyingArrow {
    NodeTransform* node = nullptr;
    Vector3 velocity;  // world units per second
    bool active = true;
    float expiryTime = 0.0f;
};

// The ranged weapon: loads itself while it holds arrows, shoots on Attack,
// and keeps the arrows in flight until they stick in a wall, a ceiling or
// the floor, or expire.
class WeaponCrossbow {
public:
    static constexpr int MAX_FLYING = 25;
    static constexpr int MAX_ARROWS = 999;
    static constexpr float DRAW_SPEED = 150.0f;     // degrees per second
    static constexpr float DRAWN_ANGLE = 35.0f;     // string fully drawn
    static constexpr float RELEASE_SPEED = 500.0f;  // degrees per second
    static constexpr float RELOAD_PAUSE = 0.4f;
    static constexpr float ARROW_SPEED = 40.0f;
    static constexpr float ARROW_LIFE = 60.0f;

    enum class FireState : int {
        Unloaded = 0,
        Drawing = 1,
        Loaded = 2,
        Releasing = 3,
        Reloading = 4,
    };

    WeaponCrossbow(NodeTransform* weapon, NodeTransform* arrow);
    WeaponCrossbow(const WeaponCrossbow&) = delete;
    WeaponCrossbow& operator=(const WeaponCrossbow&) = delete;

    bool checkNodes() const;
    // With start, sets off toward the away (or the held) position; every call
    // steps the move. True once the move is complete.
    bool moveHold(bool toAway, bool start);
    // One fixed step of loading and firing from the eye along the view
    // direction.
    void update(const Vector3& eye, const Vector3& direction);
    // One fixed step of every arrow in flight (they have no gravity).
    void flyArrows();
    // Draws the crossbow in eye space.
    void render();
    // Hides and forgets the arrows whose time is up, oldest first.
    void expireArrows(float now);

    bool setArrowNode(int index, NodeTransform* node);
    // Adds n arrows (the count stays within 0..999); returns the sum before
    // the count was limited.
    int addArrows(int n);
    int getArrowCount() const { return m_arrowCount; }
    int flyingCount() const { return static_cast<int>(m_flying.size()); }
    // The position of arrow i; false when there is no such arrow or it has stopped.
    bool flyingPosition(int i, Vector3& position) const;
    void stopArrow(int i);

    FireState getFireState() const { return m_fireState; }
    const FlyingArrow& flyingArrow(int i) const { return m_flying.at(i); }
    float stringAngle() const;
    NodeTransform* getRoot() const { return m_root; }
    NodeTransform* getLoadedArrow() const { return m_loadedArrow; }
    const Vector3& holdPosition() const { return m_holdTween.value(); }

private:
    void slide();
    void shoot(const Vector3& eye, const Vector3& direction, float now);

    NodeTransform* m_root;
    NodeTransform* m_stringL = nullptr;
    NodeTransform* m_stringR = nullptr;
    NodeTransform* m_pusher = nullptr;
    NodeTransform* m_loadedArrow;
    int m_arrowCount = 0;
    FireState m_fireState = FireState::Unloaded;
    float m_reloadTime = 0.0f;
    NodeTransform* m_arrowNodes[MAX_FLYING] = {};
    int m_nextArrow = 0;
    std::deque<FlyingArrow> m_flying;
    // Held low on the right like the mace, and put away further right and
    // nearer, out of the view.
    Vector3 m_heldPosition{0.171f, -0.239f, -0.949f};
    Vector3 m_awayPosition{0.327f, -0.211f, -0.588f};
    Tween3 m_holdTween;
};

// Whether an arrow at the given height stops in a map cell of this colour:
// a wall always, a low passage above its ceiling, a hall above its high
// ceiling; a cell of any other colour never.
bool arrowStopsInCell(const Color4& cell, float height, float wallHeight);
