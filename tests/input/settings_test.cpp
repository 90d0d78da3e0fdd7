#include <gtest/gtest.h>
#include <sys/stat.h>

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
        EXPECT_EQ(s.screenWidth, 1024);
        EXPECT_EQ(s.screenHeight, 768);
        EXPECT_FLOAT_EQ(s.viewDistance, 55.0f);
        EXPECT_EQ(s.textureQuality, 3);
        EXPECT_TRUE(s.invertMouse);
        EXPECT_FLOAT_EQ(s.mouseSensitivity, 0.001f);
        EXPECT_FALSE(s.vsync);
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
        GameSettings s(settingsFrom("1024 600 100 2 0 0.002 1").c_str());
        EXPECT_EQ(s.screenWidth, 1024);
        EXPECT_EQ(s.screenHeight, 768);
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

TEST_F(SettingsTest, SetterRules) {
    GameSettings s(nullptr);
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
    EXPECT_EQ(readFile(path), "1024\n768\n55\n3\n1\n0.001\n0\n");
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
