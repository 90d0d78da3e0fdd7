#include "game/hud.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "game/ghost_set.h"
#include "game/gui_ids.h"
#include "game/gui_pictures.h"
#include "game/pickup_set.h"
#include "game/player.h"
#include "game/sound_slots.h"
#include "game/tuning.h"
#include "game/weapon_crossbow.h"
#include "scene/math_constants.h"
#include "scene/scalar_math.h"

namespace {

using namespace gui_id;

// The panels keep to the window's corners (see HudImage), at the heights they
// had in a fullscreen window of the frame's size: the lower ones the old
// windowed mode showed made up for a title bar taking part of the window,
// which the window no longer does.
constexpr float RADAR_X = 689.0f;
constexpr float RADAR_Y_ON = 464.0f;
constexpr float RADAR_Y_OFF = 676.0f;
constexpr float RADAR_SLIDE_SPEED = 150.0f;
constexpr float RADAR_CENTRE_X = 111.0f;
constexpr float RADAR_CENTRE_Y = 113.0f;
constexpr float BLIP_HALF_SIZE = 3.0f;
constexpr float BEEP_WINDOW = 0.017f;
constexpr float SCORE_RIGHT_EDGE = 168.0f;
constexpr float SCORE_Y = 623.0f;

constexpr DesignAnchor LOW = DesignAnchor::Low;
constexpr DesignAnchor MID = DesignAnchor::Centre;
constexpr DesignAnchor HIGH = DesignAnchor::High;
// The radar's panel, blips and sweep share one corner.
constexpr DesignAnchor RADAR_X_ANCHOR = HIGH;
constexpr DesignAnchor RADAR_Y_ANCHOR = HIGH;

// One picture of the HUD: where it stands, the window corner or side it
// keeps to, and where it lies in its texture.
struct HudImage {
    GUI_ID id;
    float x, y, width, height;
    int px, py;
    DesignAnchor anchorX, anchorY;
};

// The blips start far outside the screen; the radar moves them in.
constexpr HudImage PANELS[] = {
    {HEALTH_PANEL, -100, -75, 173, 60, 2, 509, LOW, LOW},
    {ENERGY_PANEL, 100, -75, 173, 60, 2, 447, LOW, LOW},
    {ARROWS_PANEL, 724, -75, 173, 60, 2, 385, HIGH, LOW},
    {SCORE_PANEL, -100, 612, 282, 60, 2, 61, LOW, HIGH},
};
constexpr HudImage RADAR_IMAGES[] = {
    {RADAR_PANEL, RADAR_X, RADAR_Y_OFF, 225, 225, 284, 509, RADAR_X_ANCHOR, RADAR_Y_ANCHOR},
    {ARROW_CASE_BLIP, -1000, -1000, 6, 6, 263, 507, RADAR_X_ANCHOR, RADAR_Y_ANCHOR},
    {POWER_CELL_BLIP, -1000, -1000, 6, 6, 272, 507, RADAR_X_ANCHOR, RADAR_Y_ANCHOR},
    {FIRST_GHOST_BLIP, -1000, -1000, 6, 6, 254, 507, RADAR_X_ANCHOR, RADAR_Y_ANCHOR},
    {FIRST_GHOST_BLIP + 1, -1000, -1000, 6, 6, 254, 507, RADAR_X_ANCHOR, RADAR_Y_ANCHOR},
    {FIRST_GHOST_BLIP + 2, -1000, -1000, 6, 6, 254, 507, RADAR_X_ANCHOR, RADAR_Y_ANCHOR},
    {CROSSHAIR, 370, 264, 36, 35, 215, 511, MID, MID},
};

// The number beside each panel, in creation order after its panel, and
// anchored with it.
struct HudNumber {
    GUI_ID panel;
    GUI_ID id;
    float x, y;
};
constexpr HudNumber NUMBERS[] = {
    {HEALTH_PANEL, HEALTH_NUMBER, -42, -64},
    {ENERGY_PANEL, ENERGY_NUMBER, 158, -64},
    {ARROWS_PANEL, ARROWS_NUMBER, 782, -64},
    {SCORE_PANEL, SCORE_NUMBER, SCORE_RIGHT_EDGE, SCORE_Y},
};

// The angle of (x, y) from the +x axis in [0, 2 pi).
float radarAngle(float x, float y) {
    Vector2 v(x, y);
    float c = std::clamp(v.cosAngle(Vector2(1.0f, 0.0f), true), -1.0f, 1.0f);
    float a = std::acos(c);
    return y >= 0.0f ? a : TWO_PI - a;
}

}  // namespace

