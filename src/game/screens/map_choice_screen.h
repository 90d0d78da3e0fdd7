#pragma once
#include <string>
#include <vector>

#include "game/map_selection.h"
#include "game/screens/menu_art.h"
#include "game/screens/screen.h"

// After Start, when the player's maps folder holds any map: the castle
// first, then the player's maps, each with its size or the word that it
// cannot be played. Start (or Enter) plays the highlighted map; a map the
// game refuses keeps the player here, with the reason under the list.
class MapChoiceScreen : public Screen {
public:
    MapChoiceScreen(const ScreenContext& context, const MenuArt& art);

    bool setUp() override;
    // Reads the folder again and highlights the map played last.
    void enter() override;
    GUI_ID keys() override;
    // Each notch moves the highlight one map, up or down the list.
    void wheel(int delta) override;
    void guiEvent(GUI_ID id, bool clicked) override;
    void drawAfterControls() override;

    const std::vector<MapEntry>& maps() const { return m_maps; }
    int selected() const { return m_selected; }
    // Why the map chosen last was refused; empty when none was.
    const std::string& message() const { return m_message; }

private:
    // One map's second column, checked the first time its row shows.
    struct Facts {
        bool checked = false;
        std::string size;
    };

    void select(int index);
    // Fills the list with the rows that fit, scrolled to show the selection.
    void showRows();
    void playSelected();

    const ScreenContext& m_context;
    const MenuArt& m_art;
    std::vector<MapEntry> m_maps;
    std::vector<Facts> m_facts;
    int m_selected = 0;
    int m_firstShown = 0;
    int m_rowsShown = 1;
    std::string m_message;
};
