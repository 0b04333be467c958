#include "view/TVisDiff.h"

#include "platform/LineHash.h"
#include "platform/Prompter.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace kemptor {

// Lines are compared byte for byte; both texts are hashed to dense ids first so that every later test
// of equality is an integer comparison.
struct TVisDiff::LineIds {
    std::vector<int> left;
    std::vector<int> right;
    int blank = -1; // id of the empty line, -1 when neither text has one
};

namespace {

using LineIds = TVisDiff::LineIds;

// Ids are given in the order the lines are first met. The table is open-addressed, one flat array
// with no allocation per line: a text of a hundred thousand lines is hashed in a few milliseconds.
template <class Lines> LineIds HashLines(const Lines& lines1, const Lines& lines2) {
    LineIds ids;
    // Eight bytes a slot (the upper half of the hash beside the id; the lower half picks the slot), at
    // most three quarters full: the table is among the largest memory of a comparison, and every page of
    // it is touched.
    struct Slot {
        std::uint32_t tag = 0;
        int id = -1; // -1: empty
    };
    const std::size_t capacity = std::bit_ceil(4 * (lines1.size() + lines2.size()) / 3 + 16);
    std::vector<Slot> slots(capacity);
    std::vector<std::string_view> texts; // the first line of each id
    texts.reserve(lines1.size() + lines2.size());
    auto idOf = [&](std::string_view line) {
        const std::uint64_t hash = LineHash(line);
        const auto tag = static_cast<std::uint32_t>(hash >> 32);
        for (std::size_t i = hash & (capacity - 1);; i = (i + 1) & (capacity - 1)) {
            Slot& slot = slots[i];
            if (slot.id < 0) {
                slot = {tag, static_cast<int>(texts.size())};
                texts.push_back(line);
                return slot.id;
            }
            if (slot.tag == tag && texts[static_cast<std::size_t>(slot.id)] == line)
                return slot.id;
        }
    };
    ids.left.reserve(lines1.size());
    ids.right.reserve(lines2.size());
    for (const auto& line : lines1)
        ids.left.push_back(idOf(line));
    for (const auto& line : lines2)
        ids.right.push_back(idOf(line));
    for (std::size_t id = 0; id < texts.size(); ++id) {
        if (texts[id].empty()) {
            ids.blank = static_cast<int>(id);
            break;
        }
    }
    return ids;
}

struct Match {
    int left = 0;
    int right = 0;
    int length = 0; // 0: no run
};

// Suffix automaton over one range of the right text. Its transitions live in one open-addressing table
// keyed by (state, line id); each state also keeps a chain of its own transitions so that a clone can
// copy them. firstEnd and lastEnd are the end indexes of the first and last occurrence of the state's
// strings. An automaton built for [lo, hi) also answers for any later range [p, hi) with p > lo: a match
// counts only where it occurs at or after p, which lastEnd tells. So a chain of ranges that share their
// end (the part below each fixed run) is searched with one automaton.
class RunFinder {
public:
    // The longest run of equal lines that lies inside both ranges, with the lowest left start and then
    // the lowest right start among the longest. A left line that is blank cannot start a run when
    // nextNonBlank is given; nextNonBlank[k] is the first left index >= k that is not blank. No run can be
    // longer than `bound`, so the search stops at the first run of that length.
    Match Longest(const std::vector<int>& left, int lo1, int hi1, const std::vector<int>& right, int lo2,
                  int hi2, const std::vector<int>* nextNonBlank, int bound) {
        if (!(builtHi_ == hi2 && builtLo_ <= lo2 && builtFor_ == &right))
            Build(right, lo2, hi2);
        const int p = lo2;
        Match best;
        int bestState = 0;
        int state = 0;
        int length = 0;
        for (int e = lo1; e < hi1; ++e) {
            const int c = left[e];
            int next;
            while (state != 0 && (next = Step(state, c)) < 0) {
                state = link_[state];
                length = len_[state];
            }
            next = Step(state, c);
            if (next >= 0) {
                state = next;
                ++length;
                // Keep only the part of the match that occurs at or after p.
                while (state != 0) {
                    const int allowed = lastEnd_[state] - p + 1;
                    if (allowed > len_[link_[state]]) {
                        length = std::min(length, allowed);
                        break;
                    }
                    state = link_[state]; // every string of the state starts before p
                    length = len_[state];
                }
            } else {
                state = 0;
                length = 0;
            }
            int valid = length;
            if (nextNonBlank != nullptr && length > 0) {
                const int firstStart = (*nextNonBlank)[e - length + 1];
                valid = firstStart <= e ? e - firstStart + 1 : 0;
            }
            if (valid > best.length) {
                best.length = valid;
                best.left = e - valid + 1;
                bestState = state;
                if (valid >= bound)
                    break;
            }
        }
        if (best.length == 0)
            return best;
        if (p == builtLo_) {
            // The run is a suffix of what the automaton had matched at its end; its state is the one on
            // the suffix-link path whose length range holds the run's length.
            while (len_[link_[bestState]] >= best.length)
                bestState = link_[bestState];
            best.right = firstEnd_[bestState] - best.length + 1;
        } else {
            best.right = FirstOccurrence(left, best.left, best.length, right, p, hi2);
        }
        return best;
    }

private:
    static constexpr std::uint64_t kEmpty = ~std::uint64_t{0};

