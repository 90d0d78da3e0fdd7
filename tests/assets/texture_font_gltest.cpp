// Texture upload and bitmap fonts with a real OpenGL context.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "app/error_reporter.h"
#include "assets/texture_manager.h"
#include "assets/tga_builder.h"
#include "support/gl_context.h"
#include "support/message_box_recorder.h"
#include "support/temp_dir.h"

namespace {

class TextureGLTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gl.ok()) << "no GL context";
        std::filesystem::create_directories(dir.file("fonts"));
    }

    // Writes a picture under a relative, lower-case name (the manager
    // lower-cases the names it opens).
    void write(const std::string& name, const Picture& picture, int bits = 32) {
        writeFile(dir.file(name), buildTga(picture, TgaLayout{bits}));
    }

    // A 128 x 128 atlas of 12-pixel cells, transparent except for the glyphs named.
    static Picture atlas(std::initializer_list<int> opaqueGlyphs) {
        Picture p;
        p.width = 128;
        p.height = 128;
        p.pixels.assign(128 * 128, Rgba{0, 0, 0, 0});
        for (int glyph : opaqueGlyphs) {
            int cellX = (glyph % 10) * 12;
            int cellY = (glyph / 10) * 12;  // from the top of the picture
            for (int y = 0; y < 12; ++y) {
                for (int x = 0; x < 12; ++x) {
                    p.pixels[(cellY + y) * 128 + cellX + x] = Rgba{255, 255, 255, 255};
                }
            }
        }
        return p;
    }

    GLTestContext gl{256, 256};
    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};
    MessageBoxRecorder boxes;
    ErrorReporter reporter{nullptr, false};
    TextureManager manager;
};

TEST_F(TextureGLTest, UploadSetsTheFilterTableAndDropsThePixels) {
    struct Case {
        unsigned quality;
        bool mipmap;
        GLint mag, min;
    } cases[] = {
        {1, false, GL_NEAREST, GL_NEAREST},
        {1, true, GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST},
        {2, true, GL_NEAREST, GL_NEAREST_MIPMAP_LINEAR},
        {3, false, GL_LINEAR, GL_LINEAR},
        {3, true, GL_LINEAR, GL_LINEAR_MIPMAP_NEAREST},
        {4, true, GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR},
    };
    int index = 0;
    for (const Case& c : cases) {
        std::string name = "t" + std::to_string(index++) + ".tga";
        write(name, Picture::gradient(8, 8), 24);
        TextureID id = manager.loadTexture(0, c.mipmap, c.quality, 1, name);
        ASSERT_NE(id.id, 0u) << (boxes.boxes().empty() ? "" : boxes.boxes().back().text);
        Texture* texture = manager.getTexture(0, id.id);
        EXPECT_EQ(texture->pixels, nullptr);
        EXPECT_NE(texture->glName, 0u);
        EXPECT_EQ(manager.getTextureGLName(0, id.id), texture->glName);
        glBindTexture(GL_TEXTURE_2D, texture->glName);
        GLint mag = 0, min = 0, wrap = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
        EXPECT_EQ(mag, c.mag) << c.quality;
        EXPECT_EQ(min, c.min) << c.quality << " mipmap " << c.mipmap;
        EXPECT_EQ(wrap, GL_REPEAT);
        // Uploaded textures keep no pixels to query.
        EXPECT_TRUE(manager.getTexturePixel(0, id.id, 0, 0).equals(0, 0, 0, 1));
    }
}

TEST_F(TextureGLTest, UploadedPixelsAreThePicture) {
    Picture picture = Picture::gradient(16, 16);
    write("picture.tga", picture, 32);
    TextureID id = manager.loadTexture(1, false, 1, 0, "Picture.TGA");
    ASSERT_EQ(id.id, 1u);
    glBindTexture(GL_TEXTURE_2D, manager.getTextureGLName(1, 1));
    std::vector<std::uint8_t> uploaded(16 * 16 * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, uploaded.data());
    // Texture row 0 is the bottom row of the picture.
    const Rgba& bottomLeft = picture.at(0, 15);
    EXPECT_EQ(uploaded[0], bottomLeft.r);
    EXPECT_EQ(uploaded[1], bottomLeft.g);
    EXPECT_EQ(uploaded[2], bottomLeft.b);
    EXPECT_EQ(uploaded[3], bottomLeft.a);
    const Rgba& topRight = picture.at(15, 0);
    EXPECT_EQ(uploaded[(15 * 16 + 15) * 4], topRight.r);
}

