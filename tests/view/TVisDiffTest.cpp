#include "view/TVisDiff.h"

#include "platform/Prompter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

using namespace kemptor;

namespace {

using Lines = std::vector<std::string>;

// The optimal diff written the plain way: every pair of equal lines of a pair of ranges is measured, the
// longest run wins, the first left line and then the first right line break ties. The fast matcher must
// give the same links.
class PlainOptimalDiff {
public:
    PlainOptimalDiff(const Lines& l1, const Lines& l2, bool ignoreBlank)
        : l1_(l1), l2_(l2), ignoreBlank_(ignoreBlank), d1_(l1.size(), {-2, -2}), d2_(l2.size(), {-2, -2}) {
        FindOptimalDiff(0, static_cast<int>(l1.size()), 0, static_cast<int>(l2.size()));
    }
    std::vector<int> LeftPartners() const { return Partners(d1_); }
    std::vector<int> RightPartners() const { return Partners(d2_); }

private:
    const Lines& l1_;
    const Lines& l2_;
    bool ignoreBlank_;
    std::vector<TDiffObject> d1_, d2_;

    static std::vector<int> Partners(const std::vector<TDiffObject>& d) {
        std::vector<int> p;
        for (const auto& o : d)
            p.push_back(o.Partner);
        return p;
    }
    static void ResetRange(std::vector<TDiffObject>& d, int lo, int hi) {
        for (int k = lo; k < hi; ++k)
            d[k] = {-1, -1};
    }
    int MatchLength(int a, int b, int hi1, int hi2) const {
        int k = 0;
        while (a + k < hi1 && b + k < hi2 && l1_[a + k] == l2_[b + k])
            ++k;
        return k;
    }
    bool FindLongestMatch(int lo1, int hi1, int lo2, int hi2, int& d, int& n) {
        for (int a = lo1; a < hi1; ++a) {
            for (int j = lo2; j < hi2; ++j) {
                if (ignoreBlank_ && l1_[a].empty())
                    continue;
                if (l1_[a] != l2_[j])
                    continue;
                const int g = MatchLength(a, j, hi1, hi2);
                if (g > d1_[a].RunLength) {
                    d1_[a] = {j, g};
                    d2_[j] = {a, g};
                }
            }
        }
        int best = -1;
        d = -1;
        for (int a = lo1; a < hi1; ++a) {
            if (d1_[a].RunLength > best) {
                best = d1_[a].RunLength;
                d = a;
            }
        }
        if (best < 1)
            return false;
        n = best;
        const int m = d1_[d].Partner;
        for (int k = 0; k < n; ++k) {
            d1_[d + k].Partner = m + k;
            d2_[m + k].Partner = d + k;
        }
        return true;
    }
    void FindOptimalDiff(int lo1, int hi1, int lo2, int hi2) {
        ResetRange(d1_, lo1, hi1);
        ResetRange(d2_, lo2, hi2);
        if (lo1 > hi1 || lo2 > hi2)
            return;
        int d = 0, n = 0;
        if (!FindLongestMatch(lo1, hi1, lo2, hi2, d, n)) {
            ResetRange(d1_, lo1, hi1);
            ResetRange(d2_, lo2, hi2);
            return;
        }
        const int m = d1_[d].Partner;
        FindOptimalDiff(lo1, d, lo2, m);
        FindOptimalDiff(d + n, hi1, m + n, hi2);
    }
};

std::vector<int> Partners(const std::vector<TDiffObject>& d) {
    std::vector<int> p;
    for (const auto& o : d)
        p.push_back(o.Partner);
    return p;
}

void ExpectSameLinksAsPlain(const Lines& a, const Lines& b, bool ignoreBlank) {
    const PlainOptimalDiff plain(a, b, ignoreBlank);
    const DiffLinks fast = TVisDiff::FindOptimalDiff(a, b, ignoreBlank);
    ASSERT_EQ(Partners(fast.left), plain.LeftPartners());
    ASSERT_EQ(Partners(fast.right), plain.RightPartners());
}

// Text dump of the rows: "kind left|right" with "-" for a filler.
std::string Dump(const Lines& a, const Lines& b, bool ignoreBlank = false) {
    std::string out;
    for (const DiffRow& row : TVisDiff::Rows(a, b, ignoreBlank)) {
        out += DiffRowKindName(row.kind);
        out += ' ';
        out += row.left >= 0 ? a[row.left] : "-";
        out += '|';
        out += row.right >= 0 ? b[row.right] : "-";
        out += '\n';
    }
    return out;
}

struct RecordingSink : DiffRowSink {
    struct Row {
        std::string text;
        TColor fore, back;
    };
    std::vector<Row> rows{{"old", clBlack, clWhite}};
    int cleared = 0, done = 0;
    void ClearRows() override {
        rows.clear();
        ++cleared;
    }
    void AppendRow(const std::string& text, TColor fore, TColor back) override {
        rows.push_back({text, fore, back});
    }
    void RowsDone() override { ++done; }
};

Lines RandomLines(std::mt19937& rng, int maxCount, int alphabet, bool withBlank) {
    std::uniform_int_distribution<int> count(0, maxCount);
    std::uniform_int_distribution<int> letter(0, alphabet - 1);
    Lines lines(count(rng));
    for (auto& line : lines) {
        const int c = letter(rng);
        line = withBlank && c == 0 ? std::string() : std::string(1, static_cast<char>('A' + c));
    }
    return lines;
}

Lines ReadLines(const std::filesystem::path& path) {
    std::ifstream in(path);
    Lines lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Edits a text the way a formatter or a person does: changed, removed and inserted lines, moved blocks.
Lines Edited(const Lines& text, std::mt19937& rng) {
    Lines out;
    std::uniform_int_distribution<int> roll(0, 99);
    for (size_t k = 0; k < text.size(); ++k) {
        const int r = roll(rng);
        if (r < 4)
            out.push_back("    " + text[k]);
        else if (r < 7)
            continue;
        else if (r < 10) {
            out.push_back("");
            out.push_back(text[k]);
        } else if (r < 11 && k + 5 < text.size()) {
            out.insert(out.end(), text.begin() + static_cast<long>(k) + 1,
                       text.begin() + static_cast<long>(k) + 5);
            out.push_back(text[k]);
            k += 4;
        } else
            out.push_back(text[k]);
    }
    return out;
}

} // namespace

TEST(TVisDiff, WorkedExampleAlignsTheLongestRunFirst) {
    EXPECT_EQ(Dump({"A", "B", "C", "D"}, {"A", "X", "C", "D", "E"}), "same A|A\n"
                                                                     "changed B|X\n"
                                                                     "same C|C\n"
                                                                     "same D|D\n"
                                                                     "inserted -|E\n");
}

TEST(TVisDiff, EmptyAndIdenticalTexts) {
    EXPECT_EQ(Dump({}, {}), "");
    EXPECT_EQ(Dump({}, {"a", "b"}), "inserted -|a\ninserted -|b\n");
    EXPECT_EQ(Dump({"a", "b"}, {}), "deleted a|-\ndeleted b|-\n");
    EXPECT_EQ(Dump({"x", "", "x"}, {"x", "", "x"}), "same x|x\nsame |\nsame x|x\n");
}

TEST(TVisDiff, TiesGoToTheFirstLeftLine) {
    EXPECT_EQ(Dump({"A", "B"}, {"B", "A"}), "inserted -|B\nsame A|A\ndeleted B|-\n");
    // Equal-length runs on the right: the first right start wins.
    EXPECT_EQ(Dump({"A"}, {"A", "A"}), "same A|A\ninserted -|A\n");
}

TEST(TVisDiff, UnmatchedBlocksPairUpThenShowTheSurplus) {
    EXPECT_EQ(Dump({"X", "Y"}, {"Z"}), "changed X|Z\ndeleted Y|-\n");
    EXPECT_EQ(Dump({"s", "p", "e"}, {"s", "q", "r", "t", "e"}),
              "same s|s\nchanged p|q\ninserted -|r\ninserted -|t\nsame e|e\n");
    // A right line standing before the next match while the left line is matched is inserted, not paired.
    EXPECT_EQ(Dump({"a", "b"}, {"a", "n", "b"}), "same a|a\ninserted -|n\nsame b|b\n");
}

TEST(TVisDiff, BlankAnchorsCanBeIgnored) {
    const Lines a{"x", "", "y"};
    const Lines b{"p", "", "q"};
    EXPECT_EQ(Dump(a, b, false), "changed x|p\nsame |\nchanged y|q\n");
    EXPECT_EQ(Dump(a, b, true), "changed x|p\nchanged |\nchanged y|q\n");
    // A blank line inside a run still matches.
    EXPECT_EQ(Dump({"k", "", "m"}, {"k", "", "m"}, true), "same k|k\nsame |\nsame m|m\n");
}

TEST(TVisDiff, RunIsCutAtTheEndOfItsRanges) {
    // M M M M is fixed first; above it, A B would continue with M (left 3, right 2) but the left range
    // ends at the fixed run, so that M stays unmatched.
    const Lines a{"K", "A", "B", "M", "M", "M", "M"};
    const Lines b{"A", "B", "M", "Q", "M", "M", "M", "M"};
    EXPECT_EQ(Dump(a, b), "deleted K|-\nsame A|A\nsame B|B\ninserted -|M\ninserted -|Q\n"
                          "same M|M\nsame M|M\nsame M|M\nsame M|M\n");
    const Lines c{"B", "B", "C", "C"};
    const Lines d{"B", "C", "C", "B", "B"};
    ExpectSameLinksAsPlain(c, d, false);
}

TEST(TVisDiff, CompareWritesColouredRowsToBothSides) {
    RecordingSink left, right;
    TVisDiff diff;
    diff.Compare({"A", "B"}, {"A", "X", "E"}, false);
    EXPECT_EQ(left.cleared, 0) << "unset receivers: nothing happens";
    diff.LeftText = &left;
    diff.Compare({"A", "B"}, {"A", "X", "E"}, false);
    EXPECT_EQ(left.rows.size(), 1u);
    diff.RightText = &right;
    diff.Compare({"A", "B"}, {"A", "X", "E"}, false);
    ASSERT_EQ(left.rows.size(), 3u);
    ASSERT_EQ(right.rows.size(), 3u);
    EXPECT_EQ(left.done, 1);
    EXPECT_EQ(right.done, 1);
    EXPECT_EQ(left.rows[0].text, "A");
    EXPECT_TRUE(left.rows[0].fore == clBlack && left.rows[0].back == clWindow);
    EXPECT_TRUE(left.rows[1].fore == clBlack && left.rows[1].back == clYellow);
    EXPECT_TRUE(right.rows[1].fore == clBlack && right.rows[1].back == clYellow);
    EXPECT_EQ(left.rows[2].text, "");
    EXPECT_TRUE(left.rows[2].fore == clBlack && left.rows[2].back == clSilver);
    EXPECT_EQ(right.rows[2].text, "E");
    EXPECT_TRUE(right.rows[2].fore == clBlue && right.rows[2].back == clYellow);
}

TEST(TVisDiff, BackwardLinkIsReportedAndTheWalkEnds) {
    DiffLinks links;
    links.left = {{0, 1}, {0, 1}};
    links.right = {{0, 1}, {-1, -1}};
    bool error = false;
    const auto rows = TVisDiff::DisplayOptimalDiff(links, &error);
    EXPECT_TRUE(error);
    int left = 0, right = 0;
    for (const auto& row : rows) {
        left += row.left >= 0;
        right += row.right >= 0;
    }
    EXPECT_EQ(left, 2);
    EXPECT_EQ(right, 2);
}

TEST(TVisDiff, MatchesThePlainAlgorithmOnRandomTexts) {
    std::mt19937 rng(20261208);
    for (int round = 0; round < 4000; ++round) {
        const int alphabet = 1 + round % 5;
        const bool withBlank = round % 3 == 0;
        const int maxCount = round % 3 == 0 ? 60 : round % 3 == 1 ? 30 : 12;
        const Lines a = RandomLines(rng, maxCount, alphabet, withBlank);
        const Lines b = RandomLines(rng, maxCount, alphabet, withBlank);
        SCOPED_TRACE("round " + std::to_string(round));
        ExpectSameLinksAsPlain(a, b, false);
        ExpectSameLinksAsPlain(a, b, true);
        const Lines c = Edited(a, rng);
        ExpectSameLinksAsPlain(a, c, round % 2 == 0);
    }
}

TEST(TVisDiff, MatchesThePlainAlgorithmOnRealSources) {
    std::mt19937 rng(7);
    const std::filesystem::path root = std::filesystem::path(KEMPTOR_EXAMPLES).parent_path();
    int compared = 0;
    for (const char* dir : {"src/view", "src/platform", "tests/view", "examples"}) {
        if (!std::filesystem::is_directory(root / dir))
            continue;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root / dir)) {
            if (!entry.is_regular_file() || entry.file_size() > 40000)
                continue;
            const Lines text = ReadLines(entry.path());
            const Lines edited = Edited(text, rng);
            SCOPED_TRACE(entry.path().string());
            ExpectSameLinksAsPlain(text, edited, false);
            ExpectSameLinksAsPlain(edited, text, true);
            ++compared;
        }
    }
    EXPECT_GE(compared, 3);
}

