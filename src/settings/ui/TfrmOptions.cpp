#include "settings/ui/TfrmOptions.h"

#include "platform/Prompter.h"
#include "platform/TextFile.h"
#include "platform/WinPath.h"
#include "platform/ui/DocumentFolder.h"
#include "platform/ui/Help.h"
#include "platform/ui/Icons.h"
#include "settings/ui/INIControls.h"

#include <QEvent>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <type_traits>

namespace kemptor {

namespace {

struct PageInfo {
    const char* name;
    IconId icon;
    int helpContext;
};

constexpr PageInfo kPages[TfrmOptions::kPageCount] = {
    {"General", IconId::PageGeneral, 11},
    {"Indents", IconId::PageIndents, 12},
    {"Comments", IconId::PageComments, 13},
    {"Blank Lines", IconId::PageBlankLines, 15},
    {"Spell Check", IconId::PageSpellCheck, 16},
    {"Save", IconId::PageSave, 17},
    {"User", IconId::PageUser, 71},
};

// Help contexts of the Comments tabs, in tab order; the Special tab shares the page's topic.
constexpr int kCommentTabContexts[] = {13, 14, 29, 30, 13};

const SettingDef& Def(const char* key) {
    const SettingDef* def = FindSetting(key);
    Q_ASSERT_X(def, "TfrmOptions", key);
    return *def;
}

QString Caption(const char* key) {
    return QString::fromUtf8(Def(key).caption);
}

// A directory text ends with a separator; the one the text already uses is added ("\" by default).
QString WithTrailingSeparator(const QString& dir) {
    if (dir.endsWith('\\') || dir.endsWith('/'))
        return dir;
    if (dir.contains('/') && !dir.contains('\\'))
        return dir + '/';
    return dir + '\\';
}

QFont TemplateFont() {
    QFont f("Courier New");
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    return f;
}

QWidget* Row(std::initializer_list<QWidget*> widgets, bool stretch = true) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : widgets)
        layout->addWidget(w);
    if (stretch)
        layout->addStretch();
    return row;
}

QString FileDialogFilter() {
    return "Text Files (*.TXT *.txt);;All Files (*)";
}

QStringList ToStringList(const TextLines& lines) {
    QStringList out;
    for (const std::string& line : lines)
        out << QString::fromStdString(line);
    return out;
}

TextLines ToTextLines(const QString& text) {
    TextLines out;
    for (const QString& line : text.split('\n'))
        out.push_back(line.toStdString());
    return out;
}

void SetMemoLines(QPlainTextEdit* memo, const TextLines& lines) {
    memo->setPlainText(ToStringList(lines).join('\n'));
}

} // namespace

QStringList DefaultSubHeaderTemplate() {
    return ToStringList(DefaultSubTemplate());
}

QStringList DefaultFunctionHeaderTemplate() {
    return ToStringList(DefaultFunctionTemplate());
}

