#include "input/control_table.h"

#include <cstdint>
#include <cstdio>
#include <iterator>

#include "app/atomic_file.h"
#include "input/key_names.h"

namespace {

struct DefaultControl {
    int actionId;
    const char* label;
    int keyCode;
};

// KEPT: the labels start with three spaces; the options screen lists them
// as they are, indented under their heading.
const DefaultControl DEFAULT_CONTROLS[] = {
    {ControlTable::MOVE_FORWARD, "   Move Forward", 87},
    {ControlTable::MOVE_BACK, "   Move Back", 83},
    {ControlTable::STRAFE_LEFT, "   Strafe Left", 65},
    {ControlTable::STRAFE_RIGHT, "   Strafe Right", 68},
    {ControlTable::MELEE_WEAPON, "   Melee Weapon", 49},
    {ControlTable::RANGED_WEAPON, "   Ranged Weapon", 50},
    {ControlTable::ATTACK, "   Attack", 1},
};

constexpr int KEY_CODE_LIMIT = 256;

bool readInt32(std::FILE* file, int32_t& value) {
    unsigned char bytes[4];
    if (std::fread(bytes, 1, sizeof bytes, file) != sizeof bytes) {
        return false;
    }
    uint32_t raw = static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
                   (static_cast<uint32_t>(bytes[2]) << 16) |
                   (static_cast<uint32_t>(bytes[3]) << 24);
    value = static_cast<int32_t>(raw);
    return true;
}

void appendInt32(std::string& out, int32_t value) {
    uint32_t raw = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<char>((raw >> shift) & 0xFFu));
    }
}

}  // namespace

bool ControlTable::load(const char* fileName) {
    for (const DefaultControl& control : DEFAULT_CONTROLS) {
        m_table.emplace(control.actionId,
                        std::make_pair(control.keyCode, std::string(control.label)));
    }
    if (fileName == nullptr) {
        return false;
    }
    m_fileName = fileName;

    std::FILE* file = std::fopen(fileName, "rb");
    if (file == nullptr) {
        return true;
    }
    int32_t actionId = 0;
    while (readInt32(file, actionId)) {
        int32_t keyCode = 0;
        if (!readInt32(file, keyCode)) {
            break;
        }
        setControl(actionId, keyCode);
    }
    std::fclose(file);
    return true;
}

std::string ControlTable::serialise() const {
    std::string bytes;
    for (const auto& entry : m_table) {
        appendInt32(bytes, entry.first);
        appendInt32(bytes, entry.second.first);
    }
    return bytes;
}

bool ControlTable::save() const {
    if (m_fileName.empty()) {
        return true;
    }
    return saveOrLog(m_fileName, serialise());
}

void ControlTable::clear() {
    m_table.clear();
}

void ControlTable::setControl(int actionId, int keyCode) {
    auto found = m_table.find(actionId);
    if (found == m_table.end()) {
        return;
    }
    // A hostile or damaged file may hold any number; the key array has 256
    // entries, so such a code is kept as unbound rather than used as an index.
    if (keyCode < 0 || keyCode >= KEY_CODE_LIMIT) {
        keyCode = 0;
    }
    found->second.first = keyCode;
    for (auto& entry : m_table) {
        if (entry.first != actionId && entry.second.first == keyCode) {
            entry.second.first = 0;
        }
    }
}

int ControlTable::boundKey(int actionId) const {
    auto found = m_table.find(actionId);
    return found == m_table.end() ? -1 : found->second.first;
}

const std::pair<const int, std::pair<int, std::string>>* ControlTable::rowEntry(int row) const {
    if (row < 0 || row >= count()) {
        return nullptr;
    }
    return &*std::next(m_table.begin(), row);
}

int ControlTable::actionIdAt(int row) const {
    const auto* entry = rowEntry(row);
    return entry ? entry->first : -1;
}

std::string ControlTable::labelAt(int row) const {
    const auto* entry = rowEntry(row);
    return entry ? entry->second.second : std::string();
}

std::string ControlTable::keyNameAt(int row) const {
    const auto* entry = rowEntry(row);
    return entry ? keyName(entry->second.first) : std::string();
}
