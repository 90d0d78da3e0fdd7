// What the controls and the cursor put on the screen, read back pixel by
// pixel, and the texture rectangles they cut from real textures.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "assets/tga_builder.h"
#include "gui/gui_manager.h"
#include "gui_test_support.h"
#include "support/gl_context.h"
#include "support/temp_dir.h"

namespace {

constexpr int WIDTH = 800;
constexpr int HEIGHT = 600;

GLTestContext& context() {
    static GLTestContext gl(WIDTH, HEIGHT);
    return gl;
}

struct Colour {
    int r, g, b;
};
constexpr Colour BLACK{0, 0, 0};
constexpr Colour RED{255, 0, 0};
constexpr Colour GREEN{0, 255, 0};
constexpr Colour BLUE{0, 0, 255};
constexpr Colour YELLOW{255, 255, 0};
constexpr Colour CYAN{0, 255, 255};
constexpr Colour MAGENTA{255, 0, 255};
constexpr Colour WHITE{255, 255, 255};
constexpr Colour GREY{128, 128, 128};

Rgba rgba(Colour c, int alpha = 255) {
    return Rgba{static_cast<std::uint8_t>(c.r), static_cast<std::uint8_t>(c.g),
                static_cast<std::uint8_t>(c.b), static_cast<std::uint8_t>(alpha)};
}

// A 256 x 256 picture (top row first) painted by a function of (x, y).
template <typename Paint>
Picture paint256(Paint paint) {
    Picture p;
    p.width = 256;
    p.height = 256;
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            p.pixels.push_back(paint(x, y));
        }
    }
    return p;
}

// The 4 x 4 grid of 64-pixel cells of the main test atlas, row by row from
// the top of the picture.
const Colour CELLS[4][4] = {
    {RED, GREEN, BLUE, YELLOW},
    {CYAN, MAGENTA, WHITE, GREY},
    {RED, GREEN, BLUE, YELLOW},
    {CYAN, MAGENTA, WHITE, BLUE},
};

// A pixel position that cuts a w x h rectangle from the middle of a cell.
// The y of a rectangle names its lowest row, counted from the picture's top.
int cellX(int column, int w) {
    return column * 64 + (64 - w) / 2;
}
int cellY(int row, int h) {
    return row * 64 + h - 1 + (64 - h) / 2;
}

class DrawTest : public GUITestBase {
protected:
    void SetUp() override {
        ASSERT_TRUE(gl.ok()) << "no GL context";
        gl.resetState();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluOrtho2D(0, WIDTH, 0, HEIGHT);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_BLEND);
        atlas =
            load("atlas.tga", paint256([](int x, int y) { return rgba(CELLS[y / 64][x / 64]); }));
    }

    std::uint32_t load(const std::string& name, const Picture& picture) {
        writeFile(dir.file(name), buildTga(picture, TgaLayout{32}));
        TextureID id = textures.loadTexture(0, false, 1, 0, name);
        EXPECT_NE(id.id, 0u) << (boxes.boxes().empty() ? "" : boxes.boxes().back().text);
        return id.id;
    }

    // A fixed-width font of 12-pixel cells whose every glyph is a solid square.
    FontID solidFont() {
        std::filesystem::create_directories(dir.file("fonts"));
        Picture p;
        p.width = 128;
        p.height = 128;
        p.pixels.assign(128 * 128, rgba(WHITE));
        std::uint32_t id = load("fonts/solid.tga", p);
        return textures.createFont(0, id, 12, Color4(1.0f, 1.0f, 1.0f, 1.0f), 1.0f);
    }

    void clear() {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    ::testing::AssertionResult pixelIs(int x, int y, Colour c, int tolerance = 3) const {
        unsigned char p[4];
        gl.pixelAt(x, y, p);
        if (std::abs(p[0] - c.r) <= tolerance && std::abs(p[1] - c.g) <= tolerance &&
            std::abs(p[2] - c.b) <= tolerance) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure()
               << "pixel (" << x << "," << y << ") is " << int(p[0]) << "," << int(p[1]) << ","
               << int(p[2]) << ", expected " << c.r << "," << c.g << "," << c.b;
    }

    GLTestContext& gl = context();
    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};
    GUIManager gui{textures};
    std::uint32_t atlas = 0;
};

