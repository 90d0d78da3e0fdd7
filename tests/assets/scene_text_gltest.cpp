// Scene text records that need the GL context: lights and textures.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/error_reporter.h"
#include "assets/qvr_test_support.h"
#include "assets/scene_text.h"
#include "assets/tga_builder.h"
#include "scene/light.h"
#include "scene/node_shape.h"
#include "support/gl_context.h"
#include "support/message_box_recorder.h"
#include "support/temp_dir.h"
#include "support/x11_helpers.h"

namespace {

class SceneTextGlTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!x11::displayAvailable() || !GLTestContext::shared().ok()) {
            GTEST_SKIP() << "no GL context";
        }
        std::filesystem::create_directories(dir.file("textures"));
    }

    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};
    MessageBoxRecorder boxes;
    ErrorReporter reporter{nullptr, false};
    TextureManager textures;
    TextureHooks hooks{textures};
    Scene scene;
    SceneTextReader reader{scene, textures, 2};

    std::vector<std::string> load(const std::string& text, int group = 1) {
        scene.setHooks(&hooks);
        writeFile(dir.file("objects.lvl"), text);
        boxes.clear();
        reader.loadSceneText("objects.lvl", group);
        std::vector<std::string> shown;
        for (const auto& box : boxes.boxes()) {
            shown.push_back(box.text);
        }
        return shown;
    }
    NodeShape* shape(NodeID id) { return static_cast<NodeShape*>(scene.node(id)); }
};

TEST_F(SceneTextGlTest, LightsOfEachTypeTakeTheirOwnFields) {
    auto shown = load(
        "transform name_room\n"
        "+light type_point atten_1,0.5,0.25 pos_1,2,3 dir_9,9,9 on_0 amb_0.1,0.2,0.3,1 "
        "dif_0.5,0.5,0.5,1 spec_0,0,0,1 name_lamp\n"
        "+light type_dir dir_0,-1,0 pos_7,7,7\n"
        "+light type_spot atten_2,0,0 pos_0,5,0 dir_0,-1,0 cut_45 exp_4 name_beam\n"
        "+light type_point on_1 on_0\n"
        "+light type_ambient\n"
        "+light name_x\n");
    const std::vector<std::string> expected = {
        "keyword {on_} found more than once on Line 5.",
        "{ambient} is an invalid light type on Line 6.",
        "Did not find {type_} on Line 7.",
    };
    EXPECT_EQ(shown, expected);
    ASSERT_EQ(scene.lightCount(), 3u);

    Light* point = scene.light(0);
    EXPECT_EQ(point->type(), LIGHT_POINT);
    EXPECT_FALSE(point->isOn());
    EXPECT_EQ(point->attenuation(), Vector3(1.0f, 0.5f, 0.25f));
    EXPECT_FLOAT_EQ(point->position()[0], 1.0f);
    EXPECT_FLOAT_EQ(point->position()[2], 3.0f);
    EXPECT_FLOAT_EQ(point->position()[3], 1.0f);
    EXPECT_FLOAT_EQ(point->ambient()[2], 0.3f);
    EXPECT_FLOAT_EQ(point->diffuse()[0], 0.5f);
    EXPECT_FLOAT_EQ(point->specular()[0], 0.0f);

    Light* directional = scene.light(1);
    EXPECT_EQ(directional->type(), LIGHT_DIRECTIONAL);
    EXPECT_TRUE(directional->isOn());
    // The light travels along dir_; pos_ is not read for it.
    EXPECT_FLOAT_EQ(directional->position()[1], 1.0f);
    EXPECT_FLOAT_EQ(directional->position()[0], 0.0f);

    Light* spot = scene.light(2);
    EXPECT_EQ(spot->type(), LIGHT_SPOT);
    EXPECT_EQ(spot->spotDirection(), Vector3(0.0f, -1.0f, 0.0f));
    EXPECT_FLOAT_EQ(spot->spotCutoff(), 45.0f);
    EXPECT_FLOAT_EQ(spot->spotExponent(), 4.0f);
    EXPECT_EQ(spot->attenuation(), Vector3(2.0f, 0.0f, 0.0f));
    EXPECT_FLOAT_EQ(spot->position()[1], 5.0f);

    // Light nodes sit under the transform and carry the names.
    Node* lamp = scene.findByName("lamp");
    ASSERT_NE(lamp, nullptr);
    ASSERT_TRUE(lamp->isLight());
    EXPECT_EQ(static_cast<NodeLight*>(lamp)->light(), point);
    EXPECT_STREQ(lamp->getParent()->getName(), "room");
    ASSERT_NE(scene.findByName("beam"), nullptr);
    EXPECT_EQ(scene.nodeCount(), 4u);
}

TEST_F(SceneTextGlTest, TexturesLoadIntoTheGroupWithTheirFlagsAndQuality) {
    writeFile(dir.file("textures/wall.tga"), buildTga(Picture::gradient(8, 8), TgaLayout{}));
    writeFile(dir.file("textures/floor.tga"), buildTga(Picture::gradient(4, 4), TgaLayout{}));
    auto shown = load(
        "box geoid_1\n"
        "texture texid_1 file_Textures/Wall.TGA mip_0 solid_0\n"
        "texture texid_2 file_textures/floor.tga\n"
        "texture texid_3 file_textures/missing.tga\n"
        "transform name_t\n"
        "+shape geoid_1 texid_1\n"
        "+shape geoid_1 texid_3\n"
        "+shape geoid_1 texid_2\n");
    // Only the texture loader's own message: the shape naming the failed
    // texture gets no texture and no message of its own.
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "Can not open textures/missing.tga.");
    ASSERT_EQ(textures.textureCount(1), 2u);
    const Texture* wall = textures.getTexture(1, 1);
    EXPECT_STREQ(wall->fileName, "textures/wall.tga");  // names arrive lower-cased
    EXPECT_FALSE(wall->mipmap);
    EXPECT_EQ(wall->solid, 0);
    EXPECT_EQ(wall->filterQuality, 2u);
    const Texture* floor = textures.getTexture(1, 2);
    EXPECT_TRUE(floor->mipmap);
    EXPECT_EQ(floor->solid, 1);

    ASSERT_NE(shape(2)->texture(), nullptr);
    EXPECT_EQ(shape(2)->texture()->glName(), wall->glName);
    EXPECT_FALSE(shape(2)->texture()->isSolid());
    EXPECT_EQ(shape(3)->texture(), nullptr);
    ASSERT_NE(shape(4)->texture(), nullptr);
    EXPECT_TRUE(shape(4)->texture()->isSolid());

    // Group 0 then refuses the same file with the texture manager's message.
    shown = load("texture texid_1 file_textures/floor.tga\n", 0);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0],
              "textures/floor.tga\nTexture found in Group_1, but attempting to save in Group_0.");
}

}  // namespace
