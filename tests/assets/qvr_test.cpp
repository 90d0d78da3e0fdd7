// QVR files without a GL context: header, version and chunk errors on
// hand-built bytes, hostile counts, the index checks, and the writer's file
// image read back by the parser.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "app/error_reporter.h"
#include "assets/qvr_format.h"
#include "assets/qvr_reader.h"
#include "assets/qvr_test_support.h"
#include "assets/qvr_writer.h"
#include "assets/texture.h"
#include "scene/geometry_compiled.h"
#include "scene/geometry_primitives.h"
#include "scene/material.h"
#include "scene/node.h"
#include "scene/node_shape.h"
#include "support/message_box_recorder.h"
#include "support/temp_dir.h"

namespace {

std::string parseError(const QvrBytes& b, const std::string& name = "m.qvr") {
    QvrContents contents;
    std::string error;
    if (parseQvr(b.data(), b.bytes.size(), name, contents, error)) {
        return "";
    }
    return error;
}

TEST(QvrParse, HeaderErrors) {
    EXPECT_EQ(parseError(QvrBytes()), "Can not read QVR header in m.qvr");
    EXPECT_EQ(parseError(QvrBytes().raw("QVR FIL")), "Can not read QVR header in m.qvr");
    EXPECT_EQ(parseError(QvrBytes().raw("QVR FILE").u8(1).u8(0).u8(1)),
              "Can not read QVR header in m.qvr");
    EXPECT_EQ(parseError(QvrBytes().raw("qvr file").i16(1).i16(1).end(), "a/b.qvr"),
              "a/b.qvr is not a QVR file");
    EXPECT_EQ(parseError(QvrBytes().raw("NOT A QVR FILE")), "m.qvr is not a QVR file");
    // The file ends right after the header: no end chunk.
    EXPECT_EQ(parseError(QvrBytes().header()), "Error reading chunk header in m.qvr");
    EXPECT_EQ(parseError(QvrBytes().header().i64(1).i64(0)), "Error reading chunk header in m.qvr");
    EXPECT_EQ(parseError(QvrBytes().header().end()), "");
}

TEST(QvrParse, OnlyMajorVersionOneIsRead) {
    const char* prefix = "This loader only supports QVR files saved in version 1.x format.\n";
    EXPECT_EQ(parseError(QvrBytes().header(2, 0).end(), "models/x.qvr"),
              std::string(prefix) + "models/x.qvr has been saved as version 2.0");
    EXPECT_EQ(parseError(QvrBytes().header(0, 9).end(), "y.qvr"),
              std::string(prefix) + "y.qvr has been saved as version 0.9");
    EXPECT_EQ(parseError(QvrBytes().header(1, 7).end()), "");
    // The older magic skips its version fields unread, whatever they hold.
    EXPECT_EQ(parseError(QvrBytes().raw("QVR File").i16(9).i16(9).end()), "");
}

TEST(QvrParse, EveryChunkCutShortReportsItsOwnMessage) {
    struct Case {
        QvrBytes chunk;
        const char* message;
    };
    std::vector<Case> cases;
    cases.push_back({QvrBytes().transform(1, 0, "t"), "Error reading transform chunk in m.qvr"});
    cases.push_back(
        {QvrBytes().shape(2, 1, 10, 0, 0, 0, "s"), "Error reading shape chunk in m.qvr"});
    cases.push_back({QvrBytes().texture(3, "a.tga"), "Error reading texture chunk in m.qvr"});
    cases.push_back({QvrBytes().textureTfm(4), "Error reading texture transform chunk in m.qvr"});
    cases.push_back({QvrBytes().material(5), "Error reading material chunk in m.qvr"});
    cases.push_back({QvrBytes().triangle(6), "Error reading geometry compiled chunk in m.qvr"});
    for (const Case& c : cases) {
        QvrBytes whole = QvrBytes().header().raw(c.chunk.bytes).end();
        EXPECT_EQ(parseError(whole), "") << c.message;
        // Cut anywhere inside the body (the chunk header itself is whole).
        for (std::size_t cut = 1; cut < c.chunk.bytes.size() - QVR_CHUNK_HEADER_SIZE; ++cut) {
            QvrBytes shortened =
                QvrBytes().header().raw(c.chunk.bytes.substr(0, c.chunk.bytes.size() - cut));
            EXPECT_EQ(parseError(shortened), c.message) << "cut " << cut;
        }
    }
}

TEST(QvrParse, HostileCountsAndNameLengthsFailBeforeAllocating) {
    auto transformWithNameLength = [](std::int32_t length) {
        return QvrBytes().header().chunk(1, 0, 1).i32(length).raw("abc").end();
    };
    EXPECT_EQ(parseError(transformWithNameLength(-1)), "Error reading transform chunk in m.qvr");
    EXPECT_EQ(parseError(transformWithNameLength(INT_MAX)),
              "Error reading transform chunk in m.qvr");
    EXPECT_EQ(parseError(QvrBytes().header().chunk(3, 0, 3).i32(1000).raw("x.tga").u8(1).end()),
              "Error reading texture chunk in m.qvr");
    EXPECT_EQ(parseError(QvrBytes().header().chunk(2, 1, 2).i32(INT_MIN).end()),
              "Error reading shape chunk in m.qvr");

    // Each of the five counts: negative, and more than the file holds.
    for (int which = 0; which < 5; ++which) {
        for (std::int32_t count : {-1, -3, INT_MAX, 1 << 28, 64}) {
            QvrBytes b = QvrBytes().header().chunk(6, 0, 6);
            for (int k = 0; k < 5; ++k) {
                b.i32(k == which ? count : 0);
            }
            b.u8(0).end();
            EXPECT_EQ(parseError(b), "Error reading geometry compiled chunk in m.qvr")
                << "array " << which << " count " << count;
        }
    }
    // A count that the rest of the file can hold is read.
    QvrBytes fits = QvrBytes().header().chunk(6, 0, 6).i32(3).floats({1, 2, 3});
    fits.i32(0).i32(0).i32(0).i32(0).u8(1).end();
    QvrContents contents;
    std::string error;
    ASSERT_TRUE(parseQvr(fits.data(), fits.bytes.size(), "m.qvr", contents, error)) << error;
    ASSERT_EQ(contents.geometries.size(), 1u);
    EXPECT_EQ(contents.geometries[0].record.normals, (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(contents.geometries[0].record.perVertexNormals, 1);
}

TEST(QvrParse, RecordsKeepFileOrderIdsAndValues) {
    QvrBytes b = QvrBytes().header();
    b.chunk(99, 0, 77);  // an unknown type has no body: the next chunk header follows
    b.transform(7, 0, "top", 0).transform(8, 7, "").shape(9, 8, 10, 5, 3, 4, "body");
    b.texture(3, "skin.tga", 0).textureTfm(4).material(5, 0.5f).triangle(10).end();
    QvrContents c;
    std::string error;
    ASSERT_TRUE(parseQvr(b.data(), b.bytes.size(), "m.qvr", c, error)) << error;
    ASSERT_EQ(c.transforms.size(), 2u);
    EXPECT_EQ(c.transforms[0].id, 7);
    EXPECT_EQ(c.transforms[0].record.name, "top");
    EXPECT_EQ(c.transforms[0].record.visible, 0);
    EXPECT_EQ(c.transforms[1].parentId, 7);
    EXPECT_EQ(c.transforms[1].record.name, "");
    ASSERT_EQ(c.shapes.size(), 1u);
    EXPECT_EQ(c.shapes[0].parentId, 8);
    EXPECT_EQ(c.shapes[0].record.name, "body");
    EXPECT_EQ(c.shapes[0].record.materialId, 5);
    EXPECT_EQ(c.shapes[0].record.textureId, 3);
    EXPECT_EQ(c.shapes[0].record.textureTfmId, 4);
    EXPECT_EQ(c.shapes[0].record.geometryId, 10);
    ASSERT_EQ(c.textures.size(), 1u);
    EXPECT_EQ(c.textures[0].record.fileName, "skin.tga");
    EXPECT_EQ(c.textures[0].record.solid, 0);
    ASSERT_EQ(c.textureTfms.size(), 1u);
    EXPECT_FLOAT_EQ(c.textureTfms[0].record.rotation, 90.0f);
    EXPECT_FLOAT_EQ(c.textureTfms[0].record.translation.y, 0.25f);
    ASSERT_EQ(c.materials.size(), 1u);
    EXPECT_FLOAT_EQ(c.materials[0].record.diffuse[0], 0.5f);
    EXPECT_FLOAT_EQ(c.materials[0].record.shininess, 10.0f);
    ASSERT_EQ(c.geometries.size(), 1u);
    EXPECT_EQ(c.geometries[0].record.vertexIndices, (std::vector<std::uint32_t>{0, 1, 2}));
}

TEST(QvrGeometryCheck, EveryIndexMustLieInsideItsArray) {
    QvrGeometryRecord g;
    g.normals = {0, 0, 1};
    g.vertices = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    g.vertexIndices = {0, 1, 2};
    g.texCoords = {0, 0, 1, 0, 0, 1};
    g.texCoordIndices = {2, 1, 0};
    std::string error;
    EXPECT_TRUE(checkQvrGeometry(g, "m.qvr", error)) << error;

    QvrGeometryRecord bad = g;
    bad.vertexIndices[1] = 3;
    EXPECT_FALSE(checkQvrGeometry(bad, "m.qvr", error));
    EXPECT_EQ(error, "Invalid vertex index in QVR file m.qvr");
    bad = g;
    bad.texCoordIndices[0] = 3;
    EXPECT_FALSE(checkQvrGeometry(bad, "m.qvr", error));
    EXPECT_EQ(error, "Invalid texture coordinate index in QVR file m.qvr");
    bad = g;
    bad.texCoordIndices.pop_back();  // a corner without texture coordinates
    EXPECT_FALSE(checkQvrGeometry(bad, "m.qvr", error));
    EXPECT_EQ(error, "Invalid texture coordinate index in QVR file m.qvr");
    bad = g;
    bad.normals = {0, 0, 1, 0, 0, 1};  // two face normals, one triangle of indices
    EXPECT_FALSE(checkQvrGeometry(bad, "m.qvr", error));
    EXPECT_EQ(error, "Invalid vertex index in QVR file m.qvr");
    bad = g;
    bad.perVertexNormals = 1;  // one normal cannot serve three corners
    EXPECT_FALSE(checkQvrGeometry(bad, "m.qvr", error));
    EXPECT_EQ(error, "Invalid normal index in QVR file m.qvr");
    bad.normals = {0, 0, 1, 0, 0, 1, 0, 0, 1};
    EXPECT_TRUE(checkQvrGeometry(bad, "m.qvr", error)) << error;
    bad = g;
    bad.texCoordIndices.clear();  // untextured: texture coordinates are not looked at
    bad.texCoords.clear();
    EXPECT_TRUE(checkQvrGeometry(bad, "m.qvr", error)) << error;
}

TEST(QvrFolder, BackslashFirstThenSlash) {
    EXPECT_EQ(qvrFolder("resources/models/ghost.qvr"), "resources/models/");
    EXPECT_EQ(qvrFolder("a/b\\c/d.qvr"), "a/b\\");
    EXPECT_EQ(qvrFolder("ghost.qvr"), "");
}

class QvrLoadFailureTest : public ::testing::Test {
protected:
    TempDir dir;
    MessageBoxRecorder boxes;
    ErrorReporter reporter{nullptr, false};
    Scene scene;
    TextureManager textures;
    QvrReader reader{scene, textures, 3};

    // Loads bytes; returns the one message shown.
    std::string loadFails(const QvrBytes& b) {
        std::string path = dir.file("m.qvr");
        writeFile(path, b.bytes);
        boxes.clear();
        EXPECT_FALSE(reader.loadQVR(path, 1, 0));
        EXPECT_EQ(boxes.boxes().size(), 1u);
        EXPECT_EQ(scene.nodeCount(), 0u);
        EXPECT_EQ(scene.geometryCount(), 0u);
        EXPECT_EQ(reporter.getErrorKind(), ERROR_NONE);
        if (boxes.boxes().empty()) {
            return "";
        }
        EXPECT_EQ(boxes.boxes()[0].caption, ErrorReporter::captionFor(ERROR_GENERAL));
        return boxes.boxes()[0].text;
    }
};

TEST_F(QvrLoadFailureTest, ReadErrorsAndCheckFailuresAddNothing) {
    EXPECT_FALSE(reader.loadQVR(dir.file("none.qvr"), 1, 0));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "Can not open " + dir.file("none.qvr"));

    const std::string model = dir.file("m.qvr");
    EXPECT_EQ(loadFails(QvrBytes().header()), "Error reading chunk header in " + model);
    EXPECT_EQ(loadFails(QvrBytes().header().transform(1, 0, "only").end()),
              "No valid objects saved in QVR file " + model);
    EXPECT_EQ(loadFails(QvrBytes().header().shape(2, 1, 10).triangle(10).end()),
              "No valid objects saved in QVR file " + model);
    // A good model followed by a broken chunk: nothing of it is added.
    QvrBytes broken = QvrBytes::model();
    broken.bytes.resize(broken.bytes.size() - QVR_CHUNK_HEADER_SIZE);
    broken.chunk(5, 0, 5).f32(1.0f);
    EXPECT_EQ(loadFails(broken), "Error reading material chunk in " + model);
    // A vertex index past the vertices fails the whole load before any node.
    QvrBytes badIndex;
    badIndex.header().transform(1, 0, "root").shape(2, 1, 10).triangle(10, 7).end();
    EXPECT_EQ(loadFails(badIndex), "Invalid vertex index in QVR file " + dir.file("m.qvr"));
}

TEST_F(QvrLoadFailureTest, TheVertexBudgetCountsEveryShapesCopyOfItsGeometry) {
    // One geometry of 1.4 M corners is a real (if large) model; three shapes
    // compiling it would hold 4.2 M: the third is refused, naming the file.
    constexpr std::int32_t TRIANGLES = 466667;
    QvrBytes b;
    b.header().transform(1, 0, "root");
    for (int shape = 0; shape < 3; ++shape) {
        b.shape(2 + shape, 1, 10);
    }
    b.chunk(10, 0, 6).i32(3 * TRIANGLES);
    for (std::int32_t t = 0; t < TRIANGLES; ++t) {
        b.f32(0).f32(0).f32(1);
    }
    b.i32(0).i32(0);  // no texture coordinates
    b.i32(9).floats({0, 0, 0, 1, 0, 0, 0, 1, 0});
    b.i32(3 * TRIANGLES);
    for (std::int32_t t = 0; t < TRIANGLES; ++t) {
        b.u32(0).u32(1).u32(2);
    }
    b.u8(0).end();
    const std::string path = dir.file("big.qvr");
    writeFile(path, b.bytes);
    EXPECT_FALSE(reader.loadQVR(path, 1, 0));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text,
              "The shapes of QVR file " + path + " need more than 4000000 vertices.");
    EXPECT_EQ(scene.geometryCount(), 2u);  // what came before stays, as for any build problem
}

// Writing: the file image is read back by the parser.
class QvrWriterTest : public ::testing::Test {
protected:
    MessageBoxRecorder boxes;
    ErrorReporter reporter{nullptr, false};

