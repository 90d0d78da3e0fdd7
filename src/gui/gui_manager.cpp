#include "gui/gui_manager.h"

#include <GL/gl.h>

#include <cstdarg>
#include <cstdio>
#include <new>
#include <utility>

#include "app/error_reporter.h"
#include "app/game_window.h"
#include "input/game_settings.h"

namespace {

constexpr const char* NOT_A_GUI = "ID is not a valid GUI";
constexpr const char* NOT_A_BUTTON = "ID is not a valid GUI Button";
constexpr const char* NOT_AN_IMAGE = "ID is not a valid GUI Image";
constexpr const char* NOT_A_LIST = "ID is not a valid GUI List";
constexpr const char* NOT_A_TEXT = "ID is not valid GUI Text";
constexpr const char* NOT_A_SLIDER = "ID is not valid GUI Slider";

void reportMissing(const char* message) {
    reportShowReset(RESET_NO_ERROR, ERROR_GENERAL, "%s", message);
}

int groupIndex(GameState state) {
    return static_cast<int>(state);
}

GUIMouse readProgramMouse() {
    const GameSettings* settings = gameSettings();
    if (settings == nullptr) {
        return GUIMouse{};
    }
    const GameWindow* window = gameWindow();
    return guiMouseFromClient(
        settings->mouseX, settings->mouseY, window != nullptr ? window->windowWidth() : 0,
        window != nullptr ? window->windowHeight() : 0, settings->mouseClickInProgress);
}

template <typename Control>
Control* ofKind(GUIControl* control, GUIType kind) {
    return control != nullptr && control->getType() == kind ? static_cast<Control*>(control)
                                                            : nullptr;
}

}  // namespace

GUIMouse guiMouseFromClient(unsigned clientX, unsigned clientY, int windowWidth, int windowHeight,
                            bool click) {
    GUIMouse mouse;
    mouse.x = static_cast<float>(clientX);
    mouse.y = static_cast<float>(windowHeight) - static_cast<float>(clientY);
    mouse.click = click;
    // The position arrives as 16-bit client coordinates, so a pointer left
    // or above the window shows up as a large value: beyond the width or
    // height either way.
    if (windowWidth > 0 && windowHeight > 0) {
        mouse.insideWindow = clientX < static_cast<unsigned>(windowWidth) &&
                             clientY < static_cast<unsigned>(windowHeight);
    }
    return mouse;
}

GUIManager::GUIManager(TextureManager& textures) : m_textures(textures) {}

void GUIManager::setScreenSize(int width, int height) {
    setFit(fitDesign(width, height));
}

void GUIManager::setFit(const DesignFit& fit) {
    m_fit = fit;
    m_textures.setOverlayScaled(m_fit.scale != 1.0f);
}

bool GUIManager::setAnchor(GUI_ID id, DesignAnchor x, DesignAnchor y) {
    GUIControl* control = getControl(id);
    if (control == nullptr) {
        reportMissing(NOT_A_GUI);
        return false;
    }
    control->setAnchor(x, y);
    return true;
}

Vector2 GUIManager::designToWindow(const Vector2& design, DesignAnchor x, DesignAnchor y) const {
    return Vector2(m_fit.windowX(design.x, x), m_fit.windowY(design.y, y));
}

Vector2 GUIManager::windowToDesign(const Vector2& window, DesignAnchor x, DesignAnchor y) const {
    return Vector2(m_fit.designX(window.x, x), m_fit.designY(window.y, y));
}

void GUIManager::loadTransform(DesignAnchor x, DesignAnchor y) const {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(m_fit.originX(x), m_fit.originY(y), 0.0f);
    glScalef(m_fit.scale, m_fit.scale, 1.0f);
}

GUIManager::~GUIManager() {
    clearAll();
}

void GUIManager::setMouseReader(MouseReader reader) {
    m_mouseReader = std::move(reader);
}

void GUIManager::setMousePositionForTest(float x, float y, bool click) {
    GUIMouse mouse;
    mouse.x = x;
    mouse.y = y;
    mouse.click = click;
    m_mouseReader = [mouse] { return mouse; };
}

GUIMouse GUIManager::readMouse() const {
    return m_mouseReader ? m_mouseReader() : readProgramMouse();
}

bool GUIManager::validState(GameState state) {
    return groupIndex(state) >= 0 && groupIndex(state) < GROUP_COUNT;
}

