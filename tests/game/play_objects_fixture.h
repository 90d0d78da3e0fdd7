#pragma once
// What the ghost, weapon and pickup tests share: a game clock that moves only
// when told to, the settings with the default controls, recorded message
// boxes, and model node trees built by hand with the names of the models.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/error_reporter.h"
#include "app/game_window.h"
#include "audio/audio_manager.h"
#include "game/sound_slots.h"
#include "input/control_table.h"
#include "input/game_settings.h"
#include "scene/node.h"
#include "scene/random.h"
#include "support/fake_clock.h"
#include "support/message_box_recorder.h"
#include "support/temp_dir.h"

// Owns hand-built nodes; links between them are set with attachTo.
class NodePool {
public:
    NodeTransform* make(const char* name, NodeTransform* parent = nullptr) {
        m_nodes.push_back(std::make_unique<NodeTransform>());
        NodeTransform* node = m_nodes.back().get();
        node->setName(name);
        if (parent) {
            node->attachTo(parent);
        }
        return node;
    }

    // The ghost model: the root with the jaw and the two arms.
    NodeTransform* ghost(const char* name = "ghost") {
        NodeTransform* root = make(name);
        make("jawBone", root);
        NodeTransform* right = make("R_Shoulder", root);
        make("R_hand", right);
        NodeTransform* left = make("L_Shoulder", root);
        make("L_hand", left);
        return root;
    }

    // The "HiddenWeapons" transform holding the three weapon models.
    NodeTransform* weapons() {
        NodeTransform* hidden = make("HiddenWeapons");
        make("mace", hidden);
        NodeTransform* weapon = make("weapon", hidden);
        make("stringL", weapon);
        make("stringR", weapon);
        make("pusher", weapon);
        make("arrow", hidden);
        return hidden;
    }

private:
    std::vector<std::unique_ptr<NodeTransform>> m_nodes;
};

// The game's clock, settings and error reporting, without a display.
class PlayObjectsTest : public ::testing::Test {
protected:
    PlayObjectsTest() : window(clock) {
        seedRandom(1234);
        settings.loadControls(nullptr);
        // The very first frame counts as a state change and reads 0 s; after
        // it the clock stands at 1 s, as in a game already going.
        clock.advanceSeconds(1.0);
        window.beginFrame();
    }

    // Moves the game clock on by one frame of the given length.
    void advance(double seconds) {
        clock.advanceSeconds(seconds);
        window.beginFrame();
    }
    float now() const { return static_cast<float>(window.totalTime()); }

    void hold(int action, bool down) {
        settings.setKeyDown(settings.controls().boundKey(action), down);
    }
    // A single press, as a key event leaves it.
    void press(int action) { hold(action, true); }

    std::vector<std::string> boxTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : boxes.boxes()) {
            texts.push_back(box.text);
        }
        return texts;
    }

    TempDir dir;
    ErrorReporter reporter{dir.file("ErrorLog.txt").c_str(), false};
    MessageBoxRecorder boxes;
    GameSettings settings{nullptr};
    FakeClock clock{1000000};
    GameWindow window;
    NodePool nodes;
};

// A working audio manager with nothing to play into, and the given sound
// slots filled with two seconds of silence, so tests can ask whether a slot
// is playing.
class SilentSlots {
public:
    explicit SilentSlots(const TempDir& dir, std::vector<Sound> slots) {
        // OpenAL reads its configuration once per process: the first device
        // opened decides. A caller that already chose one keeps it.
        ::setenv("ALSOFT_DRIVERS", "null", 0);
        std::string wav = dir.file("silence.wav");
        writeFile(wav, silenceWav(2.0));
        audio.init();
        for (Sound slot : slots) {
            audio.createSource(slotOf(slot), wav);
        }
    }
    bool usable() const { return !audio.isSilent(); }
    bool playing(Sound slot) { return audio.isSourcePlaying(slotOf(slot)); }

    AudioManager audio;

private:
    static std::string silenceWav(double seconds) {
        const std::uint32_t rate = 22050;
        const std::uint32_t dataBytes = static_cast<std::uint32_t>(seconds * rate) * 2;
        std::string out;
        auto u32 = [&out](std::uint32_t v) {
            for (int i = 0; i < 4; ++i) {
                out += static_cast<char>((v >> (8 * i)) & 0xFF);
            }
        };
        auto u16 = [&out](std::uint16_t v) {
            out += static_cast<char>(v & 0xFF);
            out += static_cast<char>(v >> 8);
        };
        out += "RIFF";
        u32(36 + dataBytes);
        out += "WAVEfmt ";
        u32(16);
        u16(1);  // PCM
        u16(1);  // mono
        u32(rate);
        u32(rate * 2);
        u16(2);
        u16(16);
        out += "data";
        u32(dataBytes);
        out += std::string(dataBytes, '\0');
        return out;
    }
};
