#include "game/screens/game_over_screen.h"

#include "app/error_reporter.h"
#include "app/game_window.h"
#include "game/high_scores.h"
#include "game/player.h"
#include "platform/keycodes.h"

namespace {

const char* const CLOSING_LINE = "Play it again!";

}  // namespace

GameOverScreen::GameOverScreen(const ScreenContext& context, const MenuArt& art, Tween& pulse)
    : m_context(context), m_art(art), m_pulse(pulse) {}

void GameOverScreen::begin() {
    m_typedName.clear();
    m_bNewHighScore = m_context.highScores.isHighScore(m_context.player.getScore());
}

void GameOverScreen::step() {
    m_pulse.step();
}

void GameOverScreen::drawAfterControls() {
    if (m_pulse.finished()) {
        m_pulse.reverse(-1.0f);
    }
    TextureManager& textures = m_context.textures;
    const int group = m_art.scoreFont.group;
    const std::uint32_t font = m_art.scoreFont.id;
    textures.setFontColour(group, font, 1.0f, 1.0f, 1.0f, 1.0f);
    textures.printText(group, font, 181.0f, 489.0f, "%d", m_context.player.getScore());
    textures.printText(group, font, 231.0f, 326.0f, "%s", CLOSING_LINE);
    if (m_bNewHighScore) {
        float width = textures.getTextWidth(group, font, "%s", m_typedName.c_str());
        textures.printText(group, font, 400.0f - width / 2.0f, 441.0f, "%s", m_typedName.c_str());
    }

    textures.setFontColour(group, font, 1.0f, 1.0f, 1.0f, m_pulse.value());
    if (m_bNewHighScore) {
        textures.printText(group, font, 615.0f, 523.0f, "%s", "You got a high score!");
        textures.printText(group, font, 450.0f, 489.0f, "%s", "Type in your name and press ENTER");
    } else {
        textures.printText(group, font, 396.0f, 489.0f, "%s",
                           "Press ENTER to return to the main menu");
    }
    textures.setFontColour(group, font, 1.0f, 1.0f, 1.0f, 1.0f);
}

bool GameOverScreen::nameEntryKey(int code, bool shift) {
    if (m_context.window.currentState() != GameState::GameOver) {
        return false;
    }
    // The name as it stands after each key, for the trace.
    auto typed = [this] {
        traceEvent("name \"%s\"", m_typedName.c_str());
        return true;
    };
    if (code == platform::VK_BACK) {
        if (!m_typedName.empty()) {
            m_typedName.pop_back();
        }
        return typed();
    }
    if (code == platform::VK_RETURN || code == platform::VK_SEPARATOR) {
        enterName();
        return true;
    }
    if (m_typedName.size() >= HighScoreTable::MAX_NAME_LENGTH) {
        return true;
    }
    if (code >= platform::VK_0 && code <= platform::VK_0 + 9) {
        m_typedName.push_back(static_cast<char>(code));
        return typed();
    }
    if (code >= platform::VK_NUMPAD0 && code <= platform::VK_NUMPAD0 + 9) {
        m_typedName.push_back(static_cast<char>('0' + (code - platform::VK_NUMPAD0)));
        return typed();
    }
    if (code >= platform::VK_A && code <= platform::VK_A + 25) {
        m_typedName.push_back(static_cast<char>(shift ? code : code + 32));
        return typed();
    }
    return false;
}

void GameOverScreen::enterName() {
    GameWindow& window = m_context.window;
    if (!m_bNewHighScore) {
        window.setState(GameState::MainMenu);
        m_context.leaveGame();
    } else if (!m_typedName.empty()) {
        m_context.highScores.saveHighScores(true, m_context.player.getScore(), m_typedName);
        traceEvent("high score entered");
        m_typedName.clear();
        m_bNewHighScore = false;
        window.setState(GameState::MainMenu);
        window.setState(GameState::HighScores);
        m_context.leaveGame();
    }
}
