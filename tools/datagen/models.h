#pragma once
// The game's QVR models, built as engine nodes and written with the engine's
// QVR writer. Nothing here touches OpenGL: geometry is filled in but never
// compiled, and skins are referenced by file name only, so the generator
// runs without a display.
#include <memory>
#include <string>
#include <vector>

#include "image.h"
#include "mesh.h"

class Geometry;
class NodeShape;
class NodeTransform;
class ShapeTexture;
class Texture;
struct Material;

namespace datagen {

// Owns one model's node tree and the resources its shapes refer to.
class ModelBuilder {
public:
    explicit ModelBuilder(std::string modelsFolder);
    ~ModelBuilder();
    ModelBuilder(const ModelBuilder&) = delete;
    ModelBuilder& operator=(const ModelBuilder&) = delete;

    // A new transform under parent (null: the model's top node).
    NodeTransform* transform(NodeTransform* parent, const char* name);
    NodeShape* shape(NodeTransform* parent, const Mesh& mesh, Material* material,
                     ShapeTexture* skin);
    Material* material(Rgba diffuse, Rgba emission = Rgba{0, 0, 0, 1}, float specular = 0.2f,
                       float shininess = 20.0f, float alpha = 1.0f);
    // A skin written as file (lower-case) in the models folder.
    ShapeTexture* skin(const std::string& file, const Image& image, bool withAlpha);

    // Writes the model with its chunk IDs numbered in file order, so the
    // same model always gives the same bytes.
    bool write(const std::string& file, NodeTransform* top);

private:
    std::string m_folder;
    std::vector<std::unique_ptr<NodeTransform>> m_transforms;
    std::vector<std::unique_ptr<NodeShape>> m_shapes;
    std::vector<std::unique_ptr<Geometry>> m_geometries;
    std::vector<std::unique_ptr<Material>> m_materials;
    std::vector<std::unique_ptr<Texture>> m_textures;
    std::vector<std::unique_ptr<ShapeTexture>> m_surfaces;
};

// Replaces the object addresses the writer uses as chunk IDs with 1, 2, 3 ...
// in order of first appearance. False when the bytes are not a whole file.
bool renumberQvrIds(std::string& bytes);

// The skins, each a square picture with the parts of its model side by side.
Image ghostSkin();
Image crossbowSkin();
Image arrowSkin();
Image maceSkin();
Image healthPackSkin();
Image powerCellSkin();
Image arrowCaseSkin();

}  // namespace datagen
