// Building the level: the castle from the map image, the player's start, the
// pickups, the weapons, the ghosts and the level's sounds.
#include <cmath>
#include <cstdio>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "app/error_reporter.h"
#include "assets/qvr_reader.h"
#include "assets/scene_text.h"
#include "assets/texture.h"
#include "audio/audio_manager.h"
#include "game/ghost_set.h"
#include "game/hud.h"
#include "game/level.h"
#include "game/level_builder.h"
#include "game/map_check.h"
#include "game/map_colours.h"
#include "game/map_selection.h"
#include "game/pickup_set.h"
#include "game/player.h"
#include "game/sound_slots.h"
#include "game/tuning.h"
#include "game/weapon_crossbow.h"
#include "input/game_settings.h"
#include "scene/geometry_primitives.h"
#include "scene/light.h"
#include "scene/node.h"
#include "scene/node_shape.h"
#include "scene/scene.h"

namespace {

constexpr int LEVEL_GROUP = 1;
constexpr const char* OBJECTS_FILE = "resources/objects.lvl";
// Ground, carpet, wood, ceiling and wall, in the order they are loaded.
constexpr const char* SURFACE_FILES[] = {
    "resources/textures/ground.tga", "resources/textures/carpet.tga", "resources/textures/wood.tga",
    "resources/textures/ceiling.tga", "resources/textures/box.tga"};
constexpr unsigned SURFACE_FILTER_QUALITY = 4;
constexpr float EYE_HEIGHT = 1.8f;
constexpr float LEVEL_MOVE_SPEED = 20.0f;
constexpr float LEVEL_TURN_SPEED = 3.0f;
// The radar shows this many cells of the map from its centre to its rim.
constexpr float RADAR_CELLS = 6.0f;
constexpr int ARROW_NODES = 25;
constexpr unsigned DEFAULT_TEXTURE_QUALITY = 3;

struct SoundFile {
    Sound slot;
    const char* file;
};

// Created in this order.
constexpr SoundFile LEVEL_SOUNDS[] = {
    {Sound::Footsteps, "resources/audio/footsteps.wav"},
    {Sound::RadarOn, "resources/audio/radarOn.wav"},
    {Sound::RadarOff, "resources/audio/radarOff.wav"},
    {Sound::RadarBeep, "resources/audio/radarBeep.wav"},
    {Sound::Miss, "resources/audio/miss.wav"},
    {Sound::Hit, "resources/audio/hit.wav"},
    {Sound::PickupArrows, "resources/audio/pickupArrows.wav"},
    {Sound::PickupHealth, "resources/audio/pickupHealth.wav"},
    {Sound::PickupPower, "resources/audio/pickupPower.wav"},
    {Sound::CrossbowLoad, "resources/audio/crossbowLoad.wav"},
    {Sound::CrossbowShoot, "resources/audio/crossbowShoot.wav"},
    {Sound::Heartbeat, "resources/audio/heartbeat.wav"},
    {Sound::GhostAttack, "resources/audio/ghostAttack.wav"},
    {Sound::Ghost, "resources/audio/ghost.wav"},
};
constexpr float GHOST_MOAN_GAIN = 0.25f;
constexpr int STREAM_BUFFER_SIZE = 0xA000;
constexpr int STREAM_BUFFER_COUNT = 3;

bool failWith(int kind, const char* message) {
    reportShowReset(RESET_NO_ERROR, kind, "%s", message);
    return false;
}

float cellCoordinate(int cell, float size) {
    return static_cast<float>(cell) * size;
}

Geometry* findGeometry(const Scene& scene, const char* name) {
    for (std::size_t i = 1; i <= scene.geometryCount(); ++i) {
        Geometry* g = scene.geometry(static_cast<std::uint32_t>(i));
        if (g != nullptr && g->name() == name) {
            return g;
        }
    }
    return nullptr;
}

}  // namespace

LevelBuilder::LevelBuilder(const Parts& parts)
    : m_scene(parts.scene),
      m_textures(parts.textures),
      m_level(parts.level),
      m_player(parts.player),
      m_ghosts(parts.ghosts),
      m_pickups(parts.pickups),
      m_hud(parts.hud),
      m_gameOverTexture(parts.gameOverTexture),
      m_mapFile(parts.mapFile) {}

