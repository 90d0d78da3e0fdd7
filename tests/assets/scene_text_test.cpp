// The scene text reader without a GL context: field lookup, every resource
// record, transforms and shapes, the nesting rules and every message.
// Lights and textures need the context and are in scene_text_gltest.cpp.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/error_reporter.h"
#include "assets/scene_text.h"
#include "assets/scene_text_record.h"
#include "assets/texture_manager.h"
#include "scene/geometry_primitives.h"
#include "scene/material.h"
#include "scene/node.h"
#include "scene/node_shape.h"
#include "scene/scene.h"
#include "support/message_box_recorder.h"
#include "support/temp_dir.h"

namespace {

TEST(FindKeywordValue, ConvertsEveryValueType) {
    char text[SCENE_TEXT_STRING_SIZE];
    EXPECT_EQ(findKeywordValue("file_", " file_a/b.tga mip_0", ValueType::String, text),
              KeywordResult::Found);
    EXPECT_STREQ(text, "a/b.tga");
    int number = -1;
    EXPECT_EQ(findKeywordValue("num_", " num_12 x", ValueType::Int, &number), KeywordResult::Found);
    EXPECT_EQ(number, 12);
    EXPECT_EQ(findKeywordValue("num_", " num_abc", ValueType::Int, &number), KeywordResult::Found);
    EXPECT_EQ(number, 0);  // not a number reads as 0, never as a failure
    float f = 0.0f;
    EXPECT_EQ(findKeywordValue("rad_", " rad_2.5", ValueType::Float, &f), KeywordResult::Found);
    EXPECT_FLOAT_EQ(f, 2.5f);
    Vector2 v2;
    EXPECT_EQ(findKeywordValue("scale_", " scale_2,3", ValueType::Vec2, &v2), KeywordResult::Found);
    EXPECT_FLOAT_EQ(v2.y, 3.0f);
    Vector3 v3;
    EXPECT_EQ(findKeywordValue("pos_", " pos_1,-2,3.5", ValueType::Vec3, &v3),
              KeywordResult::Found);
    EXPECT_EQ(v3, Vector3(1.0f, -2.0f, 3.5f));
    float c[4] = {};
    EXPECT_EQ(findKeywordValue("amb_", " amb_0.1,0.2,0.3,0.4", ValueType::Vec4, c),
              KeywordResult::Found);
    EXPECT_FLOAT_EQ(c[3], 0.4f);
}

TEST(FindKeywordValue, MissingInvalidDuplicateAndCase) {
    float f = 7.0f;
    EXPECT_EQ(findKeywordValue("wid_", " dep_2", ValueType::Float, &f), KeywordResult::Missing);
    EXPECT_EQ(findKeywordValue("wid_", " wid_ dep_2", ValueType::Float, &f),
              KeywordResult::Invalid);
    EXPECT_FLOAT_EQ(f, 7.0f);
    Vector3 v;
    EXPECT_EQ(findKeywordValue("pos_", " pos_1,2", ValueType::Vec3, &v), KeywordResult::Invalid);
    char text[SCENE_TEXT_STRING_SIZE] = "old";
    EXPECT_EQ(findKeywordValue("name_", " name_", ValueType::String, text), KeywordResult::Invalid);
    EXPECT_STREQ(text, "");  // strings are cleared before converting

    // A second occurrence after the value is a duplicate; the value is still written.
    EXPECT_EQ(findKeywordValue("wid_", " wid_2 wid_3", ValueType::Float, &f),
              KeywordResult::Duplicate);
    EXPECT_FLOAT_EQ(f, 2.0f);
    // Plain substring search: the keyword is found inside a longer word too.
    EXPECT_EQ(findKeywordValue("id_", " geoid_5", ValueType::Float, &f), KeywordResult::Found);
    EXPECT_FLOAT_EQ(f, 5.0f);
    // Keywords with capitals match lower-cased lines and the other way round.
    int n = 0;
    EXPECT_EQ(findKeywordValue("numH_", " numh_30", ValueType::Int, &n), KeywordResult::Found);
    EXPECT_EQ(n, 30);
    EXPECT_EQ(findKeywordValue("numh_", " NUMH_31", ValueType::Int, &n), KeywordResult::Found);
    EXPECT_EQ(n, 31);
}

class SceneTextTest : public ::testing::Test {
protected:
    TempDir dir;
    MessageBoxRecorder boxes;
    ErrorReporter reporter{nullptr, false};
    Scene scene;
    TextureManager textures;
    SceneTextReader reader{scene, textures, 3};