    static GeometryCompiled* triangleGeometry(bool textured) {
        auto* g = new GeometryCompiled(true, textured);
        const float normals[] = {0, 0, 1, 0, 0, 1, 0, 0, 1};
        const float vertices[] = {0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0};
        const float tex[] = {0, 0, 1, 0, 0, 1};
        const std::uint32_t indices[] = {0, 1, 3};
        const std::uint32_t texIndices[] = {0, 1, 2};
        g->setNormals(normals, 9);
        g->setVertices(vertices, 12);
        g->setVertexIndices(indices, 3);
        if (textured) {
            g->setTexCoords(tex, 6);
            g->setTexCoordIndices(texIndices, 3);
        }
        return g;
    }
};

TEST_F(QvrWriterTest, FileImageHoldsTheTreeAndEachResourceOnce) {
    std::unique_ptr<GeometryCompiled> shared(triangleGeometry(true));
    std::unique_ptr<GeometryCompiled> plain(triangleGeometry(false));
    Material material;
    material.m_cDiffuse = Color4(0.5f, 0.25f, 1.0f, 0.75f);
    material.m_fShininess = 12.0f;
    TextureTransform tfm;
    tfm.m_fRotation = 33.0f;
    tfm.m_vScale = Vector2(2.0f, 4.0f);
    Texture skin(true, 3, 0);
    std::strcpy(skin.fileName, "models/skin.tga");

    NodeTransform top, child, sibling, outside;
    top.setName("Top");
    top.m_vTranslation = Vector3(1, 2, 3);
    top.setAxis(0, 1, 0);
    top.m_fAngle = 45.0f;
    top.setVisible(false);
    NodeShape a(shared.get()), b(shared.get()), c(plain.get());
    a.setName("a");
    a.setMaterial(&material);
    a.setTexture(&skin.surface());
    a.setTextureTransform(&tfm);
    b.setMaterial(&material);
    ASSERT_TRUE(a.attachTo(&top));
    ASSERT_TRUE(child.attachTo(&top));
    ASSERT_TRUE(b.attachTo(&child));
    ASSERT_TRUE(c.attachTo(&child));
    ASSERT_TRUE(outside.attachAsSiblingOf(&top));  // a top node's siblings stay out

    QvrWriter writer;
    std::string bytes;
    ASSERT_TRUE(writer.serialise(&top, "models/", bytes));
    QvrContents f;
    std::string error;
    ASSERT_TRUE(parseQvr(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), "m.qvr",
                         f, error))
        << error;
    EXPECT_EQ(bytes.substr(0, 12), std::string("QVR FILE\x01\x00\x01\x00", 12));