bool LevelBuilder::build() {
    // The floors', ceilings' and walls' pictures are read on the second
    // core while the first sets up the rest; loadLevelFiles() takes them.
    std::vector<TextureRequest> surfaces;
    for (const char* file : SURFACE_FILES) {
        surfaces.push_back(TextureRequest{file, true, SURFACE_FILTER_QUALITY, 1});
    }
    m_textures.preload(surfaces);
    Surfaces parts;
    if (!createPlayerLight() || !m_hud.setUp(m_gameOverTexture) || !loadLevelFiles(parts) ||
        !readLevelGeometry(parts)) {
        return false;
    }
    buildCells(parts);
    if (!placePlayer() || !createPickups() || !createWeaponNodes() || !createGhosts()) {
        return false;
    }
    createLevelSounds();
    return true;
}

unsigned LevelBuilder::readerTextureQuality() const {
    GameSettings* settings = gameSettings();
    return settings != nullptr ? static_cast<unsigned>(settings->textureQuality)
                               : DEFAULT_TEXTURE_QUALITY;
}

// The player carries this light: without a light node it keeps the identity
// matrix and so shines from the eye.
bool LevelBuilder::createPlayerLight() {
    auto* light = new (std::nothrow) LightPoint();
    if (light == nullptr) {
        return failWith(ERROR_MEMORY, "Can not create a new pLight.");
    }
    light->setDirection(0.0f, 0.0f, -1.0f);
    light->setPosition(0.0f, 0.0f, 0.0f);
    light->setAttenuation(0.1f, 0.2f, 0.0f);
    m_scene.addLight(light);
    return true;
}

// The texture manager has shown why a file did not load.
bool LevelBuilder::loadLevelFiles(Surfaces& parts) {
    SceneTextReader(m_scene, m_textures, readerTextureQuality())
        .loadSceneText(OBJECTS_FILE, LEVEL_GROUP);

    if (!(m_mapFile.empty() ? loadCastleMap() : loadPlayerMap())) {
        return false;
    }

    TextureID* surfaces[] = {&parts.ground, &parts.carpet, &parts.wood, &parts.ceiling,
                             &parts.wall};
    for (int i = 0; i < 5; ++i) {
        *surfaces[i] =
            m_textures.loadTexture(LEVEL_GROUP, true, SURFACE_FILTER_QUALITY, 1, SURFACE_FILES[i]);
        if (surfaces[i]->id == 0) {
            return false;
        }
    }
    return true;
}

bool LevelBuilder::loadCastleMap() {
    const TextureID map = m_textures.loadTexture(LEVEL_GROUP, false, 1, 1, CASTLE_MAP_FILE);
    if (map.id == 0) {
        return false;
    }
    std::pair<unsigned, unsigned> size = m_textures.getTextureSize(map.group, map.id);
    m_level.setMap(static_cast<int>(size.first), static_cast<int>(size.second),
                   textureColours(m_textures, map));
    return true;
}

// A player's map is read apart from the texture manager, which would send a
// ".tga" to GL and drop its pixels; the level owns it through its colour
// reader. It is checked again here: the file may have changed since start-up.
bool LevelBuilder::loadPlayerMap() {
    std::shared_ptr<Texture> image = std::make_shared<Texture>(false, 1, 1);
    std::string why;
    if (!image->readMapImage(m_mapFile, why)) {
        return failWith(ERROR_GAME, why.c_str());
    }
    MapGrid::ColourAt colourAt = [image](int x, int y) { return image->getPixel(x, y); };
    const MapReport check = checkMap(m_mapFile, image->width, image->height, colourAt);
    if (!check.playable()) {
        return failWith(ERROR_GAME, check.refusal.c_str());
    }
    m_level.setMap(image->width, image->height, std::move(colourAt));
    return true;
}

const char* LevelBuilder::mapName() const {
    return m_mapFile.empty() ? CASTLE_MAP_FILE : m_mapFile.c_str();
}