TfrmOptions::TfrmOptions(Prompter& prompter, QWidget* parent, std::string fileName)
    : QDialog(parent), prompter_(prompter), fileName_(std::move(fileName)) {
    setObjectName("frmOptions");
    setWindowTitle("Options");
    setFixedSize(580, 395);

    lviewSelect_ = new QListWidget(this);
    lviewSelect_->setObjectName("lviewSelect");
    lviewSelect_->setViewMode(QListView::IconMode);
    lviewSelect_->setIconSize(QSize(32, 32));
    lviewSelect_->setFlow(QListView::TopToBottom);
    lviewSelect_->setWrapping(false);
    lviewSelect_->setMovement(QListView::Static);
    lviewSelect_->setGridSize(QSize(80, 50));
    lviewSelect_->setWordWrap(true);
    lviewSelect_->setTextElideMode(Qt::ElideNone);
    lviewSelect_->setFixedWidth(86);
    lviewSelect_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lviewSelect_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (const PageInfo& page : kPages) {
        auto* item = new QListWidgetItem(KemptorIcon(page.icon), page.name, lviewSelect_);
        item->setSizeHint(QSize(78, 48));
        item->setTextAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    }

    optionPages_ = new QStackedWidget(this);
    optionPages_->setObjectName("OptionPages");
    QWidget* pages[] = {BuildGeneralPage(),    BuildIndentsPage(), BuildCommentsPage(), BuildBlankLinesPage(),
                        BuildSpellCheckPage(), BuildSavePage(),    BuildUserPage()};
    for (int i = 0; i < kPageCount; ++i) {
        pages[i]->setObjectName(QString("page") + QString(kPages[i].name).remove(' '));
        SetHelpContext(pages[i], kPages[i].helpContext);
        if (i != 2) // the Comments page is its tab widget, edge to edge
            pages[i]->layout()->setContentsMargins(0, 4, 0, 0);
        optionPages_->addWidget(pages[i]);
    }

    auto* ok = new QPushButton("&OK", this);
    ok->setObjectName("btnOK");
    ok->setDefault(true);
    auto* cancel = new QPushButton("&Cancel", this);
    cancel->setObjectName("btnCancel");
    auto* help = new QPushButton("&Help", this);
    help->setObjectName("btnHelp");
    connect(ok, &QPushButton::clicked, this, &TfrmOptions::accept);
    connect(cancel, &QPushButton::clicked, this, &TfrmOptions::reject);
    connect(help, &QPushButton::clicked, this, [this] { ShowHelp(helpContext_); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    auto* right = new QVBoxLayout;
    right->addWidget(optionPages_, 1);
    right->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(lviewSelect_);
    layout->addLayout(right, 1);

    connect(lviewSelect_, &QListWidget::currentRowChanged, this, &TfrmOptions::SelectPage);
    connect(pageComments_, &QTabWidget::currentChanged, this, [this](int tab) {
        if (tab < 0)
            return;
        SetHelpContext(pageComments_, kCommentTabContexts[tab]); // F1 on the tab bar follows the tab
        // A click on a tab leaves the focus where it was (the page list): Help and F1 follow the tab.
        if (optionPages_->currentWidget()->isAncestorOf(pageComments_))
            SelectPage(CurrentPage());
    });

    ChooseDirectory = [this](const QString& start) {
        return QFileDialog::getExistingDirectory(this, "Select Directory", start);
    };
    AskSaveOrLoad = [this] {
        TfrmSaveOrLoad dialog(this);
        return dialog.Ask();
    };
    ChooseTemplateSaveFile = [this] {
        return QFileDialog::getSaveFileName(this, "Save Comment Header", DocumentFolder(), FileDialogFilter());
    };
    ChooseTemplateLoadFile = [this] {
        return QFileDialog::getOpenFileName(this, "Open Comment Header", DocumentFolder(), FileDialogFilter());
    };

    SetHelpContext(this, 11);
    InstallHelpKey(this);
    SelectPage(0);
    ApplyDisplayRules();
    shown_ = CurrentSettings();
}

// --- control construction from the catalogue ------------------------------------------------------------

void TfrmOptions::Bind(QWidget* control, const SettingDef& def, const QString& name) {
    dynamic_cast<TINIBound*>(control)->SetINI(def.section, def.key);
    control->setObjectName(name);
    controls_.insert(def.key, control);
}

TINICheckBox* TfrmOptions::Check(const char* key, const char* name) {
    const SettingDef& def = Def(key);
    auto* box = new TINICheckBox(QString::fromUtf8(def.caption));
    box->setChecked(def.defaultInt != 0);
    Bind(box, def, name ? QString(name) : "chk" + QString(key));
    return box;
}

TINIRadioButton* TfrmOptions::Radio(const char* key, const char* name) {
    const SettingDef& def = Def(key);
    auto* button = new TINIRadioButton(QString::fromUtf8(def.caption));
    button->setChecked(def.defaultInt != 0);
    Bind(button, def, name ? QString(name) : "rdo" + QString(key));
    return button;
}

TINISpinEdit* TfrmOptions::Spin(const char* key) {
    const SettingDef& def = Def(key);
    auto* spin = new TINISpinEdit(def.minimum, def.maximum);
    spin->setValue(def.defaultInt);
    spin->setToolTip(QString("%1 to %2").arg(def.minimum).arg(def.maximum));
    Bind(spin, def, "spn" + QString(key));
    return spin;
}

TINIRadioGroup* TfrmOptions::Group(const char* key, const QString& title, Qt::Orientation orientation) {
    const SettingDef& def = Def(key);
    auto* group = new TINIRadioGroup(title, QString::fromUtf8(def.items).split('|'), nullptr, orientation);
    group->SetItemIndex(def.defaultInt);
    Bind(group, def, "rGrp" + QString(key).mid(3)); // "GrpBlankLines" -> "rGrpBlankLines"
    return group;
}

TINIEdit* TfrmOptions::Edit(const char* key, const char* name) {
    const SettingDef& def = Def(key);
    auto* edit = new TINIEdit;
    edit->setText(QString::fromUtf8(def.defaultText));
    if (def.maximum > 0)
        edit->setMaxLength(def.maximum);
    Bind(edit, def, name ? QString(name) : "edt" + QString(key));
    return edit;
}

// --- pages ----------------------------------------------------------------------------------------------

QWidget* TfrmOptions::BuildGeneralPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(Check("PreviewBeforeSaving"));
    layout->addWidget(Check("OptionExplicitInsert"));
    layout->addWidget(Check("IfThenSplit"));
    layout->addWidget(Check("MultiStatementSplit"));
    layout->addWidget(Check("MultiConstSplit"));
    layout->addWidget(Check("MultiVarSplit"));
    layout->addWidget(Check("AlignMultiDimAs"));
    auto* qtyLabel = new QLabel(Caption("AlignDimAsGroupQty"));
    auto* qty = Spin("AlignDimAsGroupQty");
    qtyLabel->setBuddy(qty);
    auto* qtyRow = Row({qtyLabel, qty});
    qtyRow->layout()->setContentsMargins(22, 0, 0, 0); // under the box it belongs to
    layout->addWidget(qtyRow);
    layout->addWidget(Check("TrimTrailingBlanks"));

    auto* asProblem = new QGroupBox("'As' problem");
    auto* asLayout = new QVBoxLayout(asProblem);
    asLayout->setContentsMargins(6, 4, 6, 4);
    asLayout->addWidget(Check("CorrectAsProblem"));
    asLayout->addStretch();
    auto* forNext = Group("GrpForNextProcessing", Caption("GrpForNextProcessing"));
    forNext->layout()->setContentsMargins(6, 4, 6, 4);
    auto* groups = new QHBoxLayout;
    groups->setSpacing(6);
    groups->addWidget(asProblem);
    groups->addWidget(forNext, 1);
    layout->addLayout(groups);
    lblProjectSettings_ = new QLabel;
    lblProjectSettings_->setObjectName("lblProjectSettings");
    lblProjectSettings_->setWordWrap(true);
    lblProjectSettings_->setVisible(false);
    layout->addWidget(lblProjectSettings_);
    layout->addStretch();
    return page;
}

void TfrmOptions::SetProjectSettingsFile(const QString& path) {
    lblProjectSettings_->setText(
        path.isEmpty()
            ? QString()
            : "This project has its own settings file, " + path +
                  ": Begin Processing formats with its settings instead of the formatting settings here.");
    lblProjectSettings_->setVisible(!path.isEmpty());
}

QWidget* TfrmOptions::BuildIndentsPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Check("CodeIndentPerform"));
    auto* box = new QGroupBox("Indent amounts (columns)");
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(16); // a clear gap between each label and its spin box
    const char* keys[] = {"DefaultLineIndent", "LineContinueIndent", "IfThenElseIndent", "SelectCaseIndent",
                          "CaseCodeIndent",    "DoLoopIndent",       "WhileWendIndent",  "ForNextIndent",
                          "TypeEndIndent",     "WithEndIndent"};
    for (int i = 0; i < 10; ++i) {
        auto* spin = Spin(keys[i]);
        auto* label = new QLabel(Caption(keys[i]));
        label->setBuddy(spin);
        int row = i % 5, col = (i / 5) * 3;
        grid->addWidget(label, row, col);
        grid->addWidget(spin, row, col + 1);
    }
    grid->setColumnMinimumWidth(2, 24);
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(5, 1);
    layout->addWidget(box);
    layout->addStretch();
    return page;
}

