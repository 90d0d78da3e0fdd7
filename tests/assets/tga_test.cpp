// Reading TGA files without a GL context: every layout, corrupt and hostile
// files, the size rules and pixel queries of kept (map) images.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/error_reporter.h"
#include "assets/texture.h"
#include "assets/texture_manager.h"
#include "assets/tga_builder.h"
#include "support/message_box_recorder.h"
#include "support/temp_dir.h"

namespace {

class TgaTest : public ::testing::Test {
protected:
    TempDir dir;
    MessageBoxRecorder boxes;
    ErrorReporter reporter{nullptr, false};

    std::string save(const std::string& name, const std::string& bytes) {
        writeFile(dir.file(name), bytes);
        return dir.file(name);
    }

    // Expected buffer: bottom row first, left to right, RGB(A).
    static std::vector<std::uint8_t> bottomUp(const Picture& p, int bits) {
        std::vector<std::uint8_t> out;
        for (int row = p.height - 1; row >= 0; --row) {
            for (int x = 0; x < p.width; ++x) {
                const Rgba& c = p.at(x, row);
                out.insert(out.end(), {c.r, c.g, c.b});
                if (bits == 32) {
                    out.push_back(c.a);
                }
            }
        }
        return out;
    }

    static std::vector<std::uint8_t> buffer(const Texture& t) {
        return std::vector<std::uint8_t>(
            t.pixels, t.pixels + static_cast<std::size_t>(t.width) * t.height * t.bitsPerPixel / 8);
    }