// The box sets the grid: a cell is as wide as the box, a low passage as high.
// Every later division and position relies on both being positive.
bool LevelBuilder::readLevelGeometry(Surfaces& parts) {
    parts.plane = findGeometry(m_scene, "plane");
    parts.box = findGeometry(m_scene, "box");
    if (parts.plane == nullptr || parts.box == nullptr) {
        return failWith(ERROR_GAME, "Could not find required Geometry in lvl file.");
    }
    const auto* box = dynamic_cast<const GeometryBox*>(parts.box);
    Vector3 size = box != nullptr ? box->getSize() : Vector3();
    if (!(size.x > 0.0f && size.y > 0.0f && std::isfinite(size.x) && std::isfinite(size.y))) {
        reportShowReset(RESET_NO_ERROR, ERROR_GAME,
                        "%s\nThe geometry named \"box\" must be a box with a width and a height.",
                        OBJECTS_FILE);
        return false;
    }
    if (m_level.width() < 1 || m_level.height() < 1) {
        reportShowReset(RESET_NO_ERROR, ERROR_GAME, "%s\nThe map has no cells.", mapName());
        return false;
    }
    m_level.setCells(size.x, size.y);
    m_hud.setRadarRange(size.x * RADAR_CELLS);
    return true;
}

void LevelBuilder::buildCells(const Surfaces& parts) {
    for (int y = 0; y < m_level.height(); ++y) {
        for (int x = 0; x < m_level.width(); ++x) {
            buildCell(x, y, parts);
        }
    }
}

