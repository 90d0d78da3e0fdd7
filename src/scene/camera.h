#pragma once
#include "scene/vector.h"

// A look-at camera for the model-view matrix.
class Camera {
public:
    void set(const Vector3& eye, const Vector3& target, const Vector3& up) {
        m_vEye = eye;
        m_vTarget = target;
        m_vUp = up;
    }
    // Loads the look-at matrix into the model-view stack.
    void apply() const;

    const Vector3& eye() const { return m_vEye; }
    const Vector3& target() const { return m_vTarget; }
    const Vector3& up() const { return m_vUp; }

private:
    Vector3 m_vEye{0.0f, 0.0f, 0.0f};
    Vector3 m_vTarget{0.0f, 0.0f, -1.0f};
    Vector3 m_vUp{0.0f, 1.0f, 0.0f};
};
