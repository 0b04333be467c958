#include "view/ui/TViewWindow.h"

#include "platform/Prompter.h"
#include "platform/WinPath.h"
#include "platform/ui/Help.h"
#include "print/ui/TfrmBigTextReporter.h"
#include "view/ui/TBigText.h"
#include "view/ui/TFindDialog.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace kemptor {

TViewWindow::TViewWindow(Prompter& prompter, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), prompter_(prompter) {
    SetHelpContext(this, kHelpContext);
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
    PrintText = [this](TBigText* viewer, const QString& caption) {
        TfrmBigTextReporter::PrintViewer(this, viewer, caption, prompter_);
    };
}

void TViewWindow::btnPrintClick() {
    if (PrintText)
        PrintText(SearchViewer(), windowTitle());
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

QIcon TViewWindow::ButtonIconOf(ButtonIcon icon) {
    if (icon == ButtonIcon::Close)
        return QApplication::style()->standardIcon(QStyle::SP_DialogCloseButton);
    if (icon == ButtonIcon::CancelProcessing)
        return QApplication::style()->standardIcon(QStyle::SP_BrowserStop);
    // The other buttons draw their pictures: a page for Print, a magnifier for Search, two pages with
    // coloured rows for Diff.
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    auto page = [&p](QRectF r) {
        p.setPen(QPen(QColor(60, 60, 60), 1.5));
        p.setBrush(Qt::white);
        p.drawRect(r);
    };
    switch (icon) {
    case ButtonIcon::Print:
        page(QRectF(7, 3, 18, 24));
        p.setPen(QPen(QColor(90, 90, 90), 1.5));
        for (int y = 9; y <= 21; y += 4)
            p.drawLine(QPointF(10, y), QPointF(22, y));
        p.setBrush(QColor(200, 220, 255));
        p.setPen(QPen(QColor(0, 0, 128), 2));
        p.drawEllipse(QRectF(15, 15, 10, 10));
        p.drawLine(QPointF(24, 24), QPointF(29, 29));
        break;
    case ButtonIcon::Search:
        p.setBrush(QColor(200, 220, 255));
        p.setPen(QPen(QColor(0, 0, 128), 3));
        p.drawEllipse(QRectF(4, 4, 17, 17));
        p.setPen(QPen(QColor(0, 0, 128), 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(19, 19), QPointF(28, 28));
        break;
    case ButtonIcon::Diff:
        page(QRectF(2, 4, 13, 24));
        page(QRectF(17, 4, 13, 24));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 0));
        p.drawRect(QRectF(3, 11, 11, 4));
        p.drawRect(QRectF(18, 11, 11, 4));
        p.setBrush(QColor(192, 192, 192));
        p.drawRect(QRectF(3, 19, 11, 4));
        p.setBrush(QColor(0, 0, 255));
        p.drawRect(QRectF(18, 19, 11, 4));
        break;
    default:
        break;
    }
    return QIcon(pixmap);
}

QAction* TViewWindow::AddButton(const QString& hint, const QIcon& icon, std::function<void()> onClick) {
    QAction* action = barButtons_->addAction(icon, QString());
    action->setToolTip(hint);
    action->setStatusTip(hint);
    action->setObjectName(hint);
    connect(action, &QAction::triggered, this, [onClick = std::move(onClick)] { onClick(); });
    return action;
}

void TViewWindow::ReportUnreadable(const std::string& path) {
    prompter_.Show(PromptKind::Error, "Cannot read file " + ResolvedDisplayPath(path), PromptButtons::Ok);
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
