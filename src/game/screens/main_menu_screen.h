#pragma once
#include <string>

#include "game/screens/menu_art.h"
#include "game/screens/screen.h"
#include "scene/animation.h"

// Start, high scores, options and quit, with the marker beside the chosen
// entry and the ghost bobbing beside them.
class MainMenuScreen : public Screen {
public:
    MainMenuScreen(const ScreenContext& context, const MenuArt& art);

    bool setUp() override;
    void step() override;
    GUI_ID keys() override;
    void guiEvent(GUI_ID id, bool clicked) override;
    void drawBeforeControls() override;

    // The entry the marker stands at, 0 (start) to 3 (quit); kept across
    // visits to the menu.
    int selection() const { return m_iSelection; }
    // The ghost's height.
    const Tween& bobbing() const { return m_bobbing; }

private:
    const ScreenContext& m_context;
    const MenuArt& m_art;
    int m_iSelection = 0;
    Tween m_bobbing;
    std::string m_versionText;
};
