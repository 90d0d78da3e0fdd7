#pragma once
#include "scene/color.h"
#include "scene/vector.h"

// A fixed-function material; a new one holds the OpenGL defaults.
struct Material {
    Color4 m_cAmbient{0.2f, 0.2f, 0.2f, 1.0f};
    Color4 m_cDiffuse{0.8f, 0.8f, 0.8f, 1.0f};
    Color4 m_cSpecular{0.0f, 0.0f, 0.0f, 1.0f};
    Color4 m_cEmissive{0.0f, 0.0f, 0.0f, 1.0f};
    float m_fShininess = 0.0f;
};

// Moves, turns and scales a shape's texture (rotation in degrees, about the
// centre).
struct TextureTransform {
    Vector2 m_vScale{1.0f, 1.0f};
    float m_fRotation = 0.0f;
    Vector2 m_vCentre{0.0f, 0.0f};
    Vector2 m_vTranslation{0.0f, 0.0f};
};

// What a shape needs of a texture: its OpenGL name and whether it is solid
// (a shape with a non-solid texture is drawn with the see-through shapes).
// The texture objects of the asset layer implement it.
class ShapeTexture {
public:
    virtual ~ShapeTexture() = default;
    virtual unsigned glName() const = 0;
    virtual bool isSolid() const = 0;
};
