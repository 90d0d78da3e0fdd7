#pragma once
#include <cstdint>
#include <string>

#include "scene/scene_ids.h"

class Scene;
class TextureManager;
struct QvrContents;

// Adds the models of QVR files to a scene: transforms, shapes with their own
// compiled geometry, materials, textures (loaded relative to the model file's
// folder) and texture transforms. Needs the OpenGL context: geometry is
// compiled and textures are uploaded on the way.
class QvrReader {
public:
    // textureQuality (1 to 4) is the filter quality of the model's textures.
    QvrReader(Scene& scene, TextureManager& textures, unsigned textureQuality);

    // Reads fileName and adds its transforms under parentNodeID (0: top
    // level), its textures to textureGroup. Every problem is reported and
    // shown. A file that cannot be read whole, or holds a bad index, adds
    // nothing; a problem while building keeps the nodes added before it.
    // True when the whole model was added.
    bool loadQVR(const std::string& fileName, int textureGroup, NodeID parentNodeID);

    // The build steps on contents already read and checked from fileName.
    bool build(const QvrContents& contents, const std::string& fileName, int textureGroup,
               NodeID parentNodeID);

    // The vertices the shapes of one file may compile together: far more
    // than any real model, far less than a machine's memory.
    static constexpr std::size_t VERTEX_BUDGET = 4000000;

private:
    Scene& m_scene;
    TextureManager& m_textures;
    unsigned m_textureQuality;
};
