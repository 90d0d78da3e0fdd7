#include <gtest/gtest.h>

#include <vector>

#include "app/command_line.h"
#include "app/game_window.h"
#include "support/fake_clock.h"

namespace {

CommandLine parse(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "spookhollow");
    return parseCommandLine(static_cast<int>(arguments.size()), arguments.data());
}

TEST(CommandLine, Rules) {
    EXPECT_TRUE(parse({"-x", "-h"}).showHelp);
    EXPECT_TRUE(parse({"/?"}).showHelp);
    EXPECT_FALSE(parse({"-help"}).showHelp);
    EXPECT_TRUE(parse({"-fast"}).fullscreen);
    EXPECT_TRUE(parse({"-f"}).fullscreen);
    CommandLine nothing = parse({"-s", "/f", "-", "f", ""});
    EXPECT_FALSE(nothing.showHelp);
    EXPECT_FALSE(nothing.fullscreen);
    EXPECT_FALSE(parse({}).fullscreen);
}

TEST(CommandLine, NoIntroAndTrace) {
    struct Case {
        std::vector<const char*> args;
        bool skipIntro;
        const char* traceFile;
        const char* traceError;
    } cases[] = {
        {{"--no-intro"}, true, "", ""},
        {{"--trace", "-", "--no-intro"}, true, "-", ""},
        {{"--trace", "game.trace"}, false, "game.trace", ""},
        {{"--no-intro", "--trace"}, true, "", "--trace needs a file name."},
        {{"--trace", ""}, false, "", "--trace needs a file name."},
        {{"-no-intro", "--notrace"}, false, "", ""},
    };
    for (const Case& c : cases) {
        CommandLine line = parse(c.args);
        EXPECT_EQ(line.skipIntro, c.skipIntro) << c.args[0];
        EXPECT_EQ(line.traceFile, c.traceFile) << c.args[0];
        EXPECT_EQ(line.traceError, c.traceError) << c.args[0];
        EXPECT_FALSE(line.fullscreen) << c.args[0];
    }
}

TEST(CommandLine, Size) {
    const char* const refused = "--size needs a size from 640x480 to 7680x2160, like 1920x1080.";
    struct Case {
        std::vector<const char*> args;
        int width, height;
        const char* error;
    } cases[] = {
        {{"--size", "1920x1080"}, 1920, 1080, ""},
        {{"--size", "640x480", "-f"}, 640, 480, ""},
        {{"--size", "7680x2160"}, 7680, 2160, ""},
        {{"--size", "639x480"}, 0, 0, refused},
        {{"--size", "1920x1080x"}, 0, 0, refused},
        {{"--size", "1920"}, 0, 0, refused},
        {{"--size"}, 0, 0, refused},
    };
    for (const Case& c : cases) {
        CommandLine line = parse(c.args);
        const char* shown = c.args.size() > 1 ? c.args[1] : "";
        EXPECT_EQ(line.width, c.width) << shown;
        EXPECT_EQ(line.height, c.height) << shown;
        EXPECT_EQ(line.sizeError, c.error) << shown;
    }
}

class StateTest : public ::testing::Test {
protected:
    FakeClock clock;
    GameWindow window{clock};

    void consumeChange() { window.beginFrame(); }
};

TEST_F(StateTest, StartsOnIntroAboveMainMenu) {
    EXPECT_EQ(window.currentState(), GameState::Intro);
    EXPECT_EQ(window.states().depth(), 2u);
    window.setState(GameState::Previous);
    EXPECT_EQ(window.currentState(), GameState::MainMenu);
}

TEST_F(StateTest, PreviousWithOneEntryChangesNothing) {
    window.setState(GameState::MainMenu);
    consumeChange();
    window.setState(GameState::Previous);
    EXPECT_EQ(window.states().depth(), 1u);
    EXPECT_EQ(window.currentState(), GameState::MainMenu);
    EXPECT_FALSE(window.stateChanged());
}

TEST_F(StateTest, MainMenuFromAnyDepthLeavesOneEntry) {
    window.setState(GameState::Loading);
    window.setState(GameState::Ready);
    window.setState(GameState::Playing);
    window.setState(GameState::Paused);
    EXPECT_EQ(window.states().depth(), 6u);
    consumeChange();
    window.setState(GameState::MainMenu);
    EXPECT_EQ(window.states().depth(), 1u);
    EXPECT_EQ(window.currentState(), GameState::MainMenu);
    EXPECT_TRUE(window.stateChanged());
}

TEST_F(StateTest, TheListenerHearsTheCurrentStateAfterEverySetStateChangedOrNot) {
    std::vector<GameState> heard;
    window.setStateListener([&](GameState state) { heard.push_back(state); });
    window.setState(GameState::MainMenu);
    window.setState(GameState::Previous);  // one entry: no change
    window.setState(GameState::Options);
    window.setState(GameState::Previous);
    window.setStateListener(nullptr);
    window.setState(GameState::Loading);
    const std::vector<GameState> expected = {GameState::MainMenu, GameState::MainMenu,
                                             GameState::Options, GameState::MainMenu};
    EXPECT_EQ(heard, expected);
}

TEST_F(StateTest, LosingActivationDuringPlayPauses) {
    window.setState(GameState::Playing);
    window.windowProc(platform::Event{platform::EventType::Deactivated});
    EXPECT_EQ(window.currentState(), GameState::Paused);
    EXPECT_FALSE(window.isActive());
    window.windowProc(platform::Event{platform::EventType::Activated});
    EXPECT_TRUE(window.isActive());
    window.windowProc(platform::Event{platform::EventType::Deactivated});
    EXPECT_EQ(window.currentState(), GameState::Paused);  // not paused twice
    EXPECT_EQ(window.states().depth(), 4u);
}

}  // namespace