QWidget* TfrmOptions::BuildCommentsPage() {
    pageComments_ = new QTabWidget;
    pageComments_->setObjectName("pageComments");
    pageComments_->addTab(BuildSingleLineTab(), "Single Line");
    pageComments_->addTab(BuildInLineTab(), "In-line");
    pageComments_->addTab(BuildHeaderTab(false), "Subroutines");
    pageComments_->addTab(BuildHeaderTab(true), "Functions");
    pageComments_->addTab(BuildSpecialTab(), "Special");
    for (int i = 0; i < pageComments_->count(); ++i)
        SetHelpContext(pageComments_->widget(i), kCommentTabContexts[i]);
    SetHelpContext(pageComments_, kCommentTabContexts[0]);
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pageComments_);
    return page;
}

QWidget* TfrmOptions::BuildSingleLineTab() {
    auto* tab = new QWidget;
    tab->setObjectName("tabSingleLine");
    auto* layout = new QVBoxLayout(tab);
    auto* placement = Group("GrpSingleLineComments", "Placement of comment lines");
    placement->SetItemBuddy(1, Spin("SingleLineCommentColumn"));
    layout->addWidget(placement);

    auto* blocks = new QGroupBox;
    auto* grid = new QGridLayout(blocks);
    grid->addWidget(Check("SingleLineCommentBlocks"), 0, 0, 1, 2);
    grid->addWidget(new QLabel(Caption("SingleLineCommentGroupQty")), 1, 0);
    grid->addWidget(Spin("SingleLineCommentGroupQty"), 1, 1, Qt::AlignLeft);
    grid->addWidget(new QLabel(Caption("SingleLineCommentBlockCharacters")), 2, 0);
    auto* chars = Edit("SingleLineCommentBlockCharacters");
    chars->setFixedWidth(60);
    grid->addWidget(chars, 2, 1, Qt::AlignLeft);
    grid->addWidget(new QLabel(Caption("SingleLineCommentBlockCharacterTotal")), 3, 0);
    grid->addWidget(Spin("SingleLineCommentBlockCharacterTotal"), 3, 1, Qt::AlignLeft);
    grid->setColumnStretch(2, 1);
    layout->addWidget(blocks);
    layout->addStretch();
    return tab;
}

