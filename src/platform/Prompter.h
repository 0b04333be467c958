#pragma once
// The message-box seam. Every message and question of the core goes through a Prompter so that the
// GUI shows a message box, the command line prints to stderr, and tests record and answer by script.

#include <string>
#include <string_view>
#include <vector>

namespace kemptor {

enum class PromptKind { None, Information, Warning, Error, Confirmation };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptAnswer { Ok, Cancel, Yes, No };

std::string_view PromptKindName(PromptKind kind); // "information", "warning", ...

class Prompter {
public:
    virtual ~Prompter() = default;
    // Shows one modal message and returns the button the user chose.
    virtual PromptAnswer Show(PromptKind kind, const std::string& text, PromptButtons buttons) = 0;
};

// Command-line prompter: prints "kind: text" to stderr and answers OK to OK/Cancel boxes and Yes to
// questions, unless a text is listed in `answerNo` (the delete question after a cancelled run).
class CliPrompter : public Prompter {
public:
    explicit CliPrompter(std::vector<std::string> answerNoPrefixes = {});
    PromptAnswer Show(PromptKind kind, const std::string& text, PromptButtons buttons) override;

private:
    std::vector<std::string> answerNoPrefixes_;
};

// Test prompter: records every message and returns prepared answers in order; once the script is used
// up it answers the first button of the set (OK or Yes).
class ScriptedPrompter : public Prompter {
public:
    struct Shown {
        PromptKind kind;
        std::string text;
        PromptButtons buttons;
    };

    void Answer(PromptAnswer answer) { script_.push_back(answer); }
    PromptAnswer Show(PromptKind kind, const std::string& text, PromptButtons buttons) override;

    const std::vector<Shown>& Messages() const { return shown_; }
    // The texts of the messages, in the order shown.
    std::vector<std::string> Texts() const;
    bool Saw(std::string_view textPart) const;
    void Clear() { shown_.clear(); }

private:
    std::vector<PromptAnswer> script_;
    size_t next_ = 0;
    std::vector<Shown> shown_;
};

} // namespace kemptor
