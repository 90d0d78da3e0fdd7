#pragma once
// PRIVATE HEADER: only src/audio (and its tests, tools and benchmarks) include this.
#include <AL/al.h>

#include <string>

// The OpenAL name that marks "no object": all bits set.
constexpr ALuint NO_AL_NAME = 0xFFFFFFFFu;

// 16-bit mono and stereo, the two formats the decoders produce.
constexpr ALenum FORMAT_MONO16 = 0x1101;
constexpr ALenum FORMAT_STEREO16 = 0x1103;

// True when the name ends in ".ogg", in any letter case.
bool hasOggExtension(const std::string& fileName);

// The text libvorbisfile gives an error code, or null when it has none.
const char* vorbisErrorText(int code);

// Shows the text libvorbisfile gives an error code, when it has one; for any
// other code the message already stored stays (and is not shown). Main
// thread only.
void applyVorbisErrorText(int code);

// The slot checks shared by sound sources (kind "SourceID") and streams
// ("StreamID"). A slot number outside the tables must never index them: it
// is reported like an invalid slot instead.
bool slotInRange(const char* kind, int id, int slotCount);
// The slot holds a live OpenAL source; reported, shown and reset when not.
bool slotInUse(const char* kind, int id, ALuint sourceName);
