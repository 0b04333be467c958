#include "platform/ui/QtPrompter.h"

#include <QApplication>
#include <QMessageBox>

namespace kemptor {

PromptAnswer QtPrompter::Show(PromptKind kind, const std::string& text, PromptButtons buttons) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (kind) {
    case PromptKind::Information:
        icon = QMessageBox::Information;
        break;
    case PromptKind::Warning:
        icon = QMessageBox::Warning;
        break;
    case PromptKind::Error:
        icon = QMessageBox::Critical;
        break;
    case PromptKind::Confirmation:
        icon = QMessageBox::Question;
        break;
    case PromptKind::None:
        break;
    }
    QMessageBox::StandardButtons set = QMessageBox::Ok;
    switch (buttons) {
    case PromptButtons::Ok:
        set = QMessageBox::Ok;
        break;
    case PromptButtons::OkCancel:
        set = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case PromptButtons::YesNo:
        set = QMessageBox::Yes | QMessageBox::No;
        break;
    case PromptButtons::YesNoCancel:
        set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    }
    // A box takes the state of its parent: one parented by a disabled window (the main window during a
    // run) could be read but not answered. The box goes to a window that accepts input, or stands alone.
    QWidget* parent = QApplication::activeModalWidget();
    for (QWidget* candidate : {parent_.data(), QApplication::activeWindow()})
        if (!parent && candidate && candidate->isEnabled())
            parent = candidate;
    QMessageBox box(icon, QApplication::applicationName(), QString::fromStdString(text), set, parent);
    int cursors = 0;
    while (QApplication::overrideCursor()) {
        QApplication::restoreOverrideCursor();
        ++cursors;
    }
    int answer = box.exec();
    while (cursors-- > 0)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    switch (answer) {
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    case QMessageBox::Cancel:
        return PromptAnswer::Cancel;
    case QMessageBox::Ok:
        return PromptAnswer::Ok;
    default:
        break;
    }
    // Closed without a button (Escape, the close box): the safe answer of each set.
    return buttons == PromptButtons::Ok      ? PromptAnswer::Ok
           : buttons == PromptButtons::YesNo ? PromptAnswer::No
                                             : PromptAnswer::Cancel;
}

} // namespace kemptor