Hud::Hud(GUIManager& gui, TextureManager& textures, Player& player, const GhostSet& ghosts,
         const PickupSet& pickups)
    : m_gui(gui), m_textures(textures), m_player(player), m_ghosts(ghosts), m_pickups(pickups) {}

bool Hud::createNumber(GUI_ID id, float x, float y) {
    if (!m_gui.createText(id, GameState::Playing, m_numbersFont.group, m_numbersFont.id, x, y)) {
        return false;
    }
    m_gui.setTextColour(id, 0.0f, 0.0f, 0.0f, 1.0f);
    m_gui.setTextf(id, "%s", "");
    return true;
}

bool Hud::setUp(TextureID gameOverTexture) {
    m_numbersTexture =
        m_textures.loadTexture(1, false, 1, false, "resources/fonts/LargeNumbers.tga");
    if (m_numbersTexture.id == 0) {
        return false;
    }
    m_numbersFont =
        m_textures.createFont(1, m_numbersTexture.id, 51, Color4(0.0f, 0.0f, 0.0f, 1.0f), 1.0f);
    if (m_numbersFont.id == 0) {
        return false;
    }
    m_radarOn = true;
    for (const HudImage& panel : PANELS) {
        if (!createPicture(m_gui, panel.id, GameState::Playing, panel.x, panel.y, panel.width,
                           panel.height, m_numbersTexture, panel.px, panel.py) ||
            !m_gui.setAnchor(panel.id, panel.anchorX, panel.anchorY)) {
            return false;
        }
        for (const HudNumber& number : NUMBERS) {
            if (number.panel == panel.id &&
                (!createNumber(number.id, number.x, number.y) ||
                 !m_gui.setAnchor(number.id, panel.anchorX, panel.anchorY))) {
                return false;
            }
        }
    }
    for (const HudImage& image : RADAR_IMAGES) {
        if (!createPicture(m_gui, image.id, GameState::Playing, image.x, image.y, image.width,
                           image.height, m_numbersTexture, image.px, image.py) ||
            !m_gui.setAnchor(image.id, image.anchorX, image.anchorY)) {
            return false;
        }
    }
    return createPicture(m_gui, GAME_OVER_PICTURE, GameState::GameOver, -111.0f, 284.0f, 1024.0f,
                         307.0f, gameOverTexture, 0, 1023);
}

void Hud::clear() {
    m_numbersTexture = TextureID{};
    m_numbersFont = FontID{};
    m_radarScale = 0.0f;
    m_radarSweepAngle = 0.0f;
}

void Hud::setRadarRange(float worldUnits) {
    m_radarScale = RADAR_RADIUS / worldUnits;
}

bool Hud::update(float frameTime, bool playing) {
    if (m_gui.getControl(SCORE_NUMBER) == nullptr) {
        return false;  // no level, no HUD
    }
    int score = m_player.getScore();
    float width = m_textures.getTextWidth(m_numbersFont.group, m_numbersFont.id, "%d", score);
    m_gui.setPosition(SCORE_NUMBER, SCORE_RIGHT_EDGE - width, SCORE_Y);
    m_gui.setTextf(SCORE_NUMBER, "%d", score);
    m_gui.setTextf(HEALTH_NUMBER, "%d", m_player.getHealth());
    m_gui.setTextf(ENERGY_NUMBER, "%d", m_player.getEnergy());
    WeaponCrossbow* crossbow = m_player.getCrossbow();
    m_gui.setTextf(ARROWS_NUMBER, "%d", crossbow != nullptr ? crossbow->getArrowCount() : 0);
    if (playing) {
        drawRadar(frameTime);
    }
    m_gui.setAlpha(CROSSHAIR, m_player.isCrossbowSelected() ? 1.0f : 0.0f);
    return playing;
}

void Hud::slideRadarPanel(float frameTime) {
    float low = RADAR_Y_ON;
    float high = RADAR_Y_OFF;
    Vector2 p = m_gui.getPosition(RADAR_PANEL);
    float y = p.y;
    if (m_player.getEnergy() == 0) {
        if (m_radarOn) {
            m_radarOn = false;
            playSound(Sound::RadarOff);
        }
        if (p.y < high) {
            y = std::clamp(p.y + RADAR_SLIDE_SPEED * frameTime, low, high);
        }
    } else {
        if (!m_radarOn) {
            m_radarOn = true;
            playSound(Sound::RadarOn);
        }
        if (p.y > low) {
            y = std::clamp(p.y - RADAR_SLIDE_SPEED * frameTime, low, high);
        }
    }
    m_gui.setPosition(RADAR_PANEL, RADAR_X, y);
}

