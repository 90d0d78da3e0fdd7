#pragma once
#include "game/screens/menu_art.h"
#include "game/screens/screen.h"
#include "scene/animation.h"

// The instructions once the level is built, with a pulsing prompt to begin.
class ReadyScreen : public Screen {
public:
    // The pulse is shared with the game-over screen.
    ReadyScreen(const ScreenContext& context, const MenuArt& art, Tween& pulse);

    bool setUp() override;
    void step() override;
    void drawBeforeControls() override;

    // Into play, with its music. The left button's press that got here is
    // taken, so it is not also an attack.
    void startGame();

private:
    const ScreenContext& m_context;
    const MenuArt& m_art;
    Tween& m_pulse;
};
