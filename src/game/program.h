#pragma once

// The whole program: start-up, the main loop and shutdown. Returns the exit
// code (0 normally, 1 for a second copy, -1 when the window cannot be made).
int runProgram(int argc, const char* const* argv);