    struct Slot {
        std::uint64_t key;
        int target;
        int nextOfState; // next transition slot of the same state, -1 at the end
    };

    static constexpr int kNoChar = -1;
    std::vector<int> len_, link_, firstEnd_, lastEnd_, firstSlot_, inlineChar_, inlineTarget_;
    std::vector<Slot> table_;
    const std::vector<int>* builtFor_ = nullptr;
    int builtLo_ = -1, builtHi_ = -1;
    std::vector<int> border_;
    std::uint64_t mask_ = 0;
    int shift_ = 60;
    std::size_t used_ = 0;                   // slots of table_ in use
    std::vector<std::pair<int, int>> moved_; // the transitions a clone takes over

    static std::uint64_t Key(int state, int c) {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(state)) << 32) |
               static_cast<std::uint32_t>(c);
    }
    std::uint64_t SlotOf(std::uint64_t key) const { return (key * 0x9E3779B97F4A7C15ull) >> shift_; }
    int Step(int state, int c) const {
        if (inlineChar_[state] == c)
            return inlineTarget_[state];
        if (firstSlot_[state] < 0)
            return -1;
        const std::uint64_t key = Key(state, c);
        for (std::uint64_t s = SlotOf(key);; s = (s + 1) & mask_) {
            if (table_[s].key == key)
                return table_[s].target;
            if (table_[s].key == kEmpty)
                return -1;
        }
    }
    // Sets or replaces the transition of state on c. A state's first transition is kept beside the state
    // (most states have only one); the others go to the table.
    void Put(int state, int c, int target) {
        if (inlineChar_[state] == c || inlineChar_[state] == kNoChar) {
            inlineChar_[state] = c;
            inlineTarget_[state] = target;
            return;
        }
        const std::uint64_t key = Key(state, c);
        std::uint64_t s = SlotOf(key);
        for (; table_[s].key != kEmpty; s = (s + 1) & mask_) {
            if (table_[s].key == key) {
                table_[s].target = target;
                return;
            }
        }
        if (4 * (used_ + 1) > 3 * table_.size()) {
            Grow();
            Put(state, c, target);
            return;
        }
        table_[s] = Slot{key, target, firstSlot_[state]};
        firstSlot_[state] = static_cast<int>(s);
        ++used_;
    }
    // The table at twice its size, every transition in it again (the chains of the states rebuilt);
    // most texts need a small part of the 3n transitions an automaton may have.
    void Grow() {
        std::vector<Slot> old(table_.size() * 2, Slot{kEmpty, 0, -1});
        old.swap(table_);
        mask_ = table_.size() - 1;
        --shift_;
        std::fill(firstSlot_.begin(), firstSlot_.end(), -1);
        for (const Slot& slot : old) {
            if (slot.key == kEmpty)
                continue;
            const int state = static_cast<int>(slot.key >> 32);
            std::uint64_t s = SlotOf(slot.key);
            while (table_[s].key != kEmpty)
                s = (s + 1) & mask_;
            table_[s] = Slot{slot.key, slot.target, firstSlot_[state]};
            firstSlot_[state] = static_cast<int>(s);
        }
    }
    int NewState(int length, int suffixLink, int firstEnd) {
        len_.push_back(length);
        link_.push_back(suffixLink);
        firstEnd_.push_back(firstEnd);
        firstSlot_.push_back(-1);
        inlineChar_.push_back(kNoChar);
        inlineTarget_.push_back(-1);
        return static_cast<int>(len_.size()) - 1;
    }

    // The first start at or after `from` of the run left[a, a + n) in right[from, hi), by a border
    // (prefix function) search.
    int FirstOccurrence(const std::vector<int>& left, int a, int n, const std::vector<int>& right, int from,
                        int hi) {
        border_.assign(static_cast<std::size_t>(n), 0);
        for (int i = 1, k = 0; i < n; ++i) {
            while (k > 0 && left[a + i] != left[a + k])
                k = border_[k - 1];
            if (left[a + i] == left[a + k])
                ++k;
            border_[i] = k;
        }
        for (int j = from, k = 0; j < hi; ++j) {
            while (k > 0 && right[j] != left[a + k])
                k = border_[k - 1];
            if (right[j] == left[a + k])
                ++k;
            if (k == n)
                return j - n + 1;
        }
        return -1; // cannot happen: the automaton saw the run in this range
    }

    void Build(const std::vector<int>& text, int lo, int hi) {
        builtFor_ = &text;
        builtLo_ = lo;
        builtHi_ = hi;
        const std::size_t n = static_cast<std::size_t>(hi - lo);
        len_.clear();
        link_.clear();
        firstEnd_.clear();
        firstSlot_.clear();
        inlineChar_.clear();
        inlineTarget_.clear();
        inlineChar_.reserve(2 * n + 1);
        inlineTarget_.reserve(2 * n + 1);
        len_.reserve(2 * n + 1);
        link_.reserve(2 * n + 1);
        firstEnd_.reserve(2 * n + 1);
        firstSlot_.reserve(2 * n + 1);
        // At most 3n transitions, the first of each state kept beside it; the table stays under 3/4 full
        // and grows when it would pass that. It starts at an eighth of the largest size it may need.
        std::size_t capacity = 16;
        shift_ = 60;
        while (capacity < n / 2 + 16) {
            capacity <<= 1;
            --shift_;
        }
        table_.assign(capacity, Slot{kEmpty, 0, -1});
        mask_ = capacity - 1;
        used_ = 0;

        NewState(0, 0, -1); // the root links to itself; len 0 stops every suffix-link walk
        int last = 0;
        for (int i = lo; i < hi; ++i) {
            const int c = text[i];
            const int cur = NewState(len_[last] + 1, 0, i);
            int p = last;
            bool reachedRoot = false;
            while (Step(p, c) < 0) {
                Put(p, c, cur);
                if (p == 0) {
                    reachedRoot = true;
                    break;
                }
                p = link_[p];
            }
            if (!reachedRoot) {
                const int q = Step(p, c);
                if (len_[p] + 1 == len_[q]) {
                    link_[cur] = q;
                } else {
                    const int clone = NewState(len_[p] + 1, link_[q], firstEnd_[q]);
                    inlineChar_[clone] = inlineChar_[q];
                    inlineTarget_[clone] = inlineTarget_[q];
                    // Gathered first: a Put may grow the table, which moves the chain.
                    moved_.clear();
                    for (int s = firstSlot_[q]; s >= 0; s = table_[s].nextOfState)
                        moved_.emplace_back(static_cast<int>(table_[s].key & 0xFFFFFFFFu), table_[s].target);
                    for (const auto& [symbol, target] : moved_)
                        Put(clone, symbol, target);
                    while (Step(p, c) == q) {
                        Put(p, c, clone);
                        if (p == 0)
                            break;
                        p = link_[p];
                    }
                    link_[q] = clone;
                    link_[cur] = clone;
                }
            }
            last = cur;
        }
        // lastEnd: the largest end over each state's subtree of suffix links, longest states first.
        lastEnd_ = firstEnd_;
        std::vector<int> byLength(n + 2, 0), order(len_.size());
        for (int length : len_)
            ++byLength[length];
        for (std::size_t k = 1; k < byLength.size(); ++k)
            byLength[k] += byLength[k - 1];
        for (int v = static_cast<int>(len_.size()) - 1; v >= 0; --v)
            order[--byLength[len_[v]]] = v;
        for (auto it = order.rbegin(); it != order.rend(); ++it) {
            const int v = *it;
            if (v != 0)
                lastEnd_[link_[v]] = std::max(lastEnd_[link_[v]], lastEnd_[v]);
        }
    }
};

