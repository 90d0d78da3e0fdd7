#include "input/pad_bindings.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "app/atomic_file.h"
#include "app/error_reporter.h"
#include "input/control_table.h"

namespace {

using platform::PadButton;

// Indexed by PadButton; the one table of the names players see.
const char* const BUTTON_NAMES[] = {
    "A",  "B",  "X",  "Y",    "BACK", "GUIDE", "START", "LS", "RS",
    "LB", "RB", "UP", "DOWN", "LEFT", "RIGHT", "LT",    "RT",
};
static_assert(std::size(BUTTON_NAMES) == static_cast<std::size_t>(PadButton::Count),
              "a name for every pad button");

constexpr const char* NONE_NAME = "none";

struct DefaultBinding {
    int actionId;
    PadButton button;
};

// The stick walks too, unbound; the D-pad is its digital twin.
constexpr DefaultBinding DEFAULT_BINDINGS[] = {
    {ControlTable::MOVE_FORWARD, PadButton::DPadUp},
    {ControlTable::MOVE_BACK, PadButton::DPadDown},
    {ControlTable::STRAFE_LEFT, PadButton::DPadLeft},
    {ControlTable::STRAFE_RIGHT, PadButton::DPadRight},
    {ControlTable::MELEE_WEAPON, PadButton::LeftShoulder},
    {ControlTable::RANGED_WEAPON, PadButton::RightShoulder},
    {ControlTable::ATTACK, PadButton::RightTrigger},
};

bool equalsIgnoringCase(const std::string& a, const char* b) {
    std::size_t length = std::strlen(b);
    if (a.size() != length) {
        return false;
    }
    for (std::size_t i = 0; i < length; ++i) {
        char c = a[i];
        char d = b[i];
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
        if (d >= 'a' && d <= 'z') {
            d = static_cast<char>(d - 'a' + 'A');
        }
        if (c != d) {
            return false;
        }
    }
    return true;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The words of a line separated by blanks; false when the line holds a
// character that is not printable text (a control byte, a NUL, UTF-8).
bool splitWords(const std::string& line, std::string words[], int capacity, int& count) {
    count = 0;
    std::size_t i = 0;
    while (i < line.size()) {
        unsigned char c = static_cast<unsigned char>(line[i]);
        if (isBlank(line[i])) {
            ++i;
            continue;
        }
        if (c < 0x20 || c > 0x7E) {
            return false;
        }
        std::size_t start = i;
        while (i < line.size() && !isBlank(line[i])) {
            c = static_cast<unsigned char>(line[i]);
            if (c < 0x20 || c > 0x7E) {
                return false;
            }
            ++i;
        }
        if (count < capacity) {
            words[count] = line.substr(start, i - start);
        }
        ++count;
    }
    return true;
}

// A small decimal action id; false for anything else (signs, huge numbers).
bool parseActionId(const std::string& word, int& id) {
    if (word.empty() || word.size() > 4) {
        return false;
    }
    id = 0;
    for (char c : word) {
        if (c < '0' || c > '9') {
            return false;
        }
        id = id * 10 + (c - '0');
    }
    return true;
}

// The file's bytes, at most limit + 1 of them; false with the reason when
// it cannot be read. Only plain files are read: a folder or a device under
// the name is not a bindings file.
bool readCapped(const char* fileName, long limit, std::string& text, std::string& reason) {
    struct stat info {};
    if (::stat(fileName, &info) != 0) {
        reason = std::strerror(errno);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        reason = "not a plain file";
        return false;
    }
    std::FILE* file = std::fopen(fileName, "rb");
    if (file == nullptr) {
        reason = std::strerror(errno);
        return false;
    }
    text.resize(static_cast<std::size_t>(limit) + 1);
    std::size_t got = std::fread(&text[0], 1, text.size(), file);
    bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        reason = "read error";
        return false;
    }
    text.resize(got);
    return true;
}

}  // namespace

const char* padButtonName(PadButton button) {
    if (button < PadButton::A || button >= PadButton::Count) {
        return NONE_NAME;
    }
    return BUTTON_NAMES[static_cast<int>(button)];
}

bool parsePadButton(const std::string& name, PadButton& button) {
    if (equalsIgnoringCase(name, NONE_NAME)) {
        button = PadButton::None;
        return true;
    }
    for (int i = 0; i < static_cast<int>(PadButton::Count); ++i) {
        if (equalsIgnoringCase(name, BUTTON_NAMES[i])) {
            button = static_cast<PadButton>(i);
            return true;
        }
    }
    return false;
}

PadBindings::PadBindings() {
    setDefaults();
}

void PadBindings::setDefaults() {
    for (int i = 0; i < ACTION_COUNT; ++i) {
        m_bindings[static_cast<std::size_t>(i)] = {DEFAULT_BINDINGS[i].actionId,
                                                   DEFAULT_BINDINGS[i].button};
    }
}

