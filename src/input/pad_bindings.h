#pragma once
#include <array>
#include <string>

#include "platform/events.h"

// The short name of a pad button, as the options list shows it and pad.cfg
// stores it: "A", "START", "LB", "UP", "RT", ...; "none" for None and for
// anything outside the enum.
const char* padButtonName(platform::PadButton button);
// The button a name stands for, in any case; "none" is None. False (and
// button untouched) for any other text.
bool parsePadButton(const std::string& name, platform::PadButton& button);

// The pad button bound to each control action, with the action ids of
// ControlTable; one button at most per action and one action per button.
// Kept in a small text file that a player may edit:
//
//     # Spookhollow pad bindings
//     0 UP
//     ...
//
// one line per action in ascending id, the button by its name or "none".
class PadBindings {
public:
    // What is read of a file at most; a larger file is not a bindings file.
    static constexpr long MAX_FILE_SIZE = 64 * 1024;
    static constexpr const char* HEADER = "# Spookhollow pad bindings";

    PadBindings();

    // Sets the defaults, then the file's bindings. A missing file is normal.
    // A file that cannot be read as a whole (not this format, an unknown
    // action or name, an action twice, a button on two actions, too large)
    // leaves every default and one line in the error log, and is then not
    // overwritten by save() unless a binding changes: the player may still
    // want to mend it. True but for a null name (defaults, nothing to save).
    bool load(const char* fileName);
    // Writes serialise() atomically to the file named at load time; a
    // failure leaves its reason in the error log (no box: this runs at exit)
    // and the old file in place. True when written or nothing was to be.
    bool save() const;

    void setDefaults();
    // Binds the button to the action and unbinds every other action that
    // had it; None unbinds the action. Unknown actions are ignored.
    void setButton(int actionId, platform::PadButton button);
    // None when unbound or not an action.
    platform::PadButton button(int actionId) const;

    // The bytes of the file as save() writes them.
    std::string serialise() const;
    // Reads the text of a bindings file into this table; false, with the
    // reason in *reason, and the table unchanged when any line is wrong.
    bool parse(const std::string& text, std::string* reason);

private:
    static constexpr int ACTION_COUNT = 7;
    struct Binding {
        int actionId;
        platform::PadButton button;
    };
    Binding* find(int actionId);
    const Binding* find(int actionId) const;

    std::array<Binding, ACTION_COUNT> m_bindings;
    std::string m_fileName;  // kept from loading for saving; empty when none was given
    bool m_keepBrokenFile = false;
};
