#pragma once
#include <AL/al.h>

#include <string>

// The OpenAL name that marks "no object": all bits set.
constexpr ALuint NO_AL_NAME = 0xFFFFFFFFu;

// 16-bit mono and stereo, the two formats the decoders produce.
constexpr ALenum FORMAT_MONO16 = 0x1101;
constexpr ALenum FORMAT_STEREO16 = 0x1103;

// True when the name ends in ".ogg", in any letter case.
bool hasOggExtension(const std::string& fileName);

// Shows the text libvorbisfile gives an error code, when it has one; for any
// other code the message already stored stays (and is not shown).
void applyVorbisErrorText(int code);
