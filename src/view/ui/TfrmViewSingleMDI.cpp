#include "view/ui/TfrmViewSingleMDI.h"

#include "view/ui/TBigText.h"

#include <QMenu>
#include <QVBoxLayout>

namespace kemptor {

TfrmViewSingleMDI::TfrmViewSingleMDI(Prompter& prompter, QWidget* parent)
    : TfrmViewSingleMDI(prompter, parent, Qt::Widget) {
    setObjectName("frmViewSingleMDI");
    setAttribute(Qt::WA_DeleteOnClose);
    SetCaption("View Single MDI");
}

TfrmViewSingleMDI::TfrmViewSingleMDI(Prompter& prompter, QWidget* parent, Qt::WindowFlags flags)
    : TViewWindow(prompter, parent, flags) {
    memoSource = new TBigText(this);
    memoSource->setObjectName("memoSource");
    ConfigureViewer(memoSource);
    layout_->addWidget(memoSource, 1);
    AddButton("Close", ButtonIconOf(ButtonIcon::Close), [this] { close(); });
    AddButton("Print (preview)", ButtonIconOf(ButtonIcon::Print), [this] { btnPrintClick(); });
    AddButton("Search", ButtonIconOf(ButtonIcon::Search), [this] { OpenFind(); });
    mnuPopup = new QMenu(this);
    mnuPopup->addAction("&Search", this, [this] { OpenFind(); });
    memoSource->SetPopupMenu(mnuPopup);
    resize(600, 450);
}

bool TfrmViewSingleMDI::Open(const std::string& path, const QString& caption) {
    SetCaption(caption);
    if (memoSource->LoadFromFile(path))
        return true;
    ReportUnreadable(path);
    return false;
}

} // namespace kemptor
