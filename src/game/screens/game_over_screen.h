#pragma once
#include <string>

#include "game/screens/menu_art.h"
#include "game/screens/screen.h"
#include "scene/animation.h"

// Over the last picture of a game: the score, and the name entry when it
// made the high-score table. Its picture belongs to the play HUD.
class GameOverScreen : public Screen {
public:
    // The pulse is shared with the ready screen.
    GameOverScreen(const ScreenContext& context, const MenuArt& art, Tween& pulse);

    void step() override;
    void drawAfterControls() override;

    // A game has just ended: a new name, if the score makes the table.
    void begin();
    // A key while the game is over: a letter or digit of the name,
    // Backspace, or Enter to save it (or, without a high score, to leave).
    // False when the key is not the name entry's, or the game is not over.
    bool nameEntryKey(int code, bool shift);
    // The same with a pad, as arcade machines take names: up and down choose
    // the next letter, A adds it, B takes the last one back, Start enters.
    // Without a high score, A or Start leave.
    bool nameEntryPad(platform::PadButton button);
    // The letter up and down have chosen.
    char padLetter() const;

    const std::string& typedName() const { return m_typedName; }
    bool newHighScore() const { return m_bNewHighScore; }

private:
    // Enter: saves the name and shows the table, or leaves without one.
    void enterName();
    bool typeCharacter(char c);
    void drawName();

    const ScreenContext& m_context;
    const MenuArt& m_art;
    Tween& m_pulse;
    std::string m_typedName;
    bool m_bNewHighScore = false;
    // Shown after the name only once the pad has been used here.
    bool m_bPadUsed = false;
    int m_iPadLetter = 0;
};