QWidget* TfrmOptions::BuildInLineTab() {
    auto* tab = new QWidget;
    tab->setObjectName("tabInLine");
    auto* layout = new QVBoxLayout(tab);
    auto* placement = Group("GrpInLineComments", "Placement of comments after code");
    placement->SetItemBuddy(1, Spin("InLineCommentsFixedColumn"));
    placement->SetItemBuddy(2, Spin("InLineCommentsIndent"));
    layout->addWidget(placement);
    auto* fallback = Group("GrpInLineCommentsFixedColUnavail", Caption("GrpInLineCommentsFixedColUnavail"));
    fallback->SetItemBuddy(0, Spin("InLineCommentsUnavailColIndent"));
    layout->addWidget(fallback);
    layout->addStretch();
    connect(placement, &TINIRadioGroup::Clicked, this, &TfrmOptions::ApplyDisplayRules);
    return tab;
}

QWidget* TfrmOptions::BuildHeaderTab(bool functions) {
    const char* perform = functions ? "FunctionLevelCommentsPerform" : "SubLevelCommentsPerform";
    const char* which = functions ? "GrpFunctionLevelComments" : "GrpSubLevelComments";
    const char* before =
        functions ? "FunctionLevelCommentsBeforeProcedure" : "SubLevelCommentsBeforeProcedure";
    const char* after = functions ? "FunctionLevelCommentsAfterProcedure" : "SubLevelCommentsAfterProcedure";
    const char* file = functions ? "FunctionLevelCommentsFile" : "SubLevelCommentsFile";

    auto* tab = new QWidget;
    tab->setObjectName(functions ? "tabFunctions" : "tabSubroutines");
    auto* layout = new QVBoxLayout(tab);
    layout->setSpacing(4);
    layout->addWidget(Check(perform));
    layout->addWidget(Group(which, QString()));
    // The two placement buttons have a parent of their own, so that they exclude only each other.
    layout->addWidget(Row({Radio(before), Radio(after)}));

    auto* memo = new QPlainTextEdit;
    memo->setObjectName(functions ? "memoFunctionLevelComments" : "memoSubLevelComments");
    memo->setFont(TemplateFont());
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setPlainText((functions ? DefaultFunctionHeaderTemplate() : DefaultSubHeaderTemplate()).join('\n'));
    layout->addWidget(memo, 1);
    (functions ? memoFunctionLevelComments_ : memoSubLevelComments_) = memo;

    auto* fileEdit = Edit(file);
    auto* button = new QToolButton;
    button->setObjectName(functions ? "btnFunctionLevelCommentsFile" : "btnSubLevelCommentsFile");
    button->setIcon(KemptorIcon(IconId::Folder));
    button->setToolTip("Select Directory");
    connect(button, &QToolButton::clicked, this, [this, functions] { TemplateFileClick(functions); });
    auto* fileRow = new QHBoxLayout;
    auto* label = new QLabel(Caption(file));
    label->setBuddy(fileEdit);
    fileRow->addWidget(label);
    fileRow->addWidget(fileEdit, 1);
    fileRow->addWidget(button);
    layout->addLayout(fileRow);
    return tab;
}

