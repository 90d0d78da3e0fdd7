// Replays the fuzz seeds and the hostile regression inputs through the same
// reader calls as the fuzz targets, so the sanitizer build checks them on
// every test run. Without a GL context the GL calls of a load do nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/error_reporter.h"
#include "assets/bitmap_font.h"
#include "assets/qvr_reader.h"
#include "assets/scene_text.h"
#include "assets/texture.h"
#include "assets/texture_manager.h"
#include "scene/scene.h"
#include "support/message_box_recorder.h"
#include "support/temp_dir.h"

namespace {

// libFuzzer names what it adds to a corpus by the input's SHA-1.
bool isFuzzerFind(const std::string& path) {
    std::string name = path.substr(path.find_last_of('/') + 1);
    return name.size() == 40 && name.find_first_not_of("0123456789abcdef") == std::string::npos;
}

std::vector<std::string> inputs(const std::string& target) {
    std::vector<std::string> files;
    for (const char* kind : {"corpus", "regressions"}) {
        std::filesystem::path folder =
            std::filesystem::path(SPOOKHOLLOW_SOURCE_DIR) / "tests/fuzz" / kind / target;
        if (!std::filesystem::is_directory(folder)) {
            continue;
        }
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            files.push_back(entry.path().string());
        }
    }
    return files;
}

class FuzzInputsTest : public ::testing::Test {
protected:
    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};  // names inside the inputs find no files
    MessageBoxRecorder boxes;
    ErrorReporter reporter{nullptr, false};
};

TEST_F(FuzzInputsTest, QvrInputsLoadOrFailCleanly) {
    auto files = inputs("qvr");
    ASSERT_GE(files.size(), 7u);
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        TextureManager textures;
        Scene scene;
        QvrReader reader(scene, textures, 3);
        bool loaded = reader.loadQVR(file, 1, 0);
        if (file.find("regressions") != std::string::npos) {
            // Each hostile file fails before anything is added.
            EXPECT_FALSE(loaded);
            EXPECT_EQ(scene.nodeCount(), 0u);
        }
    }
}

TEST_F(FuzzInputsTest, SceneTextInputsRead) {
    auto files = inputs("scene_text");
    ASSERT_GE(files.size(), 5u);
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        TextureManager textures;
        Scene scene;
        SceneTextReader reader(scene, textures, 3);
        reader.loadSceneText(file.c_str(), 1);
    }
}

// The PNG room seeds draw one room as RGB, RGBA and palette; each must read as the
// same pixels, whatever libpng converted on the way.
TEST_F(FuzzInputsTest, PngInputsReadAndTheRoomSeedsAgree) {
    auto files = inputs("png");
    ASSERT_GE(files.size(), 5u);
    std::vector<std::vector<unsigned>> rooms;
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        Texture texture(false, 1, 1);
        std::string why;
        const bool read = texture.readMapImage(file, why);
        EXPECT_EQ(read, why.empty()) << why;
        if (file.find("/room_") == std::string::npos) {
            continue;
        }
        ASSERT_TRUE(read) << why;
        std::vector<unsigned> pixels;
        for (int y = 0; y < texture.height; ++y) {
            for (int x = 0; x < texture.width; ++x) {
                const Color4 c = texture.getPixel(x, y);
                pixels.push_back(static_cast<unsigned>(c.r * 255.0f) << 16 |
                                 static_cast<unsigned>(c.g * 255.0f) << 8 |
                                 static_cast<unsigned>(c.b * 255.0f));
            }
        }
        rooms.push_back(pixels);
    }
    ASSERT_EQ(rooms.size(), 3u);
    for (const auto& room : rooms) {
        EXPECT_EQ(room, rooms.front());
    }
    // Row 0 is the bottom row: all wall.
    EXPECT_EQ(rooms.front()[0], 0u);
    EXPECT_EQ(rooms.front()[5 * 2 + 1], 0xFFFFFFu);
}

TEST_F(FuzzInputsTest, TgaAndFontMetricsInputsRead) {
    auto images = inputs("tga");
    ASSERT_GE(images.size(), 4u);
    for (const std::string& file : images) {
        // The named seeds are whole images; the inputs a fuzzer run added
        // (named by their hash) only have to be read without harm.
        Texture texture(false, 1, 1);
        bool read = texture.readTGA(file, false);
        if (!isFuzzerFind(file)) {
            EXPECT_TRUE(read) << file << ": " << reporter.getMessage();
        }
    }
    auto metrics = inputs("font_metrics");
    ASSERT_GE(metrics.size(), 2u);
    for (const std::string& file : metrics) {
        FontMetricsTable table{};
        bool malformed = false;
        bool read = readFontMetrics(file, table, malformed);
        if (!isFuzzerFind(file)) {
            EXPECT_TRUE(read) << file;
            EXPECT_EQ(malformed, file.find("malformed") != std::string::npos) << file;
        }
    }
}

}  // namespace
