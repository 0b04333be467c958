#include "view/ui/TfrmViewDualMDI.h"

#include "platform/Prompter.h"
#include "platform/TextFile.h"
#include "platform/WinPath.h"
#include "view/TVisDiff.h"
#include "view/ui/TBigText.h"
#include "view/ui/TfrmStaticProcessing.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>

namespace kemptor {

TfrmViewDualMDI::TfrmViewDualMDI(Prompter& prompter, QWidget* parent)
    : TViewDualBase(prompter, parent, Qt::Widget) {
    setObjectName("frmViewDualMDI");
    setAttribute(Qt::WA_DeleteOnClose);
    SetCaption("View Dual MDI");
    lblTitle_->hide();
    AddButton("Close", ButtonIconOf(ButtonIcon::Close), [this] { close(); });
    AddButton("Print (preview)", ButtonIconOf(ButtonIcon::Print), [this] { btnPrintClick(); });
    AddButton("Diff", ButtonIconOf(ButtonIcon::Diff), [this] { Diff(); });
    for (QMenu* menu : {mnuPopupBefore, mnuPopupAfter})
        menu->addAction("&Diff", this, [this] { Diff(); });
    mnuPopupBefore->addAction("&Search", this, [this] { SearchLeft(); });
    mnuPopupAfter->addAction("&Search", this, [this] { SearchRight(); });
    frmStaticProcessing_ = new TfrmStaticProcessing(this);
}

bool TfrmViewDualMDI::Open(const std::string& beforeFile, const std::string& afterFile) {
    BeforeFile = beforeFile;
    AfterFile = afterFile;
    bool ok = true;
    if (!memoCodeBefore->LoadFromFile(beforeFile)) {
        ReportUnreadable(beforeFile);
        ok = false;
    }
    if (!memoCodeAfter->LoadFromFile(afterFile)) {
        ReportUnreadable(afterFile);
        ok = false;
    }
    SetCaption(QString("File: ") + TBigText::FromWindows1252(ResolvedDisplayPath(beforeFile)));
    UpdateSharedScrollBar();
    return ok;
}

void TfrmViewDualMDI::Diff() {
    frmStaticProcessing_->ShowNow();
    const auto before = ReadTextLines(BeforeFile);
    const auto after = ReadTextLines(AfterFile);
    if (!before || !after) {
        // A file that vanished or cannot be read since the window opened: the view keeps what it shows.
        frmStaticProcessing_->hide();
        ReportUnreadable(!before ? BeforeFile : AfterFile);
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TVisDiff diff;
    diff.LeftText = memoCodeBefore;
    diff.RightText = memoCodeAfter;
    diff.prompter = &prompter_;
    diff.Compare(*before, *after, false);
    QApplication::restoreOverrideCursor();
    UpdateSharedScrollBar();
    frmStaticProcessing_->hide();
}

} // namespace kemptor
