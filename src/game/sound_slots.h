#pragma once
#include "audio/audio_manager.h"

// Every sound source and music stream slot the game uses. The menus fill
// their slots once at start; a level fills Footsteps to Heartbeat and the play
// and game-over streams, and leaving the level empties them again.
enum class Sound : SourceID {
    MenuButton = 1,
    Footsteps = 2,
    RadarOn = 3,
    RadarOff = 4,
    RadarBeep = 5,
    Miss = 6,
    Hit = 7,
    CrossbowShoot = 8,
    CrossbowLoad = 9,
    PickupArrows = 10,
    PickupHealth = 11,
    PickupPower = 12,
    GhostAttack = 13,
    Ghost = 14,
    Heartbeat = 15,
};
constexpr Sound FIRST_LEVEL_SOUND = Sound::Footsteps;
constexpr Sound LAST_LEVEL_SOUND = Sound::Heartbeat;

enum class Music : StreamID {
    Intro = 0,
    Menu = 1,
    Play = 2,
    GameOver = 3,
};
constexpr Music FIRST_LEVEL_MUSIC = Music::Play;
constexpr Music LAST_LEVEL_MUSIC = Music::GameOver;

constexpr SourceID slotOf(Sound sound) {
    return static_cast<SourceID>(sound);
}

constexpr StreamID slotOf(Music music) {
    return static_cast<StreamID>(music);
}

// Tests and tools run the game's objects without an audio device; every
// call then does nothing.
inline void playSound(Sound sound, bool loop = false) {
    if (AudioManager* audio = audioManager()) {
        audio->playSource(slotOf(sound), loop);
    }
}

inline void stopSound(Sound sound) {
    if (AudioManager* audio = audioManager()) {
        audio->stopSource(slotOf(sound));
    }
}

inline bool isSoundPlaying(Sound sound) {
    AudioManager* audio = audioManager();
    return audio && audio->isSourcePlaying(slotOf(sound));
}

inline void playMusic(Music music) {
    if (AudioManager* audio = audioManager()) {
        audio->playStream(slotOf(music));
    }
}
