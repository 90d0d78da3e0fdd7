// QVR models loaded into a scene with a GL context: the round trip through
// the writer and the reader, texture paths, and the build rules.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/error_reporter.h"
#include "assets/qvr_reader.h"
#include "assets/qvr_test_support.h"
#include "assets/qvr_writer.h"
#include "assets/tga_builder.h"
#include "scene/geometry_compiled.h"
#include "scene/material.h"
#include "scene/node.h"
#include "scene/node_shape.h"
#include "support/gl_context.h"
#include "support/message_box_recorder.h"
#include "support/temp_dir.h"
#include "support/x11_helpers.h"

namespace {

// A scene with its own texture manager wired in.
struct TexturedScene {
    TextureManager textures;
    TextureHooks hooks{textures};
    Scene scene;
    TexturedScene() { scene.setHooks(&hooks); }
};

class QvrGlTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!x11::displayAvailable() || !GLTestContext::shared().ok()) {
            GTEST_SKIP() << "no GL context";
        }
        std::filesystem::create_directories(dir.file("models"));
        writeFile(dir.file("models/skin.tga"), buildTga(Picture::gradient(4, 4), TgaLayout{}));
    }

    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};
    MessageBoxRecorder boxes;
    ErrorReporter reporter{nullptr, false};
    TexturedScene target;
    QvrReader reader{target.scene, target.textures, 2};

    std::vector<std::string> shown() const {
        std::vector<std::string> texts;
        for (const auto& box : boxes.boxes()) {
            texts.push_back(box.text);
        }
        return texts;
    }

    static GeometryCompiled* makeGeometry(bool textured, bool perVertex) {
        auto* g = new GeometryCompiled(perVertex, textured);
        const float faceNormals[] = {0, 0, 1, 0, 1, 0};
        const float cornerNormals[] = {0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 1, 0, 0, 1, 0, 0, 1, 0};
        const float vertices[] = {0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0, 0, 0, 1};
        const float tex[] = {0, 0, 1, 0, 0, 1, 1, 1};
        const std::uint32_t indices[] = {0, 1, 2, 1, 3, 4};
        const std::uint32_t texIndices[] = {0, 1, 2, 1, 3, 2};
        g->setNormals(perVertex ? cornerNormals : faceNormals, perVertex ? 18 : 6);
        g->setVertices(vertices, 15);
        g->setVertexIndices(indices, 6);
        if (textured) {
            g->setTexCoords(tex, 8);
            g->setTexCoordIndices(texIndices, 6);
        }
        return g;
    }
};

void expectSameColour(const Color4& a, const Color4& b) {
    EXPECT_TRUE(a.equals(b.r, b.g, b.b, b.a));
}

void expectSameGeometry(const Geometry* a, const Geometry* b) {
    const auto* x = dynamic_cast<const GeometryCompiled*>(a);
    const auto* y = dynamic_cast<const GeometryCompiled*>(b);
    ASSERT_NE(x, nullptr);
    ASSERT_NE(y, nullptr);
    EXPECT_NE(x, y);
    EXPECT_EQ(x->perVertexNormals(), y->perVertexNormals());
    EXPECT_EQ(x->hasTexCoords(), y->hasTexCoords());
    EXPECT_EQ(x->normals(), y->normals());
    EXPECT_EQ(x->vertices(), y->vertices());
    ASSERT_EQ(x->texCoords().size(), y->texCoords().size());
    for (std::size_t i = 0; i < x->texCoords().size(); ++i) {
        EXPECT_EQ(x->texCoords()[i].x, y->texCoords()[i].x);
        EXPECT_EQ(x->texCoords()[i].y, y->texCoords()[i].y);
    }
    EXPECT_EQ(x->vertexIndices(), y->vertexIndices());
    EXPECT_EQ(x->texCoordIndices(), y->texCoordIndices());
    EXPECT_NE(y->displayList(), GeometryCompiled::NO_LIST);
    EXPECT_EQ(y->numTriangles(), 2);
}

