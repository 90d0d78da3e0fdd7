#include <gtest/gtest.h>

#include <string>

#include "scene/geometry_primitives.h"
#include "scene/material.h"
#include "scene/node.h"
#include "scene/scene.h"
#include "scene_test_support.h"

namespace {

// A node type the container does not know, to see that rejected nodes are
// deleted.
class CountedTransform : public NodeTransform {
public:
    explicit CountedTransform(int& alive) : m_alive(alive) { ++m_alive; }
    ~CountedTransform() override { --m_alive; }

private:
    int& m_alive;
};

class CountedShape : public NodeShape {
public:
    CountedShape(Geometry* g, int& alive) : NodeShape(g), m_alive(alive) { ++m_alive; }
    ~CountedShape() override { --m_alive; }

private:
    int& m_alive;
};

class FakeTexture : public ShapeTexture {
public:
    unsigned glName() const override { return 7; }
    bool isSolid() const override { return true; }
};

class FakeHooks : public SceneHooks {
public:
    ShapeTexture* findTexture(int group, std::uint32_t id) override {
        return group == 1 && id == 3 ? &texture : nullptr;
    }
    void releaseContentGroup(int group) override { released.push_back(group); }
    FakeTexture texture;
    std::vector<int> released;
};

class SceneContainerTest : public ::testing::Test {
protected:
    std::string message() { return log.reporter().getMessage(); }
    int kind() { return log.reporter().getErrorKind(); }

