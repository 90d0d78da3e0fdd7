#pragma once
#include <functional>
#include <string>
#include <vector>

struct HighScoreEntry {
    int score = 0;
    std::string name;
    // The label of the map the score was made on; empty when not noted
    // (tables written before maps were noted, and the default entries).
    std::string map;
};

// The high score table, best first, and its text file: the number of
// entries, then a score line and a name line per entry. When any entry
// notes its map, a line "maps" follows with one map label per entry; a
// reader that knows only the entries stops before it.
class HighScoreTable {
public:
    static constexpr const char* DEFAULT_FILE = "save/data.dat";
    static constexpr int DEFAULT_ENTRIES = 8;
    static constexpr std::size_t MAX_NAME_LENGTH = 16;

    explicit HighScoreTable(std::string fileName = DEFAULT_FILE);

    // Reads the file; a missing file is replaced by the default table. A
    // damaged file yields the entries that could be read.
    void loadHighScores();
    // True when the score reaches at least one entry.
    bool isHighScore(int score) const;
    // With insertCurrent, puts {score, name, map} above the first entry it
    // reaches and drops the last one; then writes the file.
    void saveHighScores(bool insertCurrent, int score, const std::string& name,
                        const std::string& map = "");

    const std::vector<HighScoreEntry>& entries() const { return m_entries; }
    // Called after every load and save, so the high score list can show the table.
    void setRefreshHook(std::function<void(const std::vector<HighScoreEntry>&)> hook) {
        m_refresh = std::move(hook);
    }

    static std::string format(const std::vector<HighScoreEntry>& entries);

private:
    bool write() const;
    void refresh();

    std::string m_fileName;
    std::vector<HighScoreEntry> m_entries;
    std::function<void(const std::vector<HighScoreEntry>&)> m_refresh;
};