// Walks both trees together: same shape of tree, same nodes.
void expectSameTree(const Node* a, const Node* b) {
    for (; a != nullptr || b != nullptr; a = a->next(), b = b->next()) {
        ASSERT_NE(a, nullptr);
        ASSERT_NE(b, nullptr);
        ASSERT_EQ(a->type(), b->type());
        EXPECT_STREQ(a->getName(), b->getName());
        EXPECT_EQ(a->isVisible(), b->isVisible());
        if (a->isTransform()) {
            const auto* x = static_cast<const NodeTransform*>(a);
            const auto* y = static_cast<const NodeTransform*>(b);
            EXPECT_EQ(x->m_vTranslation, y->m_vTranslation);
            EXPECT_EQ(x->m_vCentre, y->m_vCentre);
            EXPECT_EQ(x->m_vScale, y->m_vScale);
            EXPECT_EQ(x->axis(), y->axis());
            EXPECT_EQ(x->m_fAngle, y->m_fAngle);
            for (int i = 0; i < 16; ++i) {
                EXPECT_EQ(x->matrix().m[i], y->matrix().m[i]);
            }
        } else if (a->isShape()) {
            const auto* x = static_cast<const NodeShape*>(a);
            const auto* y = static_cast<const NodeShape*>(b);
            expectSameGeometry(x->geometry(), y->geometry());
            ASSERT_EQ(x->material() == nullptr, y->material() == nullptr);
            if (x->material() != nullptr) {
                expectSameColour(x->material()->m_cAmbient, y->material()->m_cAmbient);
                expectSameColour(x->material()->m_cDiffuse, y->material()->m_cDiffuse);
                expectSameColour(x->material()->m_cSpecular, y->material()->m_cSpecular);
                expectSameColour(x->material()->m_cEmissive, y->material()->m_cEmissive);
                EXPECT_EQ(x->material()->m_fShininess, y->material()->m_fShininess);
            }
            ASSERT_EQ(x->texture() == nullptr, y->texture() == nullptr);
            if (x->texture() != nullptr) {
                const auto* s = dynamic_cast<const TextureSurface*>(x->texture());
                const auto* t = dynamic_cast<const TextureSurface*>(y->texture());
                ASSERT_NE(s, nullptr);
                ASSERT_NE(t, nullptr);
                EXPECT_STREQ(s->texture().fileName, t->texture().fileName);
                EXPECT_EQ(s->isSolid(), t->isSolid());
                EXPECT_NE(t->glName(), 0u);
                EXPECT_TRUE(t->texture().mipmap);
                EXPECT_EQ(t->texture().filterQuality, 2u);
            }
            ASSERT_EQ(x->textureTransform() == nullptr, y->textureTransform() == nullptr);
            if (x->textureTransform() != nullptr) {
                const TextureTransform& p = *x->textureTransform();
                const TextureTransform& q = *y->textureTransform();
                EXPECT_EQ(p.m_fRotation, q.m_fRotation);
                EXPECT_EQ(p.m_vScale.x, q.m_vScale.x);
                EXPECT_EQ(p.m_vScale.y, q.m_vScale.y);
                EXPECT_EQ(p.m_vCentre.x, q.m_vCentre.x);
                EXPECT_EQ(p.m_vTranslation.y, q.m_vTranslation.y);
            }
        }
        expectSameTree(a->child(), b->child());
    }
}

