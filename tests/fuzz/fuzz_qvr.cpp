// QVR model files, read and built into a scene (without a GL context the
// GL calls do nothing; no texture the input names exists).
#include "assets/qvr_reader.h"
#include "assets/texture_manager.h"
#include "fuzz_support.h"
#include "scene/scene.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string path = fuzzEnvironment().write(data, size, "model.qvr");
    TextureManager textures;
    Scene scene;
    NodeID holder = scene.addNode(new NodeTransform, 0);
    QvrReader reader(scene, textures, 3);
    reader.loadQVR(path, 1, holder);
    return 0;
}
