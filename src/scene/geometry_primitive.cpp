#include <GL/gl.h>

#include <cstddef>

#include "scene/geometry_primitives.h"

GeometryPrimitive::~GeometryPrimitive() {
    for (const Variant& variant : m_variants) {
        if (variant.list != 0) {
            glDeleteLists(variant.list, 1);
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
    Variant& variant = m_variants[textured ? 1 : 0];
    if (!variant.prepared) {
        // Lists do not nest: while another list is being recorded, the calls
        // go into that one as they are.
        GLint recording = 0;
        glGetIntegerv(GL_LIST_INDEX, &recording);
        if (recording != 0) {
            emitGeometry(textured);
            return;
        }
        prepare(variant, textured);
    }
    if (variant.list != 0) {
        glCallList(variant.list);
    }
    if (!variant.runs.empty()) {
        drawPolygons(variant, textured);
    }
}

// Emits the geometry once into a new list while emitPolygon collects quads
// and polygons; a primitive that sent only those leaves the list empty, and it
// is dropped.
void GeometryPrimitive::prepare(Variant& variant, bool textured) const {
    variant.prepared = true;
    variant.list = glGenLists(1);
    if (variant.list != 0) {
        glNewList(variant.list, GL_COMPILE);
    }
    m_pCapture = &variant;
    emitGeometry(textured);
    m_pCapture = nullptr;
    if (variant.list == 0) {
        // No list to be had: triangles were just drawn as they were sent, and
        // are sent again at the next draw.
        variant.prepared = !variant.runs.empty();
        return;
    }
    glEndList();
    if (!variant.runs.empty()) {
        glDeleteLists(variant.list, 1);
        variant.list = 0;
    }
}

void GeometryPrimitive::drawPolygons(const Variant& variant, bool textured) const {
    const GLsizei stride = sizeof(Corner);
    const Corner* corners = variant.corners.data();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glVertexPointer(3, GL_FLOAT, stride, &corners[0].position.x);
    glNormalPointer(GL_FLOAT, stride, &corners[0].normal.x);
    if (textured) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, stride, &corners[0].tex.x);
    }
    for (const PolygonRun& run : variant.runs) {
        glDrawArrays(run.quad ? GL_QUADS : GL_POLYGON, run.first, run.count);
    }
    if (textured) {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

bool GeometryPrimitive::bounds(Bounds3& out) const {
    if (!m_bBoundsKnown) {
        m_bounds = computeBounds();
        m_bBoundsKnown = true;
    }
    out = m_bounds;
    return true;
}

void GeometryPrimitive::emitPolygon(bool quad, const Corner* corners, int count,
                                    bool textured) const {
    if (quad) {
        count -= count % 4;
    }
    if (count < (quad ? 4 : 3)) {
        return;
    }
    if (m_pCapture != nullptr) {
        Variant& variant = *m_pCapture;
        const int first = static_cast<int>(variant.corners.size());
        variant.corners.insert(variant.corners.end(), corners, corners + count);
        if (quad && !variant.runs.empty() && variant.runs.back().quad) {
            variant.runs.back().count += count;
        } else {
            variant.runs.push_back(PolygonRun{quad, first, count});
        }
        return;
    }
    glBegin(quad ? GL_QUADS : GL_POLYGON);
    for (int k = 0; k < count; ++k) {
        const Corner& c = corners[k];
        glNormal3f(c.normal.x, c.normal.y, c.normal.z);
        if (textured) {
            glTexCoord2f(c.tex.x, c.tex.y);
        }
        glVertex3f(c.position.x, c.position.y, c.position.z);
    }
    glEnd();
}
