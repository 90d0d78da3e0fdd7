#include "game/screens/options_screen.h"

#include <algorithm>
#include <string>

#include "app/app_settings.h"
#include "app/game_window.h"
#include "game/gui_ids.h"
#include "game/player.h"
#include "game/screens/menu_controls.h"
#include "game/tuning.h"
#include "input/game_settings.h"
#include "input/key_names.h"
#include "platform/keycodes.h"

namespace {

// The columns inside the list's mouse box, 250 wide.
constexpr int ACTION_COLUMN = 150;
constexpr int KEY_COLUMN = 100;
constexpr float PROMPT_CENTRE_X = 500.0f;

// The display settings fill the dark gap between the window picture and the
// control list; the brightness slider sits under the sensitivity slider.
constexpr float DISPLAY_LEFT = 200.0f;
constexpr float DISPLAY_RIGHT = 350.0f;
constexpr float RESOLUTION_ROW = 496.0f;
constexpr float TICK_COLUMN = 336.0f;
// The pad's settings under the display's, in the same column.
constexpr float LOOK_SPEED_ROW = 360.0f;
constexpr float RUMBLE_ROW = 320.0f;
constexpr float LOOK_SPEED_STEP = 15.0f;

// A stepper's value centred between its arrows.
void centreBetweenArrows(GUIManager& gui, GUI_ID value, float row) {
    Vector2 size = gui.getTextControlSize(value);
    gui.setPosition(value, (DISPLAY_LEFT + DISPLAY_RIGHT + 8.0f - size.x) / 2.0f, row);
}

}  // namespace

OptionsScreen::OptionsScreen(const ScreenContext& context, const MenuArt& art)
    : m_context(context), m_art(art) {}

bool OptionsScreen::setUp() {
    GUIManager& gui = m_context.gui;
    const GameState options = GameState::Options;
    const TextureID atlas = m_art.gui;
    return createBackButton(gui, atlas, options, gui_id::OPTIONS_BACK, gui_id::OPTIONS_MARKER) &&
           setUpBindingList() &&
           createPicture(gui, gui_id::OPTIONS_TITLE, options, 379, 544, 286, 64, atlas, 0, 617) &&
           createMenuButton(gui, atlas, gui_id::OPTIONS_CHANGE, options, 462, 210, 124, 49, 797,
                            701) &&
           createWhiteText(gui, gui_id::REBIND_PROMPT, options, m_art.smallFont, 0, 174, " ") &&
           createPicture(gui, gui_id::OPTIONS_WINDOW, options, -64, 64, 256, 512,
                         m_art.largeGraphics, 0, 511) &&
           createPicture(gui, gui_id::INVERT_MOUSE_LABEL, options, 307, 122, 184, 24, atlas, 494,
                         691) &&
           setUpMouseSettings() && setUpDisplaySettings() && setUpPadSettings();
}

void OptionsScreen::enter() {
    m_focus = Item::Back;
    showDisplaySettings();
    showLookSpeed();
}

bool OptionsScreen::setUpBindingList() {
    GUIManager& gui = m_context.gui;
    const TextureID atlas = m_art.gui;
    if (!gui.createList(gui_id::CONTROL_LIST, GameState::Options, 362, 250, 321, 307, 40, 33, 250,
                        205) ||
        !gui.setListTexture(gui_id::CONTROL_LIST, 3, atlas.group, atlas.id, 698, 662)) {
        return false;
    }
    setListHighlight(gui, gui_id::CONTROL_LIST);
    if (!assignMenuListColumns(gui, gui_id::CONTROL_LIST, ACTION_COLUMN, KEY_COLUMN,
                               m_art.smallFont)) {
        return false;
    }
    refreshControlList();
    return true;
}

