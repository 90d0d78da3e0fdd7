#include <gtest/gtest.h>

#include <string>

#include "scene/geometry_primitives.h"
#include "scene/material.h"
#include "scene/node.h"
#include "scene/node_save.h"
#include "scene/node_shape.h"
#include "scene_test_support.h"

namespace {

TEST(NodeLinks, SecondChildFindsItsParentThroughTheChain) {
    NodeTransform parent, first, second, third;
    EXPECT_FALSE(first.attachTo(nullptr));
    EXPECT_EQ(first.getParent(), nullptr);

    ASSERT_TRUE(first.attachTo(&parent));
    ASSERT_TRUE(second.attachTo(&parent));
    ASSERT_TRUE(third.attachTo(&parent));
    EXPECT_EQ(parent.child(), &first);
    EXPECT_EQ(first.parentLink(), &parent);
    EXPECT_EQ(second.parentLink(), nullptr);
    EXPECT_EQ(third.parentLink(), nullptr);
    EXPECT_EQ(second.getParent(), &parent);
    EXPECT_EQ(third.getParent(), &parent);
    EXPECT_EQ(first.next(), &second);
    EXPECT_EQ(third.prev(), &second);

    NodeTransform lone, sibling;
    EXPECT_FALSE(sibling.attachAsSiblingOf(nullptr));
    ASSERT_TRUE(sibling.attachAsSiblingOf(&lone));
    EXPECT_EQ(lone.next(), &sibling);
    EXPECT_EQ(sibling.getParent(), nullptr);

    // Appending after a middle node goes to the end of its chain.
    NodeTransform late;
    ASSERT_TRUE(late.attachAsSiblingOf(&first));
    EXPECT_EQ(third.next(), &late);
    EXPECT_EQ(late.getParent(), &parent);
}

TEST(NodeLinks, IsInSubtreeCoversEveryLevelButNotItself) {
    NodeTransform root, a, b, aChild, deep, outside;
    a.attachTo(&root);
    b.attachTo(&root);
    aChild.attachTo(&a);
    deep.attachTo(&b);
    outside.attachAsSiblingOf(&root);
    EXPECT_TRUE(root.isInSubtree(&a));
    EXPECT_TRUE(root.isInSubtree(&deep));
    EXPECT_TRUE(root.isInSubtree(&aChild));
    EXPECT_FALSE(root.isInSubtree(&root));
    EXPECT_FALSE(root.isInSubtree(&outside));
    EXPECT_FALSE(a.isInSubtree(&deep));
}

TEST(NodeNames, SetNameCopiesAndNullClears) {
    NodeTransform node;
    EXPECT_EQ(node.getName(), nullptr);
    std::string text = "door";
    EXPECT_TRUE(node.setName(text.c_str()));
    text[0] = 'X';
    EXPECT_STREQ(node.getName(), "door");
    EXPECT_FALSE(node.setName(nullptr));
    EXPECT_EQ(node.getName(), nullptr);
}

TEST(NodeNames, FindByNameIsPreOrderAcrossSiblings) {
    NodeTransform root, a, aChild, b, later;
    root.setName("hit");
    a.setName("a");
    aChild.setName("target");
    b.setName("target");
    later.setName("later");
    a.attachTo(&root);
    aChild.attachTo(&a);
    b.attachTo(&root);
    later.attachAsSiblingOf(&root);
    NodeTransform unnamed;
    unnamed.attachTo(&later);

    EXPECT_EQ(root.findByName("hit"), &root);  // itself before its children
    EXPECT_EQ(root.findByName("target"), &aChild);
    EXPECT_EQ(root.findByName("later"), &later);
    EXPECT_EQ(a.findByName("later"), nullptr);  // only later siblings of a
    EXPECT_EQ(root.findByName("none"), nullptr);
    EXPECT_EQ(root.findByName(""), nullptr);
    EXPECT_EQ(root.findByName(nullptr), nullptr);
}

TEST(NodeTransformTest, DefaultsCopyAndAxis) {
    NodeTransform t;
    EXPECT_TRUE(t.isTransform());
    EXPECT_FALSE(t.isShape());
    EXPECT_EQ(t.m_vScale, Vector3(1, 1, 1));
    EXPECT_EQ(t.axis(), Vector3(0, 0, 1));
    EXPECT_FALSE(t.usesMatrix());

    EXPECT_TRUE(t.setAxis(0, 3, 4));
    EXPECT_FLOAT_EQ(t.axis().y, 0.6f);
    EXPECT_FALSE(t.setAxis(0, 0, 1e-8f));
    EXPECT_EQ(t.axis(), Vector3(0, 0, 0));

    NodeTransform source, child;
    source.setName("src");
    source.m_vTranslation = Vector3(1, 2, 3);
    source.m_vCentre = Vector3(4, 5, 6);
    source.m_vScale = Vector3(2, 2, 2);
    source.m_fAngle = 45;
    source.setAxis(1, 0, 0);
    float m[16] = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 7, 8, 9, 1};
    source.setMatrix(m);
    source.setUseMatrix(true);
    source.setVisible(false);
    child.attachTo(&source);