    ASSERT_EQ(f.transforms.size(), 2u);
    EXPECT_EQ(f.transforms[0].parentId, 0);
    EXPECT_EQ(f.transforms[0].record.name, "Top");
    EXPECT_EQ(f.transforms[0].record.visible, 0);
    EXPECT_EQ(f.transforms[0].record.translation, Vector3(1, 2, 3));
    EXPECT_EQ(f.transforms[0].record.axis, Vector3(0, 1, 0));
    EXPECT_FLOAT_EQ(f.transforms[0].record.angle, 45.0f);
    EXPECT_EQ(f.transforms[1].parentId, f.transforms[0].id);
    ASSERT_EQ(f.shapes.size(), 3u);
    EXPECT_EQ(f.shapes[0].parentId, f.transforms[0].id);
    EXPECT_EQ(f.shapes[1].parentId, f.transforms[1].id);
    EXPECT_EQ(f.shapes[2].parentId, f.transforms[1].id);
    EXPECT_EQ(f.shapes[0].record.geometryId, f.shapes[1].record.geometryId);
    EXPECT_EQ(f.shapes[1].record.textureId, 0);

    // Each resource once, whatever number of shapes use it.
    ASSERT_EQ(f.geometries.size(), 2u);
    ASSERT_EQ(f.materials.size(), 1u);
    ASSERT_EQ(f.textures.size(), 1u);
    ASSERT_EQ(f.textureTfms.size(), 1u);
    EXPECT_EQ(f.materials[0].id, f.shapes[0].record.materialId);
    EXPECT_FLOAT_EQ(f.materials[0].record.diffuse[1], 0.25f);
    EXPECT_FLOAT_EQ(f.materials[0].record.diffuse[3], 0.75f);
    EXPECT_FLOAT_EQ(f.materials[0].record.shininess, 12.0f);
    EXPECT_EQ(f.textures[0].record.fileName, "skin.tga");  // relative to the model's folder
    EXPECT_EQ(f.textures[0].record.solid, 0);
    EXPECT_FLOAT_EQ(f.textureTfms[0].record.rotation, 33.0f);
    EXPECT_FLOAT_EQ(f.textureTfms[0].record.scale.y, 4.0f);

