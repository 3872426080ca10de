#pragma once
// Line differences of two texts and their unified-diff form, as `diff -u` writes them.
//
// Lines are compared with their line ends, so a file whose CR LF ends become LF ends shows
// every such line as changed. The patch keeps each line's bytes as they are ("\r" included),
// so it applies byte for byte; the readable form (ReadableDiff) drops the "\r" that a text
// view would hide and marks instead the changed lines of every hunk that mixes CR LF and LF
// ends with "[CRLF]" or "[LF]".
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane::changes {

// The lines of a text, each with its line end ("\n", so "\r\n" too); the last one has none
// when the text does not end in a line break. An empty text has no line.
std::vector<std::string_view> SplitKeepingLineEnds(std::string_view text);

// Which lines a shortest edit script from the old lines to the new ones deletes and which it
// inserts (one flag a line). Where several scripts are equally short, each run of changes is
// moved as far down as it goes and joined with the next where it can, as GNU diff does, so
// that the hunks read as its output does; in rare ties its search still picks another script
// of the same length (either is a correct diff).
struct LineChanges {
    std::vector<bool> deleted;   // one per old line
    std::vector<bool> inserted;  // one per new line
};
LineChanges DiffLines(const std::vector<std::string_view>& oldLines, const std::vector<std::string_view>& newLines);

// One hunk: the old and new ranges (first line from 0) and its lines, each a sign (' ', '-',
// '+') and the line's bytes (views into the texts diffed).
struct HunkLine {
    char sign;
    std::string_view text;
};
struct Hunk {
    std::size_t oldStart = 0, oldCount = 0, newStart = 0, newCount = 0;
    std::vector<HunkLine> lines;
};
// The hunks of two texts with `context` lines around each change; changes closer than twice
// the context share one hunk.
std::vector<Hunk> DiffHunks(std::string_view oldText, std::string_view newText, std::size_t context = 3);

// "--- OLDLABEL", "+++ NEWLABEL" and the hunks; empty when the texts are equal. The labels are
// written as given ("a/action/server.cfg", "/dev/null").
std::string UnifiedDiff(std::string_view oldText, std::string_view newText, std::string_view oldLabel,
                        std::string_view newLabel);
// The same for reading on a screen (see the top of this file); not a patch.
std::string ReadableDiff(std::string_view oldText, std::string_view newText, std::string_view oldLabel,
                         std::string_view newLabel);

}  // namespace tolvane::changes
