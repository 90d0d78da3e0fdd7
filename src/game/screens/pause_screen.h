#pragma once
#include "game/screens/menu_art.h"
#include "game/screens/screen.h"

// Over a game: resume it, or quit to the main menu. The keys move a focus
// between the two.
class PauseScreen : public Screen {
public:
    PauseScreen(const ScreenContext& context, const MenuArt& art);

    bool setUp() override;
    // Every entry focuses Resume.
    void enter() override { m_bOnResume = true; }
    GUI_ID keys() override;
    // B resumes play, whichever entry is marked (Start does so in the router,
    // as it paused there).
    bool padButton(platform::PadButton button) override;
    void guiEvent(GUI_ID id, bool clicked) override;
    void drawBeforeControls() override;

    // True when Resume has the focus, false when Quit to Menu has it.
    bool resumeFocused() const { return m_bOnResume; }

private:
    const ScreenContext& m_context;
    const MenuArt& m_art;
    bool m_bOnResume = true;
};