bool GUIManager::canCreate(GUI_ID id, GameState state) const {
    if (!validState(state)) {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL, "Invalid GameState.");
        return false;
    }
    if (m_mAllIDs.count(id) != 0) {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL, "Duplicate GUI_ID used.");
        return false;
    }
    return true;
}

bool GUIManager::addControl(GUI_ID id, GameState state, GUIControl* control,
                            const char* failMessage) {
    if (control == nullptr) {
        reportShowReset(RESET_NO_ERROR, ERROR_MEMORY, "%s", failMessage);
        return false;
    }
    const int group = groupIndex(state);
    m_mGroupIndex[group][id] = m_vpGroups[group].size();
    m_mAllIDs[id] = state;
    m_vpGroups[group].emplace_back(control);
    return true;
}

bool GUIManager::createButton(GUI_ID id, GameState state, float x, float y, float width,
                              float height) {
    if (!canCreate(id, state)) {
        return false;
    }
    return addControl(id, state,
                      new (std::nothrow)
                          GUIButton(m_textures, id, x, y, width, height, 0.0f, 0.0f, width, height),
                      "Can not create a new GUIButton.");
}

bool GUIManager::createImage(GUI_ID id, GameState state, float x, float y, float width,
                             float height) {
    if (!canCreate(id, state)) {
        return false;
    }
    return addControl(id, state, new (std::nothrow) GUIImage(m_textures, id, x, y, width, height),
                      "Can not create a new GUIImage.");
}

bool GUIManager::createList(GUI_ID id, GameState state, float x, float y, float width, float height,
                            float hitX, float hitY, float hitWidth, float hitHeight) {
    if (!canCreate(id, state)) {
        return false;
    }
    return addControl(id, state,
                      new (std::nothrow) GUIList(m_textures, id, x, y, width, height, hitX, hitY,
                                                 hitWidth, hitHeight),
                      "Can not create a new GUIList.");
}

bool GUIManager::createText(GUI_ID id, GameState state, int fontGroup, std::uint32_t fontId,
                            float x, float y) {
    if (!canCreate(id, state)) {
        return false;
    }
    const float grey = 128.0f / 255.0f;
    return addControl(id, state,
                      new (std::nothrow) GUIText(m_textures, id, fontGroup, fontId, x, y, grey,
                                                 grey, grey, 1.0f, 1.0f),
                      "Can not create a new GUIText.");
}

bool GUIManager::createSlider(GUI_ID id, GameState state, float x, float y, float trackWidth,
                              float trackHeight, float knobWidth, float knobHeight, int margin,
                              float crossOffset, bool horizontal, float value, float minimum,
                              float maximum, float step) {
    if (!canCreate(id, state)) {
        return false;
    }
    return addControl(id, state,
                      new (std::nothrow) GUISlider(m_textures, id, x, y, trackWidth, trackHeight,
                                                   knobWidth, knobHeight, margin, crossOffset,
                                                   horizontal, value, minimum, maximum, step),
                      "Can not create a new GUISlider.");
}

GUIControl* GUIManager::getControl(GUI_ID id) const {
    const auto state = m_mAllIDs.find(id);
    if (state == m_mAllIDs.end()) {
        return nullptr;
    }
    const int group = groupIndex(state->second);
    const auto index = m_mGroupIndex[group].find(id);
    if (index == m_mGroupIndex[group].end() || index->second >= m_vpGroups[group].size()) {
        return nullptr;
    }
    return m_vpGroups[group][index->second].get();
}

GUIButton* GUIManager::getButton(GUI_ID id) const {
    return ofKind<GUIButton>(getControl(id), GUI_BUTTON);
}

GUIImage* GUIManager::getImage(GUI_ID id) const {
    return ofKind<GUIImage>(getControl(id), GUI_IMAGE);
}

GUIList* GUIManager::getList(GUI_ID id) const {
    return ofKind<GUIList>(getControl(id), GUI_LIST);
}

GUIText* GUIManager::getText(GUI_ID id) const {
    return ofKind<GUIText>(getControl(id), GUI_TEXT);
}

GUISlider* GUIManager::getSlider(GUI_ID id) const {
    return ofKind<GUISlider>(getControl(id), GUI_SLIDER);
}

bool GUIManager::setButtonSound(GUI_ID id, unsigned slot) {
    GUIButton* button = getButton(id);
    if (button == nullptr) {
        reportMissing("Audio can only be attached to GUI buttons");
        return false;
    }
    button->setSound(slot);
    return true;
}