QWidget* TfrmOptions::BuildSpecialTab() {
    auto* tab = new QWidget;
    tab->setObjectName("tabSpecial");
    auto* layout = new QVBoxLayout(tab);
    auto* chars = Edit("SpecialRemoveCommentCharacters");
    chars->setFixedWidth(60);
    layout->addWidget(Row({Check("SpecialRemoveComments"), chars}));
    layout->addStretch();
    return tab;
}

QWidget* TfrmOptions::BuildBlankLinesPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Group("GrpBlankLines", QString(), Qt::Horizontal));
    auto* box = new QGroupBox("Blank lines around statements");
    auto* grid = new QGridLayout(box);
    grid->setVerticalSpacing(3);
    const char* statements[][2] = {
        {"BlankLinesIfThenBefore", "BlankLinesIfThenAfter"},
        {"BlankLinesElseBefore", "BlankLinesElseAfter"},
        {"BlankLinesEndIfBefore", "BlankLinesEndIfAfter"},
        {"BlankLinesSelectBefore", "BlankLinesSelectAfter"},
        {"BlankLinesCaseBefore", "BlankLinesCaseAfter"},
        {"BlankLinesEndSelectBefore", "BlankLinesEndSelectAfter"},
        {"BlankLinesForBefore", "BlankLinesForAfter"},
        {"BlankLinesNextBefore", "BlankLinesNextAfter"},
        {"BlankLinesDoBefore", "BlankLinesDoAfter"},
        {"BlankLinesLoopBefore", "BlankLinesLoopAfter"},
        {"BlankLinesWhileBefore", "BlankLinesWhileAfter"},
        {"BlankLinesWendBefore", "BlankLinesWendAfter"},
    };
    for (int half = 0; half < 2; ++half) {
        grid->addWidget(new QLabel("Before"), 0, half * 4 + 1, Qt::AlignCenter);
        grid->addWidget(new QLabel("After"), 0, half * 4 + 2, Qt::AlignCenter);
    }
    for (int i = 0; i < 12; ++i) {
        int row = i % 6 + 1, col = (i / 6) * 4;
        grid->addWidget(new QLabel(Caption(statements[i][0])), row, col);
        grid->addWidget(Spin(statements[i][0]), row, col + 1);
        grid->addWidget(Spin(statements[i][1]), row, col + 2);
    }
    grid->setColumnMinimumWidth(3, 16);
    grid->setColumnStretch(3, 1);
    layout->addWidget(box);
    layout->addStretch();
    return page;
}

