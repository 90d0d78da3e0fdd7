#include <GL/gl.h>

#include "scene/geometry_primitives.h"
#include "scene/scene_report.h"

namespace {

float positiveOr1(float v) {
    return v <= 0.0f ? 1.0f : v;
}

struct BoxFace {
    float normal[3];
    // Corners as (x sign, y 0/1, z sign) and their texture coordinates.
    float corner[4][3];
    float tex[4][2];
};

// The texture is a 2x2 atlas: front in the upper-right quarter, back in the
// lower-right, both sides in the lower-left, top and bottom in the upper-left.
const BoxFace BOX_FACES[6] = {
    {{0, 0, 1},
     {{-1, 0, 1}, {1, 0, 1}, {1, 1, 1}, {-1, 1, 1}},
     {{0.5f, 0.5f}, {1, 0.5f}, {1, 1}, {0.5f, 1}}},
    {{1, 0, 0},
     {{1, 0, 1}, {1, 0, -1}, {1, 1, -1}, {1, 1, 1}},
     {{0, 0}, {0.5f, 0}, {0.5f, 0.5f}, {0, 0.5f}}},
    {{0, 0, -1},
     {{1, 0, -1}, {-1, 0, -1}, {-1, 1, -1}, {1, 1, -1}},
     {{0.5f, 0}, {1, 0}, {1, 0.5f}, {0.5f, 0.5f}}},
    {{-1, 0, 0},
     {{-1, 0, -1}, {-1, 0, 1}, {-1, 1, 1}, {-1, 1, -1}},
     {{0, 0}, {0.5f, 0}, {0.5f, 0.5f}, {0, 0.5f}}},
    {{0, 1, 0},
     {{-1, 1, 1}, {1, 1, 1}, {1, 1, -1}, {-1, 1, -1}},
     {{0, 0.5f}, {0.5f, 0.5f}, {0.5f, 1}, {0, 1}}},
    {{0, -1, 0},
     {{-1, 0, -1}, {1, 0, -1}, {1, 0, 1}, {-1, 0, 1}},
     {{0, 0.5f}, {0.5f, 0.5f}, {0.5f, 1}, {0, 1}}},
};

}  // namespace

GeometryBox::GeometryBox(float width, float depth, float height)
    : m_fWidth(positiveOr1(width)), m_fDepth(positiveOr1(depth)), m_fHeight(positiveOr1(height)) {}

void GeometryBox::corners(Corner (&out)[CORNERS]) const {
    const float w = m_fWidth / 2.0f;
    const float d = m_fDepth / 2.0f;
    const float h = m_fHeight;
    int count = 0;
    for (const BoxFace& face : BOX_FACES) {
        for (int k = 0; k < 4; ++k) {
            out[count++] = {
                Vector3(face.normal[0], face.normal[1], face.normal[2]),
                Vector2(face.tex[k][0], face.tex[k][1]),
                Vector3(face.corner[k][0] * w, face.corner[k][1] * h, face.corner[k][2] * d)};
        }
    }
}

void GeometryBox::emitGeometry(bool textured) const {
    Corner all[CORNERS];
    corners(all);
    emitPolygon(true, all, CORNERS, textured);
}

void GeometryBox::print() const {
    ListingLine line;
    line.append("Box geoID_%lld", objectIdentity(this));
    if (m_fWidth != 1.0f) {
        line.append(" wid_%f", static_cast<double>(m_fWidth));
    }
    if (m_fDepth != 1.0f) {
        line.append(" dep_%f", static_cast<double>(m_fDepth));
    }
    if (m_fHeight != 1.0f) {
        line.append(" hei_%f", static_cast<double>(m_fHeight));
    }
    line.emit();
}

Bounds3 GeometryBox::computeBounds() const {
    Bounds3 b;
    b.add(Vector3(-m_fWidth / 2.0f, 0.0f, -m_fDepth / 2.0f));
    b.add(Vector3(m_fWidth / 2.0f, m_fHeight, m_fDepth / 2.0f));
    return b;
}
