#pragma once
#include <vector>

#include "game/screens/menu_art.h"
#include "game/screens/screen.h"
#include "platform/window.h"

// The control bindings (key and pad button) with their Change button, the
// invert-mouse toggle, the mouse sensitivity slider, the display settings
// (fullscreen resolution, fullscreen, vertical sync, brightness), the pad's
// look speed and rumble, and Back. The keys move a focus between Change and
// Back; the pad moves it through every setting, top to bottom, and changes
// the focused one with left and right. Settings take effect at once.
class OptionsScreen : public Screen {
public:
    OptionsScreen(const ScreenContext& context, const MenuArt& art);

    bool setUp() override;
    // Every entry focuses Back and shows the display as it is.
    void enter() override;
    GUI_ID keys() override;
    void guiEvent(GUI_ID id, bool clicked) override;
    void drawBeforeControls() override;
    // The focused setting's label, lit.
    void drawAfterControls() override;
    bool padButton(platform::PadButton button) override;

    // While a rebinding waits, the next key or mouse button goes to bindKey.
    bool waitingForKey() const { return m_bWaitingForKey; }
    // Completes a rebinding with the key or button pressed.
    void bindKey(int code);
    // The same with a pad button; Back unbinds the action's pad button.
    void bindPadButton(platform::PadButton button);
    // After a mouse event on this screen that hit hitId (0: none).
    void followHeldSlider(GUI_ID hitId);

    // Shows the bindings as the settings hold them.
    void refreshControlList();
    // What the focus is on, top to bottom.
    enum class Item {
        Resolution,
        Fullscreen,
        VerticalSync,
        LookSpeed,
        Rumble,
        Controls,  // the list, with Change
        InvertMouse,
        Sensitivity,
        Brightness,
        Back,
        Count,
    };
    Item focus() const { return m_focus; }
    // True when Back has the focus.
    bool backFocused() const { return m_focus == Item::Back; }

private:
    bool setUpBindingList();
    bool setUpMouseSettings();
    bool setUpDisplaySettings();
    bool setUpPadSettings();
    bool createStepper(GUI_ID label, GUI_ID previous, GUI_ID previousArrow, GUI_ID value,
                       GUI_ID next, GUI_ID nextArrow, float row, const char* name);
    bool createTick(GUI_ID id, float x, float y);
    void startRebinding();
    // The display settings as the window and the settings hold them.
    void showDisplaySettings();
    void stepResolution(int delta);
    void showResolution();
    void stepLookSpeed(int delta);
    void showLookSpeed();
    // The pad's focus: moved up or down, the focused setting changed by
    // left (-1) or right (1), or activated by A.
    void moveFocus(int delta);
    void changeFocused(int delta);
    bool activateFocused();
    void showFocus();
    void flipTick(GUI_ID id);
    void nudgeSlider(GUI_ID id, int delta);

    const ScreenContext& m_context;
    const MenuArt& m_art;
    Item m_focus = Item::Back;
    bool m_bWaitingForKey = false;
    // Index 0 is the display's own size (0 x 0), then the display's modes.
    std::vector<platform::Size> m_resolutions;
    int m_iResolution = 0;
};