TEST_F(DrawTest, ButtonRectangleOf64By32OnA256Texture) {
    ASSERT_TRUE(gui.createButton(1, GameState::MainMenu, 0, 0, 64, 32));
    ASSERT_TRUE(gui.setButtonTexture(1, GUIButton::ALL_LOOKS, 0, atlas, 0, 0));
    for (int look = 0; look < 4; ++look) {
        const GUITexRect& r = gui.getButton(1)->getTexRect(look);
        EXPECT_FLOAT_EQ(r.uMin, 0.0f);
        EXPECT_FLOAT_EQ(r.uMax, 63.0f / 255.0f);
        EXPECT_FLOAT_EQ(r.vMin, 1.0f);
        EXPECT_FLOAT_EQ(r.vMax, (255.0f + 31.0f) / 255.0f);
    }
    ASSERT_TRUE(gui.setButtonTexture(1, 2, 0, atlas, 64, 100));
    EXPECT_FLOAT_EQ(gui.getButton(1)->getTexRect(2).uMin, 64.0f / 255.0f);
    EXPECT_FLOAT_EQ(gui.getButton(1)->getTexRect(2).vMin, 155.0f / 255.0f);
    EXPECT_FLOAT_EQ(gui.getButton(1)->getTexRect(1).uMin, 0.0f) << "only look 2 changed";
    EXPECT_NE(gui.getButton(1)->getTextureName(), 0u);
}

TEST_F(DrawTest, TexturesTooNarrowOrWithoutAGlNameAreRefused) {
    // The loader takes no 1-pixel .tga, so the narrow texture is an image
    // kept for pixel queries: its width is checked before its GL name.
    Picture one;
    one.width = 1;
    one.height = 1;
    one.pixels.push_back(rgba(WHITE));
    const std::uint32_t narrow = load("one.map", one);
    const std::uint32_t kept = load("kept.map", Picture::gradient(8, 8));
    ASSERT_EQ(textures.getTextureWidth(0, narrow), 1u);
    ASSERT_NE(textures.getTextureWidth(0, kept), 0u);
    ASSERT_EQ(textures.getTextureGLName(0, kept), 0u);
    ASSERT_TRUE(boxes.boxes().empty());
    ASSERT_TRUE(gui.createButton(1, GameState::Options, 0, 0, 10, 10));
    ASSERT_TRUE(gui.createImage(2, GameState::Options, 0, 0, 10, 10));
    ASSERT_TRUE(gui.createList(3, GameState::Options, 0, 0, 10, 10, 0, 0, 10, 10));
    ASSERT_TRUE(
        gui.createSlider(4, GameState::Options, 0, 0, 10, 10, 5, 5, 0, 0, true, 0, 0, 1, 0));
    struct Case {
        std::uint32_t texture;
        const char* button;  // also the image's and the list's message
        const char* slider;
    } cases[] = {
        {narrow, "Invalid TextureWidth", "Invalid TextureWidth"},
        {99, "Invalid TextureWidth", "Invalid TextureWidth"},
        {kept, "Invalid BindTextureID", "Invalid TextureWidth"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.texture);
        EXPECT_FALSE(gui.setButtonTexture(1, 0, 0, c.texture, 0, 0));
        expectOneMessage(c.button);
        EXPECT_FALSE(gui.setImageTexture(2, 0, c.texture, 0, 0, 0));
        expectOneMessage(c.button);
        EXPECT_FALSE(gui.setListTexture(3, 3, 0, c.texture, 0, 0));
        expectOneMessage(c.button);
        EXPECT_FALSE(gui.setSliderTexture(4, 0, c.texture, 0, 0, 0, 0, 0, 0));
        expectOneMessage(c.slider);
        EXPECT_FALSE(gui.createMouseCursor(8, 8, 0, c.texture, 0, 0, 0, 0));
        expectOneMessage(c.button);
    }
    EXPECT_EQ(gui.getButton(1)->getTextureName(), 0u);
    clear();
    gui.drawGroup(GameState::Options);
    gui.drawMouseCursor();
    EXPECT_TRUE(pixelIs(2, 2, BLACK)) << "nothing is drawn without a texture";
}

