#pragma once
#include <vector>

#include "game/high_scores.h"
#include "game/screens/menu_art.h"
#include "game/screens/screen.h"

// The high-score table as a list, refreshed whenever the table is read or
// saved.
class HighScoresScreen : public Screen {
public:
    HighScoresScreen(const ScreenContext& context, const MenuArt& art);
    ~HighScoresScreen() override;
    HighScoresScreen(const HighScoresScreen&) = delete;
    HighScoresScreen& operator=(const HighScoresScreen&) = delete;

    // Also reads the table, which fills the list.
    bool setUp() override;
    GUI_ID keys() override;
    void guiEvent(GUI_ID id, bool clicked) override;

private:
    void showHighScores(const std::vector<HighScoreEntry>& entries);

    const ScreenContext& m_context;
    const MenuArt& m_art;
};