    std::string path() const { return dir.file("scene.lvl"); }

    // Loads text and returns the shown messages.
    std::vector<std::string> load(const std::string& text) {
        writeFile(path(), text);
        boxes.clear();
        reader.loadSceneText(path().c_str(), 1);
        std::vector<std::string> shown;
        for (const auto& box : boxes.boxes()) {
            shown.push_back(box.text);
        }
        return shown;
    }

    NodeShape* shape(NodeID id) const {
        Node* node = scene.node(id);
        return node != nullptr && node->isShape() ? static_cast<NodeShape*>(node) : nullptr;
    }
    NodeTransform* transform(NodeID id) const {
        Node* node = scene.node(id);
        return node != nullptr && node->isTransform() ? static_cast<NodeTransform*>(node) : nullptr;
    }
};

TEST_F(SceneTextTest, ResourceRecordsTakeTheirFieldsAndDefaults) {
    auto shown = load(
        "Box GeoID_4 WID_2 name_wall\n"
        "cylinder geoid_5 num_8 rad_0.5 smooth_0 hei_3\n"
        "grid geoid_6 wid_4 dep_2 divx_2 divz_3\n"
        "sphere geoid_7 numH_30 numV_8 rad_2\n"
        "box name_early geoid_8\n"
        "box geoid_9 wid_ dep_2\n"
        "material matid_4 amb_0.1,0.2,0.3,1 dif_1,0,0,0.5 spec_0,1,0,1 emiss_0,0,1,1 shine_40\n"
        "material matid_5 dif_2,-1,0.5,1 amb_0.5\n"
        "textfm textfmid_4 scale_2,3 rot_45 cent_0.5,0.5 trans_0.25,0\n");
    EXPECT_TRUE(shown.empty()) << shown[0];
    ASSERT_EQ(scene.geometryCount(), 6u);

    auto* box = dynamic_cast<GeometryBox*>(scene.geometry(1));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->getSize(), Vector3(2.0f, 1.0f, 1.0f));  // width 2, height and depth 1
    EXPECT_EQ(box->name(), "wall");

    auto* cylinder = dynamic_cast<GeometryCylinder*>(scene.geometry(2));
    ASSERT_NE(cylinder, nullptr);
    EXPECT_EQ(cylinder->numSides(), 8);
    ASSERT_NE(cylinder->vertices(), nullptr);

    auto* grid = dynamic_cast<GeometryFlatGrid*>(scene.geometry(3));
    ASSERT_NE(grid, nullptr);
    ASSERT_NE(grid->vertices(), nullptr);
    EXPECT_EQ(grid->vertices()[0], Vector3(-2.0f, 0.0f, -1.0f));  // width 4, depth 2
    EXPECT_EQ(grid->vertices()[2], Vector3(2.0f, 0.0f, -1.0f));   // two divisions along x

    auto* sphere = dynamic_cast<GeometrySphere*>(scene.geometry(4));
    ASSERT_NE(sphere, nullptr);
    EXPECT_EQ(sphere->numH(), 30);
    EXPECT_EQ(sphere->numV(), 8);

    // name_ right after the keyword lies before where names are searched.
    auto* early = dynamic_cast<GeometryBox*>(scene.geometry(5));
    ASSERT_NE(early, nullptr);
    EXPECT_EQ(early->name(), "");
    // An empty value is invalid and takes the default.
    auto* emptyWidth = dynamic_cast<GeometryBox*>(scene.geometry(6));
    ASSERT_NE(emptyWidth, nullptr);
    EXPECT_EQ(emptyWidth->getSize(), Vector3(1.0f, 1.0f, 2.0f));

    ASSERT_EQ(scene.materialCount(), 2u);
    const Material* m = scene.material(1);
    EXPECT_TRUE(m->m_cAmbient.equals(0.1f, 0.2f, 0.3f, 1.0f));
    EXPECT_TRUE(m->m_cDiffuse.equals(1.0f, 0.0f, 0.0f, 0.5f));
    EXPECT_TRUE(m->m_cSpecular.equals(0.0f, 1.0f, 0.0f, 1.0f));
    EXPECT_TRUE(m->m_cEmissive.equals(0.0f, 0.0f, 1.0f, 1.0f));
    EXPECT_FLOAT_EQ(m->m_fShininess, 40.0f);
    // Colours are clamped; an incomplete colour keeps the constructor's value.
    const Material* clamped = scene.material(2);
    EXPECT_TRUE(clamped->m_cDiffuse.equals(1.0f, 0.0f, 0.5f, 1.0f));
    EXPECT_TRUE(clamped->m_cAmbient.equals(0.2f, 0.2f, 0.2f, 1.0f));

