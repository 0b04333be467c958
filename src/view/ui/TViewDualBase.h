#pragma once
// The body of the two dual windows: the source viewer on the left, the formatted viewer on the right with
// a splitter between them, and at the right edge the shared scroll bar that moves both viewers to one top
// line. SearchTarget chooses the viewer of the find dialog: 1 the left one, 0 the right one.

#include "view/ui/TViewWindow.h"

class QMenu;
class QScrollBar;
class QSplitter;

namespace kemptor {

class TSizeAllChildren;

class TViewDualBase : public TViewWindow {
    Q_OBJECT
public:
    TViewDualBase(Prompter& prompter, QWidget* parent, Qt::WindowFlags flags);

    TBigText* memoCodeBefore;
    TBigText* memoCodeAfter;
    QSplitter* splitter;
    TSizeAllChildren* pnlScrollBoth;
    QScrollBar* ScrollBothBar;
    QMenu* mnuPopupBefore;
    QMenu* mnuPopupAfter;
    int SearchTarget = 1;

    // Range and steps of the shared bar from the longer text and its page.
    void UpdateSharedScrollBar();
    // Moves both viewers to the same top line.
    void ScrollBothBigTexts(int position);

    // Which text to print: the answers of TfrmLeftorRight (1 left, 2 cancel, 4 right). Replaceable so
    // that tests can answer.
    std::function<int()> AskLeftOrRight;
    // Asks which side to print; Left prints the source, any other answer but Cancel the formatted text.
    void btnPrintClick() override;

protected:
    TBigText* SearchViewer() const override { return SearchTarget == 1 ? memoCodeBefore : memoCodeAfter; }
    void SearchLeft();
    void SearchRight();
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
};

} // namespace kemptor
