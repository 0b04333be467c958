#pragma once
// The loop variables of the For statements open at the current line, innermost on top.
//
// The stack is a value: a pass's state is copied and compared where a later pass may skip ahead
// (PassState.h), so its nodes sit in one vector rather than in a chain of heap nodes.

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kemptor {

struct TForStackNode {
    std::string Name;
    bool operator==(const TForStackNode&) const = default;
};

class TForStack {
public:
    void Push(std::string name) { nodes_.push_back(TForStackNode{std::move(name)}); }
    // The top name, or an empty string when the stack is empty.
    std::string Peek() const { return nodes_.empty() ? std::string() : nodes_.back().Name; }
    // Removes the top node and gives its name; std::nullopt (and no change) when the stack is empty.
    std::optional<std::string> Pop() {
        if (nodes_.empty())
            return std::nullopt;
        std::string name = std::move(nodes_.back().Name);
        nodes_.pop_back();
        return name;
    }
    bool Empty() const { return nodes_.empty(); }
    void Clear() { nodes_.clear(); }
    const std::vector<TForStackNode>& Nodes() const { return nodes_; }
    bool operator==(const TForStack&) const = default;

private:
    std::vector<TForStackNode> nodes_; // the innermost loop last
};

} // namespace kemptor
