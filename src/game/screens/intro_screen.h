#pragma once
#include "game/screens/menu_art.h"
#include "game/screens/screen.h"

// The title picture that sweeps across the white screen at start, above the
// main menu.
class IntroScreen : public Screen {
public:
    IntroScreen(const ScreenContext& context, const MenuArt& art);

    bool setUp() override;
    GUI_ID keys() override;
    void drawBeforeControls() override;

    // On to the main menu, with its music.
    void leave();

private:
    const ScreenContext& m_context;
    const MenuArt& m_art;
};
