#pragma once
#include "game/screens/menu_art.h"
#include "game/screens/screen.h"

// The instructions while the level is built.
class LoadingScreen : public Screen {
public:
    LoadingScreen(const ScreenContext& context, const MenuArt& art);

    bool setUp() override;

private:
    const ScreenContext& m_context;
    const MenuArt& m_art;
};
