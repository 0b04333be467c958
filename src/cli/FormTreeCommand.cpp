// kemptor-cli formtree FORMFILE: the objects and properties of a form file as an indented tree, the
// same tree the form tree window shows below its root.
#include <iostream>

#include "cli/CliCommand.h"
#include "formtree/TFormTree.h"
#include "platform/WinPath.h"

namespace kemptor {
namespace {

class FormTreeCommand : public CliCommand {
public:
    void Setup(CLI::App& sub) override {
        sub.add_option("FORMFILE", file_, "A form file (*.frm)")->required();
    }

    int Run() override {
        const auto lines = ReadTextLines(file_);
        if (!lines) {
            std::cerr << "error: Cannot read file " << file_ << '\n';
            return kExitBadInput;
        }
        const std::string name = ExtractFileName(file_);
        const TFormTree tree = TFormTree::Build(name, name, *lines);
        std::cout << tree.Dump() << std::flush;
        if (tree.DepthLimited()) {
            std::cerr << "error: " << file_ << " nests objects more than " << TFormTree::kMaxDepth
                      << " levels deep; the tree stops there\n";
            return kExitBadInput;
        }
        return kExitOk;
    }

private:
    std::string file_;
};

const bool registered = RegisterCliCommand<FormTreeCommand>(
    "formtree", "Print the objects and properties of a form file as a tree");

} // namespace
} // namespace kemptor