    NodeTransform copy(source);
    EXPECT_EQ(copy.getName(), nullptr);
    EXPECT_EQ(copy.child(), nullptr);
    EXPECT_FALSE(copy.isVisible());
    EXPECT_EQ(copy.m_vTranslation, source.m_vTranslation);
    EXPECT_EQ(copy.m_vCentre, source.m_vCentre);
    EXPECT_EQ(copy.m_vScale, source.m_vScale);
    EXPECT_EQ(copy.m_fAngle, 45.0f);
    EXPECT_EQ(copy.axis(), Vector3(1, 0, 0));
    EXPECT_TRUE(copy.usesMatrix());
    EXPECT_EQ(copy.matrix().m[12], 7.0f);
}

TEST(NodePrint, ListingLinesFollowTheTree) {
    LoggedReporter log;
    GeometryBox box(1, 1, 1);
    Material material;
    NodeTransform root, hidden, sibling;
    NodeShape shape(&box);
    root.setName("hall");
    root.m_vTranslation = Vector3(1, 0, -2);
    root.m_fAngle = 90;
    hidden.setVisible(false);
    hidden.setAxis(0, 0, 0);
    shape.setName("wall");
    shape.setMaterial(&material);
    hidden.attachTo(&root);
    shape.attachTo(&hidden);
    sibling.attachAsSiblingOf(&root);

    root.print(0, true);
    root.print(1, false);
    std::vector<std::string> lines = log.lines();
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(
        lines[0],
        "Transform name_hall trans_1.000000,0.000000,-2.000000 axis_0.000000,0.000000,1.000000 "
        "angle_90.000000");
    EXPECT_EQ(lines[1], "+Transform vis_0");
    EXPECT_EQ(lines[2], "++Shape name_wall geoID_" +
                            std::to_string(reinterpret_cast<long long>(&box)) + " matID_" +
                            std::to_string(reinterpret_cast<long long>(&material)));
    EXPECT_EQ(lines[3], "Transform axis_0.000000,0.000000,1.000000");
    EXPECT_EQ(lines[4], "+Transform name_hall");
    EXPECT_EQ(lines[5], "++Transform");
    EXPECT_EQ(lines[6], "+++Shape name_wall");
    EXPECT_EQ(lines[7], "+Transform");
}

// The listing is a debugging aid: it must not overwrite a failure stored
// for the main loop to show.
TEST(NodePrint, ListingLeavesTheStoredErrorAlone) {
    LoggedReporter log;
    log.reporter().setError(ERROR_GAME, "Can not open %s.", "wall.tga");
    NodeTransform node;
    node.print(0, false);
    EXPECT_EQ(log.reporter().getErrorKind(), ERROR_GAME);
    EXPECT_EQ(log.reporter().getMessage(), "Can not open wall.tga.");
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"Can not open wall.tga.", "Transform"}));
}

