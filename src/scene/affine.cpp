#include "scene/affine.h"

#include <cmath>
#include <cstring>

#include "scene/math_constants.h"
#include "scene/node.h"

Affine Affine::times(const Affine& b) const {
    Affine r;
    for (int c = 0; c < 4; ++c) {
        for (int row = 0; row < 4; ++row) {
            float s = 0.0f;
            for (int k = 0; k < 4; ++k) {
                s += m[k * 4 + row] * b.m[c * 4 + k];
            }
            r.m[c * 4 + row] = s;
        }
    }
    return r;
}

Vector3 Affine::apply(const Vector3& p) const {
    return Vector3(m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12],
                   m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
                   m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]);
}

Vector3 Affine::applyToNormal(const Vector3& n) const {
    Vector3 r(m[0] * n.x + m[4] * n.y + m[8] * n.z, m[1] * n.x + m[5] * n.y + m[9] * n.z,
              m[2] * n.x + m[6] * n.y + m[10] * n.z);
    r.normalize();
    return r;
}

Affine Affine::translation(float x, float y, float z) {
    Affine r;
    r.m[12] = x;
    r.m[13] = y;
    r.m[14] = z;
    return r;
}

Affine Affine::rotation(float degrees, const Vector3& axis) {
    Affine r;
    float length = std::sqrt(axis.x * axis.x + axis.y * axis.y + axis.z * axis.z);
    if (degrees == 0.0f || length <= 1e-6f) {
        return r;
    }
    const float x = axis.x / length, y = axis.y / length, z = axis.z / length;
    const float a = degrees * DEG_TO_RAD;
    const float c = std::cos(a), s = std::sin(a), t = 1.0f - c;
    r.m[0] = t * x * x + c;
    r.m[1] = t * x * y + s * z;
    r.m[2] = t * x * z - s * y;
    r.m[4] = t * x * y - s * z;
    r.m[5] = t * y * y + c;
    r.m[6] = t * y * z + s * x;
    r.m[8] = t * x * z + s * y;
    r.m[9] = t * y * z - s * x;
    r.m[10] = t * z * z + c;
    return r;
}

Affine Affine::scaling(const Vector3& scale) {
    Affine r;
    r.m[0] = scale.x;
    r.m[5] = scale.y;
    r.m[10] = scale.z;
    return r;
}

Affine Affine::ofTransform(const NodeTransform& t) {
    Affine r;
    if (t.usesMatrix()) {
        std::memcpy(r.m, t.matrix().data(), sizeof r.m);
    }
    const Vector3& c = t.m_vCentre;
    r = r.times(translation(t.m_vTranslation.x, t.m_vTranslation.y, t.m_vTranslation.z));
    r = r.times(translation(c.x, c.y, c.z));
    r = r.times(rotation(t.m_fAngle, t.axis()));
    r = r.times(scaling(t.m_vScale));
    return r.times(translation(-c.x, -c.y, -c.z));
}