Vector2 Hud::radarCentre() const {
    Vector2 panel = m_gui.getPosition(RADAR_PANEL);
    return Vector2(panel.x + RADAR_CENTRE_X, panel.y + RADAR_CENTRE_Y);
}

void Hud::drawRadar(float frameTime) {
    slideRadarPanel(frameTime);
    Vector2 centre = radarCentre();
    m_radarSweepAngle = wrapAngle(m_radarSweepAngle + HALF_PI * frameTime, false, 0.0f);

    Vector3 forward = m_player.getDirection();
    Vector3 right(-forward.z, 0.0f, forward.x);
    updateRadarBlip(ARROW_CASE_BLIP, forward, right, centre);
    updateRadarBlip(POWER_CELL_BLIP, forward, right, centre);
    for (int i = 0; i < GHOST_COUNT; ++i) {
        updateRadarBlip(FIRST_GHOST_BLIP + static_cast<GUI_ID>(i), forward, right, centre);
    }
}

void Hud::drawRadarSweep() {
    Vector2 centre = radarCentre();
    float sx = centre.x;
    float sy = centre.y;
    m_gui.loadTransform(RADAR_X_ANCHOR, RADAR_Y_ANCHOR);
    glDisable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 0.75f);
    // As thick as the scaled pictures' lines around it.
    glLineWidth(std::max(1.0f, std::round(m_gui.scale())));
    glBegin(GL_LINES);
    glVertex2f(sx, sy);
    glVertex2f(sx + RADAR_RADIUS * std::cos(m_radarSweepAngle),
               sy + RADAR_RADIUS * std::sin(m_radarSweepAngle));
    glEnd();
    glLineWidth(1.0f);
}

bool Hud::radarObject(GUI_ID guiId, Vector3& position) const {
    if (guiId == ARROW_CASE_BLIP) {
        const PickupArrows* arrows = m_pickups.arrows();
        if (arrows == nullptr || !arrows->isVisible()) {
            return false;
        }
        position = arrows->getPosition();
        return true;
    }
    if (guiId == POWER_CELL_BLIP) {
        const PickupEnergy* energy = m_pickups.energy();
        if (energy == nullptr || !energy->isVisible()) {
            return false;
        }
        position = energy->getPosition();
        return true;
    }
    const Ghost* ghost =
        guiId >= FIRST_GHOST_BLIP ? m_ghosts.at(guiId - FIRST_GHOST_BLIP) : nullptr;
    if (ghost == nullptr || !ghost->isVisible()) {
        return false;
    }
    position = ghost->getPosition();
    return true;
}

void Hud::updateRadarBlip(GUI_ID guiId, const Vector3& forward, const Vector3& right,
                          const Vector2& centre) {
    Vector3 object;
    if (!radarObject(guiId, object)) {
        m_gui.setAlpha(guiId, 0.0f);
        return;
    }
    Vector3 player = m_player.getPosition();
    float dx = object.x - player.x;
    float dz = object.z - player.z;
    float x = m_radarScale * (right.x * dx + right.z * dz);
    float y = m_radarScale * (forward.x * dx + forward.z * dz);
    if (x * x + y * y > RADAR_RADIUS * RADAR_RADIUS) {
        m_gui.setAlpha(guiId, 0.0f);
        return;
    }
    m_gui.setPosition(guiId, centre.x + x - BLIP_HALF_SIZE, centre.y + y - BLIP_HALF_SIZE);

    float diff = m_radarSweepAngle - radarAngle(x, y);
    float alpha;
    if (diff < 0.0f) {
        alpha = mapRangeClamped(1.0f, 0.0f, QUARTER_PI, 1.25f * PI, diff + TWO_PI);
    } else {
        alpha = mapRangeClamped(1.0f, 0.0f, QUARTER_PI, 1.25f * PI, diff);
        if (m_radarOn && diff < BEEP_WINDOW && !isSoundPlaying(Sound::RadarBeep)) {
            playSound(Sound::RadarBeep);
        }
    }
    m_gui.setAlpha(guiId, alpha);
}