bool OptionsScreen::setUpMouseSettings() {
    GUIManager& gui = m_context.gui;
    const GameState options = GameState::Options;
    const TextureID atlas = m_art.gui;
    GameSettings* settings = gameSettings();
    bool invert = settings != nullptr ? settings->invertMouse : true;
    float sensitivity =
        settings != nullptr ? settings->mouseSensitivity : GameSettings::DEFAULT_MOUSE_SENSITIVITY;

    if (!createTick(gui_id::INVERT_MOUSE_TOGGLE, 501, 124)) {
        return false;
    }
    gui.setButtonToggled(gui_id::INVERT_MOUSE_TOGGLE, invert);

    return gui.createSlider(gui_id::SENSITIVITY_SLIDER, options, 497, 65, 297, 34, 51, 50, 26, -8,
                            true, sensitivity, SENSITIVITY_SLIDER_MIN, SENSITIVITY_SLIDER_MAX,
                            0.0f) &&
           gui.setSliderTexture(gui_id::SENSITIVITY_SLIDER, atlas.group, atlas.id, 719, 346, 358,
                                898, 51, 0) &&
           createPicture(gui, gui_id::SENSITIVITY_LABEL, options, 276, 70, 215, 26, atlas, 462,
                         661) &&
           createWhiteText(gui, gui_id::SENSITIVITY_LOW, options, m_art.smallFont, 500, 55,
                           "LOW") &&
           createWhiteText(gui, gui_id::SENSITIVITY_HIGH, options, m_art.smallFont, 757, 55,
                           "HIGH");
}

// A tick box has a picture per look: plain, ticked, and both under the mouse.
bool OptionsScreen::createTick(GUI_ID id, float x, float y) {
    GUIManager& gui = m_context.gui;
    const TextureID atlas = m_art.gui;
    if (!gui.createButton(id, GameState::Options, x, y, 20, 20)) {
        return false;
    }
    const int looks[4][2] = {{430, 1008}, {364, 1008}, {408, 1008}, {386, 1008}};
    for (int look = 0; look < 4; ++look) {
        if (!gui.setButtonTexture(id, look, atlas.group, atlas.id, looks[look][0],
                                  looks[look][1])) {
            return false;
        }
    }
    return true;
}

// A label over a value between arrows, as the resolution and the look speed
// have: the arrows are white text under buttons without a picture, which
// take the clicks. The buttons come before the texts they lie under: the
// first control hit takes the click.
bool OptionsScreen::createStepper(GUI_ID label, GUI_ID previous, GUI_ID previousArrow, GUI_ID value,
                                  GUI_ID next, GUI_ID nextArrow, float row, const char* name) {
    GUIManager& gui = m_context.gui;
    const GameState options = GameState::Options;
    const FontID font = m_art.smallFont;
    return gui.createButton(previous, options, DISPLAY_LEFT - 6, row - 6, 20, 24) &&
           gui.createButton(next, options, DISPLAY_RIGHT - 6, row - 6, 20, 24) &&
           createWhiteText(gui, label, options, font, DISPLAY_LEFT, row + 24, name) &&
           createWhiteText(gui, previousArrow, options, font, DISPLAY_LEFT, row, "<") &&
           createWhiteText(gui, value, options, font, DISPLAY_LEFT + 20, row, " ") &&
           createWhiteText(gui, nextArrow, options, font, DISPLAY_RIGHT, row, ">");
}

bool OptionsScreen::setUpDisplaySettings() {
    GUIManager& gui = m_context.gui;
    const GameState options = GameState::Options;
    const TextureID atlas = m_art.gui;
    const FontID font = m_art.smallFont;
    float brightness = appSettings() != nullptr ? appSettings()->brightness : 0.0f;
    return createStepper(gui_id::RESOLUTION_LABEL, gui_id::RESOLUTION_PREVIOUS,
                         gui_id::RESOLUTION_PREVIOUS_ARROW, gui_id::RESOLUTION_VALUE,
                         gui_id::RESOLUTION_NEXT, gui_id::RESOLUTION_NEXT_ARROW, RESOLUTION_ROW,
                         "RESOLUTION") &&
           createWhiteText(gui, gui_id::FULLSCREEN_LABEL, options, font, DISPLAY_LEFT,
                           RESOLUTION_ROW - 40, "FULLSCREEN") &&
           createTick(gui_id::FULLSCREEN_TOGGLE, TICK_COLUMN, RESOLUTION_ROW - 44) &&
           createWhiteText(gui, gui_id::VSYNC_LABEL, options, font, DISPLAY_LEFT,
                           RESOLUTION_ROW - 72, "VERTICAL SYNC") &&
           createTick(gui_id::VSYNC_TOGGLE, TICK_COLUMN, RESOLUTION_ROW - 76) &&
           gui.createSlider(gui_id::BRIGHTNESS_SLIDER, options, 497, 8, 297, 34, 51, 50, 26, -8,
                            true, brightness, 0.0f, AppSettings::MAX_BRIGHTNESS, 0.0f) &&
           gui.setSliderTexture(gui_id::BRIGHTNESS_SLIDER, atlas.group, atlas.id, 719, 346, 358,
                                898, 51, 0) &&
           createWhiteText(gui, gui_id::BRIGHTNESS_LABEL, options, font, 400, 18, "BRIGHTNESS");
}