    ASSERT_EQ(scene.textureTransformCount(), 1u);
    const TextureTransform* t = scene.textureTransform(1);
    EXPECT_FLOAT_EQ(t->m_vScale.x, 2.0f);
    EXPECT_FLOAT_EQ(t->m_vScale.y, 3.0f);
    EXPECT_FLOAT_EQ(t->m_fRotation, 45.0f);
    EXPECT_FLOAT_EQ(t->m_vCentre.x, 0.5f);
    EXPECT_FLOAT_EQ(t->m_vTranslation.x, 0.25f);
}

TEST_F(SceneTextTest, NodesAreWiredToTheResourcesTheyName) {
    auto shown = load(
        "box geoid_1\n"
        "material matid_1 dif_1,0,0,1\n"
        "textfm textfmid_3 rot_90\n"
        "transform name_Hall vis_0 trans_1,2,3 cent_0,1,0 scale_2,2,2 axis_0,2,0 angle_30\n"
        "+shape geoid_1 name_crate matid_1 textfmid_3\n"
        "+transform name_inner\n"
        "++shape geoid_1\n");
    EXPECT_TRUE(shown.empty()) << shown[0];
    ASSERT_EQ(scene.nodeCount(), 4u);
    NodeTransform* hall = transform(1);
    ASSERT_NE(hall, nullptr);
    EXPECT_STREQ(hall->getName(), "hall");  // the whole line is lower-cased
    EXPECT_FALSE(hall->isVisible());
    EXPECT_EQ(hall->m_vTranslation, Vector3(1, 2, 3));
    EXPECT_EQ(hall->m_vCentre, Vector3(0, 1, 0));
    EXPECT_EQ(hall->m_vScale, Vector3(2, 2, 2));
    EXPECT_EQ(hall->axis(), Vector3(0, 1, 0));  // normalised
    EXPECT_FLOAT_EQ(hall->m_fAngle, 30.0f);

    NodeShape* crate = shape(2);
    ASSERT_NE(crate, nullptr);
    EXPECT_STREQ(crate->getName(), "crate");
    EXPECT_EQ(crate->getParent(), hall);
    EXPECT_EQ(crate->geometry(), scene.geometry(1));
    EXPECT_EQ(crate->material(), scene.material(1));
    EXPECT_EQ(crate->textureTransform(), scene.textureTransform(1));
    EXPECT_EQ(crate->texture(), nullptr);

    NodeShape* deep = shape(4);
    ASSERT_NE(deep, nullptr);
    NodeTransform* inner = transform(3);
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(deep->getParent(), inner);
    EXPECT_EQ(inner->getParent(), hall);
}

