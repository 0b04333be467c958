#include "formtree/TFormTree.h"

#include "formatter/LineHelpers.h"

namespace kemptor {

namespace {

// A line that opens or closes a block: it starts with "BEGIN" or "END" in any letter case
// ("BeginProperty", "EndProperty" included) and assigns nothing. A property whose name merely starts
// with those letters ("EndDate = 1", "BeginTime = 0") stays a property instead of closing its object.
bool IsBlockLine(std::string_view line, std::string_view upperWord) {
    return StartsWithUpper(line, upperWord) && line.find('=') == std::string_view::npos;
}

} // namespace

TFormProperty ParseFormProperty(std::string_view trimmedLine) {
    const size_t eq = trimmedLine.find('=');
    if (eq == std::string_view::npos)
        return {std::string(), std::string(trimmedLine)};
    return {std::string(Trim(trimmedLine.substr(0, eq))), std::string(Trim(trimmedLine.substr(eq + 1)))};
}

TFormTree TFormTree::Build(const std::string& projectName, const std::string& fileName,
                           const TextLines& lines, const FormTreeEcho& echo) {
    TFormTree tree;
    tree.AddNode(-1, "Form", projectName);
    tree.AddNode(kRoot, "File", fileName);
    tree.Parse(lines, echo);
    return tree;
}

int TFormTree::AddNode(int parent, std::string kind, std::string name) {
    TFormNode node;
    node.kind = std::move(kind);
    node.name = std::move(name);
    node.parent = parent;
    node.depth = parent < 0 ? 0 : Node(parent).depth + 1;
    nodes_.push_back(std::move(node));
    return static_cast<int>(nodes_.size()) - 1;
}

// One walk over the lines with a stack of the open blocks. Lines at file level are skipped until the
// first block; inside a block every other line is one of its properties. The last line of the file is
// never examined: in a well-formed file it is the form's closing "End" or a line of code.
void TFormTree::Parse(const TextLines& lines, const FormTreeEcho& echo) {
    std::vector<int> open{kFile};
    for (size_t index = 0; index + 1 < lines.size(); ++index) {
        const std::string_view line = Trim(lines[index]);
        const int current = open.back();
        const int level = static_cast<int>(open.size()) - 1;
        const bool begins = IsBlockLine(line, "BEGIN");
        const bool ends = IsBlockLine(line, "END");

        // Property lines are told from block lines by the exact capitalisation the designer writes.
        if (level > 0 && ((!StartsWith(line, "Begin") && !StartsWith(line, "End")) || (!begins && !ends))) {
            TFormProperty property = ParseFormProperty(line);
            if (echo)
                echo("Level: " + std::to_string(level) + " --> " + property.name + " = " + property.value);
            nodes_[static_cast<size_t>(current)].properties.push_back(std::move(property));
        }

        if (begins && level >= kMaxDepth) {
            depthLimited_ = true;
            return;
        }
        if (begins) {
            // "Begin VB.CommandButton cmdOK" or "BeginProperty Font": the kind up to the first blank.
            const std::string_view rest = Trim(line.substr(5));
            const size_t blank = rest.find(' ');
            std::string kind;
            std::string name(rest);
            if (blank != std::string_view::npos) {
                kind = std::string(Trim(rest.substr(0, blank)));
                name = std::string(Trim(rest.substr(blank + 1)));
            }
            if (echo)
                echo(kind + ": " + name);
            // Appended after its earlier siblings, so that the controls keep the order of the file.
            open.push_back(AddNode(current, std::move(kind), std::move(name)));
        } else if (ends) {
            // An "End" at file level is the code part's first "End Sub" or the like: nothing more to read.
            if (level == 0)
                return;
            open.pop_back();
            // The form's own block is closed: the rest of the file is code, whose lines may begin with
            // the same letters ("BeginTrans") without being objects.
            if (open.size() == 1)
                return;
        }
    }
}

std::string TFormTree::Dump() const {
    std::string text;
    for (size_t i = kFile; i < nodes_.size(); ++i) {
        const TFormNode& node = nodes_[i];
        const int level = node.depth - 1;
        text += Spaces(2 * level) + node.Text() + "\n";
        if (node.properties.empty())
            continue;
        text += Spaces(2 * (level + 1)) + "Properties\n";
        for (const TFormProperty& property : node.properties)
            text += Spaces(2 * (level + 2)) + property.name + " = " + property.value + "\n";
    }
    return text;
}

} // namespace kemptor