bool OptionsScreen::setUpPadSettings() {
    GUIManager& gui = m_context.gui;
    const GameSettings* settings = gameSettings();
    if (!createStepper(gui_id::LOOK_SPEED_LABEL, gui_id::LOOK_SPEED_PREVIOUS,
                       gui_id::LOOK_SPEED_PREVIOUS_ARROW, gui_id::LOOK_SPEED_VALUE,
                       gui_id::LOOK_SPEED_NEXT, gui_id::LOOK_SPEED_NEXT_ARROW, LOOK_SPEED_ROW,
                       "PAD LOOK SPEED") ||
        !createWhiteText(gui, gui_id::RUMBLE_LABEL, GameState::Options, m_art.smallFont,
                         DISPLAY_LEFT, RUMBLE_ROW, "PAD RUMBLE") ||
        !createTick(gui_id::RUMBLE_TOGGLE, TICK_COLUMN, RUMBLE_ROW - 4)) {
        return false;
    }
    gui.setButtonToggled(gui_id::RUMBLE_TOGGLE, settings == nullptr || settings->rumbleEnabled);
    return true;
}

void OptionsScreen::showLookSpeed() {
    const GameSettings* settings = gameSettings();
    const float speed =
        settings != nullptr ? settings->padLookSpeed : GameSettings::DEFAULT_PAD_LOOK_SPEED;
    m_context.gui.setTextf(gui_id::LOOK_SPEED_VALUE, "%d", static_cast<int>(speed + 0.5f));
    centreBetweenArrows(m_context.gui, gui_id::LOOK_SPEED_VALUE, LOOK_SPEED_ROW);
}

void OptionsScreen::stepLookSpeed(int delta) {
    if (GameSettings* settings = gameSettings()) {
        const float speed =
            std::clamp(settings->padLookSpeed + LOOK_SPEED_STEP * delta,
                       GameSettings::MIN_PAD_LOOK_SPEED, GameSettings::MAX_PAD_LOOK_SPEED);
        settings->setPadLookSpeed(speed);
    }
    showLookSpeed();
}

void OptionsScreen::showDisplaySettings() {
    GUIManager& gui = m_context.gui;
    GameWindow& window = m_context.window;
    // The display's own size first, then each mode the settings can hold;
    // a configured resolution the display does not offer stays choosable.
    m_resolutions.assign(1, platform::Size{});
    for (const platform::Size& mode : window.displayModes()) {
        if (AppSettings::isDisplaySize(mode.width, mode.height)) {
            m_resolutions.push_back(mode);
        }
    }
    const int width = window.fullscreenModeWidth();
    const int height = window.fullscreenModeHeight();
    m_iResolution = -1;
    for (std::size_t i = 0; i < m_resolutions.size(); ++i) {
        if (m_resolutions[i].width == width && m_resolutions[i].height == height) {
            m_iResolution = static_cast<int>(i);
        }
    }
    if (m_iResolution < 0) {
        m_resolutions.push_back(platform::Size{width, height});
        m_iResolution = static_cast<int>(m_resolutions.size()) - 1;
    }
    showResolution();
    gui.setButtonToggled(gui_id::FULLSCREEN_TOGGLE, window.isFullscreen());
    AppSettings* settings = appSettings();
    gui.setButtonToggled(gui_id::VSYNC_TOGGLE, settings != nullptr && settings->vsync);
    if (GUISlider* slider = gui.getSlider(gui_id::BRIGHTNESS_SLIDER)) {
        slider->setValue(settings != nullptr ? settings->brightness : 0.0f);
    }
}