Vector2 GUIManager::getPosition(GUI_ID id) {
    GUIControl* control = getControl(id);
    if (control == nullptr) {
        reportMissing(NOT_A_GUI);
        return Vector2(0.0f, 0.0f);
    }
    return control->getPosition();
}

void GUIManager::setPosition(GUI_ID id, float x, float y) {
    GUIControl* control = getControl(id);
    if (control == nullptr) {
        reportMissing(NOT_A_GUI);
        return;
    }
    control->setPosition(x, y);
}

void GUIManager::setAlpha(GUI_ID id, float alpha) {
    GUIControl* control = getControl(id);
    if (control == nullptr) {
        reportMissing(NOT_A_GUI);
        return;
    }
    control->setAlpha(alpha);
}

bool GUIManager::setButtonTexture(GUI_ID id, int look, int group, std::uint32_t texture, int px,
                                  int py) {
    GUIButton* button = getButton(id);
    if (button == nullptr) {
        reportMissing(NOT_A_BUTTON);
        return false;
    }
    return button->setTexture(group, texture, px, py, look);
}

bool GUIManager::setButtonToggled(GUI_ID id, bool on) {
    GUIButton* button = getButton(id);
    if (button == nullptr) {
        reportMissing(NOT_A_BUTTON);
        return false;
    }
    button->setToggled(on);
    return true;
}

bool GUIManager::isButtonToggled(GUI_ID id) {
    GUIButton* button = getButton(id);
    if (button == nullptr) {
        reportMissing(NOT_A_BUTTON);
        return false;
    }
    return button->isToggled();
}

void GUIManager::resetButton(GUI_ID id) {
    if (GUIButton* button = getButton(id)) {
        button->setToggled(false);
        button->setMouseOver(false);
    }
}

bool GUIManager::setImageTexture(GUI_ID id, int group, std::uint32_t texture, int px, int py,
                                 int orientation) {
    GUIImage* image = getImage(id);
    if (image == nullptr) {
        reportMissing(NOT_AN_IMAGE);
        return false;
    }
    return image->setTexture(group, texture, px, py, orientation);
}

void GUIManager::setListHighlightColour(GUI_ID id, float r, float g, float b, float a) {
    GUIList* list = getList(id);
    if (list == nullptr) {
        reportMissing(NOT_A_LIST);
        return;
    }
    list->setHighlightColour(r, g, b, a);
}

bool GUIManager::setListTexture(GUI_ID id, int part, int group, std::uint32_t texture, int px,
                                int py, float pictureWidth) {
    GUIList* list = getList(id);
    if (list == nullptr) {
        reportMissing(NOT_A_LIST);
        return false;
    }
    return list->setTexture(group, texture, px, py, part, pictureWidth);
}

bool GUIManager::assignListColumns(GUI_ID id, std::vector<int> widths, std::vector<FontID> fonts,
                                   std::vector<Color4> colours) {
    GUIList* list = getList(id);
    if (list == nullptr) {
        reportMissing(NOT_A_LIST);
        return false;
    }
    return list->assignColumns(widths, fonts, colours);
}

bool GUIManager::addListItem(GUI_ID id, std::vector<std::string> texts, std::uint32_t value) {
    GUIList* list = getList(id);
    if (list == nullptr) {
        reportMissing(NOT_A_LIST);
        return false;
    }
    return list->addItem(texts, value);
}

void GUIManager::clearList(GUI_ID id) {
    GUIList* list = getList(id);
    if (list == nullptr) {
        reportMissing(NOT_A_LIST);
        return;
    }
    list->clearItems();
}

int GUIManager::getListSelectedRow(GUI_ID id) {
    GUIList* list = getList(id);
    if (list == nullptr) {
        reportMissing(NOT_A_LIST);
        return 0;
    }
    return list->getSelectedRow();
}

std::uint32_t GUIManager::getListSelectedValue(GUI_ID id) {
    GUIList* list = getList(id);
    if (list == nullptr) {
        reportMissing(NOT_A_LIST);
        return 0;
    }
    return list->getSelectedValue();
}

int GUIManager::moveListSelection(GUI_ID id, int delta) {
    GUIList* list = getList(id);
    if (list == nullptr) {
        reportMissing(NOT_A_LIST);
        return 0;
    }
    return list->moveSelection(delta);
}

void GUIManager::setTextColour(GUI_ID id, float r, float g, float b, float a) {
    GUIText* text = getText(id);
    if (text == nullptr) {
        reportMissing(NOT_A_TEXT);
        return;
    }
    text->setColour(r, g, b, a);
}

