// The line diff and its unified form, held to GNU diff's output on edits of real configuration
// files, and the patch applied by GNU patch.
#include <cstdlib>
#include <functional>

#include "changes/UnifiedDiff.h"
#include "support/TestSupport.h"

namespace tolvane::changes {
namespace {

namespace fs = std::filesystem;

const char* const kDiff = "/usr/bin/diff";
const char* const kPatch = "/usr/bin/patch";

bool Have(const char* program) { return fs::exists(program); }

// What follows the two header lines of a diff.
std::string Hunks(const std::string& diff) {
    const std::size_t at = diff.find("\n@@");
    return at == std::string::npos ? std::string() : diff.substr(at + 1);
}

// GNU diff's hunks for two texts.
std::string GnuHunks(const std::string& oldText, const std::string& newText, bool oldIsDevNull = false) {
    test::TempDir t;
    t.write("old", oldText);
    t.write("new", newText);
    const std::string oldPath = oldIsDevNull ? "/dev/null" : (t.path() / "old").string();
    const std::string cmd = std::string(kDiff) + " -u '" + oldPath + "' '" + (t.path() / "new").string() + "' > '" +
                            (t.path() / "out").string() + "'";
    const int rc = std::system(cmd.c_str());
    EXPECT_NE(rc, -1);
    return Hunks(t.read("out"));
}

// The new text a patch from `patch -p1` in a directory makes of the old one.
std::string Patched(const std::string& oldText, const std::string& diff) {
    test::TempDir t;
    t.write("q2/action/file.cfg", oldText);
    t.write("change.patch", diff);
    const std::string cmd = std::string(kPatch) + " -s -p1 -d '" + (t.path() / "q2").string() + "' -i '" +
                            (t.path() / "change.patch").string() + "' > /dev/null 2>&1";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << diff;
    return t.read("q2/action/file.cfg");
}

std::string Join(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines) s += l;
    return s;
}

// The line end the text uses ("\r\n" when its first line has one).
std::string LineEndOf(const std::string& text) {
    const std::size_t nl = text.find('\n');
    return nl != std::string::npos && nl > 0 && text[nl - 1] == '\r' ? "\r\n" : "\n";
}

struct Edit {
    const char* name;
    std::function<std::string(const std::string&)> apply;
};

std::vector<Edit> Edits() {
    auto lines = [](const std::string& text) {
        const auto views = SplitKeepingLineEnds(text);
        return std::vector<std::string>(views.begin(), views.end());
    };
    return {
        {"change the middle line",
         [=](const std::string& t) {
             auto l = lines(t);
             if (!l.empty()) l[l.size() / 2] = "set changed_by_test 1" + LineEndOf(t);
             return Join(l);
         }},
        {"insert at the start", [=](const std::string& t) { return "// added first" + LineEndOf(t) + t; }},
        {"delete the first line",
         [=](const std::string& t) {
             auto l = lines(t);
             if (!l.empty()) l.erase(l.begin());
             return Join(l);
         }},
        {"delete the last line",
         [=](const std::string& t) {
             auto l = lines(t);
             if (!l.empty()) l.pop_back();
             return Join(l);
         }},
        {"append at the end",
         [=](const std::string& t) {
             const std::string end = LineEndOf(t);
             return t + (t.empty() || t.back() == '\n' ? "" : end) + "set appended 1" + end;
         }},
        {"drop the final line end",
         [=](const std::string& t) {
             std::string s = t;
             while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
             return s;
         }},
        {"insert a block, change one line and delete two further down",
         [=](const std::string& t) {
             auto l = lines(t);
             const std::string end = LineEndOf(t);
             if (l.size() < 12) return t + "set short_file 1" + end;
             l.erase(l.begin() + static_cast<long>(l.size()) - 4, l.begin() + static_cast<long>(l.size()) - 2);
             l[l.size() / 2 + 1] = "set other 2" + end;
             l.insert(l.begin() + 3, {"// block 1" + end, "set block 2" + end, "// block 3" + end});
             return Join(l);
         }},
        {"CR LF ends for LF ones",
         [=](const std::string& t) {
             std::string s;
             for (std::size_t i = 0; i < t.size(); ++i) {
                 if (t[i] == '\n' && (i == 0 || t[i - 1] != '\r')) s += '\r';
                 s += t[i];
             }
             return s;
         }},
        {"LF ends for CR LF ones",
         [=](const std::string& t) {
             std::string s;
             for (std::size_t i = 0; i < t.size(); ++i)
                 if (!(t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n')) s += t[i];
             return s;
         }},
    };
}

TEST(UnifiedDiffCorpus, HunksAreGnuDiffsAndThePatchApplies) {
    const fs::path corpus = test::CorpusDir();
    if (corpus.empty()) GTEST_SKIP() << "no corpus beside the checkout";
    if (!Have(kDiff)) GTEST_SKIP() << "no " << kDiff;
    const bool patching = Have(kPatch);
    int compared = 0;
    for (const auto& entry : fs::recursive_directory_iterator(corpus)) {
        if (!entry.is_regular_file() || entry.path().filename() == "README.md") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        const std::string oldText = bytes.str();
        for (const Edit& edit : Edits()) {
            const std::string newText = edit.apply(oldText);
            const std::string diff = UnifiedDiff(oldText, newText, "a/action/file.cfg", "b/action/file.cfg");
            const std::string where = entry.path().filename().string() + ": " + edit.name;
            if (newText == oldText) {
                EXPECT_EQ(diff, "") << where;
                continue;
            }
            EXPECT_EQ(diff.substr(0, 44), "--- a/action/file.cfg\n+++ b/action/file.cfg\n") << where;
            EXPECT_EQ(Hunks(diff), GnuHunks(oldText, newText)) << where;
            if (patching) {
                EXPECT_EQ(Patched(oldText, diff), newText) << where;
            }
            ++compared;
        }
    }
    EXPECT_GT(compared, 100);
}

TEST(UnifiedDiff, CreatedAndEmptiedFilesAndEqualTexts) {
    EXPECT_EQ(UnifiedDiff("same\n", "same\n", "a/x", "b/x"), "");
    EXPECT_EQ(UnifiedDiff("", "", "a/x", "b/x"), "");
    EXPECT_EQ(UnifiedDiff("", "one\r\ntwo", "/dev/null", "b/x"),
              "--- /dev/null\n+++ b/x\n@@ -0,0 +1,2 @@\n+one\r\n+two\n\\ No newline at end of file\n");
    EXPECT_EQ(UnifiedDiff("", "one\n", "/dev/null", "b/x"), "--- /dev/null\n+++ b/x\n@@ -0,0 +1 @@\n+one\n");
    EXPECT_EQ(UnifiedDiff("one\ntwo\n", "", "a/x", "/dev/null"), "--- a/x\n+++ /dev/null\n@@ -1,2 +0,0 @@\n-one\n-two\n");
    if (!Have(kDiff)) GTEST_SKIP() << "no " << kDiff;
    EXPECT_EQ(Hunks(UnifiedDiff("", "one\r\ntwo", "/dev/null", "b/x")), GnuHunks("", "one\r\ntwo", true));
}

TEST(UnifiedDiff, ChangesUpToTwiceTheContextApartShareAHunk) {
    std::vector<std::string> lines;
    for (int i = 0; i < 30; ++i) lines.push_back("line " + std::to_string(i) + "\n");
    const std::string oldText = Join(lines);
    auto changedAt = [&](int first, int second) {
        std::vector<std::string> l = lines;
        l[static_cast<std::size_t>(first)] = "first\n";
        l[static_cast<std::size_t>(second)] = "second\n";
        return Join(l);
    };
    // Six unchanged lines between: the contexts meet. Seven: two hunks.
    EXPECT_EQ(DiffHunks(oldText, changedAt(5, 12)).size(), 1u);
    EXPECT_EQ(DiffHunks(oldText, changedAt(5, 13)).size(), 2u);
    // At the very start and end the context is what there is.
    const std::vector<Hunk> ends = DiffHunks(oldText, changedAt(0, 29));
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_EQ(ends[0].oldStart, 0u);
    EXPECT_EQ(ends[0].oldCount, 4u);
    EXPECT_EQ(ends[1].oldStart, 26u);
    EXPECT_EQ(ends[1].oldCount, 4u);
    if (!Have(kDiff)) GTEST_SKIP() << "no " << kDiff;
    for (const auto& [a, b] : {std::pair{5, 12}, std::pair{5, 13}, std::pair{0, 29}, std::pair{2, 3}})
        EXPECT_EQ(Hunks(UnifiedDiff(oldText, changedAt(a, b), "a", "b")), GnuHunks(oldText, changedAt(a, b)));
}

TEST(UnifiedDiff, AmbiguousRunsSlideAsGnuDiffSlidesThem) {
    // A blank line added beside others, a repeated line dropped: several shortest scripts, the
    // one shown moves the change as far down as it goes.
    const std::string oldText = "a\n\n\nb\nx\nx\nx\nc\n";
    const std::string newText = "a\n\n\n\nb\nx\nx\nc\n";
    EXPECT_EQ(Hunks(UnifiedDiff(oldText, newText, "a", "b")),
              "@@ -1,8 +1,8 @@\n a\n \n \n+\n b\n x\n x\n-x\n c\n");
    if (!Have(kDiff)) GTEST_SKIP() << "no " << kDiff;
    EXPECT_EQ(Hunks(UnifiedDiff(oldText, newText, "a", "b")), GnuHunks(oldText, newText));
}

TEST(ReadableDiff, ShowsWhereLineEndsChangeWithoutCarriageReturns) {
    // Every line end changed: each changed line says which end it has.
    EXPECT_EQ(ReadableDiff("set a 1\r\nset b 2\r\n", "set a 1\nset b 2\n", "a/x", "b/x"),
              "--- a/x\n+++ b/x\n@@ -1,2 +1,2 @@\n-set a 1  [CRLF]\n-set b 2  [CRLF]\n+set a 1  [LF]\n+set b 2  [LF]\n");
    // A value changed in a CR LF file: nothing about line ends, and no "\r" shown.
    const std::string readable = ReadableDiff("x\r\ny 1\r\nz\r\n", "x\r\ny 2\r\nz\r\n", "a/x", "b/x");
    EXPECT_EQ(readable, "--- a/x\n+++ b/x\n@@ -1,3 +1,3 @@\n x\n-y 1\n+y 2\n z\n");
    // The patch keeps the bytes.
    EXPECT_EQ(Hunks(UnifiedDiff("x\r\ny 1\r\nz\r\n", "x\r\ny 2\r\nz\r\n", "a/x", "b/x")),
              "@@ -1,3 +1,3 @@\n x\r\n-y 1\r\n+y 2\r\n z\r\n");
    // A missing final line end is said as in the patch.
    EXPECT_EQ(Hunks(ReadableDiff("k\nend\n", "k\nend", "a/x", "b/x")),
              "@@ -1,2 +1,2 @@\n k\n-end\n+end\n\\ No newline at end of file\n");
}

}  // namespace
}  // namespace tolvane::changes
