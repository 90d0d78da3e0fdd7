#pragma once
#include <functional>
#include <vector>

#include "scene/vector.h"

// Captures what a draw call emits with OpenGL feedback mode: every vertex's
// object-space position and either its texture coordinate or (with
// withNormals) its normal, which texture generation copies into the texture
// coordinate. The view is an orthographic box of +-100 in every direction
// with identity model-view, so window coordinates map straight back.
struct FeedbackVertex {
    Vector3 position;
    Vector3 attribute;  // (s, t, 0) or the normal
};

struct FeedbackPolygon {
    std::vector<FeedbackVertex> vertices;
};

std::vector<FeedbackPolygon> captureFeedback(const std::function<void()>& draw, bool withNormals);
