#include "game/high_scores.h"

#include <fstream>
#include <sstream>

#include "app/atomic_file.h"
#include "game/map_selection.h"

namespace {

const char* const MAPS_LINE = "maps";

// The map labels after the entries, one line each; a table without them, or
// with fewer, keeps its entries unnoted.
void readMapLabels(std::istream& in, std::vector<HighScoreEntry>& entries) {
    std::string word;
    if (!(in >> word) || word != MAPS_LINE) {
        return;
    }
    std::string line;
    std::getline(in, line);  // the rest of the "maps" line
    for (HighScoreEntry& entry : entries) {
        if (!std::getline(in, line)) {
            return;
        }
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        entry.map = printableLabel(line);
    }
}

}  // namespace

HighScoreTable::HighScoreTable(std::string fileName) : m_fileName(std::move(fileName)) {}

void HighScoreTable::loadHighScores() {
    m_entries.clear();
    std::ifstream in(m_fileName);
    if (!in) {
        m_entries.assign(DEFAULT_ENTRIES, HighScoreEntry{0, "<none>", ""});
        write();
        refresh();
        return;
    }
    // The count is only a bound on the loop: the entries come from what the
    // file really holds, so a huge or negative count allocates nothing.
    long long count = 0;
    if (in >> count) {
        for (long long i = 0; i < count; ++i) {
            HighScoreEntry entry;
            if (!(in >> entry.score >> entry.name)) {
                break;
            }
            if (entry.name.size() > MAX_NAME_LENGTH) {
                entry.name.resize(MAX_NAME_LENGTH);
            }
            m_entries.push_back(std::move(entry));
        }
        if (static_cast<long long>(m_entries.size()) == count) {
            readMapLabels(in, m_entries);
        }
    }
    refresh();
}

bool HighScoreTable::isHighScore(int score) const {
    for (const HighScoreEntry& entry : m_entries) {
        if (score >= entry.score) {
            return true;
        }
    }
    return false;
}

void HighScoreTable::saveHighScores(bool insertCurrent, int score, const std::string& name,
                                    const std::string& map) {
    if (insertCurrent) {
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
            if (it->score <= score) {
                m_entries.insert(it, HighScoreEntry{score, name.substr(0, MAX_NAME_LENGTH),
                                                    printableLabel(map)});
                m_entries.pop_back();
                break;
            }
        }
    }
    write();
    refresh();
}

std::string HighScoreTable::format(const std::vector<HighScoreEntry>& entries) {
    std::ostringstream out;
    out << entries.size() << '\n';
    bool mapsNoted = false;
    for (const HighScoreEntry& entry : entries) {
        out << entry.score << '\n' << entry.name << '\n';
        mapsNoted = mapsNoted || !entry.map.empty();
    }
    if (mapsNoted) {
        out << MAPS_LINE << '\n';
        for (const HighScoreEntry& entry : entries) {
            out << entry.map << '\n';
        }
    }
    return out.str();
}

// The screens go on showing the table whether it was saved or not.
bool HighScoreTable::write() const {
    return saveOrLog(m_fileName, format(m_entries));
}

void HighScoreTable::refresh() {
    if (m_refresh) {
        m_refresh(m_entries);
    }
}