    const QvrGeometryRecord& g = f.geometries[0].record;
    EXPECT_EQ(g.perVertexNormals, 1);
    EXPECT_EQ(g.vertices.size(), 12u);
    EXPECT_EQ(g.vertexIndices, (std::vector<std::uint32_t>{0, 1, 3}));
    EXPECT_EQ(g.texCoordIndices, (std::vector<std::uint32_t>{0, 1, 2}));
    EXPECT_TRUE(f.geometries[1].record.texCoordIndices.empty());
    for (const auto& geometry : f.geometries) {
        EXPECT_TRUE(checkQvrGeometry(geometry.record, "m.qvr", error)) << error;
    }
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(QvrWriterTest, TextureNamesAreRelativeToTheModelFolder) {
    std::unique_ptr<GeometryCompiled> geometry(triangleGeometry(true));
    Texture wall(true, 3, 1);
    std::strcpy(wall.fileName, "resources/textures/wall.tga");
    NodeTransform top;
    NodeShape shape(geometry.get());
    shape.setTexture(&wall.surface());
    shape.attachTo(&top);

    auto storedName = [&](const std::string& folder) {
        QvrWriter writer;
        std::string bytes;
        EXPECT_TRUE(writer.serialise(&top, folder, bytes));
        QvrContents f;
        std::string error;
        EXPECT_TRUE(parseQvr(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                             "m.qvr", f, error));
        return f.textures.empty() ? std::string("?") : f.textures[0].record.fileName;
    };
    EXPECT_EQ(storedName("resources/models/"), "../textures/wall.tga");
    EXPECT_EQ(storedName("resources/textures/"), "wall.tga");
    EXPECT_EQ(storedName(""), "resources/textures/wall.tga");
}

TEST_F(QvrWriterTest, RefusesWhatTheFormatCannotHold) {
    GeometryBox box(1, 1, 1);
    NodeTransform top;
    NodeShape shape(&box);
    shape.attachTo(&top);
    QvrWriter writer;
    std::string bytes;
    EXPECT_FALSE(writer.serialise(&top, "", bytes));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text,
              "Can not save QVR geometry chunk: only compiled geometry can be saved");
    EXPECT_TRUE(bytes.empty());

    TempDir dir;
    writeFile(dir.file("keep.qvr"), "old");
    EXPECT_FALSE(writer.saveQVR(dir.file("keep.qvr"), &top));
    EXPECT_EQ(readFile(dir.file("keep.qvr")), "old");  // a failed save leaves the old file
    EXPECT_FALSE(writer.saveQVR(dir.file("none.qvr"), nullptr));
    EXPECT_FALSE(fileExists(dir.file("none.qvr")));
}

}  // namespace
