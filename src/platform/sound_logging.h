#pragma once

namespace platform {

// OpenAL Soft, and the ALSA library it loads, write their own diagnostics
// straight to the terminal: on a machine without a sound card a screen of
// them comes before the game's single log line about it. Unless the player
// set OpenAL Soft's own ALSOFT_LOGLEVEL (then both libraries speak as they
// would anywhere else), this turns both quiet. Call before audio starts.
void quietSoundLibraryLogging();

}  // namespace platform