// The game makes mipmap levels itself, as RGBA; they must be what
// gluBuild2DMipmaps makes from the same picture, level by level, or distant
// walls would change colour.
TEST_F(TextureGLTest, MipmapLevelsAreTheOnesGluMakes) {
    std::srand(11);
    for (int bits : {24, 32}) {
        for (int size : {2, 64, 256}) {
            Picture picture;
            picture.width = picture.height = size;
            for (int i = 0; i < size * size; ++i) {
                picture.pixels.push_back(Rgba{static_cast<std::uint8_t>(std::rand()),
                                              static_cast<std::uint8_t>(std::rand()),
                                              static_cast<std::uint8_t>(std::rand()),
                                              static_cast<std::uint8_t>(std::rand())});
            }
            const std::string name = "noise" + std::to_string(bits) + "_" + std::to_string(size);
            write(name + ".tga", picture, bits);
            TextureID ours = manager.loadTexture(1, true, 4, 0, name + ".tga");
            ASSERT_NE(ours.id, 0u) << name;

            const GLenum format = bits == 32 ? GL_RGBA : GL_RGB;
            const int channels = bits / 8;
            std::vector<std::uint8_t> source(static_cast<std::size_t>(size * size * channels));
            glBindTexture(GL_TEXTURE_2D, manager.getTextureGLName(1, ours.id));
            glPixelStorei(GL_PACK_ALIGNMENT, 1);
            glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, source.data());
            // Level 0 is the picture, in red-green-blue order, bottom row first.
            std::size_t wrong = 0;
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    const Rgba& p = picture.at(x, size - 1 - y);
                    const std::uint8_t* t =
                        &source[static_cast<std::size_t>((y * size + x) * channels)];
                    wrong +=
                        t[0] != p.r || t[1] != p.g || t[2] != p.b || (channels == 4 && t[3] != p.a);
                }
            }
            EXPECT_EQ(wrong, 0u) << name;
            GLuint glu = 0;
            glGenTextures(1, &glu);
            glBindTexture(GL_TEXTURE_2D, glu);
            glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
            gluBuild2DMipmaps(GL_TEXTURE_2D, channels, size, size, format, GL_UNSIGNED_BYTE,
                              source.data());

            int level = 0;
            for (int side = size; side >= 1; side /= 2, ++level) {
                std::vector<std::uint8_t> expected(
                    static_cast<std::size_t>(side * side * channels));
                std::vector<std::uint8_t> actual(expected.size(), 0xAB);
                glBindTexture(GL_TEXTURE_2D, glu);
                glGetTexImage(GL_TEXTURE_2D, level, format, GL_UNSIGNED_BYTE, expected.data());
                glBindTexture(GL_TEXTURE_2D, manager.getTextureGLName(1, ours.id));
                glGetTexImage(GL_TEXTURE_2D, level, format, GL_UNSIGNED_BYTE, actual.data());
                EXPECT_EQ(actual, expected) << name << " level " << level;
            }
            GLint below = -1;
            glBindTexture(GL_TEXTURE_2D, manager.getTextureGLName(1, ours.id));
            glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &below);
            EXPECT_EQ(below, 0) << name << ": no level after 1 x 1";
            glDeleteTextures(1, &glu);
        }
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Every level of a texture, as OpenGL holds it.
std::vector<std::vector<std::uint8_t>> levelsOf(unsigned glName) {
    std::vector<std::vector<std::uint8_t>> levels;
    glBindTexture(GL_TEXTURE_2D, glName);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    for (int level = 0;; ++level) {
        GLint width = 0;
        GLint height = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &height);
        if (width == 0 || height == 0) {
            return levels;
        }
        levels.emplace_back(static_cast<std::size_t>(width * height * 4));
        glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, levels.back().data());
    }
}

