#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <string>

#include "app/error_reporter.h"
#include "input/game_settings.h"
#include "support/temp_dir.h"

namespace {

class SettingsTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir.file("save/config.ini");

    void expectDefaults(const GameSettings& s) {
        EXPECT_EQ(s.screenWidth, 0);  // fullscreen at the display's own size
        EXPECT_EQ(s.screenHeight, 0);
        EXPECT_EQ(s.windowWidth, 1024);
        EXPECT_EQ(s.windowHeight, 768);
        EXPECT_FALSE(s.fullscreen);
        EXPECT_FLOAT_EQ(s.brightness, 0.0f);
        EXPECT_FLOAT_EQ(s.viewDistance, 55.0f);
        EXPECT_EQ(s.textureQuality, 3);
        EXPECT_TRUE(s.invertMouse);
        EXPECT_FLOAT_EQ(s.mouseSensitivity, 0.001f);
        EXPECT_FALSE(s.vsync);
        EXPECT_FLOAT_EQ(s.padLookSpeed, 150.0f);
        EXPECT_TRUE(s.rumbleEnabled);
    }
    std::string settingsFrom(const std::string& text, GameSettings** out = nullptr) {
        (void)out;
        writeFile(dir.file("in.ini"), text);
        return dir.file("in.ini");
    }
};

TEST_F(SettingsTest, MissingFileGivesDefaultsAndRegistersTheObject) {
    GameSettings settings(path.c_str());
    expectDefaults(settings);
    EXPECT_EQ(gameSettings(), &settings);
    EXPECT_EQ(appSettings(), &settings);
    EXPECT_FALSE(settings.settingsChanged);
}

TEST_F(SettingsTest, WholeValidFileIsTaken) {
    GameSettings settings(settingsFrom("800\n600\n100\n2\n0\n0.002\n1\n").c_str());
    EXPECT_EQ(settings.screenWidth, 800);
    EXPECT_EQ(settings.screenHeight, 600);
    EXPECT_FLOAT_EQ(settings.viewDistance, 100.0f);
    EXPECT_EQ(settings.textureQuality, 2);
    EXPECT_FALSE(settings.invertMouse);
    EXPECT_FLOAT_EQ(settings.mouseSensitivity, 0.002f);
    EXPECT_TRUE(settings.vsync);
}

TEST_F(SettingsTest, AcceptanceRules) {
    {
        GameSettings s(settingsFrom("1024 6000 100 2 0 0.002 1").c_str());
        EXPECT_EQ(s.screenWidth, 0);
        EXPECT_EQ(s.windowWidth, 1024);
        EXPECT_EQ(s.windowHeight, 768);
        EXPECT_FLOAT_EQ(s.viewDistance, 100.0f);
        EXPECT_EQ(s.textureQuality, 2);
    }
    {
        GameSettings s(settingsFrom("1280 1024 9.9 0 2 0.004 2").c_str());
        EXPECT_EQ(s.screenWidth, 1280);
        EXPECT_EQ(s.screenHeight, 1024);
        EXPECT_FLOAT_EQ(s.viewDistance, 55.0f);
        EXPECT_EQ(s.textureQuality, 3);
        EXPECT_TRUE(s.invertMouse);  // line 5 given as 2
        EXPECT_FLOAT_EQ(s.mouseSensitivity, 0.001f);
        EXPECT_FALSE(s.vsync);
    }
    {
        GameSettings s(settingsFrom("800 600 500.5 5 1 0.00009 1").c_str());
        EXPECT_FLOAT_EQ(s.viewDistance, 55.0f);
        EXPECT_EQ(s.textureQuality, 3);
        EXPECT_FLOAT_EQ(s.mouseSensitivity, 0.001f);
    }
    {
        GameSettings s(settingsFrom("800 600 10 1 0 0.0001 0").c_str());
        EXPECT_FLOAT_EQ(s.viewDistance, 10.0f);
        EXPECT_EQ(s.textureQuality, 1);
        EXPECT_FLOAT_EQ(s.mouseSensitivity, 0.0001f);
    }
    {
        GameSettings s(settingsFrom("800 600 500 4 0 0.003 0").c_str());
        EXPECT_FLOAT_EQ(s.viewDistance, 500.0f);
        EXPECT_EQ(s.textureQuality, 4);
        EXPECT_FLOAT_EQ(s.mouseSensitivity, 0.003f);
    }
}