// Walls and low passages beside a hall are built two boxes high so that the
// hall's high ceiling meets a wall. Only the four side neighbours count.
void LevelBuilder::buildCell(int x, int y, const Surfaces& parts) {
    const Color4 c = m_level.cellColour(x, y);
    const float cellSize = m_level.cellSize();
    const float wallHeight = m_level.wallHeight();
    const float wx = cellCoordinate(x, cellSize);
    const float wz = cellCoordinate(y, cellSize);
    bool nearHall = false;
    if (isBlack(c) || isWhite(c)) {
        const int side[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
        for (const auto& n : side) {
            if (m_level.isInMap(n[0], n[1])) {
                Color4 other = m_level.cellColour(n[0], n[1]);
                nearHall = nearHall || isMagenta(other) || isYellow(other);
            }
        }
    }
    if (nearHall) {
        addCellNode("TallWallBox", x, y, Vector3(wx, wallHeight, wz), 0, parts.box, parts.wall);
    }
    if (isBlack(c)) {
        addCellNode("WallBox", x, y, Vector3(wx, 0.0f, wz), 0, parts.box, parts.wall);
        return;
    }

    TextureID floorTexture = isYellow(c) ? parts.wood : isMagenta(c) ? parts.carpet : parts.ground;
    NodeID floorShape = 0;
    NodeID floor = addCellNode("Floor", x, y, Vector3(wx, 0.0f, wz), 0, parts.plane, floorTexture,
                               &floorShape);
    if (floorShape != 0 && isMagenta(c)) {
        // The carpet pattern is finer than one repeat per plane.
        auto* tfm = new (std::nothrow) TextureTransform();
        if (tfm != nullptr) {
            tfm->m_vScale = Vector2(2.0f, 2.0f);
            std::uint32_t tfmID = m_scene.addTextureTransform(tfm);
            if (tfmID != 0) {
                m_scene.setShapeTextureTfm(floorShape, tfmID);
            }
        }
    }
    if (floor != 0 && !nearHall) {
        float h = isWhite(c) ? wallHeight : 2.0f * wallHeight;
        NodeID ceiling =
            addCellNode("Ceiling", x, y, Vector3(0.0f, h, 0.0f), floor, parts.plane, parts.ceiling);
        // Turned over about X, so the plane faces down.
        auto* turned = ceiling != 0 ? static_cast<NodeTransform*>(m_scene.node(ceiling)) : nullptr;
        if (turned != nullptr) {
            turned->setAxis(1.0f, 0.0f, 0.0f);
            turned->m_fAngle = 180.0f;
        }
    }
}

// A node that cannot be made is skipped: the rest of the cell and of the grid
// is still built.
NodeID LevelBuilder::addCellNode(const char* kind, int x, int y, const Vector3& translation,
                                 NodeID parent, Geometry* geometry, TextureID texture,
                                 NodeID* shapeID) {
    if (shapeID != nullptr) {
        *shapeID = 0;
    }
    auto* transform = new (std::nothrow) NodeTransform();
    if (transform == nullptr) {
        return 0;
    }
    char name[64];
    std::snprintf(name, sizeof name, "%s(%d,%d)", kind, x, y);
    transform->setName(name);
    transform->m_vTranslation = translation;
    // Walls, floors and ceilings never move.
    transform->setFixedInPlace(true);
    NodeID transformID = m_scene.addNode(transform, parent);
    if (transformID == 0) {
        return 0;
    }
    auto* shape = new (std::nothrow) NodeShape(geometry);
    NodeID added = shape != nullptr ? m_scene.addNode(shape, transformID) : 0;
    if (added != 0) {
        m_scene.setShapeTexture(added, texture.group, texture.id);
    }
    if (shapeID != nullptr) {
        *shapeID = added;
    }
    return transformID;
}

// The player starts on a free cell looking toward the first open side
// neighbour; the small sideways part keeps the view off the wall's axis.
bool LevelBuilder::placePlayer() {
    m_player.setSpeeds(LEVEL_MOVE_SPEED, LEVEL_TURN_SPEED);
    int x = 0;
    int y = 0;
    if (!m_pickups.findFreeCell(m_level, x, y)) {
        reportShowReset(RESET_NO_ERROR, ERROR_GAME,
                        "%s\nThe map has no open cell to start on (row 0 and column 0 are "
                        "never used).",
                        mapName());
        return false;
    }
    struct Look {
        int dx;
        int dy;
        Vector3 direction;
    };
    const Look looks[4] = {
        {1, 0, Vector3(1.0f, 0.0f, 0.1f)},
        {0, 1, Vector3(0.1f, 0.0f, 1.0f)},
        {-1, 0, Vector3(-1.0f, 0.0f, 0.1f)},
        {0, -1, Vector3(0.1f, 0.0f, -1.0f)},
    };
    Vector3 direction(1.0f, 0.0f, 0.0f);
    for (const Look& look : looks) {
        if (!isBlack(m_level.cellColour(x + look.dx, y + look.dy))) {
            direction = look.direction;
            break;
        }
    }
    const float cellSize = m_level.cellSize();
    m_player.setView(Vector3(cellCoordinate(x, cellSize), EYE_HEIGHT, cellCoordinate(y, cellSize)),
                     direction);
    return true;
}

NodeTransform* LevelBuilder::findTransform(const char* name, Node* start) const {
    Node* found = start != nullptr ? start->findByName(name) : m_scene.findByName(name);
    return found != nullptr && found->isTransform() ? static_cast<NodeTransform*>(found) : nullptr;
}

// Each pickup is placed before the next is made, so the free-cell search
// keeps the later ones off the earlier ones.
bool LevelBuilder::createPickups() {
    // A pickup is in the set before it is placed, so the free-cell search
    // also keeps it off the cell its model stands on.
    auto place = [this](PickupObject* pickup, const char* failure) {
        if (pickup == nullptr) {
            return failWith(ERROR_MEMORY, failure);
        }
        if (!pickup->checkNodes()) {
            return false;
        }
        m_pickups.placeOnFreeCell(*pickup, m_level);
        return true;
    };
    QvrReader reader(m_scene, m_textures, readerTextureQuality());

    reader.loadQVR("resources/models/healthPack.qvr", LEVEL_GROUP, 0);
    m_pickups.setHealth(std::unique_ptr<PickupHealth>(
        new (std::nothrow) PickupHealth(findTransform("healthPack.cob"), 3.0f)));
    if (!place(m_pickups.health(), "Can not create PickupHealth object")) {
        return false;
    }
    reader.loadQVR("resources/models/powerCell.qvr", LEVEL_GROUP, 0);
    m_pickups.setEnergy(std::unique_ptr<PickupEnergy>(new (std::nothrow) PickupEnergy(
        findTransform("battery.cob"), findTransform("powerCell"), 10.0f)));
    if (!place(m_pickups.energy(), "Can not create PickupEnergy object")) {
        return false;
    }
    reader.loadQVR("resources/models/arrowPickup.qvr", LEVEL_GROUP, 0);
    m_pickups.setArrows(std::unique_ptr<PickupArrows>(
        new (std::nothrow) PickupArrows(findTransform("arrowCase"), 5.0f)));
    return place(m_pickups.arrows(), "Can not create PickupArrows object");
}

// The weapon models wait under a hidden transform; the 25 flying arrows are
// root-level copies of the arrow model.
bool LevelBuilder::createWeaponNodes() {
    auto* hidden = new (std::nothrow) NodeTransform();
    if (hidden == nullptr) {
        return failWith(ERROR_MEMORY, "Can not create empty node transform");
    }
    hidden->setName("HiddenWeapons");
    hidden->setVisible(false);
    NodeID hiddenID = m_scene.addNode(hidden, 0);
    if (hiddenID == 0) {
        return failWith(ERROR_MEMORY, "Can not create empty node transform");
    }
    QvrReader reader(m_scene, m_textures, readerTextureQuality());
    reader.loadQVR("resources/models/crossbow.qvr", LEVEL_GROUP, hiddenID);
    reader.loadQVR("resources/models/arrow.qvr", LEVEL_GROUP, hiddenID);
    reader.loadQVR("resources/models/mace.qvr", LEVEL_GROUP, hiddenID);
    if (!m_player.createWeapons(hidden)) {
        return false;
    }
    if (!m_scene.copySubtree(hidden->findByName("arrow"), "arrow", ARROW_NODES, 0)) {
        return false;
    }
    WeaponCrossbow* crossbow = m_player.getCrossbow();
    for (int i = 1; i <= ARROW_NODES; ++i) {
        char name[15];
        std::snprintf(name, sizeof name, "arrow_%d", i);
        if (crossbow == nullptr || !crossbow->setArrowNode(i - 1, findTransform(name, hidden))) {
            return false;
        }
    }
    return true;
}

// The ghost model is loaded once and copied twice; the model's own node
// becomes the third ghost.
bool LevelBuilder::createGhosts() {
    QvrReader reader(m_scene, m_textures, readerTextureQuality());
    reader.loadQVR("resources/models/ghost.qvr", LEVEL_GROUP, 0);
    Node* hidden = m_scene.findByName("HiddenWeapons");
    Node* model = hidden != nullptr ? hidden->findByName("ghost") : m_scene.findByName("ghost");
    if (model == nullptr) {
        return failWith(ERROR_GENERAL, "Can not find ghost node");
    }
    if (!m_scene.copySubtree(model, "ghost", GHOST_COUNT - 1, 0)) {
        return false;
    }
    char name[15];
    std::snprintf(name, sizeof name, "ghost_%d", GHOST_COUNT);
    model->setName(name);
    m_ghosts.start(m_level.worldWidth(), m_level.worldDepth());
    for (int i = 1; i <= GHOST_COUNT; ++i) {
        if (!createGhost(i)) {
            return false;
        }
    }
    return true;
}

// Each ghost carries a dark red light under its node, so the light moves
// with it.
bool LevelBuilder::createGhost(int index) {
    char name[15];
    std::snprintf(name, sizeof name, "ghost_%d", index);
    Node* hidden = m_scene.findByName("HiddenWeapons");
    NodeTransform* root = findTransform(name, hidden);
    std::unique_ptr<Ghost> ghost(new (std::nothrow) Ghost(root));
    if (ghost == nullptr) {
        return failWith(ERROR_MEMORY, "Can not create ghost");
    }
    auto* light = new (std::nothrow) LightPoint();
    if (light == nullptr) {
        return failWith(ERROR_MEMORY, "Can not create a new pLight.");
    }
    light->setPosition(0.0f, 0.0f, 0.0f);
    light->setDiffuse(128.0f / 255.0f, 0.0f, 0.0f, 1.0f);
    light->setAttenuation(0.25f, 0.1f, 0.1f);
    m_scene.addLight(light);
    auto* lightNode = new (std::nothrow) NodeLight(light);
    if (lightNode == nullptr) {
        return failWith(ERROR_MEMORY, "Can not create a new Node Light.");
    }
    if (root != nullptr) {
        m_scene.addNode(lightNode, m_scene.getNodeID(root));
    } else {
        delete lightNode;  // the node check below reports the missing ghost
    }
    ghost->setLight(light);
    if (!ghost->checkNodes()) {
        return false;
    }
    m_ghosts.add(std::move(ghost));
    return true;
}

// The sounds are not checked: a level without them plays silent.
void LevelBuilder::createLevelSounds() {
    AudioManager* audio = audioManager();
    if (audio == nullptr) {
        return;
    }
    for (const SoundFile& sound : LEVEL_SOUNDS) {
        audio->createSource(slotOf(sound.slot), sound.file);
    }
    audio->setSourceGain(slotOf(Sound::Ghost), GHOST_MOAN_GAIN);
    audio->createStream(slotOf(Music::Play), "resources/audio/play.ogg", true, STREAM_BUFFER_SIZE,
                        STREAM_BUFFER_COUNT);
    audio->createStream(slotOf(Music::GameOver), "resources/audio/gameOver.ogg", true,
                        STREAM_BUFFER_SIZE, STREAM_BUFFER_COUNT);
    m_soundsCreated = true;
}
