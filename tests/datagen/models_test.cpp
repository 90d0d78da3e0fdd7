// The generated models as the QVR parser sees them: the nodes the game looks
// up, the axes and pivots its animation relies on, the sizes that match its
// hit volumes and held positions, and IDs that do not depend on addresses.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "assets/qvr_format.h"
#include "generated_tree.h"
#include "models.h"

using namespace datagen_test;

namespace {

struct Model {
    QvrContents contents;
    std::string error;
    bool ok = false;
};

Model parseModel(const std::string& file) {
    Model model;
    std::string bytes = readFile(resource("models/" + file));
    model.ok = parseQvr(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), file,
                        model.contents, model.error);
    for (const auto& g : model.contents.geometries) {
        model.ok = model.ok && checkQvrGeometry(g.record, file, model.error);
    }
    return model;
}

const QvrTransformRecord* transformNamed(const Model& model, const std::string& name) {
    for (const auto& t : model.contents.transforms)
        if (t.record.name == name)
            return &t.record;
    return nullptr;
}

// Bounds of every vertex of the file, in the model's own space (the
// generated models keep their transforms free of scaling and turning).
struct Bounds {
    Vector3 low{std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
                std::numeric_limits<float>::max()};
    Vector3 high{-std::numeric_limits<float>::max(), -std::numeric_limits<float>::max(),
                 -std::numeric_limits<float>::max()};
};

Bounds boundsOf(const Model& model) {
    Bounds b;
    for (const auto& g : model.contents.geometries) {
        const std::vector<float>& v = g.record.vertices;
        for (std::size_t i = 0; i + 2 < v.size(); i += 3) {
            b.low = Vector3(std::fmin(b.low.x, v[i]), std::fmin(b.low.y, v[i + 1]),
                            std::fmin(b.low.z, v[i + 2]));
            b.high = Vector3(std::fmax(b.high.x, v[i]), std::fmax(b.high.y, v[i + 1]),
                             std::fmax(b.high.z, v[i + 2]));
        }
    }
    return b;
}

void expectAxis(const QvrTransformRecord* t, float x, float y, float z, const char* what) {
    ASSERT_NE(t, nullptr) << what;
    EXPECT_NEAR(t->axis.x, x, 1e-4f) << what;
    EXPECT_NEAR(t->axis.y, y, 1e-4f) << what;
    EXPECT_NEAR(t->axis.z, z, 1e-4f) << what;
}

}  // namespace

TEST(DatagenModels, EachModelParsesWithTheNodesTheGameLooksUp) {
    ASSERT_FALSE(generatedRoot().empty());
    const std::map<std::string, std::vector<std::string>> names = {
        {"ghost.qvr", {"ghost", "jawBone", "R_Shoulder", "L_Shoulder", "R_hand", "L_hand"}},
        {"crossbow.qvr", {"weapon", "stringL", "stringR", "pusher"}},
        {"arrow.qvr", {"arrow"}},
        {"mace.qvr", {"mace"}},
        {"healthPack.qvr", {"healthPack.cob"}},
        {"powerCell.qvr", {"battery.cob", "powerCell"}},
        {"arrowPickup.qvr", {"arrowCase"}},
    };
    for (const auto& [file, wanted] : names) {
        Model model = parseModel(file);
        ASSERT_TRUE(model.ok) << file << ": " << model.error;
        EXPECT_EQ(model.contents.transforms.front().record.name, wanted.front()) << file;
        EXPECT_EQ(model.contents.transforms.front().parentId, 0) << file;
        for (const std::string& name : wanted)
            EXPECT_NE(transformNamed(model, name), nullptr) << file << " lacks " << name;
        // Every shape is textured from a skin beside the model, under a
        // lower-case name (the texture manager opens lower-cased names).
        for (const auto& texture : model.contents.textures) {
            const std::string& skin = texture.record.fileName;
            EXPECT_EQ(skin.find('/'), std::string::npos) << file << ": " << skin;
            for (char c : skin)
                EXPECT_FALSE(c >= 'A' && c <= 'Z') << file << ": " << skin;
            EXPECT_TRUE(fileExists(resource("models/" + skin))) << skin;
        }
        EXPECT_FALSE(model.contents.textures.empty()) << file;
    }
}

TEST(DatagenModels, ChunkIdsAreNumberedInFileOrderNotByAddress) {
    Model model = parseModel("ghost.qvr");
    ASSERT_TRUE(model.ok) << model.error;
    std::int64_t highest = 0;
    for (const auto& t : model.contents.transforms)
        highest = std::max(highest, t.id);
    for (const auto& g : model.contents.geometries)
        highest = std::max(highest, g.id);
    const std::size_t objects = model.contents.transforms.size() + model.contents.shapes.size() +
                                model.contents.geometries.size() + model.contents.materials.size() +
                                model.contents.textures.size();
    EXPECT_LE(highest, static_cast<std::int64_t>(objects));
    EXPECT_EQ(model.contents.transforms.front().id, 1);
}

