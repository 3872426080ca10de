#include "plugin/BanListFormat.h"

#include <optional>

#include "state/TextReaders.h"

namespace tolvane::plugin {

namespace {

enum class Kind { IP, Name, Filter, Alias };
constexpr Kind kKinds[] = {Kind::IP, Kind::Name, Kind::Filter, Kind::Alias};

std::string StripBlanks(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

std::string UpperCase(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

struct Entry {
    Kind kind;
    std::string value;
};

// The kind is matched ignoring case and surrounding blanks ("name : Bot" is a name ban).
std::optional<Entry> ReadEntry(const std::string& line) {
    const auto colon = line.find(':');
    if (colon == std::string::npos) return std::nullopt;
    const std::string kind = UpperCase(StripBlanks(line.substr(0, colon)));
    const std::string value = StripBlanks(line.substr(colon + 1));
    if (kind == "IP") return Entry{Kind::IP, value};
    if (kind == "NAME") return Entry{Kind::Name, value};
    if (kind == "FILTER") return Entry{Kind::Filter, value};
    if (kind == "ALIAS") return Entry{Kind::Alias, value};
    return std::nullopt;
}

const std::vector<std::string>& Rows(const BanLists& l, Kind k) {
    switch (k) {
        case Kind::IP: return l.ip;
        case Kind::Name: return l.name;
        case Kind::Filter: return l.filter;
        case Kind::Alias: break;
    }
    return l.alias;
}

// An address row already begins with its blank, so "IP:" takes no blank of its own.
const char* LinePrefix(Kind k) {
    switch (k) {
        case Kind::IP: return "IP:";
        case Kind::Name: return "Name: ";
        case Kind::Filter: return "Filter: ";
        case Kind::Alias: break;
    }
    return "Alias: ";
}

}  // namespace

// The list is read a line at a time, as the plug-in reads it: a comma or a double quote neither
// splits nor changes a line, so notes and entries holding them survive whole, and a line that is
// no entry is written back exactly, trailing blanks included.
BanLists ParseBanList(const std::string& content) {
    BanLists lists;
    for (const std::string& line : SplitLines(content)) {
        const auto entry = ReadEntry(line);
        if (!entry) continue;
        switch (entry->kind) {
            case Kind::IP: lists.ip.push_back(" " + entry->value); break;
            case Kind::Name: lists.name.push_back(entry->value); break;
            case Kind::Filter: lists.filter.push_back(entry->value); break;
            case Kind::Alias: lists.alias.push_back(entry->value); break;
        }
    }
    return lists;
}

std::string BuildBanList(const BanLists& lists, const std::string& oldContent) {
    std::string out;
    bool written[4] = {false, false, false, false};
    auto writeKind = [&](Kind k) {
        written[static_cast<int>(k)] = true;
        for (const std::string& row : Rows(lists, k)) out += LinePrefix(k) + row + "\r\n";
    };
    for (const std::string& line : SplitLines(oldContent)) {
        const auto entry = ReadEntry(line);
        if (!entry) {
            out += line + "\r\n";
        } else if (!written[static_cast<int>(entry->kind)]) {
            writeKind(entry->kind);
        }
    }
    for (Kind k : kKinds)
        if (!written[static_cast<int>(k)]) writeKind(k);
    return out;
}

}  // namespace tolvane::plugin