TEST_F(SettingsTest, ThreeValuesOnlyOrGarbageKeepTheRest) {
    {
        GameSettings s(settingsFrom("800\n600\n20\n").c_str());
        EXPECT_EQ(s.screenWidth, 800);
        EXPECT_FLOAT_EQ(s.viewDistance, 20.0f);
        EXPECT_EQ(s.textureQuality, 3);
        EXPECT_TRUE(s.invertMouse);
        EXPECT_FLOAT_EQ(s.mouseSensitivity, 0.001f);
        EXPECT_FALSE(s.vsync);
    }
    {
        GameSettings s(settingsFrom("800 600 abc 1 0 0.002 1").c_str());
        EXPECT_EQ(s.screenWidth, 800);
        EXPECT_FLOAT_EQ(s.viewDistance, 55.0f);
        EXPECT_EQ(s.textureQuality, 3);
        EXPECT_FLOAT_EQ(s.mouseSensitivity, 0.001f);
    }
    {
        GameSettings s(settingsFrom("").c_str());
        expectDefaults(s);
    }
}

// The first two values were the one size of window and fullscreen alike;
// the window's own size, fullscreen and brightness come after the seventh,
// then the pad's look speed and rumble.
TEST_F(SettingsTest, DisplayAndPadValuesOfOldAndNewFiles) {
    struct Case {
        const char* text;
        int screenWidth, screenHeight, windowWidth, windowHeight;
        bool fullscreen;
        float brightness;
        float padLookSpeed = 150.0f;
        bool rumble = true;
    } cases[] = {
        {"800 600 55 3 1 0.001 0", 800, 600, 800, 600, false, 0.0f},
        {"1280 1024 55 3 1 0.001 1", 1280, 1024, 1280, 1024, false, 0.0f},
        {"0 0 55 3 1 0.001 0 1600 900 1 0.25", 0, 0, 1600, 900, true, 0.25f},
        {"2560 1080 55 3 1 0.001 0 800 600 0 1", 2560, 1080, 800, 600, false, 1.0f},
        {"640 480 55 3 1 0.001 0 7680 2160 1 0", 640, 480, 7680, 2160, true, 0.0f},
        {"1920 1080 55 3 1 0.001 0 1280 720", 1920, 1080, 1280, 720, false, 0.0f},
        {"0 0 55 3 1 0.001 0 1024 768 0 0 45 0", 0, 0, 1024, 768, false, 0.0f, 45.0f, false},
        {"0 0 55 3 1 0.001 0 1024 768 0 0 360 1", 0, 0, 1024, 768, false, 0.0f, 360.0f, true},
        {"0 0 55 3 1 0.001 0 1024 768 0 0 217.5", 0, 0, 1024, 768, false, 0.0f, 217.5f, true},
        // Refused values keep what was there before them.
        {"7681 2160 55 3 1 0.001 0 639 480 2 1.5", 0, 0, 1024, 768, false, 0.0f},
        {"640 479 55 3 1 0.001 0 640 2161 1 -0.1", 0, 0, 1024, 768, true, 0.0f},
        {"0 600 55 3 1 0.001 0 0 0 1 0.5", 0, 0, 1024, 768, true, 0.5f},
        {"1920 1080 55 3 1 0.001 0 wide 720 1 0.5", 1920, 1080, 1920, 1080, false, 0.0f},
        {"0 0 55 3 1 0.001 0 1024 768 0 0 44.9 2", 0, 0, 1024, 768, false, 0.0f, 150.0f, true},
        {"0 0 55 3 1 0.001 0 1024 768 0 0 360.5 0", 0, 0, 1024, 768, false, 0.0f, 150.0f, false},
        {"0 0 55 3 1 0.001 0 1024 768 0 0 nan 0", 0, 0, 1024, 768, false, 0.0f, 150.0f, true},
    };
    for (const Case& c : cases) {
        GameSettings s(settingsFrom(c.text).c_str());
        EXPECT_EQ(s.screenWidth, c.screenWidth) << c.text;
        EXPECT_EQ(s.screenHeight, c.screenHeight) << c.text;
        EXPECT_EQ(s.windowWidth, c.windowWidth) << c.text;
        EXPECT_EQ(s.windowHeight, c.windowHeight) << c.text;
        EXPECT_EQ(s.fullscreen, c.fullscreen) << c.text;
        EXPECT_FLOAT_EQ(s.brightness, c.brightness) << c.text;
        EXPECT_FLOAT_EQ(s.mouseSensitivity, 0.001f) << c.text;
        EXPECT_FLOAT_EQ(s.padLookSpeed, c.padLookSpeed) << c.text;
        EXPECT_EQ(s.rumbleEnabled, c.rumble) << c.text;
    }
}

TEST_F(SettingsTest, DisplayAndPadValuesSurviveASave) {
    {
        GameSettings s(path.c_str());
        s.screenWidth = 2560;
        s.screenHeight = 1080;
        s.windowWidth = 1366;
        s.windowHeight = 700;
        s.fullscreen = true;
        s.brightness = 0.5f;
        s.setInvertMouse(false);
        s.setPadLookSpeed(200.5f);
        s.setRumbleEnabled(false);
        s.saveSettings();
    }
    GameSettings reread(path.c_str());
    EXPECT_FLOAT_EQ(reread.padLookSpeed, 200.5f);
    EXPECT_FALSE(reread.rumbleEnabled);
    EXPECT_EQ(reread.screenWidth, 2560);
    EXPECT_EQ(reread.screenHeight, 1080);
    EXPECT_EQ(reread.windowWidth, 1366);
    EXPECT_EQ(reread.windowHeight, 700);
    EXPECT_TRUE(reread.fullscreen);
    EXPECT_FLOAT_EQ(reread.brightness, 0.5f);
    EXPECT_FALSE(reread.invertMouse);
}

