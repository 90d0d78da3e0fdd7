#pragma once
#include <cstring>

// A 4x4 matrix in OpenGL column-major order (12, 13, 14 hold the translation).
// It has no arithmetic: matrices are captured from OpenGL, stored and handed
// back to it.
struct Matrix4 {
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    void set(const float* values) { std::memcpy(m, values, sizeof m); }
    const float* data() const { return m; }
    // Reads the current model-view matrix (needs the GL context).
    void captureModelView();
};
