#pragma once
#include <functional>
#include <string>

#include "app/app_settings.h"
#include "input/control_table.h"
#include "input/pad_bindings.h"
#include "input/pad_input.h"

// The program-wide settings object of the game: the key, mouse and pad state
// taken from window messages, the control tables of keys and pad buttons,
// and the settings of the settings file. Created once by start-up;
// gameSettings() reaches it.
class GameSettings : public AppSettings {
public:
    static constexpr int KEY_COUNT = 256;

    // Sets every default, then reads the settings file (null: defaults only).
    explicit GameSettings(const char* settingsFileName);
    ~GameSettings() override;

    // Settings file.
    void loadSettings(const char* fileName);
    // Writes the settings file when a setting changed, then the control
    // files of keys and pad buttons.
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

    // How fast the pad's right stick turns at full push, in degrees a second.
    static constexpr float MIN_PAD_LOOK_SPEED = 45.0f;
    static constexpr float MAX_PAD_LOOK_SPEED = 360.0f;
    static constexpr float DEFAULT_PAD_LOOK_SPEED = 150.0f;
    static bool isPadLookSpeed(float speed) {
        return speed >= MIN_PAD_LOOK_SPEED && speed <= MAX_PAD_LOOK_SPEED;
    }
    // Takes values in the range above only.
    void setPadLookSpeed(float speed);
    void setRumbleEnabled(bool enabled);

    int textureQuality = 3;
    bool invertMouse = true;
    float mouseSensitivity = DEFAULT_MOUSE_SENSITIVITY;
    float padLookSpeed = DEFAULT_PAD_LOOK_SPEED;
    bool rumbleEnabled = true;

    // Key state, indexed by virtual-key code; consumers may clear an entry to
    // use a press once.
    unsigned char keyDown[KEY_COUNT] = {};
    bool isKeyDown(int code) const;
    // Ignores codes outside the array.
    void setKeyDown(int code, bool down);
    // Forgets the held keys, and the presses of held pad buttons (a button
    // acts again once released and pressed anew).
    void clearKeys();

    // The connected pads; the input router feeds it every pad event.
    PadInput& pad() { return m_pad; }
    const PadInput& pad() const { return m_pad; }

    // Shakes the active pad, when rumble is on and a pad is active: strength
    // from 0 to 1 (held to that range), for the given time (held to at most
    // MAX_RUMBLE_MILLISECONDS). Start-up sets rumbleOutput to the platform's.
    static constexpr int MAX_RUMBLE_MILLISECONDS = 5000;
    void rumble(float strength, int milliseconds);
    std::function<void(int pad, float strength, int milliseconds)> rumbleOutput;

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
    // The key state of the action's key, or a press of its pad button on the
    // active pad; with consume, both are used up for this press.
    bool isActionActive(int actionId, bool consume);
    int controlCount() const { return m_controls.count(); }
    int controlActionId(int row) const { return m_controls.actionIdAt(row); }
    std::string controlLabel(int row) const { return m_controls.labelAt(row); }
    std::string controlKeyName(int row) const { return m_controls.keyNameAt(row); }
    const ControlTable& controls() const { return m_controls; }

    // Pad buttons of the same actions (see PadBindings; the file is pad.cfg).
    bool loadPadControls(const char* fileName) { return m_padControls.load(fileName); }
    bool savePadControls() const { return m_padControls.save(); }
    void setPadControl(int actionId, platform::PadButton button) {
        m_padControls.setButton(actionId, button);
    }
    platform::PadButton padControl(int actionId) const { return m_padControls.button(actionId); }
    // The bound button's name by the rows of controlLabel(); "[none]" when
    // unbound, as keys show it, and empty out of range.
    std::string controlPadButtonName(int row) const;
    const PadBindings& padControls() const { return m_padControls; }

private:
    void setDefaults();

    ControlTable m_controls;
    PadBindings m_padControls;
    PadInput m_pad;
    std::string m_settingsFileName;  // empty when none was given: nothing is saved
};

// The one program-wide settings object (null before start-up creates it).
GameSettings* gameSettings();
