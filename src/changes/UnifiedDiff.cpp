// Myers' O(ND) difference algorithm (in its linear-space form: the middle snake, then each
// half) over lines, GNU diff's sliding of change runs, and the unified-diff writer.
//
// Written here rather than taken from Debian's libdtl-dev: the core builds on the standard
// library alone (the Windows cross build included), the whole of it is a few hundred lines,
// and what matters is GNU diff's exact hunks (its choice among equally short scripts, its
// merging of hunks, "\ No newline at end of file"), which a library's own unified writer
// does not promise. The tests hold the output to GNU diff's.
#include "changes/UnifiedDiff.h"

#include <algorithm>
#include <unordered_map>

namespace tolvane::changes {

std::vector<std::string_view> SplitKeepingLineEnds(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t nl = text.find('\n', start);
        const std::size_t end = nl == std::string_view::npos ? text.size() : nl + 1;
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

namespace {

// The shortest edit script between a[] and b[] (lines as numbers, equal lines equal numbers),
// marked into the change flags of either side.
class Myers {
public:
    Myers(const std::vector<int>& a, const std::vector<int>& b, std::vector<char>& deleted, std::vector<char>& inserted)
        : a_(a), b_(b), deleted_(deleted), inserted_(inserted) {}

    void Compare(long aLo, long aHi, long bLo, long bHi) {
        // The common head and tail are no part of any change.
        while (aLo < aHi && bLo < bHi && a_[aLo] == b_[bLo]) ++aLo, ++bLo;
        while (aLo < aHi && bLo < bHi && a_[aHi - 1] == b_[bHi - 1]) --aHi, --bHi;
        if (aLo == aHi) {
            for (long y = bLo; y < bHi; ++y) inserted_[y] = 1;
            return;
        }
        if (bLo == bHi) {
            for (long x = aLo; x < aHi; ++x) deleted_[x] = 1;
            return;
        }
        // Both sides now differ at their first and last lines, so the script has at least two
        // edits and the split point lies strictly inside it: each half is a smaller problem.
        const auto [x, y] = MiddleSnake(aLo, aHi, bLo, bHi);
        Compare(aLo, x, bLo, y);
        Compare(x, aHi, y, bHi);
    }

private:
    // A point on a shortest path from (aLo, bLo) to (aHi, bHi), found by searching from both
    // ends at once until the furthest points reached on one diagonal overlap. Diagonal k holds
    // the points x - y = k (x and y counted from the corner each search starts from).
    std::pair<long, long> MiddleSnake(long aLo, long aHi, long bLo, long bHi) const {
        const long n = aHi - aLo;
        const long m = bHi - bLo;
        const long maxD = (n + m + 1) / 2;
        const long offset = maxD;
        const long size = 2 * maxD + 2;
        // Furthest x reached on each diagonal, forwards and (mirrored) backwards; -1: none yet.
        std::vector<long> f(static_cast<std::size_t>(size), -1);
        std::vector<long> r(static_cast<std::size_t>(size), -1);
        f[static_cast<std::size_t>(offset + 1)] = 0;
        r[static_cast<std::size_t>(offset + 1)] = 0;
        const long delta = n - m;
        // With an odd difference the paths meet after a forward step, else after a backward one.
        const bool frontMeets = (delta % 2) != 0;
        // Diagonals that ran off the grid are not searched again.
        long fStart = 0, fEnd = 0, bStart = 0, bEnd = 0;
        auto at = [](std::vector<long>& v, long i) -> long& { return v[static_cast<std::size_t>(i)]; };
        for (long d = 0; d < maxD; ++d) {
            for (long k = -d + fStart; k <= d - fEnd; k += 2) {
                const long i = offset + k;
                long x = (k == -d || (k != d && at(f, i - 1) < at(f, i + 1))) ? at(f, i + 1) : at(f, i - 1) + 1;
                long y = x - k;
                while (x < n && y < m && a_[aLo + x] == b_[bLo + y]) ++x, ++y;
                at(f, i) = x;
                if (x > n) {
                    fEnd += 2;
                } else if (y > m) {
                    fStart += 2;
                } else if (frontMeets) {
                    const long j = offset + delta - k;
                    if (j >= 0 && j < size && at(r, j) != -1 && x >= n - at(r, j)) return {aLo + x, bLo + y};
                }
            }
            for (long k = -d + bStart; k <= d - bEnd; k += 2) {
                const long i = offset + k;
                long x = (k == -d || (k != d && at(r, i - 1) < at(r, i + 1))) ? at(r, i + 1) : at(r, i - 1) + 1;
                long y = x - k;
                while (x < n && y < m && a_[aHi - 1 - x] == b_[bHi - 1 - y]) ++x, ++y;
                at(r, i) = x;
                if (x > n) {
                    bEnd += 2;
                } else if (y > m) {
                    bStart += 2;
                } else if (!frontMeets) {
                    const long j = offset + delta - k;
                    if (j >= 0 && j < size && at(f, j) != -1) {
                        const long fx = at(f, j);
                        const long fy = offset + fx - j;
                        if (fx >= n - x) return {aLo + fx, bLo + fy};
                    }
                }
            }
        }
        // The searches meet before this unless the sides have no line in common: then every
        // line of one goes and every line of the other comes.
        return {aHi, bLo};
    }

    const std::vector<int>& a_;
    const std::vector<int>& b_;
    std::vector<char>& deleted_;
    std::vector<char>& inserted_;
};

// GNU diff's choice among equally short scripts: each run of changed lines of one side slides
// up, then down, as far as equal lines let it, joining the runs it meets; it then goes back to
// the last place where it faced a run of changes of the other side (so that lines read as
// replaced), or else stays as low as it went.
// `changed` and `other` hold one flag a line at index line + 1, with a 0 at both ends.
void ShiftBoundaries(std::vector<char>& changed, const std::vector<char>& other, const std::vector<int>& lines) {
    auto ch = [&changed](long i) -> char& { return changed[static_cast<std::size_t>(i + 1)]; };
    auto oc = [&other](long j) {
        return j >= -1 && static_cast<std::size_t>(j + 1) < other.size() && other[static_cast<std::size_t>(j + 1)] != 0;
    };
    const long end = static_cast<long>(lines.size());
    auto line = [&lines](long i) { return lines[static_cast<std::size_t>(i)]; };
    long i = 0;
    long j = 0;  // the same place on the other side
    for (;;) {
        while (i < end && !ch(i)) {
            while (oc(j++)) {
            }
            ++i;
        }
        if (i == end) break;
        long start = i;
        while (ch(++i)) {
        }
        while (oc(j)) ++j;
        long length;
        long corresponding;
        do {
            length = i - start;
            while (start > 0 && line(start - 1) == line(i - 1)) {
                ch(--start) = 1;
                ch(--i) = 0;
                while (ch(start - 1)) --start;
                while (oc(--j)) {
                }
            }
            corresponding = oc(j - 1) ? i : end;
            while (i != end && line(start) == line(i)) {
                ch(start++) = 0;
                ch(i++) = 1;
                while (ch(i)) ++i;
                while (oc(++j)) corresponding = i;
            }
        } while (length != i - start);
        while (corresponding < i) {
            ch(--start) = 1;
            ch(--i) = 0;
            while (oc(--j)) {
            }
        }
    }
}

struct Change {
    std::size_t oldLine, newLine, deleted, inserted;
};

std::vector<Change> ChangesOf(const LineChanges& lc) {
    std::vector<Change> changes;
    const std::size_t n = lc.deleted.size();
    const std::size_t m = lc.inserted.size();
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < n || j < m) {
        if ((i < n && lc.deleted[i]) || (j < m && lc.inserted[j])) {
            Change c{i, j, 0, 0};
            while (i < n && lc.deleted[i]) ++i;
            while (j < m && lc.inserted[j]) ++j;
            c.deleted = i - c.oldLine;
            c.inserted = j - c.newLine;
            changes.push_back(c);
        } else {
            ++i;
            ++j;
        }
    }
    return changes;
}

bool HasLineEnd(std::string_view line) { return !line.empty() && line.back() == '\n'; }
bool EndsInCrLf(std::string_view line) { return line.size() >= 2 && line.substr(line.size() - 2) == "\r\n"; }

// A range of a hunk header: "L,S", or "L" for one line; an empty range names the line before.
std::string Range(std::size_t start, std::size_t count) {
    if (count == 0) return std::to_string(start) + ",0";
    if (count == 1) return std::to_string(start + 1);
    return std::to_string(start + 1) + "," + std::to_string(count);
}

constexpr std::string_view kNoNewline = "\\ No newline at end of file\n";

// Both forms of the diff; `readable` drops "\r" and marks the line ends of mixed hunks.
std::string WriteDiff(std::string_view oldText, std::string_view newText, std::string_view oldLabel,
                      std::string_view newLabel, bool readable) {
    const std::vector<Hunk> hunks = DiffHunks(oldText, newText);
    if (hunks.empty()) return {};
    std::string out;
    out.append("--- ").append(oldLabel).append("\n+++ ").append(newLabel).append("\n");
    for (const Hunk& h : hunks) {
        out += "@@ -" + Range(h.oldStart, h.oldCount) + " +" + Range(h.newStart, h.newCount) + " @@\n";
        bool crlf = false;
        bool lf = false;
        for (const HunkLine& l : h.lines) {
            if (EndsInCrLf(l.text)) crlf = true;
            else if (HasLineEnd(l.text)) lf = true;
        }
        const bool markEnds = readable && crlf && lf;
        for (const HunkLine& l : h.lines) {
            out += l.sign;
            if (!readable) {
                out.append(l.text);
            } else {
                std::string_view text = l.text;
                if (EndsInCrLf(text)) text.remove_suffix(2);
                else if (HasLineEnd(text)) text.remove_suffix(1);
                out.append(text);
                if (markEnds && l.sign != ' ' && HasLineEnd(l.text)) out += EndsInCrLf(l.text) ? "  [CRLF]" : "  [LF]";
                if (HasLineEnd(l.text)) out += '\n';
            }
            if (!HasLineEnd(l.text)) out.append("\n").append(kNoNewline);
        }
    }
    return out;
}

}  // namespace

LineChanges DiffLines(const std::vector<std::string_view>& oldLines, const std::vector<std::string_view>& newLines) {
    // Lines become numbers, equal lines the same number, so that comparing is cheap.
    std::unordered_map<std::string_view, int> ids;
    auto number = [&ids](const std::vector<std::string_view>& lines) {
        std::vector<int> out;
        out.reserve(lines.size());
        for (std::string_view l : lines) out.push_back(ids.emplace(l, static_cast<int>(ids.size())).first->second);
        return out;
    };
    const std::vector<int> a = number(oldLines);
    const std::vector<int> b = number(newLines);
    // One flag a line at index line + 1, with an unchanged line before and after each side.
    std::vector<char> deleted(a.size() + 2, 0);
    std::vector<char> inserted(b.size() + 2, 0);
    {
        // A line with no equal on the other side is changed in every script: it is marked at
        // once and the search runs over the others only (a file whose every line end changed
        // costs nothing then). The shortest script stays as short.
        std::vector<char> inA(ids.size(), 0);
        std::vector<char> inB(ids.size(), 0);
        for (int id : a) inA[static_cast<std::size_t>(id)] = 1;
        for (int id : b) inB[static_cast<std::size_t>(id)] = 1;
        std::vector<int> keptA, keptB;
        std::vector<std::size_t> whereA, whereB;
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (!inB[static_cast<std::size_t>(a[i])]) deleted[i + 1] = 1;
            else keptA.push_back(a[i]), whereA.push_back(i);
        }
        for (std::size_t j = 0; j < b.size(); ++j) {
            if (!inA[static_cast<std::size_t>(b[j])]) inserted[j + 1] = 1;
            else keptB.push_back(b[j]), whereB.push_back(j);
        }
        std::vector<char> d(keptA.size(), 0);
        std::vector<char> in(keptB.size(), 0);
        Myers(keptA, keptB, d, in).Compare(0, static_cast<long>(keptA.size()), 0, static_cast<long>(keptB.size()));
        for (std::size_t i = 0; i < d.size(); ++i)
            if (d[i]) deleted[whereA[i] + 1] = 1;
        for (std::size_t j = 0; j < in.size(); ++j)
            if (in[j]) inserted[whereB[j] + 1] = 1;
    }
    ShiftBoundaries(deleted, inserted, a);
    ShiftBoundaries(inserted, deleted, b);
    LineChanges result;
    result.deleted.assign(deleted.begin() + 1, deleted.end() - 1);
    result.inserted.assign(inserted.begin() + 1, inserted.end() - 1);
    return result;
}

