#pragma once
// PRIVATE HEADER: only src/scene (and its tests, tools and benchmarks) include this.
#include "scene/vector.h"

class NodeTransform;

// A 4 x 4 matrix worked out on the CPU, column-major as OpenGL keeps them,
// for what must know where the scene graph puts things without asking
// OpenGL: culling, and the benchmarks' references.
struct Affine {
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    // This matrix followed by b, as glMultMatrixf(b) after this one.
    Affine times(const Affine& b) const;
    Vector3 apply(const Vector3& point) const;
    // The linear part only, normalised: where a normal points afterwards.
    Vector3 applyToNormal(const Vector3& normal) const;

    static Affine translation(float x, float y, float z);
    // As glRotatef: the axis is normalised, a zero axis turns nothing.
    static Affine rotation(float degrees, const Vector3& axis);
    static Affine scaling(const Vector3& scale);
    // What a transform node applies to its children, in its order: its
    // matrix (when used), translation, centre, rotation, scale, minus centre.
    static Affine ofTransform(const NodeTransform& transform);
};
