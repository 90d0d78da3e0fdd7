#pragma once
#include <string>

// Replaces a file as a whole: the contents go to a temporary file beside it,
// which is flushed to disk and then renamed over the old file. A crash or a
// full disk in the middle of the write leaves the previous file untouched.
// The folder of the file is created when it is missing. Returns false (and
// leaves the old file and no temporary file behind) when anything fails,
// with the reason in *reason when one is given.
bool writeFileAtomically(const std::string& path, const std::string& contents,
                         std::string* reason = nullptr);

// The player's own files (settings, bindings, high scores), written as
// above. A failure shows no box, as the game goes on with what it holds,
// but the log says "Can not save <path>: <reason>".
bool saveOrLog(const std::string& path, const std::string& contents);