TEST(DatagenModels, RenumberingRefusesATruncatedFile) {
    std::string bytes = readFile(resource("models/arrow.qvr"));
    ASSERT_GT(bytes.size(), 100u);
    std::string whole = bytes;
    EXPECT_TRUE(datagen::renumberQvrIds(whole));
    EXPECT_EQ(whole, bytes) << "numbering an already numbered file changes nothing";
    bytes.resize(bytes.size() - 30);
    EXPECT_FALSE(datagen::renumberQvrIds(bytes));
}

TEST(DatagenModels, GhostFitsItsHitVolumesAndTurnsItsJointsAboutX) {
    Model model = parseModel("ghost.qvr");
    ASSERT_TRUE(model.ok) << model.error;
    Bounds b = boundsOf(model);
    // Floating above the floor, about 1.9 tall with its head where the
    // head sphere is tested (1.756 up, 0.085 forward).
    EXPECT_GT(b.low.y, 0.0f);
    EXPECT_NEAR(b.high.y, 1.93f, 0.08f);
    EXPECT_GT(b.high.z, 0.2f) << "the face looks along +Z";
    expectAxis(transformNamed(model, "ghost"), 0, 1, 0, "ghost");
    for (const char* joint : {"R_Shoulder", "L_Shoulder", "R_hand", "L_hand"}) {
        const QvrTransformRecord* t = transformNamed(model, joint);
        expectAxis(t, 1, 0, 0, joint);
        // The game writes the angle; the pivot must therefore be the centre,
        // at shoulder or elbow height, on the joint's own side (right is -X).
        EXPECT_GT(t->centre.y, 1.1f) << joint;
        EXPECT_EQ(t->centre.x < 0, joint[0] == 'R') << joint;
        EXPECT_EQ(t->translation, Vector3(0, 0, 0)) << joint;
    }
    EXPECT_EQ(transformNamed(model, "jawBone")->translation.y, 0.0f);
}

TEST(DatagenModels, ArrowPointsAlongPlusYFromItsTipAndTurnsAboutX) {
    Model model = parseModel("arrow.qvr");
    ASSERT_TRUE(model.ok) << model.error;
    Bounds b = boundsOf(model);
    EXPECT_NEAR(b.high.y, 0.0f, 1e-3f) << "the point is the node's origin";
    EXPECT_LT(b.low.y, -2.5f);
    expectAxis(transformNamed(model, "arrow"), 1, 0, 0, "arrow");
}

TEST(DatagenModels, CrossbowStringsSwingBackAboutTheLimbTips) {
    Model model = parseModel("crossbow.qvr");
    ASSERT_TRUE(model.ok) << model.error;
    const QvrTransformRecord* left = transformNamed(model, "stringL");
    const QvrTransformRecord* right = transformNamed(model, "stringR");
    ASSERT_TRUE(left && right);
    // A half-string from its tip to the middle, turned by the drawn angle of
    // 35 degrees about its axis (right-handed), must end behind the tip.
    for (const QvrTransformRecord* t : {left, right}) {
        const float a = 35.0f * 3.14159265f / 180.0f;
        const float toMiddleX = -t->centre.x;
        // Rotation about (0, s, 0): z' = -s * x * sin(a).
        const float z = -t->axis.y * toMiddleX * std::sin(a);
        EXPECT_GT(z, 0.5f) << t->name;
        EXPECT_NEAR(std::fabs(t->axis.y), 1.0f, 1e-4f) << t->name;
    }
    EXPECT_LT(left->centre.x, 0.0f);
    EXPECT_GT(right->centre.x, 0.0f);
}

TEST(DatagenModels, PickupsStandOnTheFloorAndSpinAboutY) {
    for (const char* file : {"healthPack.qvr", "powerCell.qvr", "arrowPickup.qvr"}) {
        Model model = parseModel(file);
        ASSERT_TRUE(model.ok) << file << ": " << model.error;
        Bounds b = boundsOf(model);
        EXPECT_NEAR(b.low.y, 0.0f, 0.02f) << file;
        EXPECT_GT(b.high.y, 0.3f) << file;
        EXPECT_LT(b.high.y, 1.2f) << file;
        for (const auto& t : model.contents.transforms)
            expectAxis(&t.record, 0, 1, 0, file);
    }
}
