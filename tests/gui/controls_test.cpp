// The controls' own rules, without drawing: hit boxes, hover and toggle,
// slider values, list rows and selection, and the reported failures.
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "gui/gui_button.h"
#include "gui/gui_image.h"
#include "gui/gui_list.h"
#include "gui/gui_slider.h"
#include "gui/gui_text.h"
#include "gui_test_support.h"

namespace {

class ControlsTest : public GUITestBase {
protected:
    // One control of each kind whose mouse box is 100 x 30 at (10, 20).
    std::vector<std::unique_ptr<GUIControl>> controlsWithTheSameBox() {
        std::vector<std::unique_ptr<GUIControl>> controls;
        controls.push_back(
            std::make_unique<GUIButton>(textures, 1, 10, 20, 100, 30, 0, 0, 100, 30));
        controls.push_back(std::make_unique<GUIImage>(textures, 2, 10, 20, 100, 30));
        controls.push_back(std::make_unique<GUIList>(textures, 3, 0, 0, 300, 300, 10, 20, 100, 30));
        // A horizontal slider's cross offset moves its mouse box up or down.
        controls.push_back(std::make_unique<GUISlider>(textures, 4, 10, 25, 100, 30, 10, 10, 0, -5,
                                                       true, 0, 0, 1, 0));
        return controls;
    }
};

TEST_F(ControlsTest, MouseBoxIsInclusiveAtBothEndsForEveryKind) {
    struct Case {
        float x, y;
        bool over;
    } cases[] = {
        {10, 20, true}, {110, 50, true}, {60, 35, true},   {111, 50, false},
        {9, 20, false}, {10, 19, false}, {110, 51, false}, {0, 0, false},
    };
    for (auto& control : controlsWithTheSameBox()) {
        for (const Case& c : cases) {
            EXPECT_EQ(control->isMouseOver(c.x, c.y), c.over)
                << "kind " << control->getType() << " at " << c.x << "," << c.y;
            EXPECT_EQ(control->update(c.x, c.y, false), c.over ? control->getID() : 0u);
        }
    }
}

TEST_F(ControlsTest, UpdateStoresTheHoverExceptOnImages) {
    for (auto& control : controlsWithTheSameBox()) {
        control->update(50, 30, false);
        EXPECT_EQ(control->getMouseOver(), control->getType() != GUI_IMAGE)
            << "kind " << control->getType();
        control->update(500, 500, false);
        EXPECT_FALSE(control->getMouseOver());
    }
}

TEST_F(ControlsTest, ClicksFlipTheToggleOfButtonsTextsAndSlidersOnly) {
    auto controls = controlsWithTheSameBox();
    controls.push_back(std::make_unique<GUIText>(textures, 5, 0, 0, 10, 20, 1, 1, 1, 1, 1));
    for (auto& control : controls) {
        const GUIType kind = control->getType();
        const bool toggles = kind == GUI_BUTTON || kind == GUI_SLIDER || kind == GUI_TEXT;
        // A text without a font measures 0 x 0: its box is its corner.
        const float x = kind == GUI_TEXT ? 10 : 50;
        const float y = kind == GUI_TEXT ? 20 : 30;
        control->update(500, 500, true);
        EXPECT_FALSE(control->isToggled()) << "a click elsewhere, kind " << kind;
        control->update(x, y, true);
        EXPECT_EQ(control->isToggled(), toggles) << "kind " << kind;
        control->update(x, y, false);
        EXPECT_EQ(control->isToggled(), toggles) << "hovering alone, kind " << kind;
        control->update(x, y, true);
        EXPECT_FALSE(control->isToggled()) << "second click, kind " << kind;
    }
}

TEST_F(ControlsTest, HoverSoundPlaysOnceEachTimeTheMouseEnters) {
    std::vector<unsigned> played;
    GUIButton::setSoundPlayer([&](unsigned slot) { played.push_back(slot); });
    GUIButton quiet(textures, 1, 0, 0, 10, 10, 0, 0, 10, 10);
    GUIButton loud(textures, 2, 0, 0, 10, 10, 0, 0, 10, 10);
    loud.setSound(3);
    const float path[][2] = {{50, 50}, {5, 5}, {6, 6}, {7, 7}, {50, 50}, {5, 5}, {5, 5}};
    for (const auto& p : path) {
        quiet.update(p[0], p[1], false);
        loud.update(p[0], p[1], true);
    }
    EXPECT_EQ(played, (std::vector<unsigned>{3, 3}));
}

TEST_F(ControlsTest, HoverSoundWithoutAnAudioManagerIsQuiet) {
    GUIButton button(textures, 1, 0, 0, 10, 10, 0, 0, 10, 10);
    button.setSound(1);
    EXPECT_EQ(button.update(5, 5, false), 1u);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(ControlsTest, NegativeSizesBecomeZeroAndAlphaStaysInRange) {
    GUIButton button(textures, 1, 5, 5, -10, 20, 0, 0, 30, -4);
    EXPECT_EQ(button.getSize().x, 0.0f);
    EXPECT_EQ(button.getSize().y, 20.0f);
    EXPECT_EQ(button.getHitSize().x, 30.0f);
    EXPECT_EQ(button.getHitSize().y, 0.0f);
    const float alphas[][2] = {{-0.5f, 0.0f}, {0.25f, 0.25f}, {1.0f, 1.0f}, {7.0f, 1.0f}};
    for (const auto& a : alphas) {
        button.setAlpha(a[0]);
        EXPECT_EQ(button.getAlpha(), a[1]);
    }
}

TEST_F(ControlsTest, PrintWritesOneLineOfKindZero) {
    GUIButton button(textures, 1, 10, 20, 5, 5, 0, 0, 5, 5);
    GUIImage image(textures, 2, 3.4f, 7.6f, 5, 5);
    GUIList list(textures, 3, 1, 2, 50, 50, 0, 0, 50, 50);
    list.assignColumns({10, 20}, {FontID{}}, {Color4(1.0f, 1.0f, 1.0f, 1.0f)});
    GUIText text(textures, 4, 0, 0, 30, 40, 1, 1, 1, 1, 1);
    GUISlider across(textures, 5, 1, 1, 50, 10, 5, 5, 0, 0, true, 0, 0, 1, 0);
    GUISlider upright(textures, 6, 2, 2, 10, 50, 5, 5, 0, 0, false, 0, 0, 1, 0);
    struct Case {
        GUIControl* control;
        const char* line;
    } cases[] = {
        {&button, "//  GUI Button (10,20)"},
        {&image, "//  GUI Image (3,8)"},
        {&list, "//  GUI List (1,2) 2 Columns, No Scrolling"},
        {&text, "//  GUI Text (30,40) No Text"},
        {&across, "//  GUI Slider (1,1) Horizontal"},
        {&upright, "//  GUI Slider (2,2) Vertical"},
    };
    for (const Case& c : cases) {
        c.control->print();
        EXPECT_EQ(reporter.getMessage(), c.line);
        EXPECT_EQ(reporter.getErrorKind(), ERROR_NONE);
    }
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(ControlsTest, TextStartsAsNoTextAndKeeps127Characters) {
    GUIText text(textures, 1, 0, 0, 0, 0, 1, 1, 1, 1, 1);
    EXPECT_EQ(text.getText(), "No Text");
    text.setText(std::string(300, 'x'));
    EXPECT_EQ(text.getText(), std::string(127, 'x'));
    text.setText("100% sure");
    EXPECT_EQ(text.getText(), "100% sure");
}

// ---- Slider ----

GUISlider slider0To10(TextureManager& textures, float step) {
    // Track 200 wide, no margin: 20 pixels per unit.
    return GUISlider(textures, 1, 0, 0, 200, 20, 10, 30, 0, 0, true, 0, 0, 10, step);
}

TEST_F(ControlsTest, SliderSnapsToWholeStepsRoundingHalfDown) {
    struct Case {
        float step, given, value;
    } cases[] = {
        {2, 3.1f, 4},
        {2, 2.9f, 2},
        {2, 3, 2},
        {2, 11, 10},
        {2, -1, 0},
        {2, 9.2f, 10},
        {2, 1, 0},
        {0, 3.1f, 3.1f},
        {0, 11, 10},
        {6, 9.5f, 10},
        {6, 2.9f, 0},
        {6, 3.1f, 6},
        {2, std::numeric_limits<float>::quiet_NaN(), 0},
    };
    for (const Case& c : cases) {
        GUISlider slider = slider0To10(textures, c.step);
        slider.setValue(c.given);
        EXPECT_FLOAT_EQ(slider.getValue(), c.value) << "step " << c.step << ", " << c.given;
        EXPECT_FLOAT_EQ(slider.getKnobPosition(), 20.0f * c.value);
    }
}

TEST_F(ControlsTest, SliderPutsItsRangeAndStepInOrder) {
    struct Case {
        float minimum, maximum, step, value;
        float expectMin, expectMax, expectStep, expectValue;
    } cases[] = {
        {5, 5, 0, 5, 5, 6, 0, 5},      {10, 0, 2, 3, 0, 10, 2, 2},
        {0, 10, 20, 7, 0, 10, 10, 10}, {0, 10, -1, 3.3f, 0, 10, 0, 3.3f},
        {0, 10, 0, 50, 0, 10, 0, 10},  {-4, -2, 0, -9, -4, -2, 0, -4},
    };
    for (const Case& c : cases) {
        GUISlider slider(textures, 1, 0, 0, 100, 10, 5, 5, 0, 0, true, c.value, c.minimum,
                         c.maximum, c.step);
        EXPECT_EQ(slider.getMinimum(), c.expectMin);
        EXPECT_EQ(slider.getMaximum(), c.expectMax);
        EXPECT_EQ(slider.getStep(), c.expectStep);
        EXPECT_FLOAT_EQ(slider.getValue(), c.expectValue);
    }
}

TEST_F(ControlsTest, HeldSliderFollowsTheMouseAlongItsTrackUntilReset) {
    for (bool horizontal : {true, false}) {
        // Track 200 long with a margin of 10: 180 pixels for 0 to 10.
        GUISlider slider(textures, 7, 100, 100, horizontal ? 200 : 20, horizontal ? 20 : 200, 10,
                         10, 10, 0, horizontal, 0, 0, 10, 0);
        auto at = [&](float along) {
            // A point 'along' pixels from the track's start, in the middle across.
            return horizontal ? Vector2(100 + along, 110) : Vector2(110, 100 + along);
        };
        Vector2 p = at(10 + 45);
        slider.update(p.x, p.y, false);
        EXPECT_EQ(slider.getValue(), 0.0f) << "hovering does not grab";
        slider.update(p.x, p.y, true);
        EXPECT_TRUE(slider.isHeld());
        EXPECT_FLOAT_EQ(slider.getValue(), 2.5f);
        struct Step {
            float along, value;
        } steps[] = {{10 + 90, 5}, {10, 0}, {-50, 0}, {10 + 199, 10}, {10 + 200, 10}, {500, 10}};
        for (const Step& s : steps) {
            p = at(s.along);
            slider.update(p.x, p.y, false);
            EXPECT_FLOAT_EQ(slider.getValue(), s.value) << horizontal << " at " << s.along;
        }
        slider.reset();
        EXPECT_FALSE(slider.isHeld());
        p = at(10 + 90);
        slider.update(p.x, p.y, false);
        EXPECT_EQ(slider.getValue(), 10.0f) << "released";
    }
}

// ---- List ----

class ListTest : public ControlsTest {
protected:
    // Fonts that do not exist measure 0 high, so each row is twice the
    // padding (6) high. The mouse box's top edge is at y 70.
    ListTest() : list(textures, 9, 0, 0, 200, 100, 10, 10, 180, 60) {
        EXPECT_TRUE(list.assignColumns({50, 50}, {FontID{}}, {Color4(1.0f, 1.0f, 1.0f, 1.0f)}));
    }
    void fill(int rows, std::uint32_t firstValue) {
        for (int i = 0; i < rows; ++i) {
            ASSERT_TRUE(list.addItem({"row", std::to_string(i)}, firstValue + i));
        }
    }
    GUIList list;
};

TEST_F(ListTest, ClickSelectsTheRowUnderTheMouse) {
    fill(20, 100);
    EXPECT_EQ(list.getRowHeight(), 6);
    struct Case {
        float y;
        int row;
    } cases[] = {{70, 0}, {64.5f, 0}, {64, 1}, {58.5f, 1}, {40, 5}, {10, 10}, {69, 0}};
    for (const Case& c : cases) {
        list.selectRow(19);
        EXPECT_EQ(list.update(100, c.y, true), 9u);
        EXPECT_EQ(list.getSelectedRow(), c.row) << "y " << c.y;
        EXPECT_EQ(list.getSelectedValue(), 100u + c.row);
        EXPECT_FALSE(list.isToggled());
    }
    list.update(100, 40, false);
    EXPECT_EQ(list.getSelectedRow(), 0) << "hovering selects nothing";
    list.update(300, 40, true);
    EXPECT_EQ(list.getSelectedRow(), 0) << "a click outside selects nothing";
}

TEST_F(ListTest, ClickBelowTheLastRowKeepsTheSelection) {
    fill(3, 1);
    list.selectRow(1);
    list.update(100, 20, true);
    EXPECT_EQ(list.getSelectedRow(), 1);
    EXPECT_EQ(list.getSelectedValue(), 2u);
}

TEST_F(ListTest, MoveSelectionReachesEveryRowAndStopsAtTheEnds) {
    fill(20, 0);  // far more rows than the box shows; the list never scrolls
    struct Case {
        int delta, row;
    } cases[] = {{1, 1}, {5, 6}, {100, 19}, {1, 19}, {-3, 16}, {-100, 0}, {-1, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(list.moveSelection(c.delta), c.row);
        EXPECT_EQ(list.getSelectedRow(), c.row);
        EXPECT_EQ(list.getSelectedValue(), static_cast<std::uint32_t>(c.row));
    }
    EXPECT_FALSE(list.selectRow(20));
    EXPECT_FALSE(list.selectRow(-1));
    EXPECT_EQ(list.getSelectedRow(), 0);
}

TEST_F(ListTest, AnEmptiedListReadsRowZeroValueZeroAndKeepsItsIndexForTheRefill) {
    fill(5, 10);
    list.selectRow(3);
    list.clearItems();
    EXPECT_EQ(list.getRowCount(), 0);
    EXPECT_EQ(list.getSelectedRow(), 0);
    EXPECT_EQ(list.getSelectedValue(), 0u);
    EXPECT_EQ(list.moveSelection(1), 0);
    EXPECT_EQ(list.moveSelection(-1), 0);
    list.update(100, 60, true);  // a click on the empty list
    EXPECT_EQ(list.getSelectedRow(), 0);

    fill(5, 50);
    EXPECT_EQ(list.getSelectedRow(), 3) << "the kept selection names a row again";
    EXPECT_EQ(list.getSelectedValue(), 53u);

    list.clearItems();
    fill(2, 70);  // fewer rows than the kept index
    EXPECT_EQ(list.getSelectedRow(), 0);
    EXPECT_EQ(list.getSelectedValue(), 0u);
    EXPECT_EQ(list.moveSelection(-1), 1) << "moves from the kept index, clamped";
    EXPECT_EQ(list.getSelectedValue(), 71u);
}

TEST_F(ListTest, ColumnsAndItemsAreCheckedWithTheirMessages) {
    GUIList fresh(textures, 1, 0, 0, 100, 100, 0, 0, 100, 100);
    const Color4 white(1.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_FALSE(fresh.addItem({"a"}, 1));
    expectOneMessage("addItem failed. assignColumns was not called yet");

    struct Case {
        std::vector<int> widths;
        std::vector<FontID> fonts;
        std::vector<Color4> colours;
        const char* message;
        int columnsAfter;
    } cases[] = {
        {{}, {FontID{}}, {white}, "Missing data in one of the std::vectors", 0},
        {{10}, {}, {white}, "Missing data in one of the std::vectors", 0},
        {{10}, {FontID{}}, {}, "Missing data in one of the std::vectors", 0},
        {{100, 0}, {FontID{}}, {white}, "Invalid column width at index 1", 1},
        {{100, 50, -3}, {FontID{}}, {white}, "Invalid column width at index 2", 2},
        {{0}, {FontID{}}, {white}, "Invalid column width at index 0", 0},
    };
    for (const Case& c : cases) {
        GUIList l(textures, 1, 0, 0, 100, 100, 0, 0, 100, 100);
        EXPECT_FALSE(l.assignColumns(c.widths, c.fonts, c.colours));
        expectOneMessage(c.message);
        EXPECT_EQ(l.getColumnCount(), c.columnsAfter);
    }

    ASSERT_TRUE(fresh.assignColumns({10, 20, 30}, {FontID{}}, {white}));
    EXPECT_EQ(fresh.getColumnCount(), 3);
    EXPECT_FALSE(fresh.addItem({"a", "b"}, 1));
    expectOneMessage("addItem failed. incorrect number it items per row");
    EXPECT_FALSE(fresh.addItem({"a", "b", "c", "d"}, 1));
    expectOneMessage("addItem failed. incorrect number it items per row");
    EXPECT_TRUE(fresh.addItem({"a", "b", "c"}, 1));
    EXPECT_EQ(fresh.getRowCount(), 1);

    // A second assignment replaces the columns instead of adding to them.
    ASSERT_TRUE(fresh.assignColumns({10, 20}, {FontID{}}, {white}));
    EXPECT_EQ(fresh.getColumnCount(), 2);
    EXPECT_TRUE(fresh.addItem({"a", "b"}, 2));
}

}  // namespace
