#pragma once
// TfrmCommentor: the window in which the user walks through the routines of one module and edits the
// header comment of each. A tool panel (Prior, Next, Save), the routine's heading with the author and
// parameters found in its block, the editable comment memo, and below a splitter the module's source
// with the routine in hand drawn navy. The module itself is never written; Save writes a copy to the
// output directory.

#include "commentor/TCommentor.h"

#include <QWidget>

#include <memory>
#include <string>

class QAction;
class QLabel;
class QLineEdit;
class QMdiArea;
class QPlainTextEdit;
class QSplitter;
class QToolBar;

namespace kemptor {

class Prompter;
class TBigText;

class TfrmCommentor : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 72;

    explicit TfrmCommentor(Prompter& prompter, QWidget* parent = nullptr);
    ~TfrmCommentor() override;

    // Reads the module at `modulePath` (or its output copy, when there is one: the caption says so) and
    // shows its first routine; `outputSetting` is the text of BackupNewCodeDirectory in force, taken
    // below `projectDir` (the module's directory when empty). False when the file cannot be read
    // (reported; the window stays empty).
    bool Open(const std::string& modulePath, const std::string& outputSetting,
              const std::string& projectDir = {});

    // The buttons' handlers.
    void btnPriorClick();
    void btnNextClick();
    void btnSaveClick();

    TCommentor* Model() const { return model_.get(); }

    QToolBar* pnlTools;
    QAction* btnPrior;
    QAction* btnNext;
    QAction* btnSave;
    QLabel* lblModuleName;
    QLineEdit* edtAuthor;
    QLineEdit* edtParameters;
    QLineEdit* edtReturns;
    QPlainTextEdit* memoComments;
    QSplitter* splitter;
    TBigText* memoSource;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Hands the memo's text and edited mark to the model before a command.
    void MemoToModel();
    // Shows what the model holds after a command: the source view when the lines changed, the memo and
    // the routine's colours when a routine was shown, the memo's mark and the Save button always.
    void ModelToWindow();
    void ColourRoutine();
    // Runs a command of the model between the two hand-overs; its answer (true without a module).
    bool RunCommand(bool (TCommentor::*command)());

    Prompter& prompter_;
    std::unique_ptr<TCommentor> model_;
    unsigned shownCount_ = 0;
    unsigned linesRevision_ = 0;
};

// Opens a commentor for a module in the main window's client area.
QWidget* OpenCommentor(QMdiArea* area, Prompter& prompter, const std::string& modulePath,
                       const std::string& outputSetting, const std::string& projectDir);

} // namespace kemptor