    void expectFailure(const std::string& path, bool checkSize, int kind,
                       const std::string& message) {
        Texture texture(false, 1, 0);
        EXPECT_FALSE(texture.readTGA(path, checkSize));
        EXPECT_EQ(reporter.getErrorKind(), kind);
        EXPECT_EQ(reporter.getMessage(), message);
    }
};

TEST_F(TgaTest, EveryRowColumnOrderAndEncodingGivesTheSameBottomUpBuffer) {
    Picture picture = Picture::gradient(8, 8);
    // Repeated pixels so the run-length files hold runs as well as raw packets.
    for (int x = 0; x < 6; ++x) {
        picture.pixels[x] = Rgba{200, 10, 10, 99};
    }
    for (int bits : {24, 32}) {
        for (bool runLength : {false, true}) {
            for (bool topToBottom : {false, true}) {
                for (bool rightToLeft : {false, true}) {
                    TgaLayout layout{bits, runLength, topToBottom, rightToLeft, 3};
                    std::string path = save("p.tga", buildTga(picture, layout));
                    Texture texture(false, 1, 0);
                    ASSERT_TRUE(texture.readTGA(path, true)) << reporter.getMessage();
                    EXPECT_EQ(texture.bitsPerPixel, static_cast<unsigned>(bits));
                    EXPECT_EQ(texture.hasAlpha, bits == 32 ? 1 : 0);
                    EXPECT_EQ(buffer(texture), bottomUp(picture, bits))
                        << bits << " rle=" << runLength << " top=" << topToBottom
                        << " rtl=" << rightToLeft;
                    EXPECT_STREQ(texture.fileName, path.c_str());
                }
            }
        }
    }
}

TEST_F(TgaTest, HeaderAndFormatFailures) {
    expectFailure(dir.file("missing.tga"), true, ERROR_GAME,
                  "Can not open " + dir.file("missing.tga") + ".");
    std::string shortHeader = save("short.tga", std::string(10, '\0'));
    expectFailure(shortHeader, true, ERROR_GAME, "Error reading header in " + shortHeader + ".");
    std::string mapped = save("mapped.tga", tgaHeader(1, 4, 4, 8, 0));
    expectFailure(
        mapped, true, ERROR_GAME,
        "Can not load " + mapped + ".\nThis TGA file is saved in an unsupported file format.");
    std::string sixteen = save("sixteen.tga", tgaHeader(2, 4, 4, 16, 0) + std::string(32, 'x'));
    expectFailure(
        sixteen, true, ERROR_GAME,
        "Can not load " + sixteen +
            ".\nThis TGA file's color depth is 16.\nOnly allowed to have 24bpp or 32bpp.");
}

TEST_F(TgaTest, SizeRulesApplyToTexturesOnly) {
    struct Case {
        int width, height;
        const char* rule;
    } cases[] = {{64, 32, "Size must be square."},
                 {48, 48, "File size must be in powers of two."},
                 {1, 1, "File size must be in powers of two."}};
    for (const Case& c : cases) {
        std::string bytes = buildTga(Picture::gradient(c.width, c.height), TgaLayout{});
        std::string path = save("s.tga", bytes);
        expectFailure(path, true, ERROR_GAME,
                      "Can not load " + path + ".\nThis file's size is " + std::to_string(c.width) +
                          "x" + std::to_string(c.height) + ".\n" + c.rule);
        Texture map(false, 1, 1);
        EXPECT_TRUE(map.readTGA(path, false)) << reporter.getMessage();
        EXPECT_EQ(map.width, c.width);
        EXPECT_EQ(map.height, c.height);
    }
}

TEST_F(TgaTest, TruncatedFilesGiveTheirMessages) {
    Picture picture = Picture::gradient(4, 4);
    std::string whole = buildTga(picture, TgaLayout{});
    std::string cut = save("cut.tga", whole.substr(0, whole.size() - 5));
    expectFailure(cut, true, ERROR_GAME, "Can not load " + cut + ".\nFile is corrupted.");

    std::string rle = buildTga(picture, TgaLayout{24, true});
    std::string cutRle = save("cutrle.tga", rle.substr(0, rle.size() - 2));  // inside a packet
    expectFailure(cutRle, true, ERROR_GAME,
                  "Can not load data from " + cutRle + ".\nFile is corrupted.");
}

TEST_F(TgaTest, RunPastThePictureIsRefusedWithoutWritingBeyondIt) {
    // A 2 x 2 picture whose only packet claims 128 pixels.
    std::string bytes =
        tgaHeader(10, 2, 2, 24, 0) + std::string("\xFF\x01\x02\x03", 4) + std::string(64, '\0');
    std::string path = save("overrun.map", bytes);
    expectFailure(path, false, ERROR_GAME,
                  "Can not load data from " + path + ".\nFile is corrupted.");
    // The same with a raw packet.
    std::string raw = tgaHeader(10, 2, 2, 32, 0) + std::string("\x7F", 1) + std::string(600, 'r');
    std::string rawPath = save("overrun2.map", raw);
    expectFailure(rawPath, false, ERROR_GAME,
                  "Can not load data from " + rawPath + ".\nFile is corrupted.");
}

TEST_F(TgaTest, HostileSizesNeverAllocateWhatTheFileCannotHold) {
    // Sizes are unsigned 16-bit: 65532 is what a signed reading took for -4.
    struct Case {
        const char* file;
        int type, width, height;
        bool checkSize;
        std::string message;  // after "Can not load <path>" or "Can not load data from <path>"
        bool dataFrom;
    } cases[] = {
        {"raw.map", 2, 8192, 8192, false, ".\nFile is corrupted.", false},
        {"rle.map", 10, 8192, 8192, false, ".\nFile is corrupted.", true},
        {"huge.map", 2, 32767, 32767, false,
         ".\nThis file's size is 32767x32767.\nFile is too large.", false},
        {"widest.map", 10, 65535, 1025, false,
         ".\nThis file's size is 65535x1025.\nFile is too large.", false},
        {"wide.map", 2, -4, 4, false, ".\nFile is corrupted.", false},
        {"empty.map", 2, 0, 4, false, ".\nFile is corrupted.", false},
        {"big.tga", 2, 60000, 60000, true,
         ".\nThis file's size is 60000x60000.\nFile size must be in powers of two.", false},
    };
    for (const Case& c : cases) {
        std::string path =
            save(c.file, tgaHeader(c.type, c.width, c.height, 32, 0) + std::string(100, 'x'));
        expectFailure(path, c.checkSize, ERROR_GAME,
                      std::string(c.dataFrom ? "Can not load data from " : "Can not load ") + path +
                          c.message);
    }
}

TEST_F(TgaTest, MapPixelQueries) {
    Picture picture = Picture::gradient(5, 3);
    save("level.map", buildTga(picture, TgaLayout{}));
    ScopedWorkingDir cwd(dir.path());  // the manager lower-cases names: stay relative
    TextureManager manager;
    TextureID id = manager.loadTexture(1, false, 1, 1, "level.map");
    ASSERT_EQ(id.id, 1u) << reporter.getMessage();
    EXPECT_EQ(manager.getTextureSize(1, 1), std::make_pair(5u, 3u));
    // Row 0 is the bottom row of the picture.
    Color4 corner = manager.getTexturePixel(1, 1, 0, 0);
    const Rgba& expected = picture.at(0, 2);
    EXPECT_FLOAT_EQ(corner.r, expected.r <= 0 ? 0.0f : expected.r / 255.0f);
    EXPECT_FLOAT_EQ(corner.g, expected.g / 255.0f);
    EXPECT_FLOAT_EQ(corner.a, 1.0f);
    for (auto [x, y] : {std::pair{5, 0}, {-1, 0}, {0, 3}, {0, -1}}) {
        Color4 outside = manager.getTexturePixel(1, 1, x, y);
        EXPECT_TRUE(outside.equals(0, 0, 0, 1)) << x << "," << y;
    }
    EXPECT_TRUE(manager.getTexturePixel(1, 2, 0, 0).equals(0, 0, 0, 1));
    EXPECT_TRUE(manager.getTexturePixel(1, 0, 0, 0).equals(0, 0, 0, 1));
}

TEST_F(TgaTest, NameRulesAndSharing) {
    TextureManager manager;
    EXPECT_EQ(manager.loadTexture(0, false, 1, 0, "a.tg").id, 0u);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes().back().text, "a.tg\nInvalid texture filename.");
    EXPECT_EQ(boxes.boxes().back().caption, "Game Error");
    EXPECT_EQ(reporter.getMessage(), "No Error.");

