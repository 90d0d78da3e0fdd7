// The seven models of the game. Sizes and pivots follow how the game places
// each one: the ghost's joints turn about their own centres (the game writes
// their angles and the jaw's height), the weapons are drawn in eye space at
// the game's held positions, and the pickups stand on the floor at their
// root and spin about Y.
#include <cmath>
#include <cstdio>

#include "generators.h"
#include "models.h"
#include "scene/node.h"

namespace datagen {

namespace {

constexpr float PI = 3.14159265358979f;

V3 mirrorX(V3 p) {
    return {-p.x, p.y, p.z};
}

// Spikes pointing away from the centre, spread evenly over a sphere.
Mesh spikedBall(float radius, float spikeLength, int spikes) {
    Mesh mesh = Mesh::ellipsoid(radius, radius, radius, 20, 12);
    const float golden = PI * (3.0f - std::sqrt(5.0f));
    for (int i = 0; i < spikes; ++i) {
        float y = 1.0f - 2.0f * (static_cast<float>(i) + 0.5f) / static_cast<float>(spikes);
        float r = std::sqrt(1.0f - y * y);
        float a = golden * static_cast<float>(i);
        V3 d{r * std::cos(a), y, r * std::sin(a)};
        Mesh spike = Mesh::tube(radius * 0.28f, 0.002f, 8);
        mesh.append(spike, Frame::along(d * (radius * 0.8f), d * (radius + spikeLength)));
    }
    return mesh;
}

// A ring (torus) about Y.
Mesh ring(float radius, float thickness, int segments) {
    std::vector<ProfilePoint> profile;
    for (int i = 0; i <= 10; ++i) {
        float a = 2 * PI * static_cast<float>(i) / 10.0f;
        profile.push_back({radius + thickness * std::cos(a), thickness * std::sin(a)});
    }
    return Mesh::lathe(profile, segments);
}

bool ghost(ModelBuilder& b) {
    ShapeTexture* skin = b.skin("ghost.tga", ghostSkin(), false);
    if (skin == nullptr)
        return false;
    // Pale and see-through, glowing a little of its own.
    Material* robe = b.material(rgb(225, 235, 255), rgb(40, 48, 64), 0.3f, 30, 0.62f);
    Material* flesh = b.material(rgb(230, 240, 235), rgb(36, 44, 44), 0.25f, 20, 0.85f);
    Material* hollow = b.material(rgb(8, 6, 10), rgb(0, 0, 0), 0.0f, 0);
    Material* eyes = b.material(rgb(255, 120, 60), rgb(255, 110, 40), 0.5f, 60);

    NodeTransform* root = b.transform(nullptr, "ghost");
    root->setAxis(0, 1, 0);

    // Robe: a lathed shell closed underneath, its hem torn into tongues.
    std::vector<ProfilePoint> robeProfile = {
        {0.0f, 0.48f},  {0.18f, 0.42f}, {0.34f, 0.26f}, {0.36f, 0.3f},  {0.33f, 0.5f},
        {0.29f, 0.76f}, {0.26f, 1.0f},  {0.27f, 1.2f},  {0.29f, 1.36f}, {0.27f, 1.5f},
        {0.19f, 1.58f}, {0.09f, 1.63f}, {0.0f, 1.64f}};
    Mesh body = Mesh::lathe(robeProfile, 40, 0.06f, 77);
    body.warp([](V3 p) {
        float below = std::fmax(0.0f, 0.6f - p.y) / 0.34f;
        float a = std::atan2(p.x, p.z);
        p.y += below * 0.09f * (std::sin(a * 7.0f) + 0.5f * std::sin(a * 13.0f + 1.0f));
        return p;
    });
    Mesh robeMesh;
    robeMesh.append(body, Frame::at({0, 0, -0.05f}), 0, 0, 0.5f, 1);
    // A hood falling over the back of the head.
    std::vector<ProfilePoint> hoodProfile = {{0.0f, -0.02f}, {0.16f, 0.0f},  {0.22f, 0.12f},
                                             {0.22f, 0.26f}, {0.16f, 0.38f}, {0.0f, 0.42f}};
    robeMesh.append(Mesh::lathe(hoodProfile, 28), Frame::at({0, 1.56f, -0.04f}).scaled(1, 1, 1.05f),
                    0, 0.6f, 0.5f, 1);
    b.shape(root, robeMesh, robe, skin);

    // Head: a skull-like face looking out of the hood.
    Mesh head = Mesh::ellipsoid(0.155f, 0.19f, 0.16f, 28, 16);
    Mesh face;
    face.append(head, Frame::at({0, 1.77f, 0.085f}), 0.5f, 0.5f, 1, 1);
    b.shape(root, face, flesh, skin);
    Mesh dark;
    for (float side : {-1.0f, 1.0f}) {
        dark.append(Mesh::ellipsoid(0.05f, 0.04f, 0.03f, 12, 8),
                    Frame::at({side * 0.062f, 1.8f, 0.225f}).rotatedZ(side * -12));
    }
    dark.append(Mesh::ellipsoid(0.065f, 0.045f, 0.04f, 14, 8), Frame::at({0, 1.665f, 0.2f}));
    b.shape(root, dark, hollow, nullptr);
    Mesh glow;
    for (float side : {-1.0f, 1.0f})
        glow.append(Mesh::ellipsoid(0.017f, 0.017f, 0.012f, 10, 6),
                    Frame::at({side * 0.062f, 1.8f, 0.248f}));
    b.shape(root, glow, eyes, nullptr);

    // Jaw: the game moves this node up and down, so its geometry sits in
    // place and the node keeps a zero offset.
    NodeTransform* jaw = b.transform(root, "jawBone");
    Mesh jawMesh;
    std::vector<ProfilePoint> jawProfile = {
        {0.0f, -0.07f}, {0.07f, -0.06f}, {0.11f, -0.02f}, {0.12f, 0.02f}, {0.0f, 0.03f}};
    jawMesh.append(Mesh::lathe(jawProfile, 20), Frame::at({0, 1.64f, 0.12f}).scaled(1, 1, 0.9f),
                   0.5f, 0, 1, 0.5f);
    b.shape(jaw, jawMesh, flesh, skin);

    // Arms reach forward; each shoulder and elbow turns about X at its own
    // centre. The ghost's right is -X (it faces +Z).
    struct Side {
        const char* shoulder;
        const char* hand;
        float sign;
    };
    for (const Side& s :
         {Side{"R_Shoulder", "R_hand", -1.0f}, Side{"L_Shoulder", "L_hand", 1.0f}}) {
        auto at = [&](V3 p) { return s.sign > 0 ? p : mirrorX(p); };
        const V3 shoulderPos = at({0.27f, 1.47f, -0.02f});
        const V3 elbow = at({0.36f, 1.24f, 0.2f});
        const V3 wrist = at({0.36f, 1.16f, 0.47f});
        NodeTransform* shoulder = b.transform(root, s.shoulder);
        shoulder->setAxis(1, 0, 0);
        shoulder->m_vCentre = Vector3(shoulderPos.x, shoulderPos.y, shoulderPos.z);
        Mesh sleeve;
        sleeve.append(
            Mesh::sweep({shoulderPos, at({0.33f, 1.36f, 0.07f}), elbow, at({0.365f, 1.22f, 0.26f})},
                        {0.085f, 0.085f, 0.09f, 0.12f}, 16),
            Frame(), 0, 0.3f, 0.5f, 1);
        b.shape(shoulder, sleeve, robe, skin);

        NodeTransform* hand = b.transform(shoulder, s.hand);
        hand->setAxis(1, 0, 0);
        hand->m_vCentre = Vector3(elbow.x, elbow.y, elbow.z);
        Mesh arm;
        arm.append(
            Mesh::sweep({elbow, at({0.365f, 1.2f, 0.33f}), wrist}, {0.05f, 0.045f, 0.035f}, 12),
            Frame(), 0.5f, 0, 1, 0.5f);
        arm.append(Mesh::ellipsoid(0.045f, 0.022f, 0.055f, 12, 8),
                   Frame::at(wrist + V3{0, -0.01f, 0.04f}), 0.5f, 0, 1, 0.5f);
        // Four long fingers curling down into claws, and a thumb.
        for (int f = 0; f < 5; ++f) {
            float spread = (static_cast<float>(f) - 1.5f) * 0.022f;
            V3 base = wrist + V3{spread, -0.01f, 0.08f};
            std::vector<V3> path = {base, base + V3{spread * 0.3f, -0.01f, 0.06f},
                                    base + V3{spread * 0.5f, -0.05f, 0.1f},
                                    base + V3{spread * 0.6f, -0.1f, 0.11f}};
            if (f == 4)
                path = {wrist + at({-0.035f, -0.01f, 0.04f}), wrist + at({-0.06f, -0.03f, 0.08f}),
                        wrist + at({-0.06f, -0.06f, 0.1f})};
            std::vector<float> radii(path.size(), 0.011f);
            radii.back() = 0.003f;
            arm.append(Mesh::sweep(path, radii, 8), Frame(), 0.5f, 0, 1, 0.5f);
        }
        b.shape(hand, arm, flesh, skin);
    }
    return b.write("ghost.qvr", root);
}

// The arrow points along +Y with its tip at the origin, so a flying arrow
// stops where its point meets the wall.
constexpr float ARROW_LENGTH = 3.0f;

Mesh arrowMesh() {
    Mesh mesh;
    // Shaft, nock and head.
    mesh.append(Mesh::tube(0.04f, 0.04f, 10), Frame::along({0, -ARROW_LENGTH, 0}, {0, -0.3f, 0}), 0,
                0, 0.5f, 1);
    mesh.append(Mesh::tube(0.05f, 0.045f, 10),
                Frame::along({0, -ARROW_LENGTH - 0.02f, 0}, {0, -ARROW_LENGTH + 0.1f, 0}), 0.75f, 0,
                1, 1);
    std::vector<ProfilePoint> head = {
        {0.0f, -0.42f}, {0.06f, -0.4f}, {0.06f, -0.32f}, {0.13f, -0.3f}, {0.0f, 0.0f}};
    mesh.append(Mesh::lathe(head, 4), Frame().scaled(1, 1, 0.35f), 0.75f, 0, 1, 1);
    // Three vanes, thin and curved a little.
    for (int k = 0; k < 3; ++k) {
        Mesh vane = Mesh::roundedBox({0.006f, 0.34f, 0.07f}, 0.005f, 2);
        vane.warp([](V3 p) {
            float t = (p.y + 0.34f) / 0.68f;
            p.z *= 0.4f + 0.6f * std::sin(t * PI * 0.9f + 0.2f);
            p.x += 0.01f * std::sin(t * PI);
            return p;
        });
        Frame f = Frame::at({0, -ARROW_LENGTH + 0.5f, 0}).rotatedY(120.0f * static_cast<float>(k));
        f.origin = f.origin + f.az * 0.095f;
        mesh.append(vane, f, 0.5f, 0, 0.75f, 1);
    }
    return mesh;
}

bool arrow(ModelBuilder& b) {
    ShapeTexture* skin = b.skin("arrow.tga", arrowSkin(), false);
    if (skin == nullptr)
        return false;
    NodeTransform* root = b.transform(nullptr, "arrow");
    root->setAxis(1, 0, 0);
    b.shape(root, arrowMesh(), b.material(rgb(255, 255, 255), rgb(10, 8, 6), 0.35f, 40), skin);
    return b.write("arrow.qvr", root);
}

bool crossbow(ModelBuilder& b) {
    ShapeTexture* skin = b.skin("crossbow.tga", crossbowSkin(), false);
    if (skin == nullptr)
        return false;
    Material* woodMat = b.material(rgb(255, 250, 240), rgb(14, 10, 6), 0.25f, 25);
    Material* ironMat = b.material(rgb(220, 220, 230), rgb(8, 8, 10), 0.7f, 70);
    Material* stringMat = b.material(rgb(255, 255, 255), rgb(20, 18, 14), 0.1f, 8);

    // Model units; the game scales the node by 0.16. The loaded arrow lies
    // on the rail at y = 0 pointing to -Z, its point sliding from z = -2.41
    // to -0.69 while the string is drawn.
    NodeTransform* root = b.transform(nullptr, "weapon");
    Mesh wood;
    // Tiller with the arrow rail, and the stock dropping to the shoulder.
    wood.append(Mesh::roundedBox({0.26f, 0.17f, 2.1f}, 0.08f, 3), Frame::at({0, -0.2f, -0.6f}), 0,
                0, 0.5f, 1);
    wood.append(
        Mesh::sweep({{0, -0.22f, 1.2f}, {0, -0.3f, 2.2f}, {0, -0.46f, 3.1f}, {0, -0.55f, 3.7f}},
                    {0.22f, 0.26f, 0.36f, 0.4f}, 16, 0.62f),
        Frame(), 0, 0, 0.5f, 1);
    // Pistol grip.
    wood.append(Mesh::sweep({{0, -0.25f, 1.0f}, {0, -0.6f, 1.15f}, {0, -1.0f, 1.4f}},
                            {0.17f, 0.16f, 0.17f}, 14, 0.7f),
                Frame(), 0, 0, 0.5f, 1);
    b.shape(root, wood, woodMat, skin);

    Mesh iron;
    // Guide rails either side of the arrow groove.
    for (float side : {-1.0f, 1.0f})
        iron.append(Mesh::roundedBox({0.035f, 0.04f, 1.9f}, 0.02f, 2),
                    Frame::at({side * 0.11f, -0.05f, -0.75f}), 0.5f, 0, 0.75f, 1);
    // Bow mount, the prod (a flat steel bow curving forward) and the stirrup.
    iron.append(Mesh::roundedBox({0.32f, 0.2f, 0.26f}, 0.07f, 2), Frame::at({0, -0.24f, 0.3f}),
                0.5f, 0, 0.75f, 1);
    std::vector<V3> prod;
    std::vector<float> prodRadii;
    for (int i = 0; i <= 16; ++i) {
        float t = static_cast<float>(i) / 16.0f * 2 - 1;  // -1 .. 1
        float x = 2.3f * t;
        prod.push_back({x, -0.12f + 0.12f * t * t, 0.45f - 0.55f * (1 - t * t)});
        prodRadii.push_back(0.22f - 0.13f * std::fabs(t));
    }
    iron.append(Mesh::sweep(prod, prodRadii, 12, 0.4f), Frame(), 0.5f, 0, 0.75f, 1);
    std::vector<V3> stirrup;
    for (int i = 0; i <= 12; ++i) {
        float a = PI * static_cast<float>(i) / 12.0f;
        stirrup.push_back({0.32f * std::cos(a), -0.2f, -2.6f - 0.55f * std::sin(a)});
    }
    iron.append(Mesh::sweep(stirrup, std::vector<float>(stirrup.size(), 0.045f), 8), Frame(), 0.5f,
                0, 0.75f, 1);
    iron.append(Mesh::roundedBox({0.22f, 0.15f, 0.12f}, 0.05f, 2), Frame::at({0, -0.2f, -2.66f}),
                0.5f, 0, 0.75f, 1);
    // Trigger lever under the tiller.
    iron.append(Mesh::sweep({{0, -0.3f, 0.75f}, {0, -0.5f, 0.8f}, {0, -0.68f, 0.95f}},
                            {0.04f, 0.035f, 0.025f}, 8, 0.6f),
                Frame(), 0.5f, 0, 0.75f, 1);
    b.shape(root, iron, ironMat, skin);

    // The string halves turn about the limb tips, back toward the shooter:
    // the left about -Y, the right about +Y, by the same angle.
    const float tipX = 2.3f, tipZ = 0.45f;
    for (int side = 0; side < 2; ++side) {
        const float s = side == 0 ? -1.0f : 1.0f;
        NodeTransform* half = b.transform(root, side == 0 ? "stringL" : "stringR");
        half->setAxis(0, s, 0);
        half->m_vCentre = Vector3(s * tipX, 0.0f, tipZ);
        Mesh string =
            Mesh::sweep({{s * tipX, 0.0f, tipZ}, {-s * 0.12f, 0.02f, tipZ}}, {0.03f, 0.03f}, 6);
        b.shape(half, string, stringMat, skin);
    }
    // Pusher: the latch that rides back along the rail behind the nock.
    NodeTransform* pusher = b.transform(root, "pusher");
    Mesh latch;
    latch.append(Mesh::roundedBox({0.1f, 0.08f, 0.14f}, 0.04f, 2), Frame::at({0, 0.0f, 0.84f}),
                 0.5f, 0, 0.75f, 1);
    latch.append(Mesh::roundedBox({0.03f, 0.07f, 0.04f}, 0.02f, 2), Frame::at({0, 0.1f, 0.72f}),
                 0.5f, 0, 0.75f, 1);
    b.shape(pusher, latch, ironMat, skin);
    return b.write("crossbow.qvr", root);
}

bool mace(ModelBuilder& b) {
    ShapeTexture* skin = b.skin("mace.tga", maceSkin(), false);
    if (skin == nullptr)
        return false;
    // The game puts the node at this point and turns it about
    // (-0.1, -0.1, 1). The inner node cancels the offset, so the mace below
    // is laid out in eye space, and the centre puts the pivot in the hand.
    const V3 held{-2.017f, 5.729f, -3.668f};
    const V3 hand{0.11f, -0.197f, -0.45f};
    NodeTransform* root = b.transform(nullptr, "mace");
    root->setAxis(-0.1f, -0.1f, 1.0f);
    root->m_vTranslation = Vector3(held.x, held.y, held.z);
    root->m_vCentre = Vector3(hand.x - held.x, hand.y - held.y, hand.z - held.z);
    NodeTransform* grip = b.transform(root, "maceModel");
    grip->m_vTranslation = Vector3(-held.x, -held.y, -held.z);

    // Laid out about the hand at a size of 1, then shrunk to k: close to the
    // eye, so that the put-away offset carries it behind the near plane.
    const float k = 0.73f;
    const Frame place = Frame::at(hand).scaled(k, k, k);
    const float a = 84.0f * PI / 180.0f;
    const V3 up = normalised({std::cos(a), std::sin(a), -0.28f});
    const float length = 0.3f;
    Mesh handle, handleParts;
    handleParts.append(Mesh::tube(0.016f, 0.013f, 12), Frame::along(up * -0.07f, up * length), 0, 0,
                       0.5f, 1);
    handle.append(handleParts, place);
    b.shape(grip, handle, b.material(rgb(255, 250, 240), rgb(8, 6, 4), 0.2f, 20), skin);
    Mesh metal, metalParts;
    const V3 head = up * (length + 0.045f);
    metalParts.append(spikedBall(0.048f, 0.04f, 18), Frame::along(head, head + up), 0.5f, 0, 1, 1);
    metalParts.append(Mesh::tube(0.022f, 0.026f, 12),
                      Frame::along(up * (length - 0.03f), up * (length + 0.005f)), 0.5f, 0, 1, 1);
    metalParts.append(Mesh::ellipsoid(0.022f, 0.016f, 0.022f, 12, 8),
                      Frame::along(up * -0.075f, up * -0.075f + up), 0.5f, 0, 1, 1);
    metal.append(metalParts, place);
    b.shape(grip, metal, b.material(rgb(220, 220, 230), rgb(6, 6, 8), 0.8f, 80), skin);
    return b.write("mace.qvr", root);
}

bool healthPack(ModelBuilder& b) {
    ShapeTexture* skin = b.skin("healthpack.tga", healthPackSkin(), false);
    if (skin == nullptr)
        return false;
    NodeTransform* root = b.transform(nullptr, "healthPack.cob");
    root->setAxis(0, 1, 0);
    Mesh box = Mesh::roundedBox({0.3f, 0.17f, 0.24f}, 0.05f, 4);
    Mesh packed;
    packed.append(box, Frame::at({0, 0.17f, 0}));
    b.shape(root, packed, b.material(rgb(255, 255, 255), rgb(24, 20, 18), 0.5f, 50), skin);
    // Carrying handle and two clasps.
    Mesh fittings;
    std::vector<V3> arc;
    for (int i = 0; i <= 12; ++i) {
        float t = PI * static_cast<float>(i) / 12.0f;
        arc.push_back({-0.12f * std::cos(t), 0.34f + 0.08f * std::sin(t), 0});
    }
    fittings.append(Mesh::sweep(arc, std::vector<float>(arc.size(), 0.018f), 8), Frame());
    for (float side : {-1.0f, 1.0f}) {
        fittings.append(Mesh::roundedBox({0.03f, 0.025f, 0.03f}, 0.01f, 2),
                        Frame::at({side * 0.12f, 0.345f, 0}));
        fittings.append(Mesh::roundedBox({0.035f, 0.045f, 0.012f}, 0.01f, 2),
                        Frame::at({side * 0.18f, 0.27f, 0.245f}));
    }
    b.shape(root, fittings, b.material(rgb(150, 150, 160), rgb(6, 6, 8), 0.8f, 80), nullptr);
    return b.write("healthPack.qvr", root);
}

bool powerCell(ModelBuilder& b) {
    ShapeTexture* skin = b.skin("powercell.tga", powerCellSkin(), false);
    if (skin == nullptr)
        return false;
    // The cage turns one way, the glowing cell inside it faster.
    NodeTransform* root = b.transform(nullptr, "battery.cob");
    root->setAxis(0, 1, 0);
    Mesh cage;
    std::vector<ProfilePoint> cap = {{0.0f, 0.0f},  {0.2f, 0.0f}, {0.22f, 0.03f},
                                     {0.2f, 0.08f}, {0.1f, 0.1f}, {0.0f, 0.1f}};
    cage.append(Mesh::lathe(cap, 28), Frame::at({0, 0, 0}), 0, 0, 0.5f, 1);
    cage.append(Mesh::lathe(cap, 28), Frame::at({0, 0.9f, 0}).scaled(1, -1, 1), 0, 0, 0.5f, 1);
    for (float y : {0.3f, 0.6f})
        cage.append(ring(0.19f, 0.018f, 28), Frame::at({0, y, 0}), 0, 0, 0.5f, 1);
    for (int k = 0; k < 4; ++k) {
        float a = PI * 0.5f * static_cast<float>(k) + PI * 0.25f;
        V3 foot{0.18f * std::cos(a), 0.06f, 0.18f * std::sin(a)};
        cage.append(Mesh::tube(0.02f, 0.02f, 8), Frame::along(foot, foot + V3{0, 0.78f, 0}), 0, 0,
                    0.5f, 1);
    }
    b.shape(root, cage, b.material(rgb(255, 240, 210), rgb(20, 14, 6), 0.8f, 70), skin);

    NodeTransform* cell = b.transform(root, "powerCell");
    cell->setAxis(0, 1, 0);
    std::vector<ProfilePoint> core = {{0.0f, 0.1f},  {0.08f, 0.12f}, {0.12f, 0.2f}, {0.13f, 0.45f},
                                      {0.12f, 0.7f}, {0.08f, 0.78f}, {0.0f, 0.8f}};
    Mesh glow;
    glow.append(Mesh::lathe(core, 28), Frame(), 0.5f, 0, 1, 1);
    b.shape(cell, glow, b.material(rgb(160, 255, 255), rgb(70, 190, 210), 0.9f, 90), skin);
    return b.write("powerCell.qvr", root);
}

bool arrowCase(ModelBuilder& b) {
    ShapeTexture* skin = b.skin("arrowpickup.tga", arrowCaseSkin(), false);
    if (skin == nullptr)
        return false;
    // An upright quiver with five arrows showing; it spins about Y.
    NodeTransform* root = b.transform(nullptr, "arrowCase");
    root->setAxis(0, 1, 0);
    std::vector<ProfilePoint> quiver = {{0.0f, 0.0f},   {0.11f, 0.0f},   {0.125f, 0.03f},
                                        {0.14f, 0.3f},  {0.155f, 0.56f}, {0.165f, 0.6f},
                                        {0.15f, 0.61f}, {0.0f, 0.55f}};
    Mesh leather;
    leather.append(Mesh::lathe(quiver, 28, 0.02f, 11), Frame::at({0, 0, 0}).rotatedX(-8), 0, 0,
                   0.5f, 1);
    b.shape(root, leather, b.material(rgb(255, 255, 255), rgb(12, 8, 4), 0.2f, 15), skin);

    Mesh bands;
    for (float y : {0.08f, 0.52f})
        bands.append(ring(0.145f + y * 0.03f, 0.015f, 28), Frame::at({0, y, 0}).rotatedX(-8));
    b.shape(root, bands, b.material(rgb(190, 150, 70), rgb(20, 14, 4), 0.9f, 80), nullptr);

    Mesh arrows;
    for (int k = 0; k < 5; ++k) {
        float a = 2 * PI * static_cast<float>(k) / 5.0f;
        V3 base{0.06f * std::cos(a), 0.2f, 0.06f * std::sin(a)};
        V3 top = base + V3{0.05f * std::cos(a), 0.62f, 0.05f * std::sin(a) - 0.08f};
        arrows.append(Mesh::tube(0.012f, 0.012f, 6), Frame::along(base, top), 0.5f, 0.9f, 0.52f, 1);
        const V3 d = normalised(top - base);
        for (int v = 0; v < 3; ++v) {
            Mesh vane = Mesh::roundedBox({0.003f, 0.07f, 0.026f}, 0.002f, 1);
            Frame f = Frame::along(top - d * 0.09f, top - d * 0.09f + d)
                          .rotatedY(120.0f * static_cast<float>(v) + 37.0f * static_cast<float>(k));
            f.origin = f.origin + f.az * 0.036f;
            arrows.append(vane, f, 0.5f, 0, 1, 1);
        }
    }
    b.shape(root, arrows, b.material(rgb(255, 255, 255), rgb(10, 10, 10), 0.3f, 30), skin);
    return b.write("arrowPickup.qvr", root);
}

}  // namespace

bool generateModels(const std::string& root) {
    const std::string folder = root + "/models";
    if (!makeFolder(folder))
        return false;
    bool (*const builders[])(ModelBuilder&) = {ghost,      crossbow,  arrow,    mace,
                                               healthPack, powerCell, arrowCase};
    for (auto build : builders) {
        ModelBuilder builder(folder);
        if (!build(builder))
            return false;
    }
    return true;
}

}  // namespace datagen
