#include "game/screens/map_choice_screen.h"

#include <algorithm>
#include <cstdio>

#include "app/error_reporter.h"
#include "app/game_window.h"
#include "game/gui_ids.h"
#include "game/map_check.h"
#include "game/screens/menu_controls.h"
#include "platform/keycodes.h"

namespace {

// The list's columns inside its mouse box, 267 wide; a name longer than
// its column is cut to fit.
constexpr int NAME_COLUMN = 192;
constexpr int SIZE_COLUMN = 75;
constexpr float NAME_ROOM = NAME_COLUMN - 8.0f;
constexpr float LIST_ROWS_HEIGHT = 256.0f;
// The reason for a refusal, centred under the Start button, in lines of at
// most this many characters.
constexpr std::size_t MESSAGE_LINE_LENGTH = 80;
constexpr float MESSAGE_TOP = 75.0f;
constexpr float MESSAGE_LINE_HEIGHT = 18.0f;
constexpr float SCREEN_CENTRE = 400.0f;

// Breaks the text at spaces into lines of at most `width` characters (a
// longer word gets a line of its own, cut).
std::vector<std::string> wrapText(const std::string& text, std::size_t width) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        std::string word = text.substr(start, end == std::string::npos ? end : end - start);
        start = end == std::string::npos ? text.size() : end + 1;
        if (!line.empty() && line.size() + 1 + word.size() > width) {
            lines.push_back(line);
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word.substr(0, width);
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

// The map's refusal with the label in place of the full path, which the
// player already sees highlighted in the list.
std::string shortRefusal(const MapReport& report, const MapEntry& map) {
    const std::string prefix = report.file + ": ";
    if (report.refusal.compare(0, prefix.size(), prefix) == 0) {
        return map.label + ": " + report.refusal.substr(prefix.size());
    }
    return report.refusal;
}

}  // namespace

MapChoiceScreen::MapChoiceScreen(const ScreenContext& context, const MenuArt& art)
    : m_context(context), m_art(art) {}

bool MapChoiceScreen::setUp() {
    GUIManager& gui = m_context.gui;
    const GameState choice = GameState::MapChoice;
    const TextureID atlas = m_art.gui;
    if (!createPicture(gui, gui_id::MAP_CHOICE_TITLE, choice, 180, 466, 440, 101, atlas, 0, 530) ||
        !gui.createList(gui_id::MAP_LIST, choice, 238, 156, 324, 307, 19, 33, 267,
                        LIST_ROWS_HEIGHT) ||
        !gui.setListTexture(gui_id::MAP_LIST, 3, atlas.group, atlas.id, 5, 1018) ||
        !assignMenuListColumns(gui, gui_id::MAP_LIST, NAME_COLUMN, SIZE_COLUMN, m_art.smallFont) ||
        !createMenuButton(gui, atlas, gui_id::MAP_START, choice, 351, 106, 98, 38, 0, 75) ||
        !createBackButton(gui, atlas, choice, gui_id::MAP_BACK, gui_id::MAP_CHOICE_MARKER)) {
        return false;
    }
    setListHighlight(gui, gui_id::MAP_LIST);
    const int rowHeight = gui.getList(gui_id::MAP_LIST)->getRowHeight();
    m_rowsShown = std::max(1, static_cast<int>(LIST_ROWS_HEIGHT) / std::max(1, rowHeight));
    return true;
}

void MapChoiceScreen::enter() {
    m_maps = m_context.maps.choices();
    m_facts.assign(m_maps.size(), Facts{});
    m_message.clear();
    int played = 0;
    for (std::size_t i = 0; i < m_maps.size(); ++i) {
        if (m_maps[i].file == m_context.maps.current().file) {
            played = static_cast<int>(i);
        }
    }
    m_firstShown = 0;
    select(played);
}

void MapChoiceScreen::select(int index) {
    const int last = static_cast<int>(m_maps.size()) - 1;
    m_selected = std::clamp(index, 0, std::max(0, last));
    if (m_selected < m_firstShown) {
        m_firstShown = m_selected;
    } else if (m_selected >= m_firstShown + m_rowsShown) {
        m_firstShown = m_selected - m_rowsShown + 1;
    }
    traceEvent("map entry %d", m_selected);
    showRows();
}

void MapChoiceScreen::showRows() {
    GUIManager& gui = m_context.gui;
    gui.clearList(gui_id::MAP_LIST);
    const int end = std::min(static_cast<int>(m_maps.size()), m_firstShown + m_rowsShown);
    for (int i = m_firstShown; i < end; ++i) {
        const MapEntry& map = m_maps[static_cast<std::size_t>(i)];
        Facts& facts = m_facts[static_cast<std::size_t>(i)];
        if (!facts.checked) {
            const MapReport report = checkMapFile(map.file.empty() ? CASTLE_MAP_FILE : map.file);
            char size[32];
            std::snprintf(size, sizeof size, "%d x %d", report.width, report.height);
            facts = {true, report.playable() ? size : "cannot play"};
        }
        gui.addListItem(
            gui_id::MAP_LIST,
            {fitText(m_context.textures, m_art.smallFont, map.label, NAME_ROOM), facts.size},
            static_cast<std::uint32_t>(i));
    }
    if (GUIList* list = gui.getList(gui_id::MAP_LIST)) {
        list->selectRow(m_selected - m_firstShown);
    }
}

// Checked again as it is chosen: the file may have changed since the list
// was read. The level reads it once more as it is built.
void MapChoiceScreen::playSelected() {
    if (m_maps.empty()) {
        return;
    }
    const MapEntry& map = m_maps[static_cast<std::size_t>(m_selected)];
    if (!map.file.empty()) {
        const MapReport report = checkMapFile(map.file);
        if (!report.playable()) {
            m_message = shortRefusal(report, map);
            logMessage("%s", report.refusal.c_str());
            traceEvent("map refused: %s", report.refusal.c_str());
            return;
        }
    }
    m_message.clear();
    m_context.maps.choose(map);
    traceEvent("map chosen: %s", map.label.c_str());
    m_context.window.setState(GameState::Loading);
}

GUI_ID MapChoiceScreen::keys() {
    if (takeKey(platform::VK_UP)) {
        select(m_selected - 1);
        playClick();
    } else if (takeKey(platform::VK_DOWN)) {
        select(m_selected + 1);
        playClick();
    } else if (takeKey(platform::VK_PRIOR)) {
        select(m_selected - m_rowsShown);
        playClick();
    } else if (takeKey(platform::VK_NEXT)) {
        select(m_selected + m_rowsShown);
        playClick();
    } else if (takeKey(platform::VK_RETURN)) {
        return gui_id::MAP_START;
    } else if (takeKey(platform::VK_ESCAPE)) {
        return gui_id::MAP_BACK;
    }
    return 0;
}

void MapChoiceScreen::wheel(int delta) {
    const int notches = delta / platform::WHEEL_NOTCH;
    if (notches != 0) {
        select(m_selected - notches);
    }
}

void MapChoiceScreen::guiEvent(GUI_ID id, bool clicked) {
    if (!clicked) {
        return;
    }
    GUIManager& gui = m_context.gui;
    if (id == gui_id::MAP_LIST) {
        select(m_firstShown + gui.getListSelectedRow(gui_id::MAP_LIST));
    } else if (id == gui_id::MAP_START) {
        gui.resetButton(id);
        playSelected();
    } else if (id == gui_id::MAP_BACK) {
        gui.resetButton(id);
        m_context.window.setState(GameState::Previous);
    }
}

void MapChoiceScreen::drawAfterControls() {
    TextureManager& textures = m_context.textures;
    const int group = m_art.smallFont.group;
    const std::uint32_t font = m_art.smallFont.id;
    // Where the highlight is when the list scrolls, on the frame's bottom.
    if (static_cast<int>(m_maps.size()) > m_rowsShown) {
        textures.setFontColour(group, font, LIST_AMBER.r, LIST_AMBER.g, LIST_AMBER.b, 1.0f);
        textures.printText(group, font, 262.0f, 168.0f, "%d of %d", m_selected + 1,
                           static_cast<int>(m_maps.size()));
    }
    textures.setFontColour(group, font, 1.0f, 0.45f, 0.35f, 1.0f);
    float y = MESSAGE_TOP;
    for (const std::string& line : wrapText(m_message, MESSAGE_LINE_LENGTH)) {
        const float width = textures.getTextWidth(group, font, "%s", line.c_str());
        textures.printText(group, font, SCREEN_CENTRE - width / 2.0f, y, "%s", line.c_str());
        y -= MESSAGE_LINE_HEIGHT;
    }
    textures.setFontColour(group, font, 0.0f, 0.0f, 0.0f, 1.0f);
}