QWidget* TfrmOptions::BuildSpellCheckPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* perform = Check("SpellingPerform");
    layout->addWidget(perform);
    auto* what = new QGroupBox("Check");
    auto* whatLayout = new QVBoxLayout(what);
    whatLayout->addWidget(Check("SpellingLiterals"));
    whatLayout->addWidget(Check("SpellingComments"));
    layout->addWidget(what);
    btnConfigureSpeller_ = new QPushButton("Configure &Spell Checker");
    btnConfigureSpeller_->setObjectName("btnConfigureSpellChecker");
    btnConfigureSpeller_->setEnabled(false);
    connect(btnConfigureSpeller_, &QPushButton::clicked, this, [this] {
        if (configureSpeller_)
            configureSpeller_();
    });
    layout->addWidget(Row({btnConfigureSpeller_}));
    layout->addStretch();
    connect(perform, &QCheckBox::toggled, this, &TfrmOptions::ApplyDisplayRules);
    return page;
}

QWidget* TfrmOptions::BuildSavePage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* dir = Edit("BackupNewCodeDirectory");
    dir->installEventFilter(this);
    auto* choose = new QToolButton;
    choose->setObjectName("btnSelectDirectory");
    choose->setIcon(KemptorIcon(IconId::Folder));
    choose->setToolTip("Select Directory");
    connect(choose, &QToolButton::clicked, this, &TfrmOptions::SelectDirectoryClick);
    auto* dirLabel = new QLabel(Caption("BackupNewCodeDirectory"));
    dirLabel->setBuddy(dir);
    layout->addWidget(dirLabel);
    auto* dirRow = new QHBoxLayout;
    dirRow->addWidget(dir, 1);
    dirRow->addWidget(choose);
    layout->addLayout(dirRow);

    auto* mode = new QGroupBox("Backup");
    auto* modeLayout = new QVBoxLayout(mode);
    modeLayout->addWidget(Radio("BackupOnlyNewFiles", "rdoBackupOnlyNewFiles"));
    modeLayout->addWidget(Radio("BackupMAKFiles", "rdoBackupMAKfiles"));
    modeLayout->addWidget(Radio("BackupAllFiles", "rdoBackupAllFiles"));
    layout->addWidget(mode);
    layout->addWidget(Check("CreateLog", "chkBackupCreateLog"));
    layout->addStretch();
    return page;
}

QWidget* TfrmOptions::BuildUserPage() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    form->addRow(Caption("UserName"), Edit("UserName"));
    form->addRow(Caption("UserCompany"), Edit("UserCompany"));
    return page;
}

// --- behaviour ------------------------------------------------------------------------------------------

void TfrmOptions::SelectPage(int index) {
    if (index < 0 || index >= kPageCount)
        return;
    if (lviewSelect_->currentRow() != index)
        lviewSelect_->setCurrentRow(index); // comes back here through currentRowChanged
    optionPages_->setCurrentIndex(index);
    setWindowTitle(QString("Options - ") + kPages[index].name);
    // The Comments page answers with the topic of the tab it shows.
    const bool tabs = optionPages_->currentWidget()->isAncestorOf(pageComments_);
    helpContext_ = tabs ? kCommentTabContexts[pageComments_->currentIndex()] : kPages[index].helpContext;
    SetHelpContext(this, helpContext_);
}

int TfrmOptions::CurrentPage() const {
    return optionPages_->currentIndex();
}

