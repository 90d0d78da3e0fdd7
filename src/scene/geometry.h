#pragma once
#include <string>

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

    const std::string& name() const { return m_sName; }
    void setName(const std::string& name) { m_sName = name; }

protected:
    Geometry() = default;

private:
    std::string m_sName;
};