TEST_F(QvrGlTest, RoundTripThroughWriterAndReaderGivesTheSameModel) {
    TexturedScene source;
    Scene& s = source.scene;
    auto* top = new NodeTransform;
    top->setName("Model");
    top->m_vTranslation = Vector3(1.5f, -2.0f, 3.25f);
    top->m_vCentre = Vector3(0.0f, 1.0f, 0.0f);
    top->m_vScale = Vector3(2.0f, 2.0f, 0.5f);
    top->setAxis(1.0f, 1.0f, 0.0f);
    top->m_fAngle = 30.0f;
    NodeID topId = s.addNode(top, 0);
    auto* arm = new NodeTransform;
    arm->setName("Arm");
    arm->setVisible(false);
    NodeID armId = s.addNode(arm, topId);

    std::uint32_t textured = s.addGeometry(makeGeometry(true, true));
    std::uint32_t plain = s.addGeometry(makeGeometry(false, false));
    auto* material = new Material;
    material->m_cDiffuse = Color4(0.25f, 0.5f, 0.75f, 1.0f);
    material->m_cEmissive = Color4(0.1f, 0.0f, 0.0f, 1.0f);
    material->m_fShininess = 64.0f;
    MaterialID materialId = s.addMaterial(material);
    auto* tfm = new TextureTransform;
    tfm->m_fRotation = 15.0f;
    tfm->m_vScale = Vector2(3.0f, 0.5f);
    tfm->m_vCentre = Vector2(0.5f, 0.5f);
    tfm->m_vTranslation = Vector2(0.0f, 0.125f);
    std::uint32_t tfmId = s.addTextureTransform(tfm);
    TextureID skin = source.textures.loadTexture(1, true, 4, 0, "models/skin.tga");
    ASSERT_NE(skin.id, 0u) << reporter.getMessage();

    auto* body = new NodeShape(s.geometry(textured));
    body->setName("Body");
    NodeID bodyId = s.addNode(body, topId);
    ASSERT_TRUE(s.setShapeMaterial(bodyId, materialId));
    ASSERT_TRUE(s.setShapeTexture(bodyId, 1, skin.id));
    ASSERT_TRUE(s.setShapeTextureTfm(bodyId, tfmId));
    NodeID handId = s.addNode(new NodeShape(s.geometry(plain)), armId);
    ASSERT_TRUE(s.setShapeMaterial(handId, materialId));
    s.addNode(new NodeShape(s.geometry(textured)), armId);  // the same geometry again
    s.addNode(new NodeTransform, 0);                        // a sibling of the top: not saved

    QvrWriter writer;
    ASSERT_TRUE(writer.saveQVR("models/model.qvr", top));

    NodeID holder = target.scene.addNode(new NodeTransform, 0);
    ASSERT_TRUE(reader.loadQVR("models/model.qvr", 1, holder));
    EXPECT_TRUE(shown().empty()) << shown()[0];
    Node* loaded = target.scene.node(holder)->child();
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->next(), nullptr);
    EXPECT_TRUE(static_cast<NodeTransform*>(loaded)->usesMatrix());
    {
        SCOPED_TRACE("tree");
        // Compare the saved top alone (not its siblings).
        ASSERT_EQ(loaded->type(), top->type());
        EXPECT_STREQ(loaded->getName(), "Model");
        expectSameTree(top->child(), loaded->child());
    }
    // Every shape has a geometry of its own: 3 shapes, 3 geometries.
    EXPECT_EQ(target.scene.geometryCount(), 3u);
    EXPECT_EQ(target.scene.materialCount(), 2u);
    EXPECT_EQ(target.scene.textureTransformCount(), 1u);
    EXPECT_EQ(target.textures.textureCount(1), 1u);
    EXPECT_STREQ(target.textures.getTexture(1, 1)->fileName, "models/skin.tga");
}