TEST_F(DrawTest, ButtonDrawsEachLookOverItsOwnPixels) {
    gui.setFit(shiftedFit(20, 10));
    ASSERT_TRUE(gui.createButton(1, GameState::MainMenu, 100, 100, 40, 30));
    const Colour looks[4] = {RED, GREEN, BLUE, YELLOW};
    for (int look = 0; look < 4; ++look) {
        ASSERT_TRUE(gui.setButtonTexture(1, look, 0, atlas, cellX(look, 40), cellY(0, 30)));
    }
    GUIButton* button = gui.getButton(1);
    const int x = 120;
    const int y = 110;
    for (int look = 0; look < 4; ++look) {
        SCOPED_TRACE(look);
        button->setToggled((look & 1) != 0);
        button->setMouseOver((look & 2) != 0);
        clear();
        gui.drawGroup(GameState::MainMenu);
        // The quad ends one pixel short of the size: (X + W - 1, Y + H - 1).
        EXPECT_TRUE(pixelIs(x, y, looks[look]));
        EXPECT_TRUE(pixelIs(x + 38, y + 28, looks[look]));
        EXPECT_TRUE(pixelIs(x + 20, y + 15, looks[look]));
        EXPECT_TRUE(pixelIs(x + 39, y + 15, BLACK));
        EXPECT_TRUE(pixelIs(x + 20, y + 29, BLACK));
        EXPECT_TRUE(pixelIs(x - 1, y + 15, BLACK));
        EXPECT_TRUE(pixelIs(x + 20, y - 1, BLACK));
    }
}

TEST_F(DrawTest, ImageTurnsWithItsOrientation) {
    // A 40 x 20 cut around the corner where four cells meet: red upper-left,
    // green upper-right, cyan lower-left, magenta lower-right.
    const int px = 64 - 20;
    const int py = 192 + 9;
    gui.setFit(shiftedFit(30, 20));
    const int x = 230;
    const int y = 220;
    struct Case {
        int orientation;
        int width, height;
        Colour lowerLeft, lowerRight, upperRight, upperLeft;
    } cases[] = {
        {0, 40, 20, CYAN, MAGENTA, GREEN, RED},
        {1, 20, 40, MAGENTA, GREEN, RED, CYAN},
        {2, 20, 40, RED, CYAN, MAGENTA, GREEN},
        {3, 40, 20, GREEN, RED, CYAN, MAGENTA},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.orientation);
        gui.clearGroup(GameState::Intro);
        ASSERT_TRUE(gui.createImage(1, GameState::Intro, 200, 200, 40, 20));
        ASSERT_TRUE(gui.setImageTexture(1, 0, atlas, px, py, c.orientation));
        EXPECT_EQ(gui.getImage(1)->getSize().x, c.width);
        EXPECT_EQ(gui.getImage(1)->getSize().y, c.height);
        EXPECT_EQ(gui.getImage(1)->getHitSize().x, 40.0f) << "the mouse box keeps its size";
        clear();
        gui.drawGroup(GameState::Intro);
        const int qx = c.width / 4;
        const int qy = c.height / 4;
        const int right = c.width - 1 - qx - 1;
        const int top = c.height - 1 - qy - 1;
        EXPECT_TRUE(pixelIs(x + qx, y + qy, c.lowerLeft));
        EXPECT_TRUE(pixelIs(x + right, y + qy, c.lowerRight));
        EXPECT_TRUE(pixelIs(x + right, y + top, c.upperRight));
        EXPECT_TRUE(pixelIs(x + qx, y + top, c.upperLeft));
        EXPECT_TRUE(pixelIs(x + c.width - 1, y + qy, BLACK));
        EXPECT_TRUE(pixelIs(x + qx, y + c.height - 1, BLACK));
    }
}

