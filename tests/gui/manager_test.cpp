// The GUI manager without drawing: groups and ids, lookups with their
// messages, mouse handling in creation order, the cursor's place.
#include <functional>
#include <string>
#include <vector>

#include "app/demo_file.h"
#include "gui/gui_manager.h"
#include "gui_test_support.h"

namespace {

class ManagerTest : public GUITestBase {
protected:
    GUIManager gui{textures};
};

GameState state(int value) {
    return static_cast<GameState>(value);
}

TEST_F(ManagerTest, IdsAreUniqueAcrossGroupsUntilTheirGroupIsCleared) {
    EXPECT_TRUE(gui.createButton(5, GameState::MainMenu, 0, 0, 10, 10));
    EXPECT_TRUE(gui.createImage(6, GameState::Options, 0, 0, 10, 10));
    EXPECT_FALSE(gui.createImage(5, GameState::Options, 0, 0, 10, 10));
    expectOneMessage("Duplicate GUI_ID used.");
    EXPECT_FALSE(gui.createButton(5, GameState::MainMenu, 0, 0, 10, 10));
    expectOneMessage("Duplicate GUI_ID used.");
    EXPECT_EQ(gui.groupSize(GameState::Options), 1u);

    gui.clearGroup(GameState::MainMenu);
    EXPECT_EQ(gui.getControl(5), nullptr);
    EXPECT_EQ(gui.groupSize(GameState::MainMenu), 0u);
    EXPECT_TRUE(gui.createText(5, GameState::Options, 0, 0, 0, 0));
    EXPECT_NE(gui.getText(5), nullptr);
    EXPECT_FALSE(gui.createButton(6, GameState::MainMenu, 0, 0, 10, 10))
        << "clearing one group leaves the others' ids taken";
    expectOneMessage("Duplicate GUI_ID used.");

    gui.clearAll();
    EXPECT_TRUE(gui.createButton(6, GameState::MainMenu, 0, 0, 10, 10));
    EXPECT_TRUE(gui.createButton(5, GameState::MainMenu, 0, 0, 10, 10));
}

TEST_F(ManagerTest, EveryCreationRejectsAStateOutsideTheTen) {
    std::vector<std::function<bool(GUI_ID, GameState)>> creations = {
        [&](GUI_ID id, GameState s) { return gui.createButton(id, s, 0, 0, 10, 10); },
        [&](GUI_ID id, GameState s) { return gui.createImage(id, s, 0, 0, 10, 10); },
        [&](GUI_ID id, GameState s) { return gui.createList(id, s, 0, 0, 10, 10, 0, 0, 10, 10); },
        [&](GUI_ID id, GameState s) { return gui.createText(id, s, 0, 0, 0, 0); },
        [&](GUI_ID id, GameState s) {
            return gui.createSlider(id, s, 0, 0, 10, 10, 5, 5, 0, 0, true, 0, 0, 1, 0);
        },
    };
    ASSERT_TRUE(gui.createButton(1, GameState::Intro, 0, 0, 10, 10));
    for (std::size_t i = 0; i < creations.size(); ++i) {
        for (int bad : {10, -1, 100}) {
            EXPECT_FALSE(creations[i](20, state(bad))) << "creation " << i << ", state " << bad;
            expectOneMessage("Invalid GameState.");
        }
        // The state is checked before the id.
        EXPECT_FALSE(creations[i](1, state(10)));
        expectOneMessage("Invalid GameState.");
        EXPECT_TRUE(creations[i](static_cast<GUI_ID>(30 + i), GameState::GameOver));
    }
    EXPECT_EQ(gui.getControl(20), nullptr);
    EXPECT_EQ(gui.groupSize(GameState::GameOver), creations.size());
    // Operations on a state outside the ten do nothing.
    EXPECT_EQ(gui.handleMouse(state(10)), 0u);
    gui.drawGroup(state(-1));
    gui.releaseGroup(state(9));
    gui.clearGroup(state(9));
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(ManagerTest, TypedLookupsMatchTheKindOnly) {
    ASSERT_TRUE(gui.createButton(1, GameState::Intro, 0, 0, 10, 10));
    ASSERT_TRUE(gui.createText(2, GameState::Intro, 0, 0, 0, 0));
    ASSERT_TRUE(gui.createSlider(3, GameState::Intro, 0, 0, 10, 10, 5, 5, 0, 0, true, 0, 0, 1, 0));
    ASSERT_TRUE(gui.createList(4, GameState::Intro, 0, 0, 10, 10, 0, 0, 10, 10));
    ASSERT_TRUE(gui.createImage(5, GameState::Intro, 0, 0, 10, 10));
    for (GUI_ID id = 1; id <= 5; ++id) {
        ASSERT_NE(gui.getControl(id), nullptr);
        EXPECT_EQ(gui.getButton(id) != nullptr, id == 1);
        EXPECT_EQ(gui.getText(id) != nullptr, id == 2);
        EXPECT_EQ(gui.getSlider(id) != nullptr, id == 3);
        EXPECT_EQ(gui.getList(id) != nullptr, id == 4);
        EXPECT_EQ(gui.getImage(id) != nullptr, id == 5);
    }
    EXPECT_EQ(gui.getControl(6), nullptr);
    EXPECT_EQ(gui.getControl(0), nullptr);
}

TEST_F(ManagerTest, AccessorsOnTheWrongKindReportAndReturnTheFallback) {
    ASSERT_TRUE(gui.createImage(1, GameState::Options, 7, 8, 10, 10));
    ASSERT_TRUE(gui.createButton(2, GameState::Options, 0, 0, 10, 10));
    const GUI_ID image = 1;
    const GUI_ID button = 2;
    const GUI_ID none = 99;
    struct Case {
        const char* what;
        std::function<bool()> call;  // true when the fallback came back
        const char* message;
    } cases[] = {
        {"setButtonSound", [&] { return !gui.setButtonSound(image, 1); },
         "Audio can only be attached to GUI buttons"},
        {"getPosition",
         [&] {
             Vector2 p = gui.getPosition(none);
             return p.x == 0 && p.y == 0;
         },
         "ID is not a valid GUI"},
        {"setPosition",
         [&] {
             gui.setPosition(none, 1, 1);
             return true;
         },
         "ID is not a valid GUI"},
        {"setAlpha",
         [&] {
             gui.setAlpha(none, 0.5f);
             return true;
         },
         "ID is not a valid GUI"},
        {"setButtonTexture", [&] { return !gui.setButtonTexture(image, 0, 0, 1, 0, 0); },
         "ID is not a valid GUI Button"},
        {"setButtonToggled", [&] { return !gui.setButtonToggled(image, true); },
         "ID is not a valid GUI Button"},
        {"isButtonToggled", [&] { return !gui.isButtonToggled(none); },
         "ID is not a valid GUI Button"},
        {"setImageTexture", [&] { return !gui.setImageTexture(button, 0, 1, 0, 0, 0); },
         "ID is not a valid GUI Image"},
        {"setListHighlightColour",
         [&] {
             gui.setListHighlightColour(image, 1, 0, 0, 1);
             return true;
         },
         "ID is not a valid GUI List"},
        {"setListTexture", [&] { return !gui.setListTexture(image, 3, 0, 1, 0, 0); },
         "ID is not a valid GUI List"},
        {"assignListColumns",
         [&] {
             return !gui.assignListColumns(image, {10}, {FontID{}},
                                           {Color4(1.0f, 1.0f, 1.0f, 1.0f)});
         },
         "ID is not a valid GUI List"},
        {"addListItem", [&] { return !gui.addListItem(image, {"a"}, 1); },
         "ID is not a valid GUI List"},
        {"clearList",
         [&] {
             gui.clearList(image);
             return true;
         },
         "ID is not a valid GUI List"},
        {"getListSelectedRow", [&] { return gui.getListSelectedRow(image) == 0; },
         "ID is not a valid GUI List"},
        {"getListSelectedValue", [&] { return gui.getListSelectedValue(image) == 0; },
         "ID is not a valid GUI List"},
        {"moveListSelection", [&] { return gui.moveListSelection(image, 1) == 0; },
         "ID is not a valid GUI List"},
        {"setTextColour",
         [&] {
             gui.setTextColour(image, 1, 1, 1, 1);
             return true;
         },
         "ID is not valid GUI Text"},
        {"getTextControlSize",
         [&] {
             Vector2 s = gui.getTextControlSize(button);
             return s.x == 0 && s.y == 0;
         },
         "ID is not valid GUI Text"},
        {"setTextf",
         [&] {
             gui.setTextf(button, "%d", 5);
             return true;
         },
         "ID is not valid GUI Text"},
        {"setSliderTexture", [&] { return !gui.setSliderTexture(image, 0, 1, 0, 0, 0, 0, 0, 0); },
         "ID is not valid GUI Slider"},
        {"getSliderValue", [&] { return gui.getSliderValue(button) == 0.0f; },
         "ID is not valid GUI Slider"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(c.call());
        expectOneMessage(c.message);
    }
    EXPECT_EQ(gui.getPosition(image).x, 7.0f) << "nothing changed";
}

TEST_F(ManagerTest, ResetButtonClearsToggleAndHoverAndIgnoresOtherIds) {
    ASSERT_TRUE(gui.createImage(1, GameState::Options, 0, 0, 10, 10));
    ASSERT_TRUE(gui.createButton(2, GameState::Options, 0, 0, 10, 10));
    gui.setMousePositionForTest(5, 5, true);
    EXPECT_EQ(gui.handleMouse(GameState::Options), 1u) << "the image was created first";
    gui.resetButton(1);
    gui.resetButton(99);
    EXPECT_TRUE(boxes.boxes().empty());

    EXPECT_TRUE(gui.setButtonToggled(2, true));
    gui.getButton(2)->setMouseOver(true);
    EXPECT_TRUE(gui.isButtonToggled(2));
    gui.resetButton(2);
    EXPECT_FALSE(gui.isButtonToggled(2));
    EXPECT_FALSE(gui.getButton(2)->getMouseOver());
}

TEST_F(ManagerTest, OverlappingControlsGoToTheEarliestAndLaterOnesKeepTheirHover) {
    ASSERT_TRUE(gui.createButton(1, GameState::MainMenu, 0, 0, 100, 100));
    ASSERT_TRUE(gui.createButton(2, GameState::MainMenu, 50, 0, 100, 100));
    GUIButton* first = gui.getButton(1);
    GUIButton* second = gui.getButton(2);
    struct Step {
        float x, y;
        GUI_ID answer;
        bool firstOver, secondOver;
    } steps[] = {
        {120, 50, 2, false, true},  // over the second only
        {75, 50, 1, true, true},    // over both: the second is not reached
        {20, 50, 1, true, true},    // the second still keeps its old hover
        {300, 300, 0, false, false}, {75, 50, 1, true, false},
    };
    for (const Step& s : steps) {
        gui.setMousePositionForTest(s.x, s.y, false);
        EXPECT_EQ(gui.handleMouse(GameState::MainMenu), s.answer) << s.x << "," << s.y;
        EXPECT_EQ(first->getMouseOver(), s.firstOver) << s.x << "," << s.y;
        EXPECT_EQ(second->getMouseOver(), s.secondOver) << s.x << "," << s.y;
    }
    gui.setMousePositionForTest(75, 50, true);
    gui.handleMouse(GameState::MainMenu);
    EXPECT_TRUE(first->isToggled());
    EXPECT_FALSE(second->isToggled()) << "a click reaches only the control that answered";
    EXPECT_EQ(gui.handleMouse(GameState::Options), 0u) << "an empty group";
}

TEST_F(ManagerTest, ReleaseGroupStopsAGrabbedSlider) {
    gui.setFit(shiftedFit(112, 84));
    ASSERT_TRUE(gui.createSlider(26, GameState::Options, 100, 100, 200, 20, 10, 10, 0, 0, true, 0,
                                 0, 10, 0));
    gui.setMousePositionForTest(212 + 50, 184 + 10, true);
    EXPECT_EQ(gui.handleMouse(GameState::Options), 26u);
    EXPECT_FLOAT_EQ(gui.getSliderValue(26), 2.5f);
    gui.setMousePositionForTest(212 + 100, 500, false);  // dragged off the track: still held
    EXPECT_EQ(gui.handleMouse(GameState::Options), 0u);
    EXPECT_FLOAT_EQ(gui.getSliderValue(26), 5.0f);

    gui.releaseGroup(GameState::Options);
    gui.setMousePositionForTest(212 + 180, 184 + 10, false);
    EXPECT_EQ(gui.handleMouse(GameState::Options), 26u);
    EXPECT_FLOAT_EQ(gui.getSliderValue(26), 5.0f);
}

TEST_F(ManagerTest, OffsetIsZeroUntilSetAndMovesTheControlsAlreadyMade) {
    EXPECT_EQ(gui.offset().x, 0.0f);
    EXPECT_EQ(gui.offset().y, 0.0f);
    ASSERT_TRUE(gui.createButton(1, GameState::MainMenu, 100, 100, 50, 20));
    struct Case {
        Vector2 offset;
        float x, y;
        GUI_ID answer;
    } cases[] = {
        {Vector2(0, 0), 100, 100, 1},    {Vector2(0, 0), 212, 184, 0},
        {Vector2(112, 84), 212, 184, 1}, {Vector2(112, 84), 262, 204, 1},
        {Vector2(112, 84), 263, 204, 0}, {Vector2(112, 84), 100, 100, 0},
        {Vector2(-20, 10), 80, 110, 1},  {Vector2(-20, 10), 79, 110, 0},
    };
    for (const Case& c : cases) {
        gui.setFit(shiftedFit(c.offset.x, c.offset.y));
        EXPECT_EQ(gui.offset().x, c.offset.x);
        EXPECT_EQ(gui.offset().y, c.offset.y);
        gui.setMousePositionForTest(c.x, c.y, false);
        EXPECT_EQ(gui.handleMouse(GameState::MainMenu), c.answer)
            << c.offset.x << "," << c.offset.y << " at " << c.x << "," << c.y;
    }
}

// Scaled and anchored: a control answers the pointer where it is drawn, at
// every size, on its edges and not a pixel beyond.
TEST_F(ManagerTest, ControlsAreHitWhereTheyAreDrawnAtEverySize) {
    const DesignAnchor low = DesignAnchor::Low;
    const DesignAnchor mid = DesignAnchor::Centre;
    const DesignAnchor high = DesignAnchor::High;
    ASSERT_TRUE(gui.createButton(1, GameState::MainMenu, 268, 323, 98, 38));
    ASSERT_TRUE(gui.createButton(2, GameState::MainMenu, 689, 464, 225, 225));
    ASSERT_TRUE(gui.createButton(3, GameState::MainMenu, -100, -75, 173, 60));
    ASSERT_TRUE(gui.setAnchor(2, high, high));
    ASSERT_TRUE(gui.setAnchor(3, low, low));
    const struct {
        GUI_ID id;
        DesignAnchor x, y;
        Vector2 corner, size;
    } buttons[] = {{1, mid, mid, Vector2(268, 323), Vector2(98, 38)},
                   {2, high, high, Vector2(689, 464), Vector2(225, 225)},
                   {3, low, low, Vector2(-100, -75), Vector2(173, 60)}};
    for (const auto& size :
         {std::pair<int, int>{800, 600}, {1920, 1080}, {2560, 1080}, {640, 480}, {7680, 2160}}) {
        gui.setScreenSize(size.first, size.second);
        for (const auto& b : buttons) {
            const Vector2 from = gui.designToWindow(b.corner, b.x, b.y);
            const Vector2 to = gui.designToWindow(b.corner.add(b.size), b.x, b.y);
            const Vector2 middle = from.add(to).scale(0.5f);
            const Vector2 probes[] = {from, to, middle, Vector2(from.x - 1.0f, middle.y),
                                      Vector2(middle.x, to.y + 1.0f)};
            const bool hits[] = {true, true, true, false, false};
            for (int i = 0; i < 5; ++i) {
                gui.setMousePositionForTest(probes[i].x, probes[i].y, false);
                EXPECT_EQ(gui.handleMouse(GameState::MainMenu), hits[i] ? b.id : 0u)
                    << size.first << "x" << size.second << " button " << b.id << " probe " << i;
            }
        }
    }
}

// A click recorded in one window size and replayed in another lands on the
// same control, as the replay hands the game the recorded event.
TEST_F(ManagerTest, ARecordedClickHitsTheSameControlInAnotherWindowSize) {
    ASSERT_TRUE(gui.createButton(1, GameState::MainMenu, 268, 323, 98, 38));
    ASSERT_TRUE(gui.createButton(2, GameState::MainMenu, 268, 262, 244, 39));
    ASSERT_TRUE(gui.createButton(3, GameState::MainMenu, -52, -52, 217, 35));
    const std::pair<int, int> sizes[] = {{1024, 768}, {1920, 1080}, {640, 480}, {2560, 1080}};
    platform::Event click;
    click.type = platform::EventType::MouseDown;
    bool pressed = false;
    gui.setMouseReader([&] {
        return guiMouseFromClient(static_cast<unsigned>(click.x), static_cast<unsigned>(click.y),
                                  gui.fit().width, gui.fit().height, pressed);
    });
    for (const auto& from : sizes) {
        for (GUI_ID id : {1u, 2u, 3u}) {
            // The pointer on the button's centre in the recording window.
            gui.setScreenSize(from.first, from.second);
            const GUIControl* button = gui.getControl(id);
            const Vector2 centre =
                gui.designToWindow(button->getPosition().add(button->getSize().scale(0.5f)));
            click.x = static_cast<int>(centre.x);
            click.y = from.second - static_cast<int>(centre.y);
            const platform::Event recorded = demoEventFromWindow(click, gui.fit());
            for (const auto& to : sizes) {
                gui.setScreenSize(to.first, to.second);
                const platform::Event replayed = demoEventToWindow(recorded, gui.fit());
                click.x = replayed.x;
                click.y = replayed.y;
                EXPECT_EQ(gui.handleMouse(GameState::MainMenu), id)
                    << from.first << " to " << to.first << ", button " << id;
                click = demoEventToWindow(recorded, fitDesign(from.first, from.second));
            }
        }
    }
}

TEST_F(ManagerTest, ClientPositionsTurnIntoGuiPositionsInsideTheWindowOnly) {
    struct Case {
        unsigned x, y;
        int width, height;
        float guiX, guiY;
        bool inside;
    } cases[] = {
        {400, 300, 800, 600, 400, 300, true},     {0, 0, 800, 600, 0, 600, true},
        {799, 599, 800, 600, 799, 1, true},       {800, 10, 800, 600, 800, 590, false},
        {10, 600, 800, 600, 10, 0, false},        {65535, 10, 800, 600, 65535, 590, false},
        {10, 65530, 800, 600, 10, -64930, false}, {30, 40, 0, 0, 30, -40, true},
    };
    for (const Case& c : cases) {
        GUIMouse mouse = guiMouseFromClient(c.x, c.y, c.width, c.height, true);
        EXPECT_EQ(mouse.x, c.guiX);
        EXPECT_EQ(mouse.y, c.guiY);
        EXPECT_EQ(mouse.insideWindow, c.inside) << c.x << "," << c.y;
        EXPECT_TRUE(mouse.click);
    }
}

TEST_F(ManagerTest, APointerOutsideTheWindowHitsNothingEvenWhereTheLayoutOverhangs) {
    // Unfitted, the design runs past a 640 x 480 window.
    ASSERT_TRUE(gui.createButton(1, GameState::MainMenu, 600, 400, 100, 30));
    ASSERT_TRUE(
        gui.createSlider(2, GameState::MainMenu, 0, 100, 200, 20, 10, 10, 0, 0, true, 0, 0, 10, 0));
    unsigned clientX = 0;
    unsigned clientY = 0;
    bool click = false;
    gui.setMouseReader([&] { return guiMouseFromClient(clientX, clientY, 640, 480, click); });

    clientX = 620, clientY = 70;  // GUI (620, 410): on the button, inside the window
    EXPECT_EQ(gui.handleMouse(GameState::MainMenu), 1u);
    clientX = 650;  // GUI (650, 410): the button's box, but past the window's edge
    EXPECT_EQ(gui.handleMouse(GameState::MainMenu), 0u);
    EXPECT_FALSE(gui.getButton(1)->getMouseOver());

    clientX = 100, clientY = 370, click = true;  // grab the slider at value 5
    EXPECT_EQ(gui.handleMouse(GameState::MainMenu), 2u);
    click = false;
    EXPECT_FLOAT_EQ(gui.getSliderValue(2), 5.0f);
    clientX = 65535 - 20;  // dragged off the window's left edge
    EXPECT_EQ(gui.handleMouse(GameState::MainMenu), 0u);
    EXPECT_FLOAT_EQ(gui.getSliderValue(2), 5.0f) << "held where it was, no jump to an end";
}

TEST_F(ManagerTest, CursorPutsItsHotSpotOnTheMouse) {
    for (Vector2 offset : {Vector2(0, 0), Vector2(112, 84)}) {
        gui.setFit(shiftedFit(offset.x, offset.y));
        // No such texture: creation fails, yet the cursor exists and is placed.
        EXPECT_FALSE(gui.createMouseCursor(32, 32, 0, 1, 0, 0, 1, 30));
        expectOneMessage("Invalid TextureWidth");
        gui.setMouseReader([] { return guiMouseFromClient(400, 300, 800, 600, false); });
        gui.drawMouseCursor();
        ASSERT_NE(gui.mouseCursor(), nullptr);
        Vector2 corner = gui.mouseCursor()->getPosition().add(gui.offset());
        EXPECT_EQ(corner.x, 399.0f);
        EXPECT_EQ(corner.y, 270.0f);
        EXPECT_EQ(gui.groupSize(GameState::MainMenu), 0u) << "the cursor is in no group";
        EXPECT_EQ(gui.getControl(0), nullptr);
    }
    gui.clearAll();
    EXPECT_EQ(gui.mouseCursor(), nullptr);
    gui.drawMouseCursor();
}

TEST_F(ManagerTest, ListAccessorsOnAnEmptiedListNeverReachAMissingRow) {
    ASSERT_TRUE(gui.createList(17, GameState::Options, 0, 0, 100, 100, 0, 0, 100, 100));
    ASSERT_TRUE(gui.assignListColumns(17, {50, 50}, {FontID{}}, {Color4(1.0f, 1.0f, 1.0f, 1.0f)}));
    for (std::uint32_t i = 0; i < 7; ++i) {
        ASSERT_TRUE(gui.addListItem(17, {"label", "key"}, 40 + i));
    }
    EXPECT_EQ(gui.moveListSelection(17, 5), 5);
    EXPECT_EQ(gui.getListSelectedValue(17), 45u);
    gui.clearList(17);
    EXPECT_EQ(gui.getListSelectedRow(17), 0);
    EXPECT_EQ(gui.getListSelectedValue(17), 0u);
    EXPECT_EQ(gui.moveListSelection(17, 1), 0);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(ManagerTest, SetTextfFormatsAndKeeps127Characters) {
    ASSERT_TRUE(gui.createText(19, GameState::Options, 0, 0, 10, 10));
    EXPECT_EQ(gui.getText(19)->getText(), "No Text");
    gui.setTextf(19, "Press a key for %s (%d%%)", "Move Forward", 50);
    EXPECT_EQ(gui.getText(19)->getText(), "Press a key for Move Forward (50%)");
    const std::string longName(400, 'k');
    gui.setTextf(19, "Key: %s", longName.c_str());
    EXPECT_EQ(gui.getText(19)->getText(), "Key: " + std::string(122, 'k'));
}

}  // namespace
