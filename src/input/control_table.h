#pragma once
#include <map>
#include <string>
#include <utility>

// The named control actions and the key or mouse button bound to each. Game
// logic asks for actions, never for key codes. The bindings are kept in a
// binary file of 8-byte records (action id, key code; both little-endian).
class ControlTable {
public:
    static constexpr int MOVE_FORWARD = 0;
    static constexpr int MOVE_BACK = 1;
    static constexpr int STRAFE_LEFT = 2;
    static constexpr int STRAFE_RIGHT = 3;
    static constexpr int MELEE_WEAPON = 7;
    static constexpr int RANGED_WEAPON = 8;
    static constexpr int ATTACK = 9;

    // Adds the default actions (an action already present keeps its entry),
    // then applies the records of the file. A missing file is normal (true);
    // only a null name fails.
    bool load(const char* fileName);
    // Writes every action in ascending id to the file named at load time.
    // A failure shows no box (it happens at exit) but leaves its reason in
    // the error log; the previous file survives it. True when written, or
    // when there is no file to write.
    bool save() const;
    void clear();

    // Binds the key to the action and unbinds every other action that used
    // it. Unknown actions are ignored; codes outside 0 to 255 bind nothing.
    void setControl(int actionId, int keyCode);
    // The bound key of an action, or -1 when the action is not in the table.
    int boundKey(int actionId) const;

    int count() const { return static_cast<int>(m_table.size()); }
    // By row in ascending action id; -1 and empty texts out of range.
    int actionIdAt(int row) const;
    std::string labelAt(int row) const;
    std::string keyNameAt(int row) const;

    // The bytes of the file as save() writes them.
    std::string serialise() const;

private:
    const std::pair<const int, std::pair<int, std::string>>* rowEntry(int row) const;

    std::map<int, std::pair<int, std::string>> m_table;
    std::string m_fileName;  // kept from loading for saving; empty when none was given
};