TEST_F(DrawTest, ImageTurnedTwiceIsCutAtItsUprightSize) {
    ASSERT_TRUE(gui.createImage(1, GameState::Intro, 0, 0, 40, 20));
    ASSERT_TRUE(gui.setImageTexture(1, 0, atlas, 0, 100, 1));
    ASSERT_TRUE(gui.setImageTexture(1, 0, atlas, 0, 100, 2));
    EXPECT_EQ(gui.getImage(1)->getSize().x, 20.0f);
    EXPECT_EQ(gui.getImage(1)->getSize().y, 40.0f);
    EXPECT_FLOAT_EQ(gui.getImage(1)->getTexRect().uMax, 39.0f / 255.0f);
    ASSERT_TRUE(gui.setImageTexture(1, 0, atlas, 0, 100, 0));
    EXPECT_EQ(gui.getImage(1)->getSize().x, 40.0f);
    EXPECT_EQ(gui.getImage(1)->getSize().y, 20.0f);
}

TEST_F(DrawTest, ImageDrawsWithItsAlphaAndNotAtAll_ForAnUnknownOrientation) {
    ASSERT_TRUE(gui.createImage(1, GameState::Intro, 10, 10, 20, 20));
    ASSERT_TRUE(gui.setImageTexture(1, 0, atlas, cellX(2, 20), cellY(1, 20), 0));  // white
    gui.setAlpha(1, 0.5f);
    clear();
    gui.drawGroup(GameState::Intro);
    EXPECT_TRUE(pixelIs(20, 20, Colour{128, 128, 128}, 4));
    ASSERT_TRUE(gui.setImageTexture(1, 0, atlas, cellX(2, 20), cellY(1, 20), 7));
    clear();
    gui.drawGroup(GameState::Intro);
    EXPECT_TRUE(pixelIs(20, 20, BLACK));
}

class ListDrawTest : public DrawTest {
protected:
    void SetUp() override {
        DrawTest::SetUp();
        // The frame: see-through except for an opaque magenta band along its
        // left edge.
        frame = load("frame.tga",
                     paint256([](int x, int) { return x < 8 ? rgba(MAGENTA) : rgba(BLACK, 0); }));
        font = solidFont();
        gui.setFit(shiftedFit(20, 10));
        // X, Y = (120, 70); mouse box from x 140, between y 130 and 280.
        ASSERT_TRUE(gui.createList(17, GameState::Options, 100, 60, 240, 240, 20, 60, 200, 150));
        ASSERT_TRUE(gui.setListTexture(17, GUIList::FRAME_PART, 0, frame, 0, 240));
        gui.setListHighlightColour(17, 0, 0, 1, 1);
        ASSERT_TRUE(gui.assignListColumns(
            17, {100, 80}, {font},
            {Color4(1.0f, 0.0f, 0.0f, 1.0f), Color4(0.0f, 1.0f, 0.0f, 1.0f)}));
        for (std::uint32_t i = 0; i < 15; ++i) {
            ASSERT_TRUE(gui.addListItem(17, {"AB", "CD"}, 100 + i));
        }
    }
    void draw() {
        clear();
        gui.drawGroup(GameState::Options);
    }
    // Row i's text covers y from top - 15 - 18 i for 11 pixels.
    static int textY(int row) { return TOP - 15 - 18 * row + 5; }

    static constexpr int LEFT = 140;
    static constexpr int TOP = 280;
    std::uint32_t frame = 0;
    FontID font;
};

TEST_F(ListDrawTest, RowsColumnsHighlightAndFrameSitWhereTheyBelong) {
    EXPECT_EQ(gui.getList(17)->getRowHeight(), 18) << "12-pixel font plus twice the padding";
    gui.moveListSelection(17, 2);
    draw();
    // The frame's band on the left, the black background inside.
    EXPECT_TRUE(pixelIs(122, 200, MAGENTA));
    EXPECT_TRUE(pixelIs(132, 200, BLACK));
    EXPECT_TRUE(pixelIs(119, 200, BLACK));
    // Columns in their colours at their offsets.
    EXPECT_TRUE(pixelIs(LEFT + 5, textY(0), RED));
    EXPECT_TRUE(pixelIs(LEFT + 17, textY(0), RED));
    EXPECT_TRUE(pixelIs(LEFT + 105, textY(0), GREEN));
    EXPECT_TRUE(pixelIs(LEFT + 50, textY(0), BLACK));
    // The bar of row 2: from its top edge (280 - 36) less the padding, one
    // row high, across the mouse box.
    EXPECT_TRUE(pixelIs(LEFT + 60, 232, BLUE));
    EXPECT_TRUE(pixelIs(LEFT + 60, 223, BLUE));
    EXPECT_TRUE(pixelIs(LEFT + 60, 240, BLUE));
    EXPECT_TRUE(pixelIs(LEFT + 60, 242, BLACK));
    EXPECT_TRUE(pixelIs(LEFT + 60, 221, BLACK));
    EXPECT_TRUE(pixelIs(LEFT + 199, 232, BLUE));
    EXPECT_TRUE(pixelIs(LEFT + 201, 232, BLACK));
    EXPECT_TRUE(pixelIs(LEFT + 5, textY(2), RED)) << "the row's text over its bar";
    // No scrolling: row 8 still starts above the box's bottom and is drawn,
    // reaching below it; row 9 is not.
    EXPECT_TRUE(pixelIs(LEFT + 5, textY(8), RED));
    EXPECT_TRUE(pixelIs(LEFT + 5, textY(9), BLACK));
}

