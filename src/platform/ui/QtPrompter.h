#pragma once
// The desktop prompter: a modal message box with the application title as caption. The busy cursor is
// taken down while the box is up.

#include "platform/Prompter.h"

#include <QPointer>
#include <QWidget>

class QMessageBox;

namespace kemptor {

// The width a message box needs so that the window manager shows its whole caption beside the title
// bar's buttons, however short the text is.
int CaptionWidth(const QString& caption);
// Widens a message box to CaptionWidth of its caption (boxes size themselves to their text only).
void FitCaption(QMessageBox& box);

class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    PromptAnswer Show(PromptKind kind, const std::string& text, PromptButtons buttons) override;

private:
    QPointer<QWidget> parent_;
};

} // namespace kemptor
