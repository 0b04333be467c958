#include "view/ui/TViewWindow.h"

#include "platform/Prompter.h"
#include "view/ui/TBigText.h"
#include "view/ui/TFindDialog.h"

#include <QLabel>
#include <QToolBar>
#include <QVBoxLayout>

namespace kemptor {

TViewWindow::TViewWindow(Prompter& prompter, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), prompter_(prompter) {
    setProperty("helpContext", kHelpContext);
    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    barButtons_ = new QToolBar(this);
    barButtons_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    barButtons_->setIconSize(QSize(20, 20));
    layout_->addWidget(barButtons_);
    // The title area: the caption on a band shaded from navy to the window colour.
    lblTitle_ = new QLabel(this);
    lblTitle_->setContentsMargins(8, 3, 8, 3);
    lblTitle_->setStyleSheet("QLabel { color: white; font-weight: bold; background: qlineargradient("
                             "x1:0, y1:0, x2:1, y2:0, stop:0 #000080, stop:1 #6a8cd0); }");
    layout_->addWidget(lblTitle_);
    dlgFind_ = new TFindDialog(this);
    connect(dlgFind_, &TFindDialog::Find, this, &TViewWindow::dlgFindFind);
}

void TViewWindow::SetCaption(const QString& caption) {
    setWindowTitle(caption);
    lblTitle_->setText(caption);
}

void TViewWindow::ConfigureViewer(TBigText* viewer) {
    QFont font("Courier New");
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(11);
    viewer->setFont(font);
    viewer->SetFillBack(true);
    viewer->SetScrollBars(TBigText::TScrollStyle::Both);
}

QAction* TViewWindow::AddButton(const QString& hint, const QIcon& icon, std::function<void()> onClick) {
    QAction* action = barButtons_->addAction(icon, QString());
    action->setToolTip(hint);
    action->setStatusTip(hint);
    action->setObjectName(hint);
    connect(action, &QAction::triggered, this, [onClick = std::move(onClick)] { onClick(); });
    return action;
}

void TViewWindow::OpenFind() {
    dlgFind_->Execute();
}

void TViewWindow::dlgFindFind() {
    TBigText* target = SearchViewer();
    if (target == nullptr)
        return;
    const std::string what = TBigText::ToWindows1252(dlgFind_->FindText());
    if (!target->FindText(what, dlgFind_->Down(), dlgFind_->MatchCase()))
        prompter_.Show(PromptKind::Information, "Not Found", PromptButtons::Ok);
}

} // namespace kemptor