// Pictures read ahead on another thread end up as the same textures, level
// for level, as pictures loaded the usual way; what cannot be read there is
// loaded the usual way and reported as it always was.
TEST_F(TextureGLTest, PreloadedPicturesBecomeTheSameTexturesAndFailTheSameWay) {
    write("wall.tga", Picture::gradient(64, 64), 24);
    write("glass.tga", Picture::gradient(32, 32), 32);
    write("sign.tga", Picture::gradient(16, 16), 24);
    writeFile(dir.file("cut.tga"),
              buildTga(Picture::gradient(16, 16), TgaLayout{24}).substr(0, 90));
    struct Load {
        const char* name;
        bool mipmap;
        unsigned quality;
    };
    const Load loads[] = {{"wall.tga", true, 4},
                          {"Glass.TGA", true, 2},
                          {"sign.tga", false, 1},
                          {"cut.tga", true, 4},
                          {"gone.tga", true, 4}};
    TextureManager usual;
    for (const Load& load : loads) {
        usual.loadTexture(1, load.mipmap, load.quality, 1, load.name);
    }
    auto shown = [&] {
        std::vector<std::string> texts;
        for (const platform::MessageBoxRequest& box : boxes.boxes()) {
            texts.push_back(box.caption + ": " + box.text);
        }
        boxes.clear();
        return texts;
    };
    const std::vector<std::string> usualMessages = shown();
    EXPECT_EQ(usualMessages.size(), 2u) << "the cut file and the missing one";
    std::vector<TextureRequest> requests;
    for (const Load& load : loads) {
        requests.push_back({load.name, load.mipmap, load.quality, 1});
    }
    requests.push_back({"sign.tga", true, 1, 1});  // asked for with other settings
    manager.preload(requests);
    std::vector<TextureID> ids;
    for (const Load& load : loads) {
        ids.push_back(manager.loadTexture(1, load.mipmap, load.quality, 1, load.name));
    }
    EXPECT_EQ(shown(), usualMessages);
    EXPECT_EQ(manager.getTextureGLName(1, ids[0].id), 0u) << "uploaded at the end of the preload";
    manager.endPreload();
    for (std::size_t i = 0; i < 3; ++i) {
        ASSERT_NE(ids[i].id, 0u) << loads[i].name;
        EXPECT_NE(manager.getTextureGLName(1, ids[i].id), 0u) << loads[i].name;
        EXPECT_EQ(levelsOf(manager.getTextureGLName(1, ids[i].id)),
                  levelsOf(usual.getTextureGLName(1, i + 1)))
            << loads[i].name;
    }
    EXPECT_EQ(ids[3].id, 0u);
    EXPECT_EQ(ids[4].id, 0u);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Leaving a level while its pictures are still being read ahead.
TEST_F(TextureGLTest, ReleasingAGroupEndsItsPreloadFirst) {
    for (int i = 0; i < 4; ++i) {
        write("big" + std::to_string(i) + ".tga", Picture::gradient(256, 256), 32);
    }
    for (int taken = 0; taken <= 4; ++taken) {
        std::vector<TextureRequest> requests;
        for (int i = 0; i < 4; ++i) {
            requests.push_back({"big" + std::to_string(i) + ".tga", true, 4, 0});
        }
        manager.preload(requests);
        for (int i = 0; i < taken; ++i) {
            EXPECT_NE(
                manager.loadTexture(1, true, 4, 0, requests[static_cast<std::size_t>(i)].fileName)
                    .id,
                0u);
        }
        manager.releaseGroup(1);
        EXPECT_EQ(manager.textureCount(1), 0u);
        manager.endPreload();  // nothing left to end
    }
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureGLTest, FixedWidthAndProportionalMeasuring) {
    write("fonts/fixed.tga", atlas({}));
    TextureID texture = manager.loadTexture(0, false, 4, 0, "fonts/fixed.tga");
    FontID fixed = manager.createFont(0, texture.id, 12, Color4(1.0f, 0.0f, 0.0f, 1.0f), 2.0f);
    ASSERT_EQ(fixed.id, 1u);
    BitmapFont* font = manager.getFont(0, fixed.id);
    EXPECT_TRUE(font->isFixedWidth());
    EXPECT_TRUE(font->colour().equals(1, 0, 0, 1));
    Vector2 size = manager.getTextSize(0, fixed.id, "%s", "ab");
    EXPECT_FLOAT_EQ(size.x, 2 * 12 * 2.0f);
    EXPECT_FLOAT_EQ(size.y, 12 * 2.0f);

    // A proportional font: advance of glyph k is k % 7 + 3, drop 1 for 'g'.
    std::string metrics;
    for (int row = 0; row < 10; ++row) {
        for (int column = 0; column < 10; ++column) {
            int glyph = row * 10 + column;
            metrics += std::to_string(glyph % 7 + 3) + ", " + (glyph == 71 ? "1" : "0") + ", ";
        }
        metrics += "\n";
    }
    write("fonts/proportional.tga", atlas({}));
    writeFile(dir.file("fonts/proportional.tga.txt"), metrics);
    TextureID propTexture = manager.loadTexture(0, false, 4, 0, "fonts/Proportional.tga");
    FontID proportional = manager.createFont(0, propTexture.id, 25, Color4(0, 0, 0, 255), 1.0f);
    ASSERT_EQ(proportional.id, 2u);
    EXPECT_FALSE(manager.getFont(0, proportional.id)->isFixedWidth());
    // 'A' is glyph 33 (advance 8), 'g' glyph 71 (advance 4); k = int(0.05 * 25) = 1.
    EXPECT_FLOAT_EQ(manager.getTextWidth(0, proportional.id, "Ag"), (8 + 1) + (4 + 1));
    manager.setFontScale(0, proportional.id, 0.5f);
    EXPECT_FLOAT_EQ(manager.getTextSize(0, proportional.id, "Ag").y, 12.5f);
    EXPECT_TRUE(boxes.boxes().empty());

    // Characters without a glyph count as spaces rather than reading past the table.
    manager.setFontScale(0, proportional.id, 1.0f);
    EXPECT_FLOAT_EQ(manager.getTextWidth(0, proportional.id, "\x01\xC8"),
                    2 * (manager.getTextWidth(0, proportional.id, " ")));
}

TEST_F(TextureGLTest, MalformedMetricsGiveOneMessageAndAFixedWidthFont) {
    write("fonts/broken.tga", atlas({}));
    std::string oneShortRow;
    for (int i = 0; i < 19; ++i) {
        oneShortRow += "5, ";
    }
    writeFile(dir.file("fonts/broken.tga.txt"), oneShortRow + "\n");
    TextureID texture = manager.loadTexture(0, false, 4, 0, "fonts/broken.tga");
    FontID font = manager.createFont(0, texture.id, 12, Color4(0, 0, 0, 1), 1.0f);
    ASSERT_EQ(font.id, 1u);
    EXPECT_TRUE(manager.getFont(0, 1)->isFixedWidth());
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text,
              "File format in fonts/broken.tga.txt is invalid.\nMake sure there are 10 rows of "
              "numbers with 20 numbers in each row.\nEvery number must have a comma after it and "
              "a space after the comma.");
    EXPECT_EQ(reporter.getMessage(), "No Error.");
}

