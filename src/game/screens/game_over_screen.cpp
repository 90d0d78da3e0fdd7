#include "game/screens/game_over_screen.h"

#include "app/error_reporter.h"
#include "app/game_window.h"
#include "game/high_scores.h"
#include "game/map_selection.h"
#include "game/player.h"
#include "platform/keycodes.h"

namespace {

const char* const CLOSING_LINE = "Play it again!";
const char* const KEYBOARD_PROMPT = "Type in your name and press ENTER";
const char* const PAD_PROMPT = "UP/DOWN letter, A add, B delete, START done";
// The letters a pad chooses from, in the order up steps through them.
const char NAME_LETTERS[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr int NAME_LETTER_COUNT = sizeof NAME_LETTERS - 1;

}  // namespace

GameOverScreen::GameOverScreen(const ScreenContext& context, const MenuArt& art, Tween& pulse)
    : m_context(context), m_art(art), m_pulse(pulse) {}

void GameOverScreen::begin() {
    m_typedName.clear();
    m_bNewHighScore = m_context.highScores.isHighScore(m_context.player.getScore());
    m_bPadUsed = false;
    m_iPadLetter = 0;
}

char GameOverScreen::padLetter() const {
    return NAME_LETTERS[m_iPadLetter];
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
        drawName();
    }

    textures.setFontColour(group, font, 1.0f, 1.0f, 1.0f, m_pulse.value());
    if (m_bNewHighScore) {
        textures.printText(group, font, 615.0f, 523.0f, "%s", "You got a high score!");
        if (m_bPadUsed) {
            // Ends where the keyboard's prompt ends.
            const float right = 450.0f + textures.getTextWidth(group, font, "%s", KEYBOARD_PROMPT);
            const float width = textures.getTextWidth(group, font, "%s", PAD_PROMPT);
            textures.printText(group, font, right - width, 489.0f, "%s", PAD_PROMPT);
        } else {
            textures.printText(group, font, 450.0f, 489.0f, "%s", KEYBOARD_PROMPT);
        }
    } else {
        textures.printText(group, font, 396.0f, 489.0f, "%s",
                           "Press ENTER to return to the main menu");
    }
    textures.setFontColour(group, font, 1.0f, 1.0f, 1.0f, 1.0f);
}

// The name centred on 400; with the pad, the chosen letter pulses after it.
void GameOverScreen::drawName() {
    TextureManager& textures = m_context.textures;
    const int group = m_art.scoreFont.group;
    const std::uint32_t font = m_art.scoreFont.id;
    const bool choosing = m_bPadUsed && m_typedName.size() < HighScoreTable::MAX_NAME_LENGTH;
    const std::string shown = choosing ? m_typedName + padLetter() : m_typedName;
    const float left = 400.0f - textures.getTextWidth(group, font, "%s", shown.c_str()) / 2.0f;
    textures.printText(group, font, left, 441.0f, "%s", m_typedName.c_str());
    if (choosing) {
        const float typedWidth = textures.getTextWidth(group, font, "%s", m_typedName.c_str());
        textures.setFontColour(group, font, 1.0f, 1.0f, 1.0f, m_pulse.value());
        textures.printText(group, font, left + typedWidth, 441.0f, "%c", padLetter());
        textures.setFontColour(group, font, 1.0f, 1.0f, 1.0f, 1.0f);
    }
}

bool GameOverScreen::nameEntryPad(platform::PadButton button) {
    using platform::PadButton;
    if (m_context.window.currentState() != GameState::GameOver) {
        return false;
    }
    if (!m_bNewHighScore) {
        if (button == PadButton::A || button == PadButton::Start) {
            enterName();
            return true;
        }
        return false;
    }
    m_bPadUsed = true;
    switch (button) {
        case PadButton::DPadUp:
        case PadButton::DPadDown:
            m_iPadLetter =
                (m_iPadLetter + (button == PadButton::DPadUp ? 1 : -1) + NAME_LETTER_COUNT) %
                NAME_LETTER_COUNT;
            traceEvent("name letter %c", padLetter());
            return true;
        case PadButton::A:
            typeCharacter(padLetter());
            return true;
        case PadButton::B:
            return nameEntryKey(platform::VK_BACK, false);
        case PadButton::Start:
            enterName();
            return true;
        default:
            return false;
    }
}

bool GameOverScreen::typeCharacter(char c) {
    if (m_typedName.size() >= HighScoreTable::MAX_NAME_LENGTH) {
        return false;
    }
    m_typedName.push_back(c);
    traceEvent("name \"%s\"", m_typedName.c_str());
    return true;
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
        m_context.highScores.saveHighScores(true, m_context.player.getScore(), m_typedName,
                                            m_context.maps.current().label);
        traceEvent("high score entered");
        m_typedName.clear();
        m_bNewHighScore = false;
        window.setState(GameState::MainMenu);
        window.setState(GameState::HighScores);
        m_context.leaveGame();
    }
}
