// The form-level helpers: the two list sorts against the exchange sort they stand for, the
// exact lookup of a drop-down list's items, and the number-reading rule of numeric fields.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "form/Lists.h"
#include "form/NumericCoupling.h"

namespace tolvane::form {
namespace {

std::vector<GridRow> BubbleSorted(std::vector<GridRow> rows) {
    int last = static_cast<int>(rows.size()) - 1;
    bool swapped = true;
    while (last >= 1 && swapped) {
        swapped = false;
        for (int i = 0; i < last; ++i)
            if (rows[i].text > rows[i + 1].text) {
                std::swap(rows[i], rows[i + 1]);
                swapped = true;
            }
        --last;
    }
    return rows;
}

TEST(Sorts, GridSortOrdersAsTheExchangeSortDoes) {
    std::mt19937 random(7);
    const std::vector<std::string> words = {"a", "B", "b", "_x", "\xe9t\xe9", "Zed", "zed", "a*", "", "ab"};
    for (int round = 0; round < 200; ++round) {
        Grid grid{"MapDir"};
        std::vector<GridRow> rows;
        const int n = static_cast<int>(random() % 12);
        for (int i = 0; i < n; ++i) rows.push_back({words[random() % words.size()], static_cast<std::int32_t>(i)});
        grid.setRows(rows);
        SortGrid(grid);
        ASSERT_EQ(grid.rows(), BubbleSorted(rows));  // equal texts keep their order and their tags
    }
}

// Names alike enough that their order is decided past the first 8, 16 or 32 bytes, with
// NULs, bytes above 127 and names that begin other names.
std::string AlikeName(std::mt19937& random) {
    static const std::vector<std::string> stems = {"", "ctf_", "q2dm_longer_stem_", "action_map_pack_number_one_",
                                                   "action_map_pack_number_one_and_then_past_32_bytes_"};
    static const std::string tails = std::string("ab*!\xff") + '\0';
    std::string name = stems[random() % stems.size()];
    for (int i = static_cast<int>(random() % 4); i > 0; --i) name += tails[random() % tails.size()];
    return name;
}

TEST(Sorts, LongListsOfAlikeNamesSortAsTheExchangeSortDoes) {
    std::mt19937 random(5);
    for (int n : {31, 33, 300, 4000, 20000}) {
        std::vector<GridRow> rows;
        for (int i = 0; i < n; ++i) rows.push_back({AlikeName(random), static_cast<std::int32_t>(i)});
        Grid grid{"MapDir"};
        grid.setRows(rows);
        SortGrid(grid);
        // The exchange sort itself for the shorter lists; its equal, a stable sort, for the longest.
        auto expected = rows;
        if (n <= 300) expected = BubbleSorted(rows);
        else std::stable_sort(expected.begin(), expected.end(), [](const auto& a, const auto& b) { return a.text < b.text; });
        ASSERT_EQ(grid.rows(), expected) << n << " rows";
    }
}

TEST(Sorts, RowsInOrderAlreadyAreKeptAndNearlyOrderedOnesSorted) {
    // Rows in order are left as they stand; every near miss is sorted as the exchange sort
    // sorts it: reversed, one row out of place at either end or in the middle, and equal texts
    // swapped (still in order: equal texts keep the order they stand in).
    std::mt19937 random(9);
    std::vector<GridRow> rows;
    for (int i = 0; i < 200; ++i) rows.push_back({AlikeName(random), static_cast<std::int32_t>(i)});
    const std::vector<GridRow> ordered = BubbleSorted(rows);
    auto reversed = ordered;
    std::reverse(reversed.begin(), reversed.end());
    auto lastFirst = ordered;
    std::rotate(lastFirst.begin(), lastFirst.end() - 1, lastFirst.end());
    auto firstLast = ordered;
    std::rotate(firstLast.begin(), firstLast.begin() + 1, firstLast.end());
    auto middle = ordered;
    std::swap(middle[100], middle[150]);
    auto tieSwapped = ordered;
    for (std::size_t k = 1; k < tieSwapped.size(); ++k)
        if (tieSwapped[k].text == tieSwapped[k - 1].text) {
            std::swap(tieSwapped[k], tieSwapped[k - 1]);
            break;
        }
    ASSERT_NE(tieSwapped, ordered);  // the names repeat, so some texts are equal
    for (const auto& start : {ordered, reversed, lastFirst, firstLast, middle, tieSwapped}) {
        Grid grid{"MapDir"};
        grid.setRows(start);
        SortGrid(grid);
        ASSERT_EQ(grid.rows(), BubbleSorted(start));
    }
}

TEST(Sorts, ListSortKeepsItsLimitAndNamesTheList) {
    std::vector<std::string> shown;
    const ShowMessage record = [&shown](const std::string& text) { shown.push_back(text); };
    ComboList list{"Team2Skin"};
    for (int i = 101; i > 0; --i) list.addItem("s" + std::to_string(i));
    SortList(record, list);
    EXPECT_EQ(list.item(0), "s1");
    EXPECT_EQ(list.item(100), "s99");  // by character code
    list.addItem("a");
    SortList(record, list);
    EXPECT_EQ(list.item(101), "a");
    EXPECT_EQ(shown, std::vector<std::string>{"Team2Skin too large to be sorted!"});
}

TEST(InComboBox, IsExactAndCaseSensitive) {
    ComboList l("L");
    EXPECT_FALSE(InComboBox(l, ""));
    l.addItem("ctf");
    EXPECT_TRUE(InComboBox(l, "ctf"));
    EXPECT_FALSE(InComboBox(l, "Ctf"));
    EXPECT_FALSE(InComboBox(l, "ctf "));
}

TEST(ReadNumber, AcceptsSignedDecimalsAndRoundsHalfToEven) {
    EXPECT_EQ(ReadNumber("20"), 20);
    EXPECT_EQ(ReadNumber("  -5  "), -5);
    EXPECT_EQ(ReadNumber("+3"), 3);
    EXPECT_EQ(ReadNumber("\t7\t"), 7);
    EXPECT_EQ(ReadNumber("12.5"), 12);
    EXPECT_EQ(ReadNumber("13.5"), 14);
    EXPECT_EQ(ReadNumber("12.50001"), 13);
    EXPECT_EQ(ReadNumber("12.49999"), 12);
    EXPECT_EQ(ReadNumber("-2.5"), -2);
    EXPECT_EQ(ReadNumber("-3.5"), -4);
    EXPECT_EQ(ReadNumber("0.5"), 0);
    EXPECT_EQ(ReadNumber(".5"), 0);
    EXPECT_EQ(ReadNumber("12."), 12);
    EXPECT_EQ(ReadNumber("007"), 7);
}

TEST(ReadNumber, RefusesEverythingElse) {
    for (const char* text : {"", " ", "abc", "12a", "1 2", "- 5", ".", "-", "1e3", "1,000", "0x10", "\"5\"", "5;"})
        EXPECT_FALSE(ReadNumber(text).has_value()) << '"' << text << '"';
}

TEST(ReadNumber, HugeNumbersStayOutOfThe32BitRange) {
    EXPECT_EQ(ReadNumber("2147483647"), 2147483647);
    EXPECT_EQ(ReadInt32("2147483647"), 2147483647);
    EXPECT_FALSE(ReadInt32("2147483648").has_value());
    EXPECT_FALSE(ReadInt32("2147483647.5").has_value());  // rounds up to 2^31
    EXPECT_EQ(ReadInt32("-2147483648"), -2147483647 - 1);
    EXPECT_GT(*ReadNumber("99999999999999999999999999999"), 2147483647);
    EXPECT_LT(*ReadNumber("-99999999999999999999999999999"), -2147483648LL);
}

}  // namespace
}  // namespace tolvane::form
