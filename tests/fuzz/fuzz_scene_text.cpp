// Scene text files, read into a scene.
#include "assets/scene_text.h"
#include "assets/texture_manager.h"
#include "fuzz_support.h"
#include "scene/scene.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string path = fuzzEnvironment().write(data, size, "objects.lvl");
    TextureManager textures;
    Scene scene;
    SceneTextReader reader(scene, textures, 3);
    reader.loadSceneText(path.c_str(), 1);
    return 0;
}
