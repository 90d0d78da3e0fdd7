// The generated files through the game's own readers: the texture manager,
// the font metrics loader, the scene text reader and the audio manager.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/error_reporter.h"
#include "assets/qvr_test_support.h"
#include "assets/scene_text.h"
#include "assets/texture_manager.h"
#include "audio/audio_manager.h"
#include "generated_tree.h"
#include "scene/geometry_primitives.h"
#include "support/gl_context.h"
#include "support/message_box_recorder.h"
#include "support/x11_helpers.h"

using namespace datagen_test;

namespace {

std::string shownText(const MessageBoxRecorder& boxes) {
    std::string text;
    for (const auto& box : boxes.boxes())
        text += box.text + "\n";
    return text;
}

class GameReaders : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(generatedRoot().empty());
        if (!x11::displayAvailable() || !GLTestContext::shared().ok()) {
            GTEST_SKIP() << "no GL context";
        }
        // The game opens "resources/..." from the folder that holds resources/.
        cwd = std::make_unique<ScopedWorkingDir>(generatedRoot() + "/..");
    }

    std::unique_ptr<ScopedWorkingDir> cwd;
    MessageBoxRecorder boxes;
    ErrorReporter reporter{nullptr, false};
};

}  // namespace

TEST_F(GameReaders, TexturesAndTheMapLoadWithTheGamesOptions) {
    TextureManager textures;
    struct Load {
        int group;
        bool mipmap;
        unsigned quality;
        std::uint8_t solid;
        const char* name;  // as the game spells it
        unsigned side;
    };
    const Load loads[] = {
        {1, true, 4, 1, "resources/textures/ground.tga", 0},
        {1, true, 4, 1, "resources/textures/carpet.tga", 0},
        {1, true, 4, 1, "resources/textures/wood.tga", 0},
        {1, true, 4, 1, "resources/textures/ceiling.tga", 0},
        {1, true, 4, 1, "resources/textures/box.tga", 0},
        {0, false, 1, 0, "resources/textures/GUI.tga", 1024},
        {0, false, 1, 0, "resources/textures/instructions.tga", 1024},
        {0, false, 4, 0, "resources/textures/largeGraphics.tga", 512},
        {1, false, 1, 0, "resources/fonts/LargeNumbers.tga", 512},
        {0, false, 4, 0, "resources/fonts/Small.tga", 0},
        {0, false, 4, 0, "resources/fonts/ScoreLetters.tga", 0},
    };
    for (const Load& l : loads) {
        TextureID id = textures.loadTexture(l.group, l.mipmap, l.quality, l.solid, l.name);
        EXPECT_NE(id.id, 0u) << l.name << "\n" << shownText(boxes);
        if (l.side != 0) {
            EXPECT_EQ(textures.getTextureWidth(id.group, id.id), l.side) << l.name;
        }
    }
    TextureID map = textures.loadTexture(1, false, 1, 1, "resources/maps/castle.map");
    ASSERT_NE(map.id, 0u) << shownText(boxes);
    auto [w, h] = textures.getTextureSize(1, map.id);
    Color4 corner = textures.getTexturePixel(1, map.id, 0, 0);
    EXPECT_LT(corner.r + corner.g + corner.b, 0.01f) << "the border is wall";
    EXPECT_GT(w, 8u);
    EXPECT_GT(h, 8u);
    EXPECT_TRUE(boxes.boxes().empty()) << shownText(boxes);
}

TEST_F(GameReaders, FontsAreProportionalFromTheirMetricsFiles) {
    TextureManager textures;
    struct FontLoad {
        int group;
        const char* name;
        unsigned cell;
    };
    for (const FontLoad& f : {FontLoad{1, "resources/fonts/LargeNumbers.tga", 51},
                              FontLoad{0, "resources/fonts/Small.tga", 12},
                              FontLoad{0, "resources/fonts/ScoreLetters.tga", 25}}) {
        TextureID atlas = textures.loadTexture(f.group, false, 4, 0, f.name);
        ASSERT_NE(atlas.id, 0u) << f.name;
        FontID font =
            textures.createFont(f.group, atlas.id, f.cell, Color4(0.0f, 0.0f, 0.0f, 1.0f), 1.0f);
        ASSERT_NE(font.id, 0u) << f.name;
        BitmapFont* bitmap = textures.getFont(f.group, font.id);
        ASSERT_NE(bitmap, nullptr);
        EXPECT_FALSE(bitmap->isFixedWidth()) << f.name << " metrics were not taken";
        // Proportional: a narrow glyph measures less than a wide one.
        EXPECT_LT(textures.getTextWidth(f.group, font.id, "1"),
                  textures.getTextWidth(f.group, font.id, "0") + 0.5f)
            << f.name;
        if (f.cell != 51) {
            EXPECT_LT(textures.getTextWidth(f.group, font.id, "i"),
                      textures.getTextWidth(f.group, font.id, "W"))
                << f.name;
        }
    }
    EXPECT_TRUE(boxes.boxes().empty()) << shownText(boxes);
}

TEST_F(GameReaders, ObjectListGivesTheBoxAndPlaneWithoutAMessage) {
    TextureManager textures;
    TextureHooks hooks{textures};
    Scene scene;
    scene.setHooks(&hooks);
    SceneTextReader reader{scene, textures, 4};
    reader.loadSceneText("resources/objects.lvl", 1);
    EXPECT_TRUE(boxes.boxes().empty()) << shownText(boxes);
    EXPECT_EQ(reporter.getErrorKind(), 0) << reporter.getMessage();
    const GeometryBox* box = nullptr;
    bool plane = false;
    for (std::uint32_t id = 1; id <= scene.geometryCount(); ++id) {
        Geometry* g = scene.geometry(id);
        if (g && g->name() == "box")
            box = dynamic_cast<const GeometryBox*>(g);
        if (g && g->name() == "plane")
            plane = true;
    }
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(plane);
    Vector3 size = box->getSize();
    EXPECT_FLOAT_EQ(size.x, size.z);
    EXPECT_GT(size.x, 2.5f);
    EXPECT_GT(size.y, 1.8f);
    // The candles' lights, with the player's and the ghosts' four, fit in 8.
    EXPECT_LE(scene.lightCount(), 4u);
}

TEST_F(GameReaders, EverySoundAndTrackLoadsInTheAudioManager) {
    ::setenv("ALSOFT_DRIVERS", "null", 1);
    AudioManager audio;
    audio.init();
    int slot = 1;
    for (const std::string& file : gameFiles()) {
        if (file.compare(0, 6, "audio/") != 0)
            continue;
        const std::string name = "resources/" + file;
        if (file.size() > 4 && file.compare(file.size() - 4, 4, ".ogg") == 0) {
            EXPECT_TRUE(audio.createStream(slot % 4, name, true, 40960, 3)) << name;
            audio.deleteStream(slot % 4);
        } else {
            EXPECT_TRUE(audio.createSource(slot % 16, name)) << name;
            audio.deleteSource(slot % 16);
        }
        ++slot;
    }
    audio.shutdown();
    EXPECT_TRUE(boxes.boxes().empty()) << shownText(boxes);
}
