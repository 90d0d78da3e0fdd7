// The options screen under a pad: a focus that walks every setting from top
// to bottom (the control list row by row on the way), left and right change
// the focused setting, A acts on it. B is left to come back as Escape.
#include "app/game_window.h"
#include "game/gui_ids.h"
#include "game/screens/menu_controls.h"
#include "game/screens/options_screen.h"
#include "gui/gui_slider.h"
#include "gui/gui_text.h"

namespace {

using Item = OptionsScreen::Item;

// A slider moves a twentieth of its range for each press.
constexpr float SLIDER_STEPS = 20.0f;

// Where the marker points for the items that have no text label of their own
// to light up; an item without a place hides it.
struct MarkerPlace {
    Item item;
    float x;
    float y;
};
constexpr MarkerPlace MARKER_PLACES[] = {
    {Item::Controls, 420.0f, 220.0f},
    {Item::InvertMouse, 255.0f, 120.0f},
    {Item::Sensitivity, 224.0f, 68.0f},
    {Item::Back, -95.0f, -50.0f},
};
constexpr float MARKER_AWAY = -1000.0f;

struct LabelledItem {
    Item item;
    GUI_ID label;
};
constexpr LabelledItem LABELLED_ITEMS[] = {
    {Item::Resolution, gui_id::RESOLUTION_LABEL}, {Item::Fullscreen, gui_id::FULLSCREEN_LABEL},
    {Item::VerticalSync, gui_id::VSYNC_LABEL},    {Item::LookSpeed, gui_id::LOOK_SPEED_LABEL},
    {Item::Rumble, gui_id::RUMBLE_LABEL},         {Item::Brightness, gui_id::BRIGHTNESS_LABEL},
};

// The gold of the screen's pictured labels. The texts share one font and so
// one colour: the focused label is printed again over itself in gold.
constexpr float FOCUS_COLOUR[3] = {1.0f, 0.8f, 0.4f};

}  // namespace

bool OptionsScreen::padButton(platform::PadButton button) {
    using platform::PadButton;
    switch (button) {
        case PadButton::DPadUp:
        case PadButton::DPadDown:
            moveFocus(button == PadButton::DPadUp ? -1 : 1);
            playClick();
            return true;
        case PadButton::DPadLeft:
        case PadButton::DPadRight:
            changeFocused(button == PadButton::DPadLeft ? -1 : 1);
            return true;
        case PadButton::A:
            return activateFocused();
        default:
            return false;
    }
}

// Inside the control list, up and down go row by row and leave it at its
// ends; the focus wraps from Back to the top.
void OptionsScreen::moveFocus(int delta) {
    GUIManager& gui = m_context.gui;
    if (m_focus == Item::Controls) {
        const int before = gui.getListSelectedRow(gui_id::CONTROL_LIST);
        if (gui.moveListSelection(gui_id::CONTROL_LIST, delta) != before) {
            return;
        }
    }
    const int count = static_cast<int>(Item::Count);
    m_focus = static_cast<Item>((static_cast<int>(m_focus) + delta + count) % count);
    if (m_focus == Item::Controls) {
        // Entered from above at the first row, from below at the last.
        gui.moveListSelection(gui_id::CONTROL_LIST, delta > 0 ? -1000 : 1000);
    }
}

void OptionsScreen::changeFocused(int delta) {
    switch (m_focus) {
        case Item::Resolution:
            stepResolution(delta);
            break;
        case Item::LookSpeed:
            stepLookSpeed(delta);
            break;
        case Item::Fullscreen:
        case Item::VerticalSync:
        case Item::Rumble:
        case Item::InvertMouse:
            activateFocused();
            break;
        case Item::Sensitivity:
            nudgeSlider(gui_id::SENSITIVITY_SLIDER, delta);
            break;
        case Item::Brightness:
            nudgeSlider(gui_id::BRIGHTNESS_SLIDER, delta);
            break;
        default:
            return;
    }
    playClick();
}

bool OptionsScreen::activateFocused() {
    switch (m_focus) {
        case Item::Resolution:
            stepResolution(1);
            return true;
        case Item::Fullscreen:
            flipTick(gui_id::FULLSCREEN_TOGGLE);
            return true;
        case Item::VerticalSync:
            flipTick(gui_id::VSYNC_TOGGLE);
            return true;
        case Item::Rumble:
            flipTick(gui_id::RUMBLE_TOGGLE);
            return true;
        case Item::InvertMouse:
            flipTick(gui_id::INVERT_MOUSE_TOGGLE);
            return true;
        case Item::Controls:
            guiEvent(gui_id::OPTIONS_CHANGE, true);
            return true;
        case Item::Back:
            guiEvent(gui_id::OPTIONS_BACK, true);
            return true;
        default:
            return false;  // a slider: left and right move it
    }
}

// As a click does: the tick turns over, then the setting follows it.
void OptionsScreen::flipTick(GUI_ID id) {
    GUIManager& gui = m_context.gui;
    gui.setButtonToggled(id, !gui.isButtonToggled(id));
    guiEvent(id, true);
}

void OptionsScreen::nudgeSlider(GUI_ID id, int delta) {
    GUISlider* slider = m_context.gui.getSlider(id);
    if (slider == nullptr) {
        return;
    }
    const float step = (slider->getMaximum() - slider->getMinimum()) / SLIDER_STEPS;
    slider->setValue(slider->getValue() + step * static_cast<float>(delta));
    guiEvent(id, false);
}

void OptionsScreen::showFocus() {
    GUIManager& gui = m_context.gui;
    float x = MARKER_AWAY;
    float y = MARKER_AWAY;
    for (const MarkerPlace& place : MARKER_PLACES) {
        if (place.item == m_focus) {
            x = place.x;
            y = place.y;
        }
    }
    gui.setPosition(gui_id::OPTIONS_MARKER, x, y);
}

void OptionsScreen::drawAfterControls() {
    GUIManager& gui = m_context.gui;
    for (const LabelledItem& labelled : LABELLED_ITEMS) {
        const GUIText* label = gui.getText(labelled.label);
        if (labelled.item != m_focus || label == nullptr) {
            continue;
        }
        TextureManager& textures = m_context.textures;
        const FontID font = label->getFont();
        const Vector2 at = label->getPosition();
        textures.setFontColour(font.group, font.id, FOCUS_COLOUR[0], FOCUS_COLOUR[1],
                               FOCUS_COLOUR[2], 1.0f);
        textures.printText(font.group, font.id, at.x, at.y, "%s", label->getText().c_str());
        textures.setFontColour(font.group, font.id, 1.0f, 1.0f, 1.0f, 1.0f);
    }
}