std::vector<Hunk> DiffHunks(std::string_view oldText, std::string_view newText, std::size_t context) {
    const std::vector<std::string_view> a = SplitKeepingLineEnds(oldText);
    const std::vector<std::string_view> b = SplitKeepingLineEnds(newText);
    const std::vector<Change> changes = ChangesOf(DiffLines(a, b));
    std::vector<Hunk> hunks;
    for (std::size_t first = 0; first < changes.size();) {
        // Changes with at most twice the context between them share a hunk.
        std::size_t last = first;
        while (last + 1 < changes.size() &&
               changes[last + 1].oldLine - (changes[last].oldLine + changes[last].deleted) <= 2 * context)
            ++last;
        const Change& c0 = changes[first];
        const Change& c1 = changes[last];
        Hunk h;
        const std::size_t lead = std::min(context, c0.oldLine);
        h.oldStart = c0.oldLine - lead;
        h.newStart = c0.newLine - lead;
        const std::size_t oldAfter = c1.oldLine + c1.deleted;
        const std::size_t trail = std::min(context, a.size() - oldAfter);
        h.oldCount = oldAfter + trail - h.oldStart;
        h.newCount = c1.newLine + c1.inserted + trail - h.newStart;
        std::size_t i = h.oldStart;
        for (std::size_t c = first; c <= last; ++c) {
            for (; i < changes[c].oldLine; ++i) h.lines.push_back({' ', a[i]});
            for (std::size_t k = 0; k < changes[c].deleted; ++k) h.lines.push_back({'-', a[i++]});
            for (std::size_t k = 0; k < changes[c].inserted; ++k) h.lines.push_back({'+', b[changes[c].newLine + k]});
        }
        for (; i < oldAfter + trail; ++i) h.lines.push_back({' ', a[i]});
        hunks.push_back(std::move(h));
        first = last + 1;
    }
    return hunks;
}

std::string UnifiedDiff(std::string_view oldText, std::string_view newText, std::string_view oldLabel,
                        std::string_view newLabel) {
    return WriteDiff(oldText, newText, oldLabel, newLabel, false);
}

std::string ReadableDiff(std::string_view oldText, std::string_view newText, std::string_view oldLabel,
                         std::string_view newLabel) {
    return WriteDiff(oldText, newText, oldLabel, newLabel, true);
}

}  // namespace tolvane::changes