TEST_F(ListDrawTest, ClickedRowGetsTheBarAndRowsBelowTheBoxAreSelectableUnseen) {
    gui.setMousePositionForTest(LEFT + 50, TOP - 18 * 4 - 1, true);
    EXPECT_EQ(gui.handleMouse(GameState::Options), 17u);
    EXPECT_EQ(gui.getListSelectedRow(17), 4);
    EXPECT_EQ(gui.getListSelectedValue(17), 104u);
    draw();
    EXPECT_TRUE(pixelIs(LEFT + 60, TOP - 72 - 3 - 9, BLUE));
    EXPECT_TRUE(pixelIs(LEFT + 60, 232, BLACK));

    EXPECT_EQ(gui.moveListSelection(17, 5), 9);
    EXPECT_EQ(gui.getListSelectedValue(17), 109u);
    draw();
    for (int y = 100; y < 290; y += 3) {
        EXPECT_FALSE(pixelIs(LEFT + 60, y, BLUE)) << "no bar for a row below the box, y " << y;
    }
    EXPECT_EQ(gui.moveListSelection(17, 100), 14);
}

TEST_F(DrawTest, SliderTrackAndKnobSitWhereTheyBelong) {
    // Blue along the top and down the right side, a red knob cell and a
    // green one right of it.
    const std::uint32_t sheet = load("slider.tga", paint256([](int x, int y) {
                                         if (y < 64 || x >= 192) {
                                             return rgba(BLUE);
                                         }
                                         if (y < 128 && x < 64) {
                                             return rgba(RED);
                                         }
                                         if (y < 128 && x < 128) {
                                             return rgba(GREEN);
                                         }
                                         return rgba(GREY);
                                     }));
    gui.setFit(shiftedFit(20, 10));
    // X, Y = (120, 110); 180 pixels for 0 to 10, so the value 5 puts the
    // knob's centre at X + 90 + margin = 220.
    ASSERT_TRUE(gui.createSlider(26, GameState::Options, 100, 100, 200, 20, 20, 40, 10, -10, true,
                                 5, 0, 10, 0));
    ASSERT_TRUE(gui.setSliderTexture(26, 0, sheet, 20, 41, 22, 115, 64, 0));
    clear();
    gui.drawGroup(GameState::Options);
    EXPECT_TRUE(pixelIs(150, 120, BLUE));
    EXPECT_TRUE(pixelIs(120, 110, BLUE));
    EXPECT_TRUE(pixelIs(319, 129, BLUE)) << "the track is drawn to X + width, no -1";
    EXPECT_TRUE(pixelIs(320, 120, BLACK));
    EXPECT_TRUE(pixelIs(150, 130, BLACK));
    EXPECT_TRUE(pixelIs(220, 135, RED));
    EXPECT_TRUE(pixelIs(220, 100, RED)) << "the cross offset moves the knob down";
    EXPECT_TRUE(pixelIs(210, 135, RED));
    EXPECT_TRUE(pixelIs(229, 139, RED));
    EXPECT_TRUE(pixelIs(209, 135, BLACK));
    EXPECT_TRUE(pixelIs(230, 135, BLACK));
    EXPECT_TRUE(pixelIs(220, 99, BLACK));
    EXPECT_TRUE(pixelIs(220, 140, BLACK));

    gui.setMousePositionForTest(150, 105, false);  // the mouse box starts 10 below
    EXPECT_EQ(gui.handleMouse(GameState::Options), 26u);
    clear();
    gui.drawGroup(GameState::Options);
    EXPECT_TRUE(pixelIs(220, 135, GREEN)) << "the knob under the mouse";

    ASSERT_TRUE(gui.createSlider(27, GameState::Paused, 100, 100, 20, 200, 40, 20, 10, -10, false,
                                 5, 0, 10, 0));
    ASSERT_TRUE(gui.setSliderTexture(27, 0, sheet, 212, 227, 12, 105, 64, 0));
    clear();
    gui.drawGroup(GameState::Paused);
    EXPECT_TRUE(pixelIs(130, 150, BLUE));
    EXPECT_TRUE(pixelIs(130, 309, BLUE));
    EXPECT_TRUE(pixelIs(130, 310, BLACK));
    EXPECT_TRUE(pixelIs(115, 210, RED));
    EXPECT_TRUE(pixelIs(145, 215, RED));
    EXPECT_TRUE(pixelIs(110, 200, RED));
    EXPECT_TRUE(pixelIs(149, 219, RED));
    EXPECT_TRUE(pixelIs(109, 210, BLACK));
    EXPECT_TRUE(pixelIs(150, 210, BLACK));
    EXPECT_TRUE(pixelIs(115, 199, BLACK));
    EXPECT_TRUE(pixelIs(115, 220, BLACK));
}

