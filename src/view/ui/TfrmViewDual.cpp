#include "view/ui/TfrmViewDual.h"

#include "platform/ui/Help.h"
#include "view/ui/TBigText.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QMenu>
#include <QScreen>
#include <QShortcut>

#include <algorithm>

namespace kemptor {

TfrmViewDual::TfrmViewDual(Prompter& prompter, QWidget* parent)
    : TViewDualBase(prompter, parent, Qt::Dialog) {
    setObjectName("frmViewDual");
    SetCaption("View Dual");
    setWindowModality(Qt::ApplicationModal);
    InstallHelpKey(this);
    // Escape is Close: the run goes on with the next file.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] { btnCloseClick(); });
    AddButton("Close", ButtonIconOf(ButtonIcon::Close), [this] { btnCloseClick(); });
    AddButton("Print (preview)", ButtonIconOf(ButtonIcon::Print), [this] { btnPrintClick(); });
    AddButton("Cancel processing", ButtonIconOf(ButtonIcon::CancelProcessing), [this] { btnCancelClick(); });
    mnuPopupBefore->addAction("&Search", this, [this] { SearchLeft(); });
    mnuPopupAfter->addAction("&Search", this, [this] { SearchRight(); });
    // Right-clicking the formatted text opens the find dialog for it as the menu comes up.
    connect(mnuPopupAfter, &QMenu::aboutToShow, this, [this] { SearchRight(); });
}

void TfrmViewDual::Fill(const std::string& fileName, const TextLines& before, const TextLines& after,
                        const std::vector<bool>& changed) {
    memoCodeBefore->Clear();
    memoCodeAfter->Clear();
    SetCaption(QString("File: ") + TBigText::FromWindows1252(fileName));
    for (const std::string& line : before)
        memoCodeBefore->AddLine(line, clBlack, clWindow, false);
    for (size_t i = 0; i < after.size(); ++i) {
        const bool isChanged = i < changed.size() && changed[i];
        memoCodeAfter->AddLine(after[i], clBlack, isChanged ? clYellow : clWindow, false);
    }
    memoCodeBefore->RecalcRange();
    memoCodeBefore->viewport()->update();
    memoCodeAfter->RecalcRange();
    memoCodeAfter->viewport()->update();
    UpdateSharedScrollBar();
}

PreviewAnswer TfrmViewDual::Preview(const std::string& fileName, const TextLines& before,
                                    const TextLines& after, const std::vector<bool>& changed) {
    Fill(fileName, before, after, changed);
    return ShowModal();
}

PreviewAnswer TfrmViewDual::ShowModal() {
    answer_ = PreviewAnswer::Close;
    if (!placed_) {
        // Two texts side by side need room: most of the screen, centred across, the first time it is
        // shown. The foot of the screen stays free for the run's processing window.
        placed_ = true;
        if (const QScreen* where = screen()) {
            const QRect area = where->availableGeometry();
            const int height = std::min(area.height() * 17 / 20, area.height() - kFootLeftFree);
            resize(area.width() * 17 / 20, std::max(height, area.height() / 2));
            move(area.center().x() - width() / 2,
                 area.top() + std::max(0, (area.height() - kFootLeftFree - frameGeometry().height()) / 2));
        }
    }
    show();
    raise();
    activateWindow();
    QEventLoop loop;
    modalLoop_ = &loop;
    if (isVisible())
        loop.exec();
    modalLoop_ = nullptr;
    return answer_;
}

void TfrmViewDual::btnCloseClick() {
    hide();
}

void TfrmViewDual::btnCancelClick() {
    answer_ = PreviewAnswer::CancelProcessing;
    hide();
}

void TfrmViewDual::closeEvent(QCloseEvent* event) {
    // Closing only hides the window; it is reused for the next file.
    event->ignore();
    hide();
}

} // namespace kemptor

namespace kemptor {

void TfrmViewDual::hideEvent(QHideEvent* event) {
    TViewDualBase::hideEvent(event);
    if (modalLoop_ != nullptr)
        modalLoop_->quit();
}

} // namespace kemptor