TEST_F(SettingsTest, SetterRulesOfMouseAndPad) {
    GameSettings s(nullptr);
    EXPECT_FLOAT_EQ(s.padLookSpeed, GameSettings::DEFAULT_PAD_LOOK_SPEED);
    EXPECT_TRUE(s.rumbleEnabled);
    for (float refused : {44.9f, 360.1f, -150.0f, std::nanf("")}) {
        s.setPadLookSpeed(refused);
    }
    EXPECT_FALSE(s.settingsChanged);
    EXPECT_FLOAT_EQ(s.padLookSpeed, 150.0f);
    s.setPadLookSpeed(GameSettings::MAX_PAD_LOOK_SPEED);
    EXPECT_TRUE(s.settingsChanged);
    EXPECT_FLOAT_EQ(s.padLookSpeed, 360.0f);
    s.settingsChanged = false;
    s.setMouseSensitivity(0.004f);
    EXPECT_FALSE(s.settingsChanged);
    EXPECT_FLOAT_EQ(s.mouseSensitivity, 0.001f);
    s.setMouseSensitivity(0.003f);
    EXPECT_TRUE(s.settingsChanged);
    EXPECT_FLOAT_EQ(s.mouseSensitivity, 0.003f);
    s.settingsChanged = false;
    s.setInvertMouse(true);
    EXPECT_TRUE(s.settingsChanged);
}

TEST_F(SettingsTest, WrittenOnlyAfterAChangeAndControlsAlways) {
    std::string controls = dir.file("save/control.cfg");
    {
        GameSettings s(path.c_str());
        ASSERT_TRUE(s.loadControls(controls.c_str()));
        s.setControl(0, 69);
        s.saveSettings();
    }
    EXPECT_FALSE(fileExists(path));  // the save/ folder was created for the controls
    EXPECT_EQ(readFile(controls).size(), 56u);
    {
        GameSettings s(path.c_str());
        s.loadControls(controls.c_str());
        EXPECT_EQ(s.controls().boundKey(0), 69);
        s.setInvertMouse(true);
        s.saveSettings();
    }
    EXPECT_EQ(readFile(path), "0\n0\n55\n3\n1\n0.001\n0\n1024\n768\n0\n0\n150\n1\n");
    {
        GameSettings s(path.c_str());
        s.setMouseSensitivity(0.0025f);
        s.setInvertMouse(false);
        s.saveSettings();
    }
    GameSettings reread(path.c_str());
    EXPECT_FLOAT_EQ(reread.mouseSensitivity, 0.0025f);
    EXPECT_FALSE(reread.invertMouse);
}

// Saving happens at exit, where no box may open: the reason goes to the
// error log instead, and whatever error was stored stays.
TEST_F(SettingsTest, FailedWriteKeepsTheOldFileAndLogsWhy) {
    ErrorReporter reporter(dir.file("ErrorLog.txt").c_str(), true);
    reporter.setError(ERROR_GAME, "stored before");
    writeFile(dir.file("keep.ini"), "800\n600\n100\n2\n0\n0.002\n1\n");
    GameSettings s(dir.file("keep.ini").c_str());
    ASSERT_EQ(::mkdir(dir.file("keep.ini.tmp").c_str(), 0755), 0);
    s.setInvertMouse(true);
    EXPECT_FALSE(s.saveSettings());
    EXPECT_EQ(readFile(dir.file("keep.ini")), "800\n600\n100\n2\n0\n0.002\n1\n");
    std::string log = readFile(dir.file("ErrorLog.txt"));
    EXPECT_NE(log.find("Can not save " + dir.file("keep.ini") + ": can not create " +
                       dir.file("keep.ini.tmp") + ": Is a directory"),
              std::string::npos)
        << log;
    EXPECT_EQ(reporter.getMessage(), "stored before");

    // The control file is still written after the settings file failed.
    std::string controls = dir.file("control.cfg");
    s.loadControls(controls.c_str());
    s.setInvertMouse(false);
    EXPECT_FALSE(s.saveSettings());
    EXPECT_EQ(readFile(controls).size(), 56u);
}

TEST_F(SettingsTest, LoadingEmptiesKeysAndControls) {
    GameSettings s(nullptr);
    s.loadControls(nullptr);
    s.keyDown[87] = 1;
    EXPECT_TRUE(s.isActionActive(0, false));
    s.loadSettings(nullptr);
    EXPECT_EQ(s.keyDown[87], 0);
    EXPECT_EQ(s.controlCount(), 0);
}

}  // namespace
