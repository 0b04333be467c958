#include "cli/TextChanges.h"

#include "view/TVisDiff.h"

#include <algorithm>

namespace kemptor {

namespace {

enum class Op { Same, Delete, Insert };
struct Edit {
    Op op;
    std::size_t left;
    std::size_t right;
};

// The edit script of two texts: every line of both, in order, as kept, deleted or inserted.
std::vector<Edit> EditScript(const TextLines& before, const TextLines& after) {
    const DiffLinks links = TVisDiff::FindOptimalDiff(before, after, false);
    std::vector<Edit> edits;
    std::size_t i = 0, j = 0;
    while (i < before.size() || j < after.size()) {
        if (i < before.size() && links.left[i].Partner < 0)
            edits.push_back({Op::Delete, i++, j});
        else if (j < after.size() && links.right[j].Partner < 0)
            edits.push_back({Op::Insert, i, j++});
        else
            edits.push_back({Op::Same, i++, j++});
    }
    return edits;
}

} // namespace

std::vector<ChangeBlock> FindChangeBlocks(const TextLines& before, const TextLines& after) {
    std::vector<ChangeBlock> blocks;
    bool open = false;
    for (const Edit& e : EditScript(before, after)) {
        if (e.op == Op::Same) {
            open = false;
            continue;
        }
        if (!open)
            blocks.push_back({e.left, 0, e.right, 0});
        open = true;
        (e.op == Op::Delete ? blocks.back().leftCount : blocks.back().rightCount) += 1;
    }
    return blocks;
}

// A unified diff of two texts with three lines of context, lines matched by the optimal diff.
void WriteUnifiedDiff(std::ostream& out, const std::string& path, const TextLines& before,
                      const TextLines& after) {
    constexpr std::size_t kContext = 3;
    const std::vector<Edit> edits = EditScript(before, after);

    bool headerWritten = false;
    std::size_t k = 0;
    while (k < edits.size()) {
        if (edits[k].op == Op::Same) {
            ++k;
            continue;
        }
        // A hunk runs from the change's context to the end of the last change that lies within twice
        // the context of the one before it.
        const std::size_t start = k > kContext ? k - kContext : 0;
        std::size_t end = k;
        std::size_t sameRun = 0;
        for (std::size_t m = k; m < edits.size(); ++m) {
            if (edits[m].op == Op::Same) {
                if (++sameRun > 2 * kContext)
                    break;
            } else {
                sameRun = 0;
                end = m + 1;
            }
        }
        end = std::min(edits.size(), end + kContext);

        std::size_t leftCount = 0, rightCount = 0;
        for (std::size_t m = start; m < end; ++m) {
            leftCount += edits[m].op != Op::Insert;
            rightCount += edits[m].op != Op::Delete;
        }
        if (!headerWritten) {
            out << "--- " << path << "\n+++ " << path << "\n";
            headerWritten = true;
        }
        const std::size_t leftStart = leftCount > 0 ? edits[start].left + 1 : edits[start].left;
        const std::size_t rightStart = rightCount > 0 ? edits[start].right + 1 : edits[start].right;
        out << "@@ -" << leftStart << ',' << leftCount << " +" << rightStart << ',' << rightCount << " @@\n";
        for (std::size_t m = start; m < end; ++m) {
            switch (edits[m].op) {
            case Op::Same:
                out << ' ' << before[edits[m].left] << '\n';
                break;
            case Op::Delete:
                out << '-' << before[edits[m].left] << '\n';
                break;
            case Op::Insert:
                out << '+' << after[edits[m].right] << '\n';
                break;
            }
        }
        k = end;
    }
}

} // namespace kemptor