TEST_F(SceneTextTest, EveryProblemIsShownWithItsMessageAndReadingGoesOn) {
    auto shown = load(std::string("// every message of the reader\n"  // 1
                                  "box wid_2\n"                       // 2
                                  "box geoid_1 wid_2\n"               // 3
                                  "box geoid_1 wid_3\n"               // 4
                                  "box geoid_2 wid_2 wid_3\n"         // 5
                                  "texture texid_1 mip_0\n"           // 6
                                  "shape geoid_1 name_x\n"            // 7
                                  "light type_point on_1\n"           // 8
                                  "+transform name_orphan\n"          // 9
                                  "transform name_top\n") +           // 10
                      std::string(33, '+') +
                      "shape geoid_1\n" +                            // 11
                      "+shape geoid_9 name_s\n"                      // 12
                      "+shape geoid_1 matid_7 texid_7 textfmid_7\n"  // 13
                      "+light type_lamp\n"                           // 14
                      "wall geoid_3 wid_2\n"                         // 15
                      "+thing name_x\n"                              // 16
                      "box 4\n"                                      // 17
                      "++shape geoid_1 name_under_a_shape\n"         // 18
                      "material matid_1 shine_1 shine_2\n"           // 19
                      "transform name_a name_b\n"                    // 20
                      "material\n");  // 21: nine characters with the line end are long enough
    const std::vector<std::string> expected = {
        "Did not find {geoid_} on Line 2.",
        "geoid_1 used more than once.  Error on line 4.",
        "keyword {wid_} found more than once on Line 5.",
        "Filename missing for texture node on Line 6.",
        "Shape node must be nested under a transform node on Line 7.",
        "Light node must be nested under a transform node on Line 8.",
        "Invalid nesting of node on line 9.  Missing node at previous depth.",
        "Node on line 11 is nested too deep.  Maximum is 32.",
        "Error on line 12. geoID_9 not found.",
        "matid_7 on Line 13 is invalid.",
        "texid_7 on Line 13 is invalid.",
        "textfmid_7 on Line 13 is invalid.",
        "{lamp} is an invalid light type on Line 14.",
        "Unrecognized keyword on line 15:\nwall geoid_3 wid_2.",
        "Unrecognized keyword on line 16:\n+thing name_x.",
        "Error on line 17 of " + path() + ".\n   Line of text is too short.",
        "Can not add this Node under NodeID=2.\nNodeID=2 is not a transform node.",
        "keyword {shine_} found more than once on Line 19.",
        "keyword {name_} found more than once on Line 20.",
        "Did not find {matid_} on Line 21.",
    };
    EXPECT_EQ(shown, expected);
    for (const auto& box : boxes.boxes()) {
        if (box.text.rfind("Can not add", 0) == 0) {
            EXPECT_EQ(box.caption, ErrorReporter::captionFor(ERROR_GAME));
        } else {
            EXPECT_EQ(box.caption, ErrorReporter::captionFor(ERROR_GENERAL)) << box.text;
        }
    }
    // Only geometry 1, the top transform and the shape of line 13 were added;
    // the duplicated material and transform were not.
    EXPECT_EQ(scene.geometryCount(), 1u);
    EXPECT_EQ(scene.materialCount(), 0u);
    EXPECT_EQ(scene.nodeCount(), 2u);
    // Each message was reset after it was shown.
    EXPECT_EQ(reporter.getErrorKind(), ERROR_NONE);
    EXPECT_EQ(reporter.getMessage(), "No Error.");

    reader.loadSceneText(dir.file("missing.lvl").c_str(), 1);
    ASSERT_FALSE(boxes.boxes().empty());
    EXPECT_EQ(boxes.boxes().back().text, "Can not find file {" + dir.file("missing.lvl") + "}.");
    reader.loadSceneText(nullptr, 1);  // nothing at all
}

TEST_F(SceneTextTest, DepthFollowsTheMostRecentNodeAtEachLevel) {
    auto shown = load(
        "box geoid_1\n"
        "transform name_first\n"
        "++transform name_too_deep\n"  // no node at depth 1 yet
        "+transform name_child\n"
        "transform name_second\n"
        "+shape geoid_1 name_s\n"  // under second
        "++transform name_deep\n");
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], "Invalid nesting of node on line 3.  Missing node at previous depth.");
    // Depth 1 now holds the shape, which cannot take children.
    EXPECT_EQ(shown[1], "Can not add this Node under NodeID=4.\nNodeID=4 is not a transform node.");
    NodeShape* s = shape(4);
    ASSERT_NE(s, nullptr);
    ASSERT_NE(s->getParent(), nullptr);
    EXPECT_STREQ(s->getParent()->getName(), "second");
    NodeTransform* child = transform(2);
    ASSERT_NE(child, nullptr);
    ASSERT_NE(child->getParent(), nullptr);
    EXPECT_STREQ(child->getParent()->getName(), "first");

    // 32 levels are allowed.
    std::string text = "transform name_l0\n";
    for (int d = 1; d <= 32; ++d) {
        text += std::string(static_cast<std::size_t>(d), '+') + "transform name_l" +
                std::to_string(d) + "\n";
    }
    shown = load(text);
    EXPECT_TRUE(shown.empty());
    Node* deepest = scene.findByName("l32");
    ASSERT_NE(deepest, nullptr);
    int depth = 0;
    for (Node* n = deepest->getParent(); n != nullptr; n = n->getParent()) {
        ++depth;
    }
    EXPECT_EQ(depth, 32);
}

