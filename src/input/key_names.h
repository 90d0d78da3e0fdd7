#pragma once
#include <string>

// The name the options screen shows for a key code: "[L Mouse]", "W",
// "[Num5]", "[F11]", ... and "[none]" for codes that have no name.
std::string keyName(int code);
