#include "app/game_state.h"

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
