#pragma once
// The map catalogue maps.lst: one map a line, its name, a blank and its description in double
// quotes (`q2dm1 "The Edge"`). Read a line at a time, as the engines' map menus read it, so a
// description holding a comma stays whole. Lines that are not entries (comments, blank lines,
// anything without a blank or without two double quotes) are kept and written back.
#include <string>
#include <string_view>
#include <vector>

namespace tolvane::maps {

struct MapsLstLine {
    std::string text;          // the line as read, without its line end
    bool isEntry = false;
    std::string name;          // entries only: the text before the first blank
    std::string description;   // entries only: the text between the first two double quotes
};

// Every line of the file, in order (CR LF, a lone CR and a lone LF end a line).
std::vector<MapsLstLine> ParseMapsLst(const std::string& content);

// The entries alone, in order, as views into the content: the name and description of each
// line ParseMapsLst calls an entry.
struct MapsLstEntry {
    std::string_view name;
    std::string_view description;
};
std::vector<MapsLstEntry> MapsLstEntries(std::string_view content);

// The first word of a map list line: the text before the first blank, leading blanks skipped
// (a line without a blank is all name). Empty for a line of blanks.
std::string MapListLineName(const std::string& line);

// The map names of the base game's map list, one a line: each line's MapListLineName.
std::vector<std::string> BaseMapListNames(const std::string& content);

// A catalogue row as the list shows it: description + " [" + name + "]".
std::string CatalogueRow(std::string_view name, std::string_view description);
// Splits a row at its last " [" (so a description holding "[" survives): the description is
// what lies before, the name what lies after less its last character (the "]"). A row without
// " [" is all name.
void SplitCatalogueRow(const std::string& row, std::string& description, std::string& name);

// The file for the catalogue rows, given the file as it was (empty when there was none). Each
// row becomes `name "description"` ended by CR LF. The old file's other lines are kept: those
// before its first entry at the top, each other one right after the entry it followed (moving
// with it), or at the end when that entry is no longer listed. A row still as read keeps its
// line exactly as it was.
std::string BuildMapsLst(const std::vector<std::string>& rows, const std::string& oldContent);

}  // namespace tolvane::maps
