#pragma once
#include "app/game_state.h"
#include "assets/texture_manager.h"
#include "gui/gui_manager.h"
#include "scene/vector.h"

class GhostSet;
class PickupSet;
class Player;

// The play HUD: the health, energy, arrows and score panels with their
// numbers, the crosshair of the crossbow, the radar with its sweep and blips,
// and the game-over picture. Its controls belong to the play and game-over
// GUI groups, which leaving a level clears.
class Hud {
public:
    Hud(GUIManager& gui, TextureManager& textures, Player& player, const GhostSet& ghosts,
        const PickupSet& pickups);
    Hud(const Hud&) = delete;
    Hud& operator=(const Hud&) = delete;

    // Creates the HUD's controls for a new level, the radar switched on.
    bool setUp(TextureID gameOverTexture);
    // Forgets the level's font and radar (its controls go with their groups).
    void clear();
    // How far from the player, in world units, the radar's rim lies.
    void setRadarRange(float worldUnits);

    // Once per drawn frame before the GUI group is drawn: the numbers, and
    // while playing the radar panel, its sweep and blips. True when the radar
    // is shown, so its sweep is to be drawn over the group.
    bool update(float frameTime, bool playing);
    void drawRadarSweep();

    bool radarOn() const { return m_radarOn; }
    float radarSweepAngle() const { return m_radarSweepAngle; }
    float radarScale() const { return m_radarScale; }

private:
    bool createNumber(GUI_ID id, float x, float y);
    void slideRadarPanel(float frameTime);
    void drawRadar(float frameTime);
    // The radar's centre in the design space, from where its panel stands.
    Vector2 radarCentre() const;
    // The position of what a blip shows; false when it is not in the level.
    bool radarObject(GUI_ID guiId, Vector3& position) const;
    void updateRadarBlip(GUI_ID guiId, const Vector3& forward, const Vector3& right,
                         const Vector2& centre);

    GUIManager& m_gui;
    TextureManager& m_textures;
    Player& m_player;
    const GhostSet& m_ghosts;
    const PickupSet& m_pickups;
    TextureID m_numbersTexture;
    FontID m_numbersFont;
    bool m_radarOn = true;
    float m_radarSweepAngle = 0.0f;
    float m_radarScale = 0.0f;
};
