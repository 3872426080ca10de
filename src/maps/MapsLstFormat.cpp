#include "maps/MapsLstFormat.h"

#include <deque>
#include <unordered_map>

#include "state/TextReaders.h"

namespace tolvane::maps {

namespace {

// Blanks between words: spaces, and tabs as the engines' parser takes them.
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::size_t SkipBlanks(const std::string& line) {
    std::size_t at = 0;
    while (at < line.size() && IsBlank(line[at])) ++at;
    return at;
}

}  // namespace

std::string MapListLineName(const std::string& line) {
    const std::size_t start = SkipBlanks(line);
    std::size_t end = start;
    while (end < line.size() && !IsBlank(line[end])) ++end;
    return line.substr(start, end - start);
}

std::vector<std::string> BaseMapListNames(const std::string& content) {
    std::vector<std::string> names;
    for (const auto& line : SplitLines(content)) names.push_back(MapListLineName(line));
    return names;
}

namespace {

// Whether a line is an entry: a name (the text before the first blank, blanks before it
// skipped) followed by a blank, and a description between the first two double quotes.
bool ReadEntry(std::string_view text, std::string_view& name, std::string_view& description) {
    std::size_t start = 0;
    while (start < text.size() && IsBlank(text[start])) ++start;
    std::size_t blank = start;
    while (blank < text.size() && !IsBlank(text[blank])) ++blank;
    const std::size_t open = text.find('"', start);
    const std::size_t close = open == std::string_view::npos ? open : text.find('"', open + 1);
    if (blank == start || blank == text.size() || close == std::string_view::npos) return false;
    name = text.substr(start, blank - start);
    description = text.substr(open + 1, close - open - 1);
    return true;
}

}  // namespace

std::vector<MapsLstLine> ParseMapsLst(const std::string& content) {
    std::vector<MapsLstLine> lines;
    ForEachLine(content, [&lines](std::string_view text) {
        MapsLstLine line;
        std::string_view name, description;
        if (ReadEntry(text, name, description)) {
            line.isEntry = true;
            line.name = name;
            line.description = description;
        }
        line.text = text;
        lines.push_back(std::move(line));
    });
    return lines;
}

std::vector<MapsLstEntry> MapsLstEntries(std::string_view content) {
    std::vector<MapsLstEntry> entries;
    ForEachLine(content, [&entries](std::string_view text) {
        MapsLstEntry entry;
        if (ReadEntry(text, entry.name, entry.description)) entries.push_back(entry);
    });
    return entries;
}

std::string CatalogueRow(std::string_view name, std::string_view description) {
    std::string row;
    row.reserve(description.size() + name.size() + 3);
    row.append(description).append(" [").append(name).append("]");
    return row;
}

void SplitCatalogueRow(const std::string& row, std::string& description, std::string& name) {
    const std::size_t cut = row.rfind(" [");
    if (cut == std::string::npos) {
        description.clear();
        name = row;
        return;
    }
    description = row.substr(0, cut);
    name = row.substr(cut + 2);
    if (!name.empty()) name.pop_back();
}

std::string BuildMapsLst(const std::vector<std::string>& rows, const std::string& oldContent) {
    // The old file as entries, each with the other lines that followed it.
    struct OldEntry {
        std::string line;
        std::string name;
        std::string description;
        std::vector<std::string> followers;
        bool claimed = false;
    };
    std::vector<std::string> head;
    std::vector<OldEntry> entries;
    for (auto& line : ParseMapsLst(oldContent)) {
        if (line.isEntry) entries.push_back({std::move(line.text), std::move(line.name), std::move(line.description), {}, false});
        else if (entries.empty()) head.push_back(std::move(line.text));
        else entries.back().followers.push_back(std::move(line.text));
    }

    // Each row takes the first unclaimed old entry with the same row text; a row left over (a
    // renamed description) takes the first unclaimed old entry of its map. Both in file order,
    // so a map listed twice keeps its lines in order.
    std::unordered_map<std::string, std::deque<std::size_t>> byRow;
    std::unordered_map<std::string, std::deque<std::size_t>> byName;
    for (std::size_t i = 0; i < entries.size(); ++i)
        byRow[CatalogueRow(entries[i].name, entries[i].description)].push_back(i);
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::vector<std::size_t> match(rows.size(), kNone);
    std::vector<bool> asRead(rows.size(), false);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        auto it = byRow.find(rows[r]);
        if (it == byRow.end() || it->second.empty()) continue;
        match[r] = it->second.front();
        it->second.pop_front();
        entries[match[r]].claimed = true;
        asRead[r] = true;
    }
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (!entries[i].claimed) byName[entries[i].name].push_back(i);
    std::vector<std::string> names(rows.size()), descriptions(rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        SplitCatalogueRow(rows[r], descriptions[r], names[r]);
        if (match[r] != kNone) continue;
        auto it = byName.find(names[r]);
        if (it == byName.end() || it->second.empty()) continue;
        match[r] = it->second.front();
        it->second.pop_front();
        entries[match[r]].claimed = true;
    }

    std::string out;
    for (const auto& line : head) out += line + "\r\n";
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (asRead[r]) out += entries[match[r]].line + "\r\n";
        else out += names[r] + " \"" + descriptions[r] + "\"\r\n";
        if (match[r] != kNone)
            for (const auto& line : entries[match[r]].followers) out += line + "\r\n";
    }
    for (const auto& entry : entries)
        if (!entry.claimed)
            for (const auto& line : entry.followers) out += line + "\r\n";
    return out;
}

}  // namespace tolvane::maps