void OptionsScreen::showResolution() {
    GUIManager& gui = m_context.gui;
    const platform::Size& chosen = m_resolutions[static_cast<std::size_t>(m_iResolution)];
    if (chosen.width == 0) {
        gui.setTextf(gui_id::RESOLUTION_VALUE, "%s", "DESKTOP");
    } else {
        gui.setTextf(gui_id::RESOLUTION_VALUE, "%d x %d", chosen.width, chosen.height);
    }
    centreBetweenArrows(gui, gui_id::RESOLUTION_VALUE, RESOLUTION_ROW);
}

void OptionsScreen::stepResolution(int delta) {
    const int count = static_cast<int>(m_resolutions.size());
    m_iResolution = (m_iResolution + delta + count) % count;
    const platform::Size& chosen = m_resolutions[static_cast<std::size_t>(m_iResolution)];
    m_context.window.setFullscreenMode(chosen.width, chosen.height);
    showResolution();
    // A refused resolution may have left the window.
    m_context.gui.setButtonToggled(gui_id::FULLSCREEN_TOGGLE, m_context.window.isFullscreen());
}

GUI_ID OptionsScreen::keys() {
    if (takeKey(platform::VK_ESCAPE)) {
        return gui_id::OPTIONS_BACK;
    }
    bool left = takeKey(platform::VK_LEFT);
    bool right = takeKey(platform::VK_RIGHT);
    if (left || right) {
        m_focus = m_focus == Item::Back ? Item::Controls : Item::Back;
        playClick();
    } else if (takeKey(platform::VK_UP)) {
        m_context.gui.moveListSelection(gui_id::CONTROL_LIST, -1);
    } else if (takeKey(platform::VK_DOWN)) {
        m_context.gui.moveListSelection(gui_id::CONTROL_LIST, 1);
    } else if (takeKey(platform::VK_RETURN)) {
        if (m_focus == Item::Back || m_focus == Item::Controls) {
            return m_focus == Item::Back ? gui_id::OPTIONS_BACK : gui_id::OPTIONS_CHANGE;
        }
        activateFocused();  // a setting the pad focused
    }
    return 0;
}

void OptionsScreen::guiEvent(GUI_ID id, bool clicked) {
    GUIManager& gui = m_context.gui;
    GameSettings* settings = gameSettings();
    switch (id) {
        case gui_id::OPTIONS_CHANGE:
            m_focus = Item::Controls;
            if (clicked) {
                startRebinding();
                gui.resetButton(id);
            }
            break;
        case gui_id::OPTIONS_BACK:
            m_focus = Item::Back;
            if (clicked) {
                m_context.window.setState(GameState::Previous);
                gui.resetButton(id);
            }
            break;
        case gui_id::INVERT_MOUSE_TOGGLE:
            if (clicked && settings != nullptr) {
                bool invert = gui.isButtonToggled(id);
                settings->setInvertMouse(invert);
                m_context.player.setInvertMouse(invert);
            }
            break;
        case gui_id::RESOLUTION_PREVIOUS:
        case gui_id::RESOLUTION_NEXT:
            if (clicked) {
                stepResolution(id == gui_id::RESOLUTION_NEXT ? 1 : -1);
                gui.resetButton(id);
            }
            break;
        case gui_id::FULLSCREEN_TOGGLE:
            if (clicked) {
                m_context.window.setFullscreen(gui.isButtonToggled(id));
                gui.setButtonToggled(id, m_context.window.isFullscreen());
            }
            break;
        case gui_id::VSYNC_TOGGLE:
            if (clicked && settings != nullptr) {
                settings->vsync = gui.isButtonToggled(id);
                settings->settingsChanged = true;
                m_context.window.setSwapInterval(settings->vsync);
            }
            break;
        case gui_id::BRIGHTNESS_SLIDER:
            m_context.window.setBrightness(gui.getSliderValue(id));
            break;
        case gui_id::LOOK_SPEED_PREVIOUS:
        case gui_id::LOOK_SPEED_NEXT:
            if (clicked) {
                stepLookSpeed(id == gui_id::LOOK_SPEED_NEXT ? 1 : -1);
                gui.resetButton(id);
            }
            break;
        case gui_id::RUMBLE_TOGGLE:
            if (clicked && settings != nullptr) {
                settings->setRumbleEnabled(gui.isButtonToggled(id));
            }
            break;
        case gui_id::SENSITIVITY_SLIDER:
            // A hover over the slider reports the same value again; only a
            // real change marks the settings for saving.
            if (settings != nullptr) {
                float value = gui.getSliderValue(id);
                if (value != settings->mouseSensitivity) {
                    settings->setMouseSensitivity(value);
                }
            }
            break;
        default:
            break;
    }
}

