// kemptor-cli compare LEFT RIGHT: the rows of the visual comparison of two files as TSV,
// same|changed|deleted|inserted<TAB>left<TAB>right, the field facing a one-sided line left empty; the
// lines are escaped by TsvField.
#include <iostream>
#include <memory>
#include <string_view>
#include <vector>

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
        // Both files are read where they stand (mapped) and their lines are views of the mapped bytes.
        const std::shared_ptr<const MappedFile> file1 = MappedFile::Open(left_);
        const std::shared_ptr<const MappedFile> file2 = MappedFile::Open(right_);
        for (const std::string* missing : {file1 ? nullptr : &left_, file2 ? nullptr : &right_}) {
            if (missing != nullptr) {
                std::cerr << "error: Cannot read file " << *missing << '\n';
                return kExitBadInput;
            }
        }
        const std::vector<std::string_view> lines1 = SplitTextLineViews(file1->Bytes());
        const std::vector<std::string_view> lines2 = SplitTextLineViews(file2->Bytes());
        // The rows go out in blocks of about a megabyte.
        constexpr std::size_t kBlock = std::size_t{1} << 20;
        std::string text;
        text.reserve(kBlock + 4096);
        for (const DiffRow& row : TVisDiff::Rows(lines1, lines2)) {
            text += DiffRowKindName(row.kind);
            text += '\t';
            if (row.left >= 0)
                AppendTsvField(text, lines1[static_cast<std::size_t>(row.left)]);
            text += '\t';
            if (row.right >= 0)
                AppendTsvField(text, lines2[static_cast<std::size_t>(row.right)]);
            text += '\n';
            if (text.size() >= kBlock) {
                std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
                text.clear();
            }
        }
        std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
        std::cout.flush();
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
