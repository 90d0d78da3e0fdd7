#include <GL/gl.h>

#include "scene/geometry_primitives.h"

GeometryPrimitive::~GeometryPrimitive() {
    for (unsigned list : m_lists) {
        if (list != 0) {
            glDeleteLists(list, 1);
        }
    }
}

void GeometryPrimitive::draw(bool textured) const {
    // Feedback and selection see the calls themselves: Mesa's software
    // drivers fail on polygons replayed from a list in feedback mode.
    GLint mode = GL_RENDER;
    glGetIntegerv(GL_RENDER_MODE, &mode);
    if (mode != GL_RENDER) {
        emitGeometry(textured);
        return;
    }
    unsigned& list = m_lists[textured ? 1 : 0];
    if (list == 0) {
        // Lists do not nest: while another list is being recorded, the calls
        // go into that one as they are.
        GLint recording = 0;
        glGetIntegerv(GL_LIST_INDEX, &recording);
        if (recording != 0) {
            emitGeometry(textured);
            return;
        }
        list = glGenLists(1);
        if (list == 0) {
            emitGeometry(textured);
            return;
        }
        glNewList(list, GL_COMPILE);
        m_bRecording = true;
        emitGeometry(textured);
        m_bRecording = false;
        glEndList();
    }
    glCallList(list);
}

bool GeometryPrimitive::bounds(Bounds3& out) const {
    if (!m_bBoundsKnown) {
        m_bounds = computeBounds();
        m_bBoundsKnown = true;
    }
    out = m_bounds;
    return true;
}

namespace {
void sendCorner(const GeometryPrimitive::Corner& c, bool textured) {
    glNormal3f(c.normal.x, c.normal.y, c.normal.z);
    if (textured) {
        glTexCoord2f(c.tex.x, c.tex.y);
    }
    glVertex3f(c.position.x, c.position.y, c.position.z);
}
}  // namespace

void GeometryPrimitive::emitPolygon(bool quad, const Corner* corners, int count,
                                    bool textured) const {
    if (!m_bRecording) {
        glBegin(quad ? GL_QUADS : GL_POLYGON);
        for (int k = 0; k < count; ++k) {
            sendCorner(corners[k], textured);
        }
        glEnd();
        return;
    }
    glBegin(GL_TRIANGLES);
    if (quad) {
        for (int q = 0; q + 3 < count; q += 4) {
            const int order[6] = {0, 1, 2, 0, 2, 3};
            for (int k : order) {
                sendCorner(corners[q + k], textured);
            }
        }
    } else {
        for (int k = 1; k + 1 < count; ++k) {
            sendCorner(corners[k], textured);
            sendCorner(corners[k + 1], textured);
            sendCorner(corners[0], textured);
        }
    }
    glEnd();
}