Vector2 GUIManager::getTextControlSize(GUI_ID id) {
    GUIText* text = getText(id);
    if (text == nullptr) {
        reportMissing(NOT_A_TEXT);
        return Vector2(0.0f, 0.0f);
    }
    return text->getSize();
}

void GUIManager::setTextf(GUI_ID id, const char* format, ...) {
    GUIText* text = getText(id);
    if (text == nullptr) {
        reportMissing(NOT_A_TEXT);
        return;
    }
    char buffer[GUIText::MAX_TEXT + 1] = {};
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    text->setText(buffer);
}

bool GUIManager::setSliderTexture(GUI_ID id, int group, std::uint32_t texture, int px0, int py0,
                                  int px1, int py1, int dx, int dy) {
    GUISlider* slider = getSlider(id);
    if (slider == nullptr) {
        reportMissing(NOT_A_SLIDER);
        return false;
    }
    return slider->setTexture(group, texture, px0, py0, px1, py1, dx, dy);
}

float GUIManager::getSliderValue(GUI_ID id) {
    GUISlider* slider = getSlider(id);
    if (slider == nullptr) {
        reportMissing(NOT_A_SLIDER);
        return 0.0f;
    }
    return slider->getValue();
}

GUI_ID GUIManager::handleMouse(GameState state) {
    if (!validState(state)) {
        return 0;
    }
    auto& group = m_vpGroups[groupIndex(state)];
    const GUIMouse mouse = readMouse();
    if (!mouse.insideWindow) {
        // A pointer outside the window is over nothing. The controls are not
        // updated with it (a held slider stays where it was rather than
        // jumping to an end); they only lose their hover.
        for (auto& control : group) {
            control->setMouseOver(false);
        }
        return 0;
    }
    for (auto& control : group) {
        const Vector2 design =
            windowToDesign(Vector2(mouse.x, mouse.y), control->anchorX(), control->anchorY());
        const GUI_ID hit = control->update(design.x, design.y, mouse.click);
        if (hit != 0) {
            return hit;
        }
    }
    return 0;
}

void GUIManager::releaseGroup(GameState state) {
    if (!validState(state)) {
        return;
    }
    for (auto& control : m_vpGroups[groupIndex(state)]) {
        control->reset();
    }
}

void GUIManager::drawGroup(GameState state) {
    if (!validState(state)) {
        return;
    }
    for (auto& control : m_vpGroups[groupIndex(state)]) {
        loadTransform(control->anchorX(), control->anchorY());
        control->draw();
    }
}

bool GUIManager::createMouseCursor(float width, float height, int group, std::uint32_t texture,
                                   int px, int py, float hotX, float hotY) {
    m_vHotSpot = Vector2(hotX, hotY);
    m_pMouseCursor.reset(new (std::nothrow) GUIImage(m_textures, 0, 0.0f, 0.0f, width, height));
    if (!m_pMouseCursor) {
        reportShowReset(RESET_NO_ERROR, ERROR_MEMORY, "Can not create a new m_pMouseCursor.");
        return false;
    }
    return m_pMouseCursor->setTexture(group, texture, px, py, 0);
}

void GUIManager::drawMouseCursor() {
    if (!m_pMouseCursor) {
        return;
    }
    // The cursor is drawn at the design's scale, its hot spot on the pointer.
    const GUIMouse mouse = readMouse();
    const Vector2 tip = windowToDesign(Vector2(mouse.x, mouse.y));
    m_pMouseCursor->setPosition(tip.x - m_vHotSpot.x, tip.y - m_vHotSpot.y);
    loadTransform();
    m_pMouseCursor->draw();
}

void GUIManager::clearGroup(GameState state) {
    if (!validState(state)) {
        return;
    }
    const int group = groupIndex(state);
    for (const auto& entry : m_mGroupIndex[group]) {
        m_mAllIDs.erase(entry.first);
    }
    m_mGroupIndex[group].clear();
    m_vpGroups[group].clear();
}

void GUIManager::clearAll() {
    for (int state = 0; state < GROUP_COUNT; ++state) {
        clearGroup(static_cast<GameState>(state));
    }
    m_pMouseCursor.reset();
}

std::size_t GUIManager::groupSize(GameState state) const {
    return validState(state) ? m_vpGroups[groupIndex(state)].size() : 0;
}