// Small ranges are searched pair by pair: cheaper than building an automaton, with the same result.
Match LongestByPairs(const std::vector<int>& left, int lo1, int hi1, const std::vector<int>& right, int lo2,
                     int hi2, int blankId) {
    Match best;
    for (int a = lo1; a < hi1; ++a) {
        if (left[a] == blankId)
            continue;
        for (int j = lo2; j < hi2; ++j) {
            if (left[a] != right[j])
                continue;
            int g = 1;
            while (a + g < hi1 && j + g < hi2 && left[a + g] == right[j + g])
                ++g;
            if (g > best.length)
                best = Match{a, j, g};
        }
    }
    return best;
}

struct Ranges {
    int lo1, hi1, lo2, hi2;
    int bound; // no run inside these ranges is longer
};

} // namespace

const char* DiffRowKindName(DiffRowKind kind) {
    switch (kind) {
    case DiffRowKind::Same:
        return "same";
    case DiffRowKind::Changed:
        return "changed";
    case DiffRowKind::Deleted:
        return "deleted";
    case DiffRowKind::Inserted:
        return "inserted";
    }
    return "";
}

DiffLinks TVisDiff::FindOptimalDiff(const std::vector<std::string>& lines1,
                                    const std::vector<std::string>& lines2, bool ignoreBlankAnchors) {
    return LinkLines(HashLines(lines1, lines2), ignoreBlankAnchors);
}