TEST_F(SceneTextTest, EndStopsReadingAndTablesLiveForOneFile) {
    auto shown = load("END\nbox geoid_1\n");
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(scene.geometryCount(), 0u);

    shown = load(
        "box geoid_1\n"
        "\n"
        "END of the objects\n"
        "box geoid_2\n");
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(scene.geometryCount(), 1u);
    // Lower-case "end" is not the end marker.
    shown = load("end\n");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "Error on line 1 of " + path() + ".\n   Line of text is too short.");

    // A new file starts with empty tables: geoid_1 is free again, and a
    // shape cannot name the geometry of the previous file.
    shown = load("box geoid_1\ntransform name_t\n");
    EXPECT_TRUE(shown.empty());
    shown = load("transform name_u\n+shape geoid_7\nbox geoid_1\n");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "Error on line 2. geoID_7 not found.");
}

TEST_F(SceneTextTest, AnOverLongLineIsOneErrorAndTheLinesAroundItAreRead) {
    // 299 characters fit; 300 and a 10 000-character line are one message each.
    std::string fits = "box geoid_1 name_" + std::string(299 - 17, 'a');
    std::string over = "box geoid_2 name_" + std::string(300 - 17, 'b');
    std::string huge = "box geoid_3 name_" + std::string(10000, 'c');
    auto shown = load(fits + "\n" + over + "\n" + huge + "\nsphere geoid_4\n");
    const std::string tooLong = ".\n   Line of text is longer than 299 characters.";
    EXPECT_EQ(shown, (std::vector<std::string>{"Error on line 2 of " + path() + tooLong,
                                               "Error on line 3 of " + path() + tooLong}));
    ASSERT_EQ(scene.geometryCount(), 2u);
    EXPECT_EQ(scene.geometry(1)->name().size(), 255u);  // strings hold at most 255 characters
    EXPECT_NE(dynamic_cast<GeometrySphere*>(scene.geometry(2)), nullptr);
    // The last line of a file needs no line end, nor does an over-long one.
    shown = load("sphere geoid_1\n" + huge);
    EXPECT_EQ(shown, std::vector<std::string>{"Error on line 2 of " + path() + tooLong});
}

TEST_F(SceneTextTest, ControlCharactersRefuseTheLineAndAreShownEscaped) {
    struct Case {
        std::string line;
        std::string shown;
    } cases[] = {
        {"box geoid_1 name_a\x01z", "box geoid_1 name_a\\x01z"},
        {"box geoid_1 \x1b[31mred", "box geoid_1 \\x1B[31mred"},
        {std::string("box geoid_1 name_a\0b", 20), "box geoid_1 name_a\\x00b"},
        {"box geoid_1\rname_x", "box geoid_1\\x0Dname_x"},
        {"box geoid_1 name_" + std::string(100, '\x7f'), "box geoid_1 name_" +
                                                             [] {
                                                                 std::string s;
                                                                 for (int i = 0; i < 80 - 17; ++i)
                                                                     s += "\\x7F";
                                                                 return s;
                                                             }() +
                                                             "..."},
    };
    for (const Case& c : cases) {
        auto shown = load(c.line + "\ncyl geoid_2\n");
        ASSERT_EQ(shown.size(), 1u) << c.shown;
        EXPECT_EQ(shown[0], "Error on line 1 of " + path() +
                                ".\n   Line holds a control character:\n" + c.shown);
        EXPECT_EQ(scene.geometryCount(), 1u);  // the next line is still read
        scene.clearScene(1);
    }
    // Tabs are text, and a Windows line end is a line end.
    EXPECT_TRUE(load("box geoid_1\tname_t\r\n").empty());
}

