#pragma once
// The loop variables of the For statements open at the current line, innermost on top.

#include <memory>
#include <optional>
#include <string>

namespace kemptor {

struct TForStackNode {
    std::string Name;
    std::unique_ptr<TForStackNode> NextNode; // the node below
};

class TForStack {
public:
    TForStack() = default;
    TForStack(const TForStack&) = delete;
    TForStack& operator=(const TForStack&) = delete;
    ~TForStack() { Clear(); }

    void Push(std::string name) {
        auto node = std::make_unique<TForStackNode>();
        node->Name = std::move(name);
        node->NextNode = std::move(top_);
        top_ = std::move(node);
    }
    // The top name, or an empty string when the stack is empty.
    std::string Peek() const { return top_ ? top_->Name : std::string(); }
    // Removes the top node and gives its name; std::nullopt (and no change) when the stack is empty.
    std::optional<std::string> Pop() {
        if (!top_)
            return std::nullopt;
        std::string name = std::move(top_->Name);
        top_ = std::move(top_->NextNode);
        return name;
    }
    bool Empty() const { return !top_; }
    // Unlinks node by node, so a file with a great many unclosed loops cannot exhaust the call stack.
    void Clear() {
        while (top_)
            top_ = std::move(top_->NextNode);
    }

private:
    std::unique_ptr<TForStackNode> top_;
};

} // namespace kemptor