DiffLinks TVisDiff::FindOptimalDiff(const std::vector<std::string_view>& lines1,
                                    const std::vector<std::string_view>& lines2, bool ignoreBlankAnchors) {
    return LinkLines(HashLines(lines1, lines2), ignoreBlankAnchors);
}

DiffLinks TVisDiff::LinkLines(const LineIds& ids, bool ignoreBlankAnchors) {
    const int n1 = static_cast<int>(ids.left.size());
    const int n2 = static_cast<int>(ids.right.size());
    DiffLinks links;
    links.left.assign(ids.left.size(), TDiffObject{});
    links.right.assign(ids.right.size(), TDiffObject{});

    const int blankId = ignoreBlankAnchors ? ids.blank : -1;
    std::vector<int> nextNonBlank;
    if (blankId >= 0) {
        nextNonBlank.resize(static_cast<std::size_t>(n1) + 1);
        nextNonBlank[n1] = n1;
        for (int k = n1 - 1; k >= 0; --k)
            nextNonBlank[k] = ids.left[k] == blankId ? nextNonBlank[k + 1] : k;
    }

    // Each pair of ranges is searched on its own, so the order of the work does not change the links;
    // an explicit stack keeps deep splits off the call stack.
    RunFinder finder;
    std::vector<Ranges> pending{{0, n1, 0, n2, std::min(n1, n2)}};
    while (!pending.empty()) {
        const Ranges r = pending.back();
        pending.pop_back();
        if (r.lo1 >= r.hi1 || r.lo2 >= r.hi2)
            continue;
        const long pairs = static_cast<long>(r.hi1 - r.lo1) * (r.hi2 - r.lo2);
        const Match m = pairs <= 256
                            ? LongestByPairs(ids.left, r.lo1, r.hi1, ids.right, r.lo2, r.hi2, blankId)
                            : finder.Longest(ids.left, r.lo1, r.hi1, ids.right, r.lo2, r.hi2,
                                             blankId >= 0 ? &nextNonBlank : nullptr,
                                             std::min({r.bound, r.hi1 - r.lo1, r.hi2 - r.lo2}));
        if (m.length == 0)
            continue;
        for (int k = 0; k < m.length; ++k) {
            links.left[m.left + k] = TDiffObject{m.right + k, m.length};
            links.right[m.right + k] = TDiffObject{m.left + k, m.length};
        }
        // The part below the run goes first: it shares the right end of these ranges, so the automaton
        // built for them still serves.
        pending.push_back({r.lo1, m.left, r.lo2, m.right, m.length});
        pending.push_back({m.left + m.length, r.hi1, m.right + m.length, r.hi2, m.length});
    }
    return links;
}