PadBindings::Binding* PadBindings::find(int actionId) {
    for (Binding& binding : m_bindings) {
        if (binding.actionId == actionId) {
            return &binding;
        }
    }
    return nullptr;
}

const PadBindings::Binding* PadBindings::find(int actionId) const {
    for (const Binding& binding : m_bindings) {
        if (binding.actionId == actionId) {
            return &binding;
        }
    }
    return nullptr;
}

void PadBindings::setButton(int actionId, PadButton button) {
    Binding* binding = find(actionId);
    if (binding == nullptr) {
        return;
    }
    if (button < PadButton::None || button >= PadButton::Count) {
        button = PadButton::None;
    }
    binding->button = button;
    if (button != PadButton::None) {
        for (Binding& other : m_bindings) {
            if (other.actionId != actionId && other.button == button) {
                other.button = PadButton::None;
            }
        }
    }
    m_keepBrokenFile = false;
}

PadButton PadBindings::button(int actionId) const {
    const Binding* binding = find(actionId);
    return binding != nullptr ? binding->button : PadButton::None;
}

std::string PadBindings::serialise() const {
    std::string text = HEADER;
    text += '\n';
    for (const Binding& binding : m_bindings) {
        text += std::to_string(binding.actionId);
        text += ' ';
        text += padButtonName(binding.button);
        text += '\n';
    }
    return text;
}

bool PadBindings::parse(const std::string& text, std::string* reason) {
    auto fail = [reason](int lineNumber, const std::string& why) {
        if (reason != nullptr) {
            *reason = "line " + std::to_string(lineNumber) + ": " + why;
        }
        return false;
    };
    std::array<Binding, ACTION_COUNT> parsed = m_bindings;
    std::array<bool, ACTION_COUNT> seen{};
    // The file's buttons, each on the action of the line that named it.
    int claimedBy[static_cast<int>(PadButton::Count)];
    std::fill(std::begin(claimedBy), std::end(claimedBy), -1);

    std::size_t start = 0;
    int lineNumber = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();  // written on Windows
        }
        if (lineNumber == 1) {
            if (line != HEADER) {
                return fail(1, "not the pad bindings heading");
            }
            continue;
        }
        std::string words[2];
        int count = 0;
        if (!splitWords(line, words, 2, count)) {
            return fail(lineNumber, "a character that is not text");
        }
        if (count == 0 || words[0][0] == '#') {
            continue;
        }
        int actionId = 0;
        if (count != 2 || !parseActionId(words[0], actionId)) {
            return fail(lineNumber, "not an action number and a button name");
        }
        std::size_t row = 0;
        while (row < parsed.size() && parsed[row].actionId != actionId) {
            ++row;
        }
        if (row == parsed.size()) {
            return fail(lineNumber, "no action " + std::to_string(actionId));
        }
        if (seen[row]) {
            return fail(lineNumber, "action " + std::to_string(actionId) + " a second time");
        }
        seen[row] = true;
        PadButton button = PadButton::None;
        if (!parsePadButton(words[1], button)) {
            return fail(lineNumber, "not a pad button name");
        }
        if (button != PadButton::None) {
            int& holder = claimedBy[static_cast<int>(button)];
            if (holder >= 0) {
                return fail(lineNumber, std::string(padButtonName(button)) + " is on action " +
                                            std::to_string(holder) + " already");
            }
            holder = actionId;
            // An action the file does not name keeps its default, unless the
            // file gives that button to another action.
            for (Binding& other : parsed) {
                if (other.button == button) {
                    other.button = PadButton::None;
                }
            }
        }
        parsed[row].button = button;
    }
    if (lineNumber == 0) {
        return fail(1, "not the pad bindings heading");
    }
    m_bindings = parsed;
    return true;
}

bool PadBindings::load(const char* fileName) {
    setDefaults();
    m_keepBrokenFile = false;
    if (fileName == nullptr) {
        m_fileName.clear();
        return false;
    }
    m_fileName = fileName;

    struct stat info {};
    if (::stat(fileName, &info) != 0 && errno == ENOENT) {
        return true;
    }
    std::string text;
    std::string reason;
    bool taken = readCapped(fileName, MAX_FILE_SIZE, text, reason);
    if (taken && text.size() > static_cast<std::size_t>(MAX_FILE_SIZE)) {
        reason = "larger than " + std::to_string(MAX_FILE_SIZE / 1024) + " KiB";
        taken = false;
    }
    if (taken) {
        taken = parse(text, &reason);
    }
    if (!taken) {
        setDefaults();
        m_keepBrokenFile = true;
        logMessage("Can not read %s: %s. The pad controls are the defaults.", fileName,
                   reason.c_str());
    }
    return true;
}

bool PadBindings::save() const {
    if (m_fileName.empty() || m_keepBrokenFile) {
        return true;
    }
    return saveOrLog(m_fileName, serialise());
}