TEST_F(QvrGlTest, TexturePathsStartAtTheModelsFolder) {
    QvrBytes b;
    b.header().transform(1, 0, "root").shape(2, 1, 10, 0, 3).texture(3, "skin.tga", 0);
    b.triangle(10).end();
    writeFile(dir.file("models/ghost.qvr"), b.bytes);
    ASSERT_TRUE(reader.loadQVR("models/ghost.qvr", 1, 0));
    EXPECT_TRUE(shown().empty());
    ASSERT_EQ(target.textures.textureCount(1), 1u);
    EXPECT_STREQ(target.textures.getTexture(1, 1)->fileName, "models/skin.tga");
    auto* shape = static_cast<NodeShape*>(target.scene.node(2));
    ASSERT_NE(shape->texture(), nullptr);
    EXPECT_FALSE(shape->texture()->isSolid());

    // A model file name without a folder: the texture is looked for beside it.
    writeFile(dir.file("ghost.qvr"), b.bytes);
    ASSERT_TRUE(reader.loadQVR("ghost.qvr", 1, 0));
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0], "Can not open skin.tga.");
    // A texture that fails to load leaves the shape untextured.
    auto* second = static_cast<NodeShape*>(target.scene.node(4));
    EXPECT_EQ(second->texture(), nullptr);
}

TEST_F(QvrGlTest, BuildProblemsStopTheBuildAndKeepWhatWasAdded) {
    auto loadBytes = [&](const QvrBytes& b) {
        writeFile(dir.file("m.qvr"), b.bytes);
        boxes.clear();
        return reader.loadQVR("m.qvr", 1, 0);
    };
    // A child transform stored before its parent.
    QvrBytes order;
    order.header().transform(1, 0, "first").transform(3, 2).transform(2, 1).shape(4, 1, 10);
    order.triangle(10).end();
    EXPECT_FALSE(loadBytes(order));
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0], "Missing transform node in QVR file m.qvr");
    EXPECT_EQ(target.scene.nodeCount(), 1u);  // "first" stays

    QvrBytes noParent;
    noParent.header().transform(1, 0).shape(2, 0, 10).triangle(10).end();
    EXPECT_FALSE(loadBytes(noParent));
    EXPECT_EQ(shown(), std::vector<std::string>{
                           "Shape node is missing a parent transform in QVR file m.qvr"});

    QvrBytes unknownParent;
    unknownParent.header().transform(1, 0).shape(2, 5, 10).triangle(10).end();
    EXPECT_FALSE(loadBytes(unknownParent));
    EXPECT_EQ(shown(), std::vector<std::string>{"Missing parent transform node in QVR file m.qvr"});

    QvrBytes noGeometry;
    noGeometry.header().transform(1, 0).shape(2, 1, 11).triangle(10).end();
    EXPECT_FALSE(loadBytes(noGeometry));
    EXPECT_EQ(shown(), std::vector<std::string>{"Missing geometry data in QVR file m.qvr"});
    EXPECT_EQ(target.scene.geometryCount(), 0u);
}

TEST_F(QvrGlTest, SharedGeometryIdsUnknownMaterialsAndEmptyNames) {
    QvrBytes b;
    b.header().transform(1, 0, "").transform(5, 1, "named");
    b.shape(2, 1, 10, 99).shape(3, 5, 10, 7).material(7, 0.5f).triangle(10).end();
    writeFile(dir.file("m.qvr"), b.bytes);
    ASSERT_TRUE(reader.loadQVR("m.qvr", 0, 0));
    EXPECT_TRUE(shown().empty());
    EXPECT_EQ(target.scene.node(1)->getName(), nullptr);  // name length 0: no name
    EXPECT_STREQ(target.scene.node(2)->getName(), "named");
    ASSERT_EQ(target.scene.geometryCount(), 2u);
    auto* first = static_cast<NodeShape*>(target.scene.node(3));
    auto* second = static_cast<NodeShape*>(target.scene.node(4));
    EXPECT_NE(first->geometry(), second->geometry());
    EXPECT_EQ(first->material(), nullptr);  // material 99 is in no chunk: no message either
    ASSERT_NE(second->material(), nullptr);
    EXPECT_FLOAT_EQ(second->material()->m_cDiffuse.r, 0.5f);
    EXPECT_EQ(second->getParent(), target.scene.node(2));
}

}  // namespace
