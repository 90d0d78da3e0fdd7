#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/design_fit.h"
#include "app/game_state.h"
#include "assets/texture_manager.h"
#include "gui/gui_button.h"
#include "gui/gui_control.h"
#include "gui/gui_image.h"
#include "gui/gui_list.h"
#include "gui/gui_slider.h"
#include "gui/gui_text.h"
#include "scene/color.h"
#include "scene/vector.h"

// The mouse as the GUI sees it: window pixels with the origin at the
// lower-left, the click flag, and whether the pointer lies in the window at
// all (a pointer outside it hits nothing).
struct GUIMouse {
    float x = 0.0f;
    float y = 0.0f;
    bool click = false;
    bool insideWindow = true;
};

// Converts a mouse position in client coordinates (origin top-left). A window
// size of 0 means no window is known, and then the pointer counts as inside.
GUIMouse guiMouseFromClient(unsigned clientX, unsigned clientY, int windowWidth, int windowHeight,
                            bool click);

// Owns every GUI control, one group per GameState, addressed by a GUI_ID that
// is unique across all groups; tests the mouse against a group, draws a group,
// and owns the mouse cursor.
class GUIManager {
public:
    static constexpr int GROUP_COUNT = static_cast<int>(GameState::Count);

    // Where the mouse is read from. The default reads the program-wide
    // settings (mouse position and click flag) and the window's size.
    using MouseReader = std::function<GUIMouse()>;

    explicit GUIManager(TextureManager& textures);
    ~GUIManager();
    GUIManager(const GUIManager&) = delete;
    GUIManager& operator=(const GUIManager&) = delete;

    // An empty reader restores the default.
    void setMouseReader(MouseReader reader);
    // The drawable size of the window, in pixels: the design space is
    // fitted to it (app/design_fit.h). Until it is set, design coordinates
    // are window pixels.
    void setScreenSize(int width, int height);
    // Any fit, also one no window size gives (tests).
    void setFit(const DesignFit& fit);
    const DesignFit& fit() const { return m_fit; }
    float scale() const { return m_fit.scale; }
    // The window pixel of the design origin for centred controls.
    Vector2 offset() const { return Vector2(m_fit.offsetX, m_fit.offsetY); }
    // Keeps a control to a side or corner of the window; false for an
    // unknown id (reported).
    bool setAnchor(GUI_ID id, DesignAnchor x, DesignAnchor y);
    // Window pixels (origin lower-left) and design coordinates under an
    // anchor, both ways.
    Vector2 designToWindow(const Vector2& design, DesignAnchor x = DesignAnchor::Centre,
                           DesignAnchor y = DesignAnchor::Centre) const;
    Vector2 windowToDesign(const Vector2& window, DesignAnchor x = DesignAnchor::Centre,
                           DesignAnchor y = DesignAnchor::Centre) const;
    // Sets the modelview so that drawing at design coordinates lands where
    // controls of that anchor are drawn (for what is drawn beside the GUI).
    void loadTransform(DesignAnchor x = DesignAnchor::Centre,
                       DesignAnchor y = DesignAnchor::Centre) const;

    // A fixed mouse, for tests without a window.
    void setMousePositionForTest(float x, float y, bool click);
    GUIMouse readMouse() const;

    // Creation.
    bool createButton(GUI_ID id, GameState state, float x, float y, float width, float height);
    bool createImage(GUI_ID id, GameState state, float x, float y, float width, float height);
    bool createList(GUI_ID id, GameState state, float x, float y, float width, float height,
                    float hitX, float hitY, float hitWidth, float hitHeight);
    bool createText(GUI_ID id, GameState state, int fontGroup, std::uint32_t fontId, float x,
                    float y);
    bool createSlider(GUI_ID id, GameState state, float x, float y, float trackWidth,
                      float trackHeight, float knobWidth, float knobHeight, int margin,
                      float crossOffset, bool horizontal, float value, float minimum, float maximum,
                      float step);

    // Lookup: null when the id is unknown or of another kind.
    GUIControl* getControl(GUI_ID id) const;
    GUIButton* getButton(GUI_ID id) const;
    GUIImage* getImage(GUI_ID id) const;
    GUIList* getList(GUI_ID id) const;
    GUIText* getText(GUI_ID id) const;
    GUISlider* getSlider(GUI_ID id) const;

    // Accessors by GUI_ID; a missing control is reported and the fallback
    // returned.
    bool setButtonSound(GUI_ID id, unsigned slot);
    Vector2 getPosition(GUI_ID id);
    void setPosition(GUI_ID id, float x, float y);
    void setAlpha(GUI_ID id, float alpha);
    bool setButtonTexture(GUI_ID id, int look, int group, std::uint32_t texture, int px, int py);
    bool setButtonToggled(GUI_ID id, bool on);
    bool isButtonToggled(GUI_ID id);
    void resetButton(GUI_ID id);
    bool setImageTexture(GUI_ID id, int group, std::uint32_t texture, int px, int py,
                         int orientation);
    void setListHighlightColour(GUI_ID id, float r, float g, float b, float a);
    // See GUIList::setTexture for pictureWidth.
    bool setListTexture(GUI_ID id, int part, int group, std::uint32_t texture, int px, int py,
                        float pictureWidth = 0.0f);
    bool assignListColumns(GUI_ID id, std::vector<int> widths, std::vector<FontID> fonts,
                           std::vector<Color4> colours);
    bool addListItem(GUI_ID id, std::vector<std::string> texts, std::uint32_t value);
    void clearList(GUI_ID id);
    int getListSelectedRow(GUI_ID id);
    std::uint32_t getListSelectedValue(GUI_ID id);
    int moveListSelection(GUI_ID id, int delta);
    void setTextColour(GUI_ID id, float r, float g, float b, float a);
    Vector2 getTextControlSize(GUI_ID id);
    void setTextf(GUI_ID id, const char* format, ...) __attribute__((format(printf, 3, 4)));
    bool setSliderTexture(GUI_ID id, int group, std::uint32_t texture, int px0, int py0, int px1,
                          int py1, int dx, int dy);
    float getSliderValue(GUI_ID id);

    // Per frame and per event.
    GUI_ID handleMouse(GameState state);
    void releaseGroup(GameState state);
    void drawGroup(GameState state);
    bool createMouseCursor(float width, float height, int group, std::uint32_t texture, int px,
                           int py, float hotX, float hotY);
    void drawMouseCursor();
    GUIImage* mouseCursor() const { return m_pMouseCursor.get(); }
    Vector2 cursorHotSpot() const { return m_vHotSpot; }

    void clearGroup(GameState state);
    void clearAll();

    std::size_t groupSize(GameState state) const;

private:
    static bool validState(GameState state);
    // Checks the state and the id, reporting the failure.
    bool canCreate(GUI_ID id, GameState state) const;
    bool addControl(GUI_ID id, GameState state, GUIControl* control, const char* failMessage);

    TextureManager& m_textures;
    std::vector<std::unique_ptr<GUIControl>> m_vpGroups[GROUP_COUNT];
    std::map<GUI_ID, std::size_t> m_mGroupIndex[GROUP_COUNT];
    std::map<GUI_ID, GameState> m_mAllIDs;
    std::unique_ptr<GUIImage> m_pMouseCursor;
    Vector2 m_vHotSpot;
    DesignFit m_fit;
    MouseReader m_mouseReader;
};