TEST_F(DrawTest, CursorIsDrawnWithItsHotSpotOnTheMouse) {
    gui.setMouseReader([] { return guiMouseFromClient(400, 300, WIDTH, HEIGHT, false); });
    for (Vector2 offset : {Vector2(0, 0), Vector2(112, 84)}) {
        gui.setFit(shiftedFit(offset.x, offset.y));
        ASSERT_TRUE(gui.createMouseCursor(32, 32, 0, atlas, cellX(0, 32), cellY(0, 32), 1, 30));
        clear();
        gui.drawMouseCursor();
        EXPECT_TRUE(pixelIs(399, 270, RED));
        EXPECT_TRUE(pixelIs(429, 300, RED));
        EXPECT_TRUE(pixelIs(398, 280, BLACK));
        EXPECT_TRUE(pixelIs(410, 269, BLACK));
        EXPECT_TRUE(pixelIs(430, 280, BLACK));
        EXPECT_TRUE(pixelIs(410, 301, BLACK));
    }
}

TEST_F(DrawTest, TextIsMeasuredAndPrintedAsItStands) {
    const FontID font = solidFont();
    gui.setFit(shiftedFit(20, 10));
    ASSERT_TRUE(gui.createText(19, GameState::Options, font.group, font.id, 50, 50));
    EXPECT_EQ(gui.getText(19)->getText(), "No Text");
    Vector2 size = gui.getTextControlSize(19);
    EXPECT_EQ(size.x, 7 * 12.0f);
    EXPECT_EQ(size.y, 12.0f);
    clear();
    gui.drawGroup(GameState::Options);
    EXPECT_TRUE(pixelIs(75, 65, GREY)) << "created grey";

    gui.setTextf(19, "%d%%", 50);
    EXPECT_EQ(gui.getText(19)->getText(), "50%");
    EXPECT_EQ(gui.getTextControlSize(19).x, 36.0f);
    gui.setTextColour(19, 1, 1, 0, 1);
    clear();
    gui.drawGroup(GameState::Options);
    EXPECT_TRUE(pixelIs(70 + 24 + 5, 65, YELLOW));
    EXPECT_TRUE(pixelIs(70 + 36 + 5, 65, BLACK));

    gui.setTextf(19, "%s", std::string(500, 'w').c_str());
    EXPECT_EQ(gui.getTextControlSize(19).x, 127 * 12.0f);
    // The text's mouse box is its measured size.
    gui.setMousePositionForTest(70 + 127 * 12, 72, false);
    EXPECT_EQ(gui.handleMouse(GameState::Options), 19u);
}

}  // namespace
