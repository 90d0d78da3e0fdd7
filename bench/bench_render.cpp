// The play view's render pass (camera, lights, opaque walk, deferred
// see-through shapes sorted back to front) over scenes of box shapes, drawn
// by Mesa's llvmpipe in a hidden window. Run under Xvfb:
//   xvfb-run -a -s "-screen 0 1280x1024x24" bench_render
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <memory>

#include "platform/window.h"
#include "scene/geometry_primitives.h"
#include "scene/light.h"
#include "scene/material.h"
#include "scene/node.h"
#include "scene/node_shape.h"
#include "scene/scene.h"

namespace {

struct GLWindow {
    GLWindow() {
        ok = platform::startWindowSystem() &&
             window.create("bench", 320, 240, false, 32) == platform::CreateResult::Ok &&
             window.createContext() && window.makeCurrent();
    }
    ~GLWindow() {
        window.deleteContext();
        window.destroyWindow();
        platform::stopWindowSystem();
    }
    platform::Window window;
    bool ok = false;
};

GLWindow& glWindow() {
    static GLWindow w;
    return w;
}

// A maze-like field of boxes: rows of walls under one transform per row,
// every tenth box see-through.
std::unique_ptr<Scene> buildScene(int boxes) {
    auto scene = std::make_unique<Scene>();
    auto* sun = new LightDirectional;
    sun->setDirection(-0.3f, -1, -0.2f);
    scene->addLight(sun);
    auto* lamp = new LightPoint;
    lamp->setPosition(0, 2, -5);
    scene->addLight(lamp);
    GeometryBox* box = new GeometryBox(1, 1, 2);
    scene->addGeometry(box);
    auto* stone = new Material;
    stone->m_cDiffuse = Color4(0.6f, 0.6f, 0.55f, 1.0f);
    MaterialID stoneID = scene->addMaterial(stone);
    auto* glass = new Material;
    glass->m_cDiffuse = Color4(0.5f, 0.6f, 1.0f, 0.5f);
    MaterialID glassID = scene->addMaterial(glass);

    const int perRow = 100;
    NodeID row = 0;
    for (int i = 0; i < boxes; ++i) {
        if (i % perRow == 0) {
            auto* rowNode = new NodeTransform;
            rowNode->m_vTranslation = Vector3(-perRow / 2.0f, -1.0f, -2.0f - (i / perRow));
            row = scene->addNode(rowNode, 0);
        }
        auto* cell = new NodeTransform;
        cell->m_vTranslation = Vector3(static_cast<float>(i % perRow), 0, 0);
        NodeID cellID = scene->addNode(cell, row);
        NodeID shape = scene->addNode(new NodeShape(box), cellID);
        scene->setShapeMaterial(shape, i % 10 == 0 ? glassID : stoneID);
    }
    return scene;
}

void BM_RenderPass(benchmark::State& state) {
    if (!glWindow().ok) {
        state.SkipWithError("no OpenGL window (run under Xvfb)");
        return;
    }
    const int boxes = static_cast<int>(state.range(0));
    std::unique_ptr<Scene> scene = buildScene(boxes);
    glViewport(0, 0, 320, 240);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, 320.0 / 240.0, 0.1, 200.0);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glEnable(GL_NORMALIZE);
    scene->camera().set(Vector3(0, 3, 4), Vector3(0, 0, -20), Vector3(0, 1, 0));
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        scene->renderScene();
        // Wait for the rasteriser so that the frame's whole cost is counted.
        glFinish();
    }
    state.counters["deferred"] = static_cast<double>(scene->deferred().size());
    state.SetItemsProcessed(state.iterations() * boxes);
}

BENCHMARK(BM_RenderPass)->Arg(1000)->Arg(4000)->Arg(16000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