    EXPECT_EQ(manager.loadTexture(0, false, 1, 0, "picture.bmp").id, 0u);
    EXPECT_EQ(boxes.boxes().back().text,
              "Game Engine can not load picture.bmp\nUnsupported image file type.");

    std::string longName(300, 'a');
    longName += ".map";
    EXPECT_EQ(manager.loadTexture(0, false, 1, 0, longName).id, 0u);
    EXPECT_EQ(boxes.boxes().back().text, longName + "\nInvalid texture filename.");

    // Names are lower-cased and slashes normalised before the file is opened.
    std::filesystem::create_directories(dir.file("maps"));
    writeFile(dir.file("maps/castle.map"), buildTga(Picture::gradient(3, 3), TgaLayout{}));
    ScopedWorkingDir cwd(dir.path());
    TextureID first = manager.loadTexture(1, false, 1, 1, "maps/castle.map");
    ASSERT_EQ(first.id, 1u) << boxes.boxes().back().text;
    std::filesystem::remove(dir.file("maps/castle.map"));  // a second read would now fail
    TextureID again = manager.loadTexture(1, true, 4, 0, "MAPS\\Castle.MAP");
    EXPECT_EQ(again.id, 1u);
    EXPECT_EQ(manager.textureCount(1), 1u);

    std::size_t before = boxes.boxes().size();
    TextureID otherGroup = manager.loadTexture(0, false, 1, 1, "maps/castle.map");
    EXPECT_EQ(otherGroup.group, 0);
    EXPECT_EQ(otherGroup.id, 0u);
    ASSERT_EQ(boxes.boxes().size(), before + 1);
    EXPECT_EQ(boxes.boxes().back().text,
              "maps/castle.map\nTexture found in Group_1, but attempting to save in Group_0.");

    manager.releaseGroup(1);
    EXPECT_EQ(manager.textureCount(1), 0u);
    writeFile(dir.file("maps/castle.map"), buildTga(Picture::gradient(3, 3), TgaLayout{}));
    EXPECT_EQ(manager.loadTexture(1, false, 1, 1, "maps/castle.map").id, 1u);
}

