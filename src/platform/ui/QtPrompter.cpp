#include "platform/ui/QtPrompter.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>

namespace kemptor {

int CaptionWidth(const QString& caption) {
    // Title bars draw in a bold face, often larger than the dialog's; the buttons and the icon of the
    // title bar take about 120 pixels.
    QFont font = QApplication::font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.15);
    return QFontMetrics(font).horizontalAdvance(caption) + 120;
}

void FitCaption(QMessageBox& box) {
    // A spacer across the box's grid: its width is the least the box's layout gives the box.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(CaptionWidth(box.windowTitle()), 0, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
}

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
    FitCaption(box);
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
