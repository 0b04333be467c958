#include "platform/Prompter.h"

#include <iostream>

namespace kemptor {

std::string_view PromptKindName(PromptKind kind) {
    switch (kind) {
    case PromptKind::Information:
        return "information";
    case PromptKind::Warning:
        return "warning";
    case PromptKind::Error:
        return "error";
    case PromptKind::Confirmation:
        return "confirmation";
    case PromptKind::None:
        break;
    }
    return "message";
}

static PromptAnswer FirstButton(PromptButtons buttons) {
    return (buttons == PromptButtons::Ok || buttons == PromptButtons::OkCancel) ? PromptAnswer::Ok
                                                                                : PromptAnswer::Yes;
}

CliPrompter::CliPrompter(std::vector<std::string> answerNoPrefixes)
    : answerNoPrefixes_(std::move(answerNoPrefixes)) {}

PromptAnswer CliPrompter::Show(PromptKind kind, const std::string& text, PromptButtons buttons) {
    std::cerr << PromptKindName(kind) << ": " << text << '\n';
    if (buttons == PromptButtons::YesNo || buttons == PromptButtons::YesNoCancel) {
        for (const auto& prefix : answerNoPrefixes_)
            if (text.rfind(prefix, 0) == 0)
                return PromptAnswer::No;
    }
    return FirstButton(buttons);
}

PromptAnswer ScriptedPrompter::Show(PromptKind kind, const std::string& text, PromptButtons buttons) {
    shown_.push_back({kind, text, buttons});
    if (next_ < script_.size())
        return script_[next_++];
    return FirstButton(buttons);
}

std::vector<std::string> ScriptedPrompter::Texts() const {
    std::vector<std::string> texts;
    for (const auto& s : shown_)
        texts.push_back(s.text);
    return texts;
}

bool ScriptedPrompter::Saw(std::string_view textPart) const {
    for (const auto& s : shown_)
        if (s.text.find(textPart) != std::string::npos)
            return true;
    return false;
}

} // namespace kemptor