void TfrmOptions::ApplyDisplayRules() {
    bool spelling = static_cast<QCheckBox*>(ControlFor("SpellingPerform"))->isChecked();
    ControlFor("SpellingLiterals")->setEnabled(spelling);
    ControlFor("SpellingComments")->setEnabled(spelling);

    bool fixedColumn = static_cast<TINIRadioGroup*>(ControlFor("GrpInLineComments"))->ItemIndex() == 1;
    ControlFor("GrpInLineCommentsFixedColUnavail")->setVisible(fixedColumn);
    ControlFor("InLineCommentsUnavailColIndent")->setVisible(fixedColumn);
}

int TfrmOptions::Execute() {
    ReloadFromProfile();
    optionPages_->setCurrentIndex(0);
    pageComments_->setCurrentIndex(0);
    SelectPage(0);
    ApplyDisplayRules();
    shown_ = CurrentSettings();
    shownSubTemplate_ = memoSubLevelComments_->toPlainText();
    shownFunctionTemplate_ = memoFunctionLevelComments_->toPlainText();
    // Centred on the screen at every showing, wherever the user left it the last time.
    if (const QScreen* where = parentWidget() ? parentWidget()->screen() : screen()) {
        const QSize frame = frameGeometry().size();
        move(where->availableGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2));
    }
    return exec();
}

void TfrmOptions::ReloadFromProfile() {
    LoadINIControls(this, fileName_);
    LoadCommentHeaders();
    ApplyDisplayRules();
}

void TfrmOptions::accept() {
    if (!SaveINIControls(this, fileName_)) {
        prompter_.Show(PromptKind::Error, UnableToWriteMessage(fileName_), PromptButtons::Ok);
        return; // the dialog stays open with the user's values
    }
    shown_ = CurrentSettings();
    QDialog::accept();
}

void TfrmOptions::reject() {
    // Restore what was in force when the dialog was shown. Reloading the file alone would keep the
    // user's changes of every key the file does not hold (no file yet, or an older file).
    ApplySettings(shown_);
    if (!shownSubTemplate_.isNull())
        memoSubLevelComments_->setPlainText(shownSubTemplate_);
    if (!shownFunctionTemplate_.isNull())
        memoFunctionLevelComments_->setPlainText(shownFunctionTemplate_);
    QDialog::reject();
}

bool TfrmOptions::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && watched == ControlFor("BackupNewCodeDirectory"))
        BackupDirectoryLeft();
    return QDialog::eventFilter(watched, event);
}

void TfrmOptions::BackupDirectoryLeft() {
    auto* edit = static_cast<QLineEdit*>(ControlFor("BackupNewCodeDirectory"));
    QString text = WithTrailingSeparator(edit->text());
    if (text != edit->text())
        edit->setText(text);
}

void TfrmOptions::SelectDirectoryClick() {
    auto* edit = static_cast<QLineEdit*>(ControlFor("BackupNewCodeDirectory"));
    // A relative output directory lies under the project's directory, as the run takes it. The chooser
    // opens there, or at the project's directory while the output directory is not made yet.
    std::string text = edit->text().toStdString();
    if (!IsAbsolutePath(text) && !projectDir_.isEmpty())
        text = projectDir_.toStdString() + text;
    QString start = QString::fromStdString(MapToHostPath(text));
    if (!projectDir_.isEmpty())
        start = QString::fromStdString(
            ResolvedDisplayPath(DirectoryExists(text) ? text : projectDir_.toStdString()));
    QString chosen = ChooseDirectory(start);
    if (chosen.isEmpty())
        return;
    edit->setText(WithTrailingSeparator(chosen));
}

