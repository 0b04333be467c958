// kemptor-cli compare LEFT RIGHT: the rows of the visual comparison of two files as TSV,
// same|changed|deleted|inserted<TAB>left<TAB>right, the field facing a one-sided line left empty; the
// lines are escaped by TsvField.
#include <iostream>

#include "cli/CliCommand.h"
#include "platform/TextFile.h"
#include "view/TVisDiff.h"

namespace kemptor {
namespace {

class CompareCommand : public CliCommand {
public:
    void Setup(CLI::App& sub) override {
        sub.add_option("LEFT", left_, "The first (before) file")->required();
        sub.add_option("RIGHT", right_, "The second (after) file")->required();
    }

    int Run() override {
        const auto lines1 = ReadTextLines(left_);
        const auto lines2 = ReadTextLines(right_);
        for (const std::string* missing : {lines1 ? nullptr : &left_, lines2 ? nullptr : &right_}) {
            if (missing != nullptr) {
                std::cerr << "error: Cannot read file " << *missing << '\n';
                return kExitBadInput;
            }
        }
        std::string text;
        for (const DiffRow& row : TVisDiff::Rows(*lines1, *lines2)) {
            text += DiffRowKindName(row.kind);
            text += '\t';
            if (row.left >= 0)
                text += TsvField((*lines1)[row.left]);
            text += '\t';
            if (row.right >= 0)
                text += TsvField((*lines2)[row.right]);
            text += '\n';
            if (text.size() > (1 << 16)) {
                std::cout << text;
                text.clear();
            }
        }
        std::cout << text << std::flush;
        return kExitOk;
    }

private:
    std::string left_;
    std::string right_;
};

const bool registered =
    RegisterCliCommand<CompareCommand>("compare", "Compare two files line by line (TSV rows)");

} // namespace
} // namespace kemptor
