// Reading pictures ahead on another thread, without a GL context.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/error_reporter.h"
#include "assets/texture.h"
#include "assets/texture_preload.h"
#include "assets/tga_builder.h"
#include "support/message_box_recorder.h"
#include "support/temp_dir.h"

namespace {

class TexturePreloadTest : public ::testing::Test {
protected:
    std::string save(const std::string& name, const std::string& bytes) {
        writeFile(dir.file(name), bytes);
        return dir.file(name);
    }

    TempDir dir;
    MessageBoxRecorder boxes;
    ErrorReporter reporter{nullptr, false};
};

TEST_F(TexturePreloadTest, APictureIsHandedOutOnceWithTheSettingsAskedFor) {
    std::unique_ptr<Texture> owned;  // outlives the preload, as it must
    const Picture picture = Picture::gradient(16, 16);
    const std::string wall = save("wall.tga", buildTga(picture, TgaLayout{24}));
    const std::string floor = save("floor.tga", buildTga(picture, TgaLayout{32, true}));
    TexturePreload preload({{wall, true, 4, 1}, {floor, false, 2, 0}});

    EXPECT_EQ(preload.take(wall, false, 4, 1), nullptr) << "not asked for without mipmaps";
    EXPECT_EQ(preload.take(wall, true, 3, 1), nullptr) << "nor with another filter";
    EXPECT_EQ(preload.take(wall, true, 4, 0), nullptr) << "nor as see-through";
    Texture* taken = preload.take(wall, true, 4, 1);
    ASSERT_NE(taken, nullptr);
    owned.reset(taken);
    EXPECT_EQ(preload.take(wall, true, 4, 1), nullptr) << "handed out twice";
    preload.levelsMade(taken);
    EXPECT_EQ(taken->width, 16);
    EXPECT_EQ(taken->bitsPerPixel, 24u);
    EXPECT_TRUE(taken->mipmap);
    EXPECT_EQ(taken->filterQuality, 4u);
    EXPECT_EQ(taken->solid, 1);

    // Read as the usual load reads it: the same bytes.
    Texture usual(true, 4, 1);
    ASSERT_TRUE(usual.readTGA(wall, true, true));
    EXPECT_EQ(taken->blueFirst, usual.blueFirst);
    EXPECT_TRUE(std::equal(usual.pixels, usual.pixels + 16 * 16 * 3, taken->pixels));
    // The picture not taken is dropped with the preload (the sanitizer build
    // would find it leaked).
}

// Whatever goes wrong on the other thread stays there: the usual load reads
// the file again and reports it on the main thread.
TEST_F(TexturePreloadTest, PicturesThatCannotBeReadAreNotHandedOutAndNotReported) {
    const std::string cut =
        save("cut.tga", buildTga(Picture::gradient(16, 16), TgaLayout{24}).substr(0, 100));
    const std::string oblong =
        save("oblong.tga", buildTga(Picture::gradient(16, 8), TgaLayout{24}));
    const std::string notTga =
        save("picture.png", buildTga(Picture::gradient(16, 16), TgaLayout{24}));
    const std::string missing = dir.file("missing.tga");
    {
        TexturePreload preload(
            {{cut, true, 4, 1}, {oblong, true, 4, 1}, {notTga, true, 4, 1}, {missing, true, 4, 1}});
        for (const std::string& file : {cut, oblong, notTga, missing}) {
            EXPECT_EQ(preload.take(file, true, 4, 1), nullptr) << file;
        }
    }
    EXPECT_EQ(reporter.getErrorKind(), ERROR_NONE) << reporter.getMessage();
    EXPECT_TRUE(boxes.boxes().empty());
}

// The game may leave the level before the thread is through.
TEST_F(TexturePreloadTest, EndingBeforeAnythingIsTakenWaitsForTheThreadAndDropsAll) {
    std::vector<TexturePreload::Request> requests;
    for (int i = 0; i < 8; ++i) {
        const std::string name = "big" + std::to_string(i) + ".tga";
        requests.push_back(
            {save(name, buildTga(Picture::gradient(256, 256), TgaLayout{32})), true, 4, 1});
    }
    for (int round = 0; round < 3; ++round) {
        std::unique_ptr<Texture> first;  // outlives the preload, as it must
        TexturePreload preload(requests);
        if (round == 1) {
            first.reset(preload.take(requests[0].fileName, true, 4, 1));
            EXPECT_NE(first, nullptr);
        }
    }
}

}  // namespace
