#include "gl_feedback.h"

#include <GL/gl.h>

namespace {

struct RawVertex {
    Vector3 position;
    float color[3];
    float tex[2];
};

std::vector<std::vector<RawVertex>> feedbackPass(const std::function<void()>& draw) {
    static std::vector<GLfloat> buffer(1 << 20);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_4D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    GLint count = glRenderMode(GL_RENDER);

    std::vector<std::vector<RawVertex>> result;
    GLint i = 0;
    auto readVertex = [&]() {
        const GLfloat* f = &buffer[i];
        RawVertex v;
        v.position = Vector3(f[0] - 100.0f, f[1] - 100.0f, 100.0f * (1.0f - 2.0f * f[2]));
        v.color[0] = f[4];
        v.color[1] = f[5];
        v.color[2] = f[6];
        v.tex[0] = f[8];
        v.tex[1] = f[9];
        i += 12;
        return v;
    };
    while (i < count) {
        GLint token = static_cast<GLint>(buffer[i++]);
        int n = 0;
        if (token == GL_POLYGON_TOKEN) {
            n = static_cast<int>(buffer[i++]);
        } else if (token == GL_POINT_TOKEN || token == GL_BITMAP_TOKEN ||
                   token == GL_DRAW_PIXEL_TOKEN || token == GL_COPY_PIXEL_TOKEN) {
            n = 1;
        } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            n = 2;
        } else if (token == GL_PASS_THROUGH_TOKEN) {
            ++i;
            continue;
        } else {
            break;
        }
        std::vector<RawVertex> polygon;
        for (int k = 0; k < n && i < count; ++k) {
            polygon.push_back(readVertex());
        }
        result.push_back(polygon);
    }
    return result;
}

// Three directional lights, one per colour channel, along +x, +y, +z (or
// their negatives): the lit colour is then the clamped normal.
void setNormalLights(float sign) {
    const GLfloat black[4] = {0, 0, 0, 1};
    const GLfloat white[4] = {1, 1, 1, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, black);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, black);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, black);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, black);
    for (int axis = 0; axis < 3; ++axis) {
        GLenum light = GL_LIGHT0 + axis;
        GLfloat diffuse[4] = {0, 0, 0, 1};
        diffuse[axis] = 1;
        GLfloat position[4] = {0, 0, 0, 0};
        position[axis] = sign;
        glLightfv(light, GL_AMBIENT, black);
        glLightfv(light, GL_SPECULAR, black);
        glLightfv(light, GL_DIFFUSE, diffuse);
        glLightfv(light, GL_POSITION, position);
        glEnable(light);
    }
    glEnable(GL_LIGHTING);
}

}  // namespace

std::vector<FeedbackPolygon> captureFeedback(const std::function<void()>& draw, bool withNormals) {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glViewport(0, 0, 200, 200);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-100, 100, -100, 100, -100, 100);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glDisable(GL_NORMALIZE);
    glDisable(GL_TEXTURE_2D);
    glTexCoord4f(0, 0, 0, 1);

    std::vector<std::vector<RawVertex>> plus, minus;
    if (withNormals) {
        setNormalLights(1.0f);
        plus = feedbackPass(draw);
        setNormalLights(-1.0f);
        minus = feedbackPass(draw);
    } else {
        plus = feedbackPass(draw);
    }
    glPopAttrib();

    std::vector<FeedbackPolygon> result;
    for (std::size_t p = 0; p < plus.size(); ++p) {
        FeedbackPolygon polygon;
        for (std::size_t k = 0; k < plus[p].size(); ++k) {
            const RawVertex& v = plus[p][k];
            FeedbackVertex out;
            out.position = v.position;
            if (withNormals && p < minus.size() && k < minus[p].size()) {
                const RawVertex& w = minus[p][k];
                out.attribute = Vector3(v.color[0] - w.color[0], v.color[1] - w.color[1],
                                        v.color[2] - w.color[2]);
            } else {
                out.attribute = Vector3(v.tex[0], v.tex[1], 0.0f);
            }
            polygon.vertices.push_back(out);
        }
        result.push_back(polygon);
    }
    return result;
}
