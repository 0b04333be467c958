#pragma once
// The desktop prompter: a modal message box with the application title as caption. The busy cursor is
// taken down while the box is up.

#include "platform/Prompter.h"

#include <QPointer>
#include <QWidget>

namespace kemptor {

class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    PromptAnswer Show(PromptKind kind, const std::string& text, PromptButtons buttons) override;

private:
    QPointer<QWidget> parent_;
};

} // namespace kemptor
