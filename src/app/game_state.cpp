#include "app/game_state.h"

const char* stateName(GameState state) {
    switch (state) {
        case GameState::Previous:
            return "Previous";
        case GameState::Intro:
            return "Intro";
        case GameState::MainMenu:
            return "MainMenu";
        case GameState::Options:
            return "Options";
        case GameState::HighScores:
            return "HighScores";
        case GameState::Loading:
            return "Loading";
        case GameState::Ready:
            return "Ready";
        case GameState::Paused:
            return "Paused";
        case GameState::Playing:
            return "Playing";
        case GameState::GameOver:
            return "GameOver";
        case GameState::MapChoice:
            return "MapChoice";
        case GameState::Count:
            break;
    }
    return "?";
}

bool isMenuState(GameState state) {
    return (state >= GameState::Intro && state <= GameState::Paused) ||
           state == GameState::MapChoice;
}

bool showsMouseCursor(GameState state) {
    return state == GameState::MainMenu || state == GameState::Options ||
           state == GameState::HighScores || state == GameState::Paused ||
           state == GameState::MapChoice;
}

StateStack::StateStack() : m_states{GameState::MainMenu, GameState::Intro} {}

bool StateStack::set(GameState state) {
    if (state == GameState::Previous) {
        if (m_states.size() < 2) {
            return false;
        }
        m_states.pop_back();
        return true;
    }
    if (state == GameState::MainMenu) {
        m_states.clear();
    }
    m_states.push_back(state);
    return true;
}