std::vector<DiffRow> TVisDiff::DisplayOptimalDiff(const DiffLinks& links, bool* internalError) {
    std::vector<DiffRow> rows;
    const int n1 = static_cast<int>(links.left.size());
    const int n2 = static_cast<int>(links.right.size());
    rows.reserve(static_cast<std::size_t>(std::max(n1, n2)));
    if (internalError != nullptr)
        *internalError = false;
    auto partnerOf = [&links](int i) { return links.left[i].Partner; };
    int i = 0;
    int j = 0;
    while (i < n1 || j < n2) {
        // Unmatched left lines: paired with unmatched right lines while there are some, else deleted.
        while (i < n1 && partnerOf(i) == -1) {
            if (j < n2 && links.right[j].Partner == -1) {
                rows.push_back({DiffRowKind::Changed, i++, j++});
            } else {
                rows.push_back({DiffRowKind::Deleted, i++, -1});
            }
        }
        while (i >= n1 && j < n2)
            rows.push_back({DiffRowKind::Inserted, -1, j++});
        while (j >= n2 && i < n1)
            rows.push_back({DiffRowKind::Deleted, i++, -1});
        if (i < n1 && partnerOf(i) < j) {
            // A link pointing backwards cannot come from FindOptimalDiff; the line is shown as deleted so
            // that the walk still ends.
            if (internalError != nullptr)
                *internalError = true;
            rows.push_back({DiffRowKind::Deleted, i++, -1});
            continue;
        }
        if (i < n1 && partnerOf(i) == j)
            rows.push_back({DiffRowKind::Same, i++, j++});
        if (i < n1 && j < n2) {
            while (partnerOf(i) > j) {
                rows.push_back({DiffRowKind::Inserted, -1, j++});
                if (j >= n2)
                    break;
            }
        }
    }
    return rows;
}

std::vector<DiffRow> TVisDiff::Rows(const std::vector<std::string>& lines1,
                                    const std::vector<std::string>& lines2, bool ignoreBlankAnchors) {
    return DisplayOptimalDiff(FindOptimalDiff(lines1, lines2, ignoreBlankAnchors));
}

std::vector<DiffRow> TVisDiff::Rows(const std::vector<std::string_view>& lines1,
                                    const std::vector<std::string_view>& lines2, bool ignoreBlankAnchors) {
    return DisplayOptimalDiff(FindOptimalDiff(lines1, lines2, ignoreBlankAnchors));
}

TColor TVisDiff::RowTextColor(DiffRowKind kind) {
    return kind == DiffRowKind::Deleted || kind == DiffRowKind::Inserted ? clBlue : clBlack;
}

TColor TVisDiff::RowBackColor(DiffRowKind kind) {
    return kind == DiffRowKind::Same ? clWindow : clYellow;
}

void TVisDiff::Compare(const std::vector<std::string>& lines1, const std::vector<std::string>& lines2,
                       bool ignoreBlankAnchors) {
    if (LeftText == nullptr || RightText == nullptr)
        return;
    IgnoreBlankAnchors = ignoreBlankAnchors;
    bool internalError = false;
    const std::vector<DiffRow> rows =
        DisplayOptimalDiff(FindOptimalDiff(lines1, lines2, IgnoreBlankAnchors), &internalError);
    if (internalError && prompter != nullptr)
        prompter->Show(PromptKind::Error, "DisplayOptimalDiff: Internal Error", PromptButtons::Ok);

    static const std::string filler;
    LeftText->ClearRows();
    RightText->ClearRows();
    for (const DiffRow& row : rows) {
        const TColor text = RowTextColor(row.kind);
        const TColor back = RowBackColor(row.kind);
        if (row.left >= 0)
            LeftText->AppendRow(lines1[row.left], text, back);
        else
            LeftText->AppendRow(filler, clBlack, clSilver);
        if (row.right >= 0)
            RightText->AppendRow(lines2[row.right], text, back);
        else
            RightText->AppendRow(filler, clBlack, clSilver);
    }
    LeftText->RowsDone();
    RightText->RowsDone();
}

} // namespace kemptor
