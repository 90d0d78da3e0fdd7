#pragma once
#include <cstdint>

#include "scene/color.h"
#include "scene/matrix.h"
#include "scene/node.h"
#include "scene/vector.h"

enum LightType : std::int32_t {
    LIGHT_POINT = 0,
    LIGHT_DIRECTIONAL = 1,
    LIGHT_SPOT = 2,
};

// A fixed-function OpenGL light. Its slot is its position in the Scene's
// light list; its position and direction are interpreted under m_mMatrix
// (identity: eye coordinates), which a NodeLight refreshes every frame.
class Light {
public:
    virtual ~Light() = default;
    Light(const Light&) = delete;
    Light& operator=(const Light&) = delete;

    virtual void print() const = 0;
    virtual void setPosition(float x, float y, float z) = 0;
    virtual void setDirection(float x, float y, float z) = 0;
    // Enables GL_LIGHT0 + slot and sets it up from this light.
    void apply(unsigned slot);

    void setOn(bool on) { m_bOn = on; }
    bool isOn() const { return m_bOn; }
    void setAmbient(float r, float g, float b, float a);
    void setDiffuse(float r, float g, float b, float a);
    void setSpecular(float r, float g, float b, float a);
    // Negative factors become 0.
    void setAttenuation(float constant, float linear, float quadratic);
    // Clamped into 0..128.
    void setSpotExponent(float e);
    // Clamped into 0..90.
    void setSpotCutoff(float c);
    void setMatrix(const float* sixteen) { m_mMatrix.set(sixteen); }
    void disable(unsigned slot);

    LightType type() const { return m_eLightType; }
    unsigned glLight() const { return m_eGLLight; }
    const float* ambient() const { return m_cAmbient; }
    const float* diffuse() const { return m_cDiffuse; }
    const float* specular() const { return m_cSpecular; }
    const float* position() const { return m_vPosition; }
    const Vector3& spotDirection() const { return m_vSpotDirection; }
    float spotExponent() const { return m_fSpotExponent; }
    float spotCutoff() const { return m_fSpotCutoff; }
    Vector3 attenuation() const {
        return Vector3(m_fConstantAtten, m_fLinearAtten, m_fQuadraticAtten);
    }
    const Matrix4& matrix() const { return m_mMatrix; }

    // The implementation's light count, read when a light is created (8
    // until then).
    static int maxLights();

protected:
    // Reads GL_MAX_LIGHTS, so it needs the OpenGL context.
    Light();
    virtual void applyKindSettings() const = 0;
    void appendColours(class ListingLine& line) const;

    LightType m_eLightType = LIGHT_POINT;
    bool m_bOn = false;
    unsigned m_eGLLight = 0;
    // Colours are stored as given (no clamping), so they are plain floats.
    float m_cAmbient[4] = {0, 0, 0, 1};
    float m_cDiffuse[4] = {1, 1, 1, 1};
    float m_cSpecular[4] = {1, 1, 1, 1};
    float m_fSpotExponent = 0.0f;
    float m_fSpotCutoff = 180.0f;
    float m_fConstantAtten = 1.0f;
    float m_fLinearAtten = 0.0f;
    float m_fQuadraticAtten = 0.0f;
    float m_vPosition[4] = {0, 0, 0, 0};
    Vector3 m_vSpotDirection{0.0f, 0.0f, -1.0f};
    Matrix4 m_mMatrix;
};

class LightPoint : public Light {
public:
    LightPoint();
    void print() const override;
    void setPosition(float x, float y, float z) override;
    void setDirection(float, float, float) override {}

protected:
    void applyKindSettings() const override;
};

// Position (x, y, z, 0): the light travels along -(x, y, z).
class LightDirectional : public Light {
public:
    LightDirectional();
    void print() const override;
    void setPosition(float, float, float) override {}
    void setDirection(float x, float y, float z) override;

protected:
    void applyKindSettings() const override {}
};

class LightSpot : public Light {
public:
    LightSpot();
    void print() const override;
    void setPosition(float x, float y, float z) override;
    void setDirection(float x, float y, float z) override;

protected:
    void applyKindSettings() const override;
};

// Places a light in the graph: during the walk it hands the model-view
// matrix at its place to the light (used from the next light pass on).
class NodeLight : public Node {
public:
    explicit NodeLight(Light* light) : Node(NODE_LIGHT), m_pLight(light) {}
    Light* light() const { return m_pLight; }
    const Matrix4& modelView() const { return m_mModelView; }

protected:
    bool saveSelf(NodeSaveStream& stream, NodeResourceCollector& collector, bool isTop) override;
    void renderSelf(bool transparentPass) override;
    void describe(ListingLine& line, bool detailed) const override;

private:
    Light* m_pLight;
    Matrix4 m_mModelView;
};