TEST(NodePrint, DepthAbove32IsMarkedInvalid) {
    LoggedReporter log;
    NodeTransform node;
    node.print(33, false);
    node.print(32, false);
    std::vector<std::string> lines = log.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "INVALID DEPTH(33): Transform");
    EXPECT_EQ(lines[1], std::string(32, '+') + "Transform");
}

// Records what the nodes write, failing on request.
class RecordingStream : public NodeSaveStream {
public:
    bool writeTransformHeader(const NodeTransform& node, long long parentId) override {
        log += "T(" + name(node) + "," + std::to_string(parentId != 0) + ")";
        return !failTransformHeader;
    }
    bool writeTransformBody(const NodeTransform&) override { return true; }
    bool writeShapeHeader(const NodeShape& node, long long parentId) override {
        log += "S(" + name(node) + "," + std::to_string(parentId != 0) + ")";
        return true;
    }
    bool writeShapeBody(const NodeShape&) override { return !failShapeBody; }

    static std::string name(const Node& node) { return node.getName() ? node.getName() : "?"; }
    std::string log;
    bool failTransformHeader = false;
    bool failShapeBody = false;
};

class CountingCollector : public NodeResourceCollector {
public:
    void addGeometry(const Geometry*) override { ++geometries; }
    void addMaterial(const Material*) override { ++materials; }
    void addTexture(const ShapeTexture*) override { ++textures; }
    void addTextureTransform(const TextureTransform*) override { ++transforms; }
    int geometries = 0, materials = 0, textures = 0, transforms = 0;
};

TEST(NodeSave, TopTransformStopsAtItsSubtreeAndFailuresAreShown) {
    LoggedReporter log;
    MessageBoxRecorder boxes;
    GeometryBox box(1, 1, 1);
    Material material;
    NodeTransform top, inner, after;
    NodeShape s1(&box), s2(&box);
    top.setName("top");
    inner.setName("inner");
    after.setName("after");
    s1.setName("s1");
    s2.setName("s2");
    s2.setMaterial(&material);
    inner.attachTo(&top);
    s1.attachTo(&inner);
    s2.attachTo(&top);
    after.attachAsSiblingOf(&top);

    RecordingStream stream;
    CountingCollector collector;
    EXPECT_TRUE(top.save(stream, collector, true));
    EXPECT_EQ(stream.log, "T(top,0)T(inner,1)S(s1,1)S(s2,1)");
    EXPECT_EQ(collector.geometries, 2);
    EXPECT_EQ(collector.materials, 1);
    EXPECT_EQ(collector.textures, 0);

    RecordingStream failing;
    failing.failShapeBody = true;
    EXPECT_FALSE(top.save(failing, collector, true));
    EXPECT_EQ(failing.log, "T(top,0)T(inner,1)S(s1,1)");
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(log.reporter().getMessage(), "No Error.");
    std::vector<std::string> lines = log.lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "Can not save shape node data");
}

}  // namespace

namespace {

std::string id(const void* p) {
    return std::to_string(reinterpret_cast<long long>(p));
}

TEST(GeometryPrint, ParametersAppearOnlyWhenNotTheirDefaults) {
    LoggedReporter log;
    GeometryBox unitBox(1, 1, 1);
    GeometryBox box(2, 1, 0.5f);
    GeometryCylinder cylinder(20, 1, 3, false);
    GeometrySphere sphere(1, 20, 8);
    GeometryFlatGrid grid(4, 1, 2, 1);
    unitBox.print();
    box.print();
    cylinder.print();
    sphere.print();
    grid.print();
    std::vector<std::string> lines = log.lines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "Box geoID_" + id(&unitBox));
    EXPECT_EQ(lines[1], "Box geoID_" + id(&box) + " wid_2.000000 hei_0.500000");
    EXPECT_EQ(lines[2], "Cyl geoID_" + id(&cylinder) + " hei_3.000000 smooth_0");
    EXPECT_EQ(lines[3], "Sphere geoID_" + id(&sphere) + " numV_8");
    EXPECT_EQ(lines[4], "Grid geoID_" + id(&grid) + " wid_4.000000 numX_2");
}

}  // namespace