TEST(TVisDiff, LargeRepetitiveTextsLinkEveryLine) {
    // One line repeated: the whole shorter text is one run at the top.
    const Lines a(3000, "End If");
    const Lines b(5000, "End If");
    const DiffLinks links = TVisDiff::FindOptimalDiff(a, b, false);
    EXPECT_EQ(links.left.front().Partner, 0);
    EXPECT_EQ(links.left.back().Partner, 2999);
    EXPECT_EQ(links.right[3000].Partner, -1);
    // No shared line: nothing links.
    Lines c, d;
    for (int k = 0; k < 3000; ++k) {
        c.push_back("L" + std::to_string(k));
        d.push_back("R" + std::to_string(k));
    }
    const auto rows = TVisDiff::Rows(c, d);
    ASSERT_EQ(rows.size(), 3000u);
    EXPECT_EQ(rows.back().kind, DiffRowKind::Changed);
    // Sharing only blank lines: each blank faces a blank, each other line a changed partner.
    Lines e, f;
    for (int k = 0; k < 3000; ++k) {
        e.insert(e.end(), {"", "L" + std::to_string(k)});
        f.insert(f.end(), {"", "R" + std::to_string(k)});
    }
    const auto blankRows = TVisDiff::Rows(e, f);
    ASSERT_EQ(blankRows.size(), 6000u);
    for (size_t k = 0; k < blankRows.size(); ++k)
        ASSERT_EQ(blankRows[k].kind, k % 2 == 0 ? DiffRowKind::Same : DiffRowKind::Changed) << k;
    ExpectSameLinksAsPlain(Lines(e.begin(), e.begin() + 300), Lines(f.begin(), f.begin() + 200), false);
}

TEST(TVisDiff, InternalErrorGoesThroughThePrompter) {
    // Links built by the matcher never point backwards, so a normal comparison shows no message.
    ScriptedPrompter prompter;
    RecordingSink left, right;
    TVisDiff diff;
    diff.LeftText = &left;
    diff.RightText = &right;
    diff.prompter = &prompter;
    diff.Compare({"a", "b", "c"}, {"c", "b", "a"}, false);
    EXPECT_TRUE(prompter.Messages().empty());
    EXPECT_EQ(left.rows.size(), right.rows.size());
}