TEST_F(TgaTest, NamesAreOpenedAsWrittenThenLowerCasedAndSharedLowerCased) {
    TextureManager manager;
    ScopedWorkingDir cwd(dir.path());
    // A player's folder with capitals: found as written (the ending in
    // capitals too).
    std::filesystem::create_directories(dir.file("MyModels/Skins"));
    writeFile(dir.file("MyModels/Skins/Red.MAP"), buildTga(Picture::gradient(4, 4), TgaLayout{}));
    // The game's own data is stored lower-cased: found under that name.
    std::filesystem::create_directories(dir.file("textures"));
    writeFile(dir.file("textures/wall.map"), buildTga(Picture::gradient(2, 2), TgaLayout{}));

    TextureID red = manager.loadTexture(1, false, 1, 1, "MyModels\\Skins\\Red.MAP");
    ASSERT_EQ(red.id, 1u) << reporter.getMessage();
    EXPECT_STREQ(manager.getTexture(1, 1)->fileName, "mymodels/skins/red.map");
    EXPECT_EQ(manager.getTexture(1, 1)->openedName, "MyModels/Skins/Red.MAP");
    TextureID wall = manager.loadTexture(1, false, 1, 1, "Textures/Wall.map");
    ASSERT_EQ(wall.id, 2u) << reporter.getMessage();
    EXPECT_EQ(manager.getTexture(1, 2)->openedName, "textures/wall.map");
    // Shared by the lower-cased name, however it is written.
    EXPECT_EQ(manager.loadTexture(1, false, 1, 1, "mymodels/skins/red.map").id, 1u);
    EXPECT_EQ(manager.textureCount(1), 2u);

    // Found under neither name: the message names the path as written.
    boxes.clear();
    EXPECT_EQ(manager.loadTexture(1, false, 1, 1, "MyModels/Skins/Blue.map").id, 0u);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "Can not open MyModels/Skins/Blue.map.");
}

// Reads a binary PPM (top row first) into a bottom-up RGB buffer.
std::vector<std::uint8_t> ppmBottomUp(const std::string& bytes, int& width, int& height) {
    int maxValue = 0;
    int consumed = 0;
    if (std::sscanf(bytes.c_str(), "P6 %d %d %d%n", &width, &height, &maxValue, &consumed) != 3) {
        return {};
    }
    const std::uint8_t* data = reinterpret_cast<const std::uint8_t*>(bytes.data()) + consumed + 1;
    std::vector<std::uint8_t> out;
    for (int row = height - 1; row >= 0; --row) {
        out.insert(out.end(), data + row * width * 3, data + (row + 1) * width * 3);
    }
    return out;
}

// Files written by ImageMagick, an encoder that is not ours, compared with
// what ImageMagick itself says the pixels are.
TEST_F(TgaTest, ReadsFilesWrittenByImageMagick) {
    if (std::system("command -v convert > /dev/null 2>&1") != 0) {
        GTEST_FAIL() << "ImageMagick's convert is missing (tools/deps.sh installs it)";
    }
    Picture picture = Picture::gradient(16, 8);
    std::string ppm = "P6\n16 8\n255\n";
    for (const Rgba& p : picture.pixels) {
        ppm += static_cast<char>(p.r);
        ppm += static_cast<char>(p.g);
        ppm += static_cast<char>(p.b);
    }
    save("source.ppm", ppm);
    const char* variants[] = {"", "-compress RLE", "-orient TopLeft",
                              "-compress RLE -orient TopLeft", "-alpha on -compress RLE"};
    int index = 0;
    for (const char* options : variants) {
        std::string out = dir.file("magick" + std::to_string(index++) + ".map");
        std::string command =
            "convert " + dir.file("source.ppm") + " -type TrueColor " + options + " tga:" + out;
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        std::string reference = dir.file("reference.ppm");
        std::string ask =
            "convert tga:" + out + " -auto-orient -alpha off -depth 8 ppm:" + reference;
        ASSERT_EQ(std::system(ask.c_str()), 0) << ask;
        int width = 0, height = 0;
        std::vector<std::uint8_t> expected = ppmBottomUp(readFile(reference), width, height);

        Texture texture(false, 1, 1);
        ASSERT_TRUE(texture.readTGA(out, false)) << options << ": " << reporter.getMessage();
        ASSERT_EQ(texture.width, width);
        ASSERT_EQ(texture.height, height);
        std::vector<std::uint8_t> ours;
        unsigned bytesPerPixel = texture.bitsPerPixel / 8;
        for (std::size_t i = 0; i < static_cast<std::size_t>(width) * height; ++i) {
            ours.insert(ours.end(), texture.pixels + i * bytesPerPixel,
                        texture.pixels + i * bytesPerPixel + 3);
        }
        EXPECT_EQ(ours, expected) << options;
    }
}

}  // namespace