    LoggedReporter log;
    MessageBoxRecorder boxes;
    Scene scene;
};

TEST_F(SceneContainerTest, RootLevelTransformsChainAsSiblings) {
    NodeTransform* root = new NodeTransform;
    NodeTransform* second = new NodeTransform;
    EXPECT_EQ(scene.addNode(root, 0), 1u);
    EXPECT_EQ(scene.addNode(second, 0), 2u);
    EXPECT_EQ(root->next(), second);
    EXPECT_EQ(root->child(), nullptr);
    EXPECT_EQ(scene.getNodeID(second), 2u);
    NodeTransform stranger;
    EXPECT_EQ(scene.getNodeID(&stranger), 0u);
}

TEST_F(SceneContainerTest, EveryAddNodeRejectionDeletesTheNodeWithItsMessage) {
    int alive = 0;
    GeometryBox* box = new GeometryBox(1, 1, 1);
    scene.addGeometry(box);

    EXPECT_EQ(scene.addNode(nullptr, 0), 0u);
    EXPECT_EQ(message(), "Can not add Node to scene");
    EXPECT_EQ(kind(), ERROR_GAME);

    EXPECT_EQ(scene.addNode(new CountedShape(box, alive), 0), 0u);
    EXPECT_EQ(message(),
              "Can not add this Node to root.  Only\nTransform nodes are allowed in the root.");
    EXPECT_EQ(alive, 0);

    ASSERT_EQ(scene.addNode(new NodeTransform, 0), 1u);
    EXPECT_EQ(scene.addNode(new CountedTransform(alive), 2), 0u);
    EXPECT_EQ(message(), "Can not add this Node under NodeID=2.\nNodeID=2 does not exist.");
    EXPECT_EQ(alive, 0);

    // Under the current count succeeds.
    ASSERT_EQ(scene.addNode(new NodeShape(box), 1), 2u);
    EXPECT_EQ(scene.addNode(new CountedShape(box, alive), 2), 0u);
    EXPECT_EQ(message(),
              "Can not add this Node under NodeID=2.\nNodeID=2 is not a transform node.");
    EXPECT_EQ(alive, 0);
    EXPECT_EQ(scene.nodeCount(), 2u);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(SceneContainerTest, AddOperationsNumberFromOneAndRejectNull) {
    EXPECT_EQ(scene.addGeometry(new GeometryBox(1, 1, 1)), 1u);
    EXPECT_EQ(scene.addGeometry(nullptr), 0u);
    EXPECT_EQ(message(), "Can not add Geometry to list");
    EXPECT_EQ(scene.addMaterial(new Material), 1u);
    EXPECT_EQ(scene.addMaterial(nullptr), 0u);
    EXPECT_EQ(message(), "Can not add Material to list");
    EXPECT_EQ(scene.addTextureTransform(new TextureTransform), 1u);
    EXPECT_EQ(scene.addTextureTransform(nullptr), 0u);
    EXPECT_EQ(message(), "Can not add TextureTransform to list");
    EXPECT_EQ(scene.addLight(nullptr), -1);
    EXPECT_EQ(message(), "Can not add light to scene");
    EXPECT_EQ(kind(), ERROR_GAME);
    EXPECT_EQ(scene.geometryCount(), 1u);
    EXPECT_EQ(scene.lightCount(), 0u);
}

TEST_F(SceneContainerTest, SettersCheckTheirArgumentsInOrder) {
    GeometryBox* box = new GeometryBox(1, 1, 1);
    scene.addGeometry(box);
    scene.addNode(new NodeTransform, 0);
    NodeID shapeID = scene.addNode(new NodeShape(box), 1);
    MaterialID materialID = scene.addMaterial(new Material);
    std::uint32_t tfmID = scene.addTextureTransform(new TextureTransform);
    FakeHooks hooks;
    scene.setHooks(&hooks);

    // The material ID is looked at before the shape ID.
    EXPECT_FALSE(scene.setShapeMaterial(99, 0));
    EXPECT_EQ(message(), "Invalid MaterialID 0");
    EXPECT_FALSE(scene.setShapeMaterial(99, 2));
    EXPECT_EQ(message(), "Invalid MaterialID 2");
    EXPECT_FALSE(scene.setShapeMaterial(0, materialID));
    EXPECT_EQ(message(), "Invalid ShapeID 0");
    EXPECT_FALSE(scene.setShapeMaterial(3, materialID));
    EXPECT_EQ(message(), "Invalid ShapeID 3");
    EXPECT_FALSE(scene.setShapeMaterial(1, materialID));
    EXPECT_EQ(message(), "ID 1 does not belong to a shape");
    auto* shape = static_cast<NodeShape*>(scene.node(shapeID));
    EXPECT_EQ(shape->material(), nullptr);
    EXPECT_TRUE(scene.setShapeMaterial(shapeID, materialID));
    EXPECT_EQ(shape->material(), scene.material(materialID));

    EXPECT_FALSE(scene.setShapeTextureTfm(1, 5));
    EXPECT_EQ(message(), "Invalid uiTextureTfmID 5");
    EXPECT_FALSE(scene.setShapeTextureTfm(1, tfmID));
    EXPECT_EQ(message(), "ID 1 does not belong to a shape");
    EXPECT_TRUE(scene.setShapeTextureTfm(shapeID, tfmID));
    EXPECT_EQ(shape->textureTransform(), scene.textureTransform(tfmID));

    // The shape is checked before the texture.
    EXPECT_FALSE(scene.setShapeTexture(1, 0, 9));
    EXPECT_EQ(message(), "ID 1 does not belong to a shape");
    EXPECT_FALSE(scene.setShapeTexture(shapeID, 0, 9));
    EXPECT_EQ(message(), "Invalid TextureID (Group: 0, ID: 9)");
    EXPECT_EQ(shape->texture(), nullptr);
    EXPECT_TRUE(scene.setShapeTexture(shapeID, 1, 3));
    EXPECT_EQ(shape->texture(), &hooks.texture);
    EXPECT_EQ(kind(), ERROR_GAME);
    scene.setHooks(nullptr);
}

TEST_F(SceneContainerTest, CopySubtreeStampsNamedCopiesWithTheirChildren) {
    GeometryBox* box = new GeometryBox(1, 1, 1);
    scene.addGeometry(box);
    Material* material = new Material;
    scene.addMaterial(material);
    NodeID piece = scene.addNode(new NodeTransform, 0);
    scene.node(piece)->setName("piece");
    static_cast<NodeTransform*>(scene.node(piece))->m_vTranslation = Vector3(3, 0, 0);
    NodeID inner = scene.addNode(new NodeTransform, piece);
    scene.node(inner)->setName("inner");
    NodeID shape = scene.addNode(new NodeShape(box), inner);
    scene.setShapeMaterial(shape, 1);
    scene.addNode(new NodeShape(box), piece);  // unnamed

    ASSERT_TRUE(scene.copySubtree(scene.node(piece), "N", 25, 0));
    EXPECT_EQ(scene.nodeCount(), 4u + 25u * 4u);
    Node* root = scene.node(1);
    Node* copy = root->next();
    for (int i = 1; i <= 25; ++i) {
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(std::string(copy->getName()), "N_" + std::to_string(i));
        EXPECT_EQ(static_cast<NodeTransform*>(copy)->m_vTranslation, Vector3(3, 0, 0));
        ASSERT_NE(copy->child(), nullptr);
        EXPECT_STREQ(copy->child()->getName(), "inner");
        auto* copiedShape = static_cast<NodeShape*>(copy->child()->child());
        ASSERT_NE(copiedShape, nullptr);
        EXPECT_EQ(copiedShape->geometry(), box);
        EXPECT_EQ(copiedShape->material(), material);
        EXPECT_EQ(copy->child()->next()->getName(), nullptr);
        copy = copy->next();
    }
    EXPECT_EQ(copy, nullptr);

    // One copy keeps the name as given; a shape may go under a transform.
    ASSERT_TRUE(scene.copySubtree(scene.node(shape), "single", 1, piece));
    EXPECT_NE(scene.findByName("single"), nullptr);
    EXPECT_EQ(scene.findByName("single")->getParent(), scene.node(piece));
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(SceneContainerTest, CopySubtreeRejectsBeforeAddingAnything) {
    GeometryBox* box = new GeometryBox(1, 1, 1);
    scene.addGeometry(box);
    NodeID top = scene.addNode(new NodeTransform, 0);
    NodeID child = scene.addNode(new NodeTransform, top);
    NodeID shape = scene.addNode(new NodeShape(box), child);

    struct Case {
        Node* source;
        unsigned copies;
        NodeID dest;
        const char* text;
    } cases[] = {
        {nullptr, 1, 0, "Invalid source scenegraph node specified"},
        {scene.node(top), 0, 0, "Invalid number of copies specified. Limit is set to 99."},
        {scene.node(top), 100, 0, "Invalid number of copies specified. Limit is set to 99."},
        {scene.node(top), 1, 4, "Invalid destination node ID specified"},
        {scene.node(top), 1, child,
         "Invalid destination node ID specified. Destination node is a child of the root node"},
        // Into itself: would copy its own copies without end.
        {scene.node(top), 2, top,
         "Invalid destination node ID specified. Destination node is a child of the root node"},
        {scene.node(shape), 1, 0,
         "Selected scenegraph tree must be nested under a transform node or placed at the root."},
        {scene.node(shape), 1, shape,
         "Selected scenegraph tree must be nested under a transform node or placed at the root."},
    };
    for (const Case& c : cases) {
        boxes.clear();
        EXPECT_FALSE(scene.copySubtree(c.source, "x", c.copies, c.dest)) << c.text;
        ASSERT_EQ(boxes.boxes().size(), 1u) << c.text;
        EXPECT_EQ(boxes.boxes()[0].text, c.text);
        EXPECT_EQ(message(), "No Error.");
        EXPECT_EQ(kind(), 0);
        EXPECT_EQ(scene.nodeCount(), 3u);
    }
    std::vector<std::string> lines = log.lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1], "No Error.");

    // 99 copies is the limit, not beyond it.
    EXPECT_TRUE(scene.copySubtree(scene.node(child), "c", 99, top));
    EXPECT_EQ(scene.nodeCount(), 3u + 99u * 2u);
}

TEST_F(SceneContainerTest, ClearSceneEmptiesEverythingAndNumberingRestarts) {
    FakeHooks hooks;
    scene.setHooks(&hooks);
    scene.addGeometry(new GeometryBox(1, 1, 1));
    scene.addMaterial(new Material);
    scene.addTextureTransform(new TextureTransform);
    scene.addNode(new NodeTransform, 0);
    scene.addNode(new NodeTransform, 1);

    scene.clearScene(1);
    EXPECT_EQ(scene.nodeCount(), 0u);
    EXPECT_EQ(scene.geometryCount(), 0u);
    EXPECT_EQ(scene.materialCount(), 0u);
    EXPECT_EQ(scene.textureTransformCount(), 0u);
    ASSERT_EQ(hooks.released.size(), 1u);
    EXPECT_EQ(hooks.released[0], 1);

    EXPECT_EQ(scene.addGeometry(new GeometryBox(1, 1, 1)), 1u);
    EXPECT_EQ(scene.addMaterial(new Material), 1u);
    EXPECT_EQ(scene.addTextureTransform(new TextureTransform), 1u);
    EXPECT_EQ(scene.addNode(new NodeTransform, 0), 1u);
    EXPECT_EQ(scene.findByName("anything"), nullptr);
    scene.setHooks(nullptr);
}

TEST_F(SceneContainerTest, FindByNameSearchesTheWholeGraph) {
    EXPECT_EQ(scene.findByName("x"), nullptr);
    scene.addNode(new NodeTransform, 0);
    NodeID second = scene.addNode(new NodeTransform, 0);
    NodeID deep = scene.addNode(new NodeTransform, second);
    scene.node(deep)->setName("x");
    EXPECT_EQ(scene.findByName("x"), scene.node(deep));
}

}  // namespace