void OptionsScreen::followHeldSlider(GUI_ID hitId) {
    // A held slider follows the mouse beyond its box as well, where the hit
    // test names no control; the setting must still follow the knob.
    for (GUI_ID id : {gui_id::SENSITIVITY_SLIDER, gui_id::BRIGHTNESS_SLIDER}) {
        const GUISlider* slider = m_context.gui.getSlider(id);
        if (hitId != id && slider != nullptr && slider->isHeld()) {
            guiEvent(id, false);
        }
    }
}

void OptionsScreen::drawBeforeControls() {
    showFocus();
}

void OptionsScreen::startRebinding() {
    m_bWaitingForKey = true;
    GUIManager& gui = m_context.gui;
    GameSettings* settings = gameSettings();
    std::string label = settings != nullptr
                            ? settings->controlLabel(gui.getListSelectedRow(gui_id::CONTROL_LIST))
                            : "";
    // The GUI keeps at most 127 characters of a text, however long the label.
    gui.setTextf(gui_id::REBIND_PROMPT, "Press the button/key you want the %s    action to have",
                 label.c_str());
    Vector2 size = gui.getTextControlSize(gui_id::REBIND_PROMPT);
    Vector2 position = gui.getPosition(gui_id::REBIND_PROMPT);
    gui.setPosition(gui_id::REBIND_PROMPT, PROMPT_CENTRE_X - size.x / 2.0f, position.y);
}

void OptionsScreen::bindPadButton(platform::PadButton button) {
    if (button == platform::PadButton::Back) {
        button = platform::PadButton::None;
    }
    GUIManager& gui = m_context.gui;
    if (GameSettings* settings = gameSettings()) {
        settings->setPadControl(
            settings->controlActionId(gui.getListSelectedRow(gui_id::CONTROL_LIST)), button);
    }
    refreshControlList();
    m_bWaitingForKey = false;
    gui.setTextf(gui_id::REBIND_PROMPT, "%s", " ");
}

void OptionsScreen::bindKey(int code) {
    // A key without a name (Escape among them) unbinds the action.
    if (keyName(code) == "[none]") {
        code = 0;
    }
    GUIManager& gui = m_context.gui;
    if (GameSettings* settings = gameSettings()) {
        settings->setControl(
            settings->controlActionId(gui.getListSelectedRow(gui_id::CONTROL_LIST)), code);
    }
    refreshControlList();
    m_bWaitingForKey = false;
    gui.setTextf(gui_id::REBIND_PROMPT, "%s", " ");
}

void OptionsScreen::refreshControlList() {
    GUIManager& gui = m_context.gui;
    gui.clearList(gui_id::CONTROL_LIST);
    GameSettings* settings = gameSettings();
    if (settings == nullptr) {
        return;
    }
    for (int row = 0; row < settings->controlCount(); ++row) {
        // The key, and after it the pad's button when one is bound.
        std::string bound = settings->controlKeyName(row);
        const int action = settings->controlActionId(row);
        if (settings->padControl(action) != platform::PadButton::None) {
            bound += " / " + settings->controlPadButtonName(row);
        }
        gui.addListItem(gui_id::CONTROL_LIST, {settings->controlLabel(row), bound},
                        static_cast<std::uint32_t>(action));
    }
}
