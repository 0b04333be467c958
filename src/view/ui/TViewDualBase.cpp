#include "view/ui/TViewDualBase.h"

#include "print/ui/TfrmLeftorRight.h"
#include "view/ui/TBigText.h"
#include "view/ui/TSizeAllChildren.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace kemptor {

TViewDualBase::TViewDualBase(Prompter& prompter, QWidget* parent, Qt::WindowFlags flags)
    : TViewWindow(prompter, parent, flags) {
    AskLeftOrRight = [this] { return static_cast<int>(TfrmLeftorRight::Ask(this)); };
    auto* body = new QWidget(this);
    auto* row = new QHBoxLayout(body);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    splitter = new QSplitter(Qt::Horizontal, body);
    splitter->setChildrenCollapsible(false);
    memoCodeBefore = new TBigText(splitter);
    memoCodeBefore->setObjectName("memoCodeBefore");
    memoCodeAfter = new TBigText(splitter);
    memoCodeAfter->setObjectName("memoCodeAfter");
    ConfigureViewer(memoCodeBefore);
    ConfigureViewer(memoCodeAfter);
    splitter->addWidget(memoCodeBefore);
    splitter->addWidget(memoCodeAfter);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    row->addWidget(splitter, 1);

    pnlScrollBoth = new TSizeAllChildren(body);
    ScrollBothBar = new QScrollBar(Qt::Vertical, pnlScrollBoth);
    ScrollBothBar->setObjectName("ScrollBothBar");
    pnlScrollBoth->setFixedWidth(style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    row->addWidget(pnlScrollBoth);
    layout_->addWidget(body, 1);
    connect(ScrollBothBar, &QScrollBar::valueChanged, this, &TViewDualBase::ScrollBothBigTexts);

    mnuPopupBefore = new QMenu(this);
    mnuPopupAfter = new QMenu(this);
    memoCodeBefore->SetPopupMenu(mnuPopupBefore);
    memoCodeAfter->SetPopupMenu(mnuPopupAfter);
    resize(720, 480);
}

void TViewDualBase::UpdateSharedScrollBar() {
    ScrollBothBar->setMinimum(0);
    ScrollBothBar->setSingleStep(1);
    const TBigText* longer =
        memoCodeBefore->Count() > memoCodeAfter->Count() ? memoCodeBefore : memoCodeAfter;
    ScrollBothBar->setMaximum(std::max(1, longer->Count() - longer->PageLines()));
    ScrollBothBar->setPageStep(std::max(1, longer->PageLines() - 1));
}

void TViewDualBase::btnPrintClick() {
    const int side = AskLeftOrRight ? AskLeftOrRight() : static_cast<int>(TfrmLeftorRight::Cancel);
    if (side == TfrmLeftorRight::Cancel || !PrintText)
        return;
    PrintText(side == TfrmLeftorRight::Left ? memoCodeBefore : memoCodeAfter, windowTitle());
}

void TViewDualBase::ScrollBothBigTexts(int position) {
    memoCodeBefore->SetTopLine(position);
    memoCodeAfter->SetTopLine(position);
}

void TViewDualBase::SearchLeft() {
    SearchTarget = 1;
    OpenFind();
}

void TViewDualBase::SearchRight() {
    SearchTarget = 0;
    OpenFind();
}

void TViewDualBase::showEvent(QShowEvent* event) {
    TViewWindow::showEvent(event);
    ScrollBothBar->setValue(0);
    UpdateSharedScrollBar();
}

void TViewDualBase::resizeEvent(QResizeEvent* event) {
    TViewWindow::resizeEvent(event);
    UpdateSharedScrollBar();
}

} // namespace kemptor
