#pragma once
#include <vector>

#include "game/screens/menu_art.h"
#include "game/screens/screen.h"
#include "platform/window.h"

// The control bindings with their Change button, the invert-mouse toggle,
// the mouse sensitivity slider, the display settings (fullscreen resolution,
// fullscreen, vertical sync, brightness), and Back. The keys move a focus
// between Change and Back. Display settings take effect at once.
class OptionsScreen : public Screen {
public:
    OptionsScreen(const ScreenContext& context, const MenuArt& art);

    bool setUp() override;
    // Every entry focuses Back and shows the display as it is.
    void enter() override;
    GUI_ID keys() override;
    void guiEvent(GUI_ID id, bool clicked) override;
    void drawBeforeControls() override;

    // While a rebinding waits, the next key or mouse button goes to bindKey.
    bool waitingForKey() const { return m_bWaitingForKey; }
    // Completes a rebinding with the key or button pressed.
    void bindKey(int code);
    // After a mouse event on this screen that hit hitId (0: none).
    void followHeldSlider(GUI_ID hitId);

    // Shows the bindings as the settings hold them.
    void refreshControlList();
    // True when Back has the focus, false when Change has it.
    bool backFocused() const { return m_bOnBack; }

private:
    bool setUpBindingList();
    bool setUpMouseSettings();
    bool setUpDisplaySettings();
    bool createTick(GUI_ID id, float x, float y);
    void startRebinding();
    // The display settings as the window and the settings hold them.
    void showDisplaySettings();
    void stepResolution(int delta);
    void showResolution();

    const ScreenContext& m_context;
    const MenuArt& m_art;
    bool m_bOnBack = true;
    bool m_bWaitingForKey = false;
    // Index 0 is the display's own size (0 x 0), then the display's modes.
    std::vector<platform::Size> m_resolutions;
    int m_iResolution = 0;
};
