#include "commentor/ui/TfrmCommentor.h"

#include "platform/WinPath.h"
#include "platform/ui/Help.h"
#include "view/TBigTextStore.h"
#include "view/ui/TBigText.h"
#include "view/ui/ViewWindows.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace kemptor {

namespace {

constexpr TColor kGrey = TColor::Rgb(128, 128, 128);

QFont FixedFont(const char* family) {
    QFont font(family);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

QString MemoText(const TextLines& lines) {
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines)
        texts << TBigText::FromWindows1252(line);
    return texts.join('\n');
}

// The memo's lines as the user sees them: one per text line; an empty memo holds none.
TextLines MemoLines(const QString& text) {
    TextLines lines;
    if (text.isEmpty())
        return lines;
    for (const QString& line : text.split('\n'))
        lines.push_back(TBigText::ToWindows1252(line));
    return lines;
}

QLineEdit* ReadOnlyBox(const char* name) {
    auto* box = new QLineEdit;
    box->setObjectName(name);
    box->setReadOnly(true);
    return box;
}

} // namespace

TfrmCommentor::TfrmCommentor(Prompter& prompter, QWidget* parent) : QWidget(parent), prompter_(prompter) {
    setObjectName("frmCommentor");
    SetHelpContext(this, kHelpContext);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    pnlTools = new QToolBar(this);
    pnlTools->setObjectName("pnlTools");
    pnlTools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    pnlTools->setIconSize(QSize(18, 18));
    auto button = [this](const char* name, const QString& text, const QString& hint,
                         QStyle::StandardPixmap icon, void (TfrmCommentor::*handler)()) {
        QAction* action = pnlTools->addAction(QApplication::style()->standardIcon(icon), text);
        action->setObjectName(name);
        action->setToolTip(hint);
        action->setStatusTip(hint);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    btnPrior =
        button("btnPrior", "Prior", "Prior Routine", QStyle::SP_ArrowBack, &TfrmCommentor::btnPriorClick);
    btnNext =
        button("btnNext", "Next", "Next Routine", QStyle::SP_ArrowForward, &TfrmCommentor::btnNextClick);
    btnSave =
        button("btnSave", "Save", "Save changes", QStyle::SP_DialogSaveButton, &TfrmCommentor::btnSaveClick);
    layout->addWidget(pnlTools);

    // The information panel: the heading in bold, and what the block says of author and parameters.
    auto* pnlInfo = new QWidget(this);
    pnlInfo->setObjectName("pnlInfo");
    auto* grid = new QGridLayout(pnlInfo);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    lblModuleName = new QLabel(pnlInfo);
    lblModuleName->setObjectName("lblModuleName");
    lblModuleName->setTextFormat(Qt::PlainText);
    QFont bold = lblModuleName->font();
    bold.setBold(true);
    lblModuleName->setFont(bold);
    lblModuleName->setTextInteractionFlags(Qt::TextSelectableByMouse);
    edtAuthor = ReadOnlyBox("edtAuthor");
    edtParameters = ReadOnlyBox("edtParameters");
    edtReturns = ReadOnlyBox("edtReturns");
    grid->addWidget(new QLabel("Module Name:"), 0, 0);
    grid->addWidget(lblModuleName, 0, 1, 1, 3);
    grid->addWidget(new QLabel("Author:"), 1, 0);
    grid->addWidget(edtAuthor, 1, 1);
    grid->addWidget(new QLabel("Returns:"), 1, 2);
    grid->addWidget(edtReturns, 1, 3);
    grid->addWidget(new QLabel("Parameters:"), 2, 0);
    grid->addWidget(edtParameters, 2, 1, 1, 3);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(3, 2);
    layout->addWidget(pnlInfo);

    memoComments = new QPlainTextEdit;
    memoComments->setObjectName("memoComments");
    memoComments->setFont(FixedFont("Courier New"));
    memoComments->setLineWrapMode(QPlainTextEdit::NoWrap);
    memoComments->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memoComments->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    memoSource = new TBigText;
    memoSource->setObjectName("memoSource");
    memoSource->setFont(FixedFont("Courier"));
    memoSource->SetFillBack(true);
    memoSource->SetScrollBars(TBigText::TScrollStyle::Both);

    splitter = new QSplitter(Qt::Vertical, this);
    splitter->setObjectName("splitter");
    splitter->addWidget(memoComments);
    splitter->addWidget(memoSource);
    splitter->setChildrenCollapsible(false);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({170, 330});
    layout->addWidget(splitter, 1);

    btnSave->setEnabled(false);
    resize(760, 560);
}

TfrmCommentor::~TfrmCommentor() = default;

bool TfrmCommentor::Open(const std::string& modulePath, const std::string& outputSetting,
                         const std::string& projectDir) {
    // The name on disk, as the other windows' captions show a file.
    QString caption = "Module: " + TBigText::FromWindows1252(ResolvedDisplayPath(modulePath));
    setWindowTitle(caption);
    model_ = std::make_unique<TCommentor>(prompter_, modulePath, outputSetting, projectDir);
    model_->Changed = [this] { ModelToWindow(); };
    const bool read = model_->Open();
    if (model_->FromOutputCopy()) {
        // Edits go on from the copy that an earlier Save (or a run) wrote; the caption tells which file.
        caption += " (from the output copy " +
                   TBigText::FromWindows1252(ResolvedDisplayPath(model_->OutputFile())) + ")";
        setWindowTitle(caption);
    }
    ModelToWindow();
    return read;
}

void TfrmCommentor::MemoToModel() {
    // An untouched memo keeps the model's bytes exactly, whatever the display made of them.
    if (!model_ || !memoComments->document()->isModified())
        return;
    model_->Memo.Lines = MemoLines(memoComments->toPlainText());
    model_->Memo.Edited = true;
}

void TfrmCommentor::ModelToWindow() {
    if (model_->LinesRevision() != linesRevision_) {
        linesRevision_ = model_->LinesRevision();
        memoSource->Clear();
        for (const std::string& line : model_->Lines())
            memoSource->AddLine(TBigTextStore::ExpandTabsToEights(line), kGrey, clWindow, false);
        memoSource->RecalcRange();
    }
    if (model_->ShownCount() != shownCount_) {
        shownCount_ = model_->ShownCount();
        lblModuleName->setText(TBigText::FromWindows1252(model_->Heading()));
        edtAuthor->setText(TBigText::FromWindows1252(model_->Author()));
        edtParameters->setText(TBigText::FromWindows1252(model_->Params()));
        memoComments->setPlainText(MemoText(model_->Memo.Lines));
        ColourRoutine();
    }
    memoComments->document()->setModified(model_->Memo.Edited);
    btnSave->setEnabled(model_->HasRoutine());
}

void TfrmCommentor::ColourRoutine() {
    for (int i = 0; i < memoSource->Count(); ++i)
        memoSource->SetLineColors(i, kGrey, clWindow);
    if (model_->HasRoutine()) {
        for (int i = model_->Current(); i <= model_->RoutineEnd() && i < memoSource->Count(); ++i)
            memoSource->SetLineColors(i, clNavy, clWindow);
        memoSource->SetTopLine(model_->Current());
    }
    memoSource->viewport()->update();
}

bool TfrmCommentor::RunCommand(bool (TCommentor::*command)()) {
    if (!model_)
        return true;
    MemoToModel();
    const bool done = (model_.get()->*command)();
    ModelToWindow();
    return done;
}

void TfrmCommentor::btnPriorClick() {
    RunCommand(&TCommentor::Prior);
}

void TfrmCommentor::btnNextClick() {
    RunCommand(&TCommentor::Next);
}

void TfrmCommentor::btnSaveClick() {
    RunCommand(&TCommentor::Save);
}

void TfrmCommentor::closeEvent(QCloseEvent* event) {
    if (RunCommand(&TCommentor::CanClose))
        event->accept();
    else
        event->ignore();
}

QWidget* OpenCommentor(QMdiArea* area, Prompter& prompter, const std::string& modulePath,
                       const std::string& outputSetting, const std::string& projectDir) {
    auto* window = new TfrmCommentor(prompter);
    ShowInClientArea(area, window, 0.75);
    window->Open(modulePath, outputSetting, projectDir);
    return window;
}

} // namespace kemptor
