// The high score file: read, a score entered with the map it was made on,
// written and read again; the table read back must be the one written.
#include <cstdlib>

#include "fuzz_support.h"
#include "game/high_scores.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string path = fuzzEnvironment().write(data, size, "data.dat");
    HighScoreTable table(path);
    table.loadHighScores();
    if (table.isHighScore(500)) {
        table.saveHighScores(true, 500, "Fuzzy", "fuzz map.png");
    }
    const std::string written = HighScoreTable::format(table.entries());
    HighScoreTable again(path);
    again.loadHighScores();
    if (HighScoreTable::format(again.entries()) != written) {
        std::abort();
    }
    return 0;
}
