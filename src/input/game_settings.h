#pragma once
#include <string>

#include "app/app_settings.h"
#include "input/control_table.h"

// The program-wide settings object of the game: the key and mouse state
// taken from window messages, the control table, and the settings of the
// settings file. Created once by start-up; gameSettings() reaches it.
class GameSettings : public AppSettings {
public:
    static constexpr int KEY_COUNT = 256;

    // Sets every default, then reads the settings file (null: defaults only).
    explicit GameSettings(const char* settingsFileName);
    ~GameSettings() override;

    // Settings file.
    void loadSettings(const char* fileName);
    // Writes the settings file when a setting changed, then the control file.
    // A file that cannot be written leaves its reason in the error log (no
    // box: this runs at exit); false then.
    bool saveSettings();
    void setInvertMouse(bool invert);
    // The mouse sensitivity a settings file or the options may set.
    static constexpr float MIN_MOUSE_SENSITIVITY = 0.0001f;
    static constexpr float MAX_MOUSE_SENSITIVITY = 0.003f;
    static constexpr float DEFAULT_MOUSE_SENSITIVITY = 0.001f;
    static bool isMouseSensitivity(float sensitivity) {
        return sensitivity >= MIN_MOUSE_SENSITIVITY && sensitivity <= MAX_MOUSE_SENSITIVITY;
    }
    // Takes values in the range above only.
    void setMouseSensitivity(float sensitivity);

    int textureQuality = 3;
    bool invertMouse = true;
    float mouseSensitivity = DEFAULT_MOUSE_SENSITIVITY;

    // Key state, indexed by virtual-key code; consumers may clear an entry to
    // use a press once.
    unsigned char keyDown[KEY_COUNT] = {};
    bool isKeyDown(int code) const;
    // Ignores codes outside the array.
    void setKeyDown(int code, bool down);
    void clearKeys();

    // Last mouse position in client coordinates; negative left of or above
    // the client area.
    int mouseX = 0;
    int mouseY = 0;
    // True only while a left-button press is handed to the GUI.
    bool mouseClickInProgress = false;

    // Control actions.
    bool loadControls(const char* fileName) { return m_controls.load(fileName); }
    bool saveControls() const { return m_controls.save(); }
    void setControl(int actionId, int keyCode) { m_controls.setControl(actionId, keyCode); }
    // The key state of the action's key; with consume, a set entry is cleared.
    bool isActionActive(int actionId, bool consume);
    int controlCount() const { return m_controls.count(); }
    int controlActionId(int row) const { return m_controls.actionIdAt(row); }
    std::string controlLabel(int row) const { return m_controls.labelAt(row); }
    std::string controlKeyName(int row) const { return m_controls.keyNameAt(row); }
    const ControlTable& controls() const { return m_controls; }

private:
    void setDefaults();

    ControlTable m_controls;
    std::string m_settingsFileName;  // empty when none was given: nothing is saved
};

// The one program-wide settings object (null before start-up creates it).
GameSettings* gameSettings();
