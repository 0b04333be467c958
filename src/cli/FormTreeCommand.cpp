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
        std::cout << TFormTree::Build(name, name, *lines).Dump() << std::flush;
        return kExitOk;
    }

private:
    std::string file_;
};

const bool registered = RegisterCliCommand<FormTreeCommand>(
    "formtree", "Print the objects and properties of a form file as a tree");

} // namespace
} // namespace kemptor
