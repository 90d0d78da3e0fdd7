#pragma once
#include <string>

#include "scene/bounds.h"

// A drawable surface that shape nodes refer to; owned by the Scene and
// shared by any number of shapes. Geometry emits normals (and texture
// coordinates when asked) and never touches colours or materials.
class Geometry {
public:
    virtual ~Geometry() = default;
    Geometry(const Geometry&) = delete;
    Geometry& operator=(const Geometry&) = delete;

    // Writes the geometry's debug-listing line.
    virtual void print() const = 0;
    // Builds a display list where the kind has one; the primitives have none.
    virtual void compile() {}
    virtual void draw(bool textured) const = 0;
    // The box around everything draw() emits, in the geometry's own space
    // (empty when it draws nothing); false when the kind cannot tell, and
    // a shape of it is then never left out of a frame.
    virtual bool bounds(Bounds3& /*out*/) const { return false; }

    const std::string& name() const { return m_sName; }
    void setName(const std::string& name) { m_sName = name; }

protected:
    Geometry() = default;

private:
    std::string m_sName;
};
