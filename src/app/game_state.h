#pragma once
#include <cstdint>
#include <vector>

// The screens of the game; the top of a stack of them is the current one.
enum class GameState : std::int32_t {
    Previous = -1,  // not a screen: return to the state below the top
    Intro = 0,
    MainMenu = 1,
    Options = 2,
    HighScores = 3,
    Loading = 4,
    Ready = 5,
    Paused = 6,
    Playing = 7,
    GameOver = 8,
    MapChoice = 9,
    Count = 10,  // not a state
};

// The state's name as the trace writes it ("MainMenu"); "?" for a number
// that names no state.
const char* stateName(GameState state);

// The screens drawn as flat pictures (menu frames), and of those the ones
// that show the mouse cursor.
bool isMenuState(GameState state);
bool showsMouseCursor(GameState state);

// The state stack with its three rules: Previous pops (never the last entry),
// MainMenu resets the stack to itself, anything else is pushed.
class StateStack {
public:
    StateStack();  // [MainMenu, Intro], Intro on top

    // Returns true when the stack changed.
    bool set(GameState state);
    GameState current() const { return m_states.back(); }
    std::size_t depth() const { return m_states.size(); }
    const std::vector<GameState>& entries() const { return m_states; }

private:
    std::vector<GameState> m_states;
};