// No box for a font that cannot be made, but the log says why.
TEST_F(TextureGLTest, RefusedFontsLeaveTheirReasonInTheLog) {
    ErrorReporter logging("ErrorLog", true);
    write("fonts/small.tga", atlas({}));
    TextureID texture = manager.loadTexture(0, false, 4, 0, "fonts/small.tga");
    struct Case {
        int group;
        std::uint32_t textureId;
        unsigned cellSize;
        const char* line;
    } cases[] = {
        {0, texture.id, 0, "Can not create a font over texture 1 of group 0: the cell size is 0"},
        {0, 7, 12, "Can not create a font over texture 7 of group 0: no such texture is loaded"},
        {1, texture.id, 12,
         "Can not create a font over texture 1 of group 1: no such texture is loaded"},
        {2, texture.id, 12,
         "Can not create a font over texture 1 of group 2: there is no such group"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(manager.createFont(c.group, c.textureId, c.cellSize, Color4(0, 0, 0, 1), 1.0f).id,
                  0u);
        EXPECT_NE(readFile(dir.file("ErrorLog.txt")).find(c.line), std::string::npos) << c.line;
    }
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_EQ(logging.getErrorKind(), ERROR_NONE);
}

TEST_F(TextureGLTest, InvalidFontIdsAndArgumentsAreQuietNoOps) {
    write("fonts/small.tga", atlas({}));
    TextureID texture = manager.loadTexture(0, false, 4, 0, "fonts/small.tga");
    EXPECT_EQ(manager.createFont(0, texture.id, 0, Color4(0, 0, 0, 1), 1.0f).id, 0u);
    EXPECT_EQ(manager.createFont(0, 0, 12, Color4(0, 0, 0, 1), 1.0f).id, 0u);
    EXPECT_EQ(manager.createFont(0, 7, 12, Color4(0, 0, 0, 1), 1.0f).id, 0u);
    EXPECT_EQ(manager.fontCount(0), 0u);
    EXPECT_EQ(manager.getTextWidth(0, 1, "abc"), 0.0f);
    Vector2 none = manager.getTextSize(0, 3, "abc");
    EXPECT_EQ(none.x, 0.0f);
    EXPECT_EQ(none.y, 0.0f);
    manager.printText(0, 1, 0, 0, "abc");
    manager.setFontColour(0, 1, 1, 1, 1, 1);

    FontID font = manager.createFont(0, texture.id, 12, Color4(0, 0, 0, 1), 1.0f);
    ASSERT_EQ(font.id, 1u);
    std::string longText(200, 'x');
    EXPECT_FLOAT_EQ(manager.getTextWidth(0, font.id, "%s", longText.c_str()), 127 * 12.0f);
    manager.releaseGroup(0);
    EXPECT_EQ(manager.getFont(0, font.id), nullptr);
    EXPECT_EQ(manager.getTextWidth(0, font.id, "abc"), 0.0f);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(TextureGLTest, PrintedTextLandsWhereMeasuredAndDescendersDrop) {
    write("fonts/glyphs.tga", atlas({33, 71}));  // 'A' and 'g' are solid cells
    TextureID texture = manager.loadTexture(0, false, 1, 0, "fonts/glyphs.tga");
    FontID font = manager.createFont(0, texture.id, 12, Color4(0.0f, 0.0f, 0.0f, 1.0f), 1.0f);
    ASSERT_EQ(font.id, 1u);

    glViewport(0, 0, gl.width(), gl.height());
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0.0, gl.width(), 0.0, gl.height());
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    manager.printText(0, font.id, 20, 40, "Ag");
    manager.printText(0, font.id, 20, 100, "gA");
    glFlush();
    gl.savePng("/tmp/spookhollow-font-test.png");

    auto isBlack = [&](int x, int y) {
        unsigned char rgba[4];
        gl.pixelAt(x, y, rgba);
        return rgba[0] < 40 && rgba[1] < 40 && rgba[2] < 40;
    };
    // "Ag": A fills x 20..30, y 40..50; g is drawn 0.16 * 12 lower at x 32..42.
    EXPECT_TRUE(isBlack(25, 45));
    EXPECT_FALSE(isBlack(25, 39));
    EXPECT_TRUE(isBlack(37, 39));
    EXPECT_FALSE(isBlack(37, 50));
    EXPECT_FALSE(isBlack(45, 45));  // one space between glyphs, then nothing
    // "gA": the pen is back on the baseline after the descender.
    EXPECT_TRUE(isBlack(37, 110));
    EXPECT_FALSE(isBlack(37, 99));
    EXPECT_TRUE(isBlack(25, 99));
}

}  // namespace