void TfrmOptions::TemplateFileClick(bool functions) {
    QPlainTextEdit* memo = functions ? memoFunctionLevelComments_ : memoSubLevelComments_;
    auto* fileEdit =
        static_cast<QLineEdit*>(ControlFor(functions ? "FunctionLevelCommentsFile" : "SubLevelCommentsFile"));
    switch (AskSaveOrLoad()) {
    case TfrmSaveOrLoad::ChoiceSave: {
        QString path = ChooseTemplateSaveFile();
        if (path.isEmpty())
            return;
        if (!WriteTextLinesAtomic(path.toStdString(), ToTextLines(memo->toPlainText()))) {
            prompter_.Show(PromptKind::Error, "Unable to write to " + path.toStdString(), PromptButtons::Ok);
            return;
        }
        fileEdit->setText(path);
        break;
    }
    case TfrmSaveOrLoad::ChoiceLoad: {
        QString path = ChooseTemplateLoadFile();
        if (path.isEmpty())
            return;
        TextLines lines;
        if (!LoadTemplateFile(lines, path.toStdString(), functions, prompter_))
            return;
        SetMemoLines(memo, lines);
        fileEdit->setText(path);
        break;
    }
    case TfrmSaveOrLoad::ChoiceCancel:
        break;
    }
}

void TfrmOptions::LoadCommentHeaders() {
    HeaderTemplates templates = Templates();
    kemptor::LoadCommentHeaders(templates, CurrentSettings(), prompter_);
    SetMemoLines(memoSubLevelComments_, templates.Sub);
    SetMemoLines(memoFunctionLevelComments_, templates.Function);
}

HeaderTemplates TfrmOptions::Templates() const {
    return {ToTextLines(memoSubLevelComments_->toPlainText()),
            ToTextLines(memoFunctionLevelComments_->toPlainText())};
}

QStringList TfrmOptions::SubTemplate() const {
    return memoSubLevelComments_->toPlainText().split('\n');
}

QStringList TfrmOptions::FunctionTemplate() const {
    return memoFunctionLevelComments_->toPlainText().split('\n');
}

void TfrmOptions::SetSpellCheckerConfigure(std::function<void()> configure) {
    configureSpeller_ = std::move(configure);
    btnConfigureSpeller_->setEnabled(static_cast<bool>(configureSpeller_));
}

QWidget* TfrmOptions::ControlFor(const QString& key) const {
    return controls_.value(key);
}

TINIBound* TfrmOptions::BoundFor(const QString& key) const {
    return dynamic_cast<TINIBound*>(ControlFor(key));
}

// --- settings in force ----------------------------------------------------------------------------------

Settings TfrmOptions::CurrentSettings() const {
    Settings s;
    ForEachSetting(s, [this](const SettingDef& def, auto& member) {
        QWidget* w = ControlFor(def.key);
        using T = std::decay_t<decltype(member)>;
        if constexpr (std::is_same_v<T, bool>) {
            member = static_cast<QAbstractButton*>(w)->isChecked();
        } else if constexpr (std::is_same_v<T, int>) {
            if (def.kind == SettingKind::Int)
                member = static_cast<TINISpinEdit*>(w)->Value();
            else
                member = static_cast<TINIRadioGroup*>(w)->ItemIndex();
        } else {
            member = static_cast<QLineEdit*>(w)->text().toStdString();
        }
    });
    return s;
}

void TfrmOptions::ApplySettings(const Settings& settings) {
    Settings copy = settings;
    ForEachSetting(copy, [this](const SettingDef& def, auto& member) {
        QWidget* w = ControlFor(def.key);
        using T = std::decay_t<decltype(member)>;
        if constexpr (std::is_same_v<T, bool>) {
            if (def.kind == SettingKind::Radio)
                static_cast<TINIRadioButton*>(w)->SetSelected(member);
            else
                static_cast<QAbstractButton*>(w)->setChecked(member);
        } else if constexpr (std::is_same_v<T, int>) {
            if (def.kind == SettingKind::Int)
                static_cast<TINISpinEdit*>(w)->setValue(member);
            else
                static_cast<TINIRadioGroup*>(w)->SetItemIndex(member);
        } else {
            static_cast<QLineEdit*>(w)->setText(QString::fromStdString(member));
        }
    });
    ApplyDisplayRules();
}

} // namespace kemptor
