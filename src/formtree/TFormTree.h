#pragma once
// The structure of a form file: the objects of its designer part (the form, its controls, nested
// controls and property groups), each with the property lines written for it.
//
// The text part of a form describes its objects as blocks that open with a "Begin KIND NAME" line (or
// "BeginProperty NAME" for a property group) and close with an "End" (or "EndProperty") line, with one
// "Name = Value" line per property inside. The tree keeps the objects in file order, which is the order
// of the controls on the form.
//
// Nodes are stored flat, in the order a depth-first walk visits them, each with its depth: the tree
// is shown, dumped and freed without recursion, so a file of absurdly deep nesting cannot exhaust the
// stack.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TextFile.h"

namespace kemptor {

struct TFormProperty {
    std::string name;
    std::string value;
};

struct TFormNode {
    std::string kind; // as written after "Begin" (VB.Form, VB.CommandButton, Property), "Form", "File"
    std::string name; // as written after the kind; the project name for the root, the file name for the file
    std::vector<TFormProperty> properties; // in file order; empty for the root and the file node
    int depth = 0;                         // 0 the root, 1 the file node, 2 the form object, ...
    int parent = -1;                       // index of the parent node; -1 for the root

    // The text of the node in a tree: kind + ": " + name.
    std::string Text() const { return kind + ": " + name; }
};

// Receives the parser's diagnostic lines; an empty function produces none.
using FormTreeEcho = std::function<void(const std::string& line)>;

class TFormTree {
public:
    static constexpr int kRoot = 0;
    static constexpr int kFile = 1;

    // The tree of a form file's lines: the root (kind "Form", the project name), the file node (kind
    // "File", the file name) beneath it, and the file's objects beneath that.
    static TFormTree Build(const std::string& projectName, const std::string& fileName,
                           const TextLines& lines, const FormTreeEcho& echo = {});

    // Every node in display order (a parent before its children, children in file order).
    const std::vector<TFormNode>& Nodes() const { return nodes_; }

    // Objects nested deeper than this are left out: the indented text of a tree grows with the square of
    // its depth, and no designer nests controls nearly this deep.
    static constexpr int kMaxDepth = 256;
    // True when the file nests objects deeper than kMaxDepth and the tree stops before them.
    bool DepthLimited() const { return depthLimited_; }
    const TFormNode& Node(int index) const { return nodes_[static_cast<size_t>(index)]; }

    // The tree below its root as indented text, two blanks per level: "File: NAME" at level 0, each
    // object "kind: name" one level below its parent, under an object with properties first a
    // "Properties" line and its "name = value" rows one level deeper, then its nested objects. Each
    // line ends with "\n".
    std::string Dump() const;

private:
    void Parse(const TextLines& lines, const FormTreeEcho& echo);
    int AddNode(int parent, std::string kind, std::string name);

    std::vector<TFormNode> nodes_;
    bool depthLimited_ = false;
};

// A property line "Name = Value": both trimmed around the first "="; a line without "=" gives an empty
// name and the whole line as the value.
TFormProperty ParseFormProperty(std::string_view trimmedLine);

} // namespace kemptor