TEST_F(SceneTextTest, NumbersThatDoNotFitOrAreNotFiniteRefuseTheLine) {
    struct Case {
        const char* line;
        const char* keyword;
    } cases[] = {
        {"box geoid_99999999999999999999", "geoid_"},
        {"box geoid_-2147483649", "geoid_"},
        {"sphere geoid_1 rad_inf", "rad_"},
        {"sphere geoid_1 rad_nan", "rad_"},
        {"box geoid_1 wid_1e999", "wid_"},
        {"cyl geoid_1 num_4294967296", "num_"},
        {"material matid_1 amb_0,0,inf,1", "amb_"},
        {"textfm textfmid_1 scale_nan,1", "scale_"},
        {"transform name_t trans_1,-inf,2", "trans_"},
        {"transform name_t angle_1e40", "angle_"},
    };
    for (const Case& c : cases) {
        auto shown = load(c.line);
        ASSERT_EQ(shown.size(), 1u) << c.line;
        EXPECT_EQ(shown[0],
                  std::string("The number after {") + c.keyword + "} on Line 1 is out of range.")
            << c.line;
        EXPECT_EQ(scene.geometryCount(), 0u) << c.line;
        EXPECT_EQ(scene.materialCount(), 0u) << c.line;
        scene.clearScene(1);
    }
    // Shapes: an id that does not fit names no geometry, not the one of -1.
    auto shown = load("box geoid_-1\ntransform name_t\n+shape geoid_18446744073709551615\n");
    EXPECT_EQ(shown,
              std::vector<std::string>{"The number after {geoid_} on Line 3 is out of range."});
    EXPECT_EQ(scene.nodeCount(), 1u);
    // The extremes that fit are ids like any other.
    EXPECT_TRUE(load("box geoid_2147483647\nbox geoid_-2147483648\n").empty());
    EXPECT_EQ(scene.geometryCount(), 3u);
}

TEST_F(SceneTextTest, TheVertexBudgetIsForTheWholeFile) {
    // 2000 x 999 vertices each: two fit the budget, the third does not, and
    // a box still fits after them.
    const std::string sphere = "sphere rad_1 numH_1999 numV_999 geoid_";
    auto shown = load(sphere + "1\n" + sphere + "2\n" + sphere + "3\nbox geoid_4\n");
    const std::string budget = ".\n   The shapes of this file need more than 4000000 vertices.";
    EXPECT_EQ(shown, std::vector<std::string>{"Error on line 3 of " + path() + budget});
    EXPECT_EQ(scene.geometryCount(), 3u);
    scene.clearScene(1);

    // One huge primitive is refused before anything is allocated.
    shown = load("grid geoid_1 divx_4000 divz_4000\nsphere geoid_2 numH_4000 numV_4000\n");
    EXPECT_EQ(shown, (std::vector<std::string>{"Error on line 1 of " + path() + budget,
                                               "Error on line 2 of " + path() + budget}));
    EXPECT_EQ(scene.geometryCount(), 0u);
    // A new file has the whole budget again.
    EXPECT_TRUE(load("grid geoid_1 divx_1000 divz_1000\n").empty());
}

TEST_F(SceneTextTest, UniqueIdsAreUniquePerKind) {
    auto shown = load(
        "box geoid_4\n"
        "sphere geoid_4\n"
        "material matid_4\n"
        "material matid_4\n"
        "textfm textfmid_4\n"
        "textfm textfmid_4\n"
        "texture texid_4 file_none.txt\n"
        "texture texid_4 file_none.txt\n");
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[0], "geoid_4 used more than once.  Error on line 2.");
    EXPECT_EQ(shown[1], "matid_4 used more than once.  Error on line 4.");
    EXPECT_EQ(shown[2], "textfmid_4 used more than once.  Error on line 6.");
    // The texture manager refuses the file itself, and the id is still taken.
    EXPECT_EQ(shown[3], "Game Engine can not load none.txt\nUnsupported image file type.");
    EXPECT_EQ(shown[4], "texid_4 used more than once.  Error on line 8.");
    EXPECT_EQ(scene.geometryCount(), 1u);
    EXPECT_EQ(scene.materialCount(), 1u);
    EXPECT_EQ(scene.textureTransformCount(), 1u);
}

TEST_F(SceneTextTest, ADuplicateFieldAfterAShapeWasAddedKeepsTheShape) {
    auto shown = load(
        "box geoid_1\n"
        "material matid_1\n"
        "transform name_t\n"
        "+shape geoid_1 name_a matid_1 matid_1\n"
        "+shape geoid_1 name_b name_c\n");
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], "keyword {matid_} found more than once on Line 4.");
    EXPECT_EQ(shown[1], "keyword {name_} found more than once on Line 5.");
    ASSERT_EQ(scene.nodeCount(), 3u);
    NodeShape* a = shape(2);
    NodeShape* b = shape(3);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_STREQ(a->getName(), "a");
    EXPECT_EQ(a->material(), nullptr);
    EXPECT_EQ(b->getName(), nullptr);
}

}  // namespace
