// Reads any bytes as the map catalogue maps.lst, saves the rows as read and in reverse order,
// reads each saved text and saves again: nothing may crash, the saved file must give back the
// rows it was made from, and the second save must equal the first.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstdio>

#include "FuzzSupport.h"
#include "maps/MapsLstFormat.h"

namespace {

using namespace tolvane::maps;

// The rows the catalogue shows for a file, as the start-up reads it.
std::vector<std::string> RowsOf(const std::string& text) {
    std::vector<std::string> rows;
    for (const auto& entry : MapsLstEntries(text)) rows.push_back(CatalogueRow(entry.name, entry.description));
    return rows;
}

void Require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

void SaveTwice(const std::vector<std::string>& rows, const std::string& old) {
    const std::string first = BuildMapsLst(rows, old);
    const std::vector<std::string> reread = RowsOf(first);
    Require(reread == rows, "the saved catalogue does not give back its rows");
    tolvane::fuzz::RequireSameSave(first, BuildMapsLst(reread, first));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    // The two readers of the file must agree on which lines are entries.
    std::vector<std::string> fromLines;
    for (const auto& line : ParseMapsLst(input))
        if (line.isEntry) fromLines.push_back(CatalogueRow(line.name, line.description));
    std::vector<std::string> rows = RowsOf(input);
    Require(fromLines == rows, "ParseMapsLst and MapsLstEntries disagree");
    SaveTwice(rows, input);
    std::reverse(rows.begin(), rows.end());
    SaveTwice(rows, input);
    return 0;
}
