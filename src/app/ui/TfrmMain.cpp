#include "app/ui/TfrmMain.h"

#include "app/ui/ChartWiring.h"
#include "app/ui/CommentorWiring.h"
#include "app/ui/DebugOutputWiring.h"
#include "app/ui/FormTreeWiring.h"
#include "app/ui/SpellWiring.h"
#include "platform/Profile.h"
#include "platform/Prompter.h"
#include "platform/TextFile.h"
#include "platform/WinPath.h"
#include "platform/ui/DocumentFolder.h"
#include "platform/ui/Help.h"
#include "platform/ui/Icons.h"
#include "platform/ui/QtPrompter.h"
#include "platform/ui/ScreenFit.h"
#include "project/ProjectReader.h"
#include "project/TSourceMgt.h"
#include "run/ProcessingRun.h"
#include "run/ui/GuiRunObserver.h"
#include "run/ui/TfrmCopyFiles.h"
#include "run/ui/TfrmProcessing.h"
#include "settings/SettingsOrigins.h"
#include "settings/SettingsProfile.h"
#include "settings/ui/INIControls.h"
#include "settings/ui/TfrmOptions.h"
#include "view/ui/TfrmViewDual.h"
#include "view/ui/ViewWindows.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDrag>
#include <QDragEnterEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kemptor {

namespace {

constexpr const char* kNodeMime = "application/x-kemptor-tree-node";
constexpr int kEntryRole = Qt::UserRole + 1;

// The project tree starts a drag of its selected node once the mouse has moved far enough with the left
// button held; the client area accepts only such drags.
class TProjectTree : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton)
            pressPos_ = event->position().toPoint();
        QTreeWidget::mousePressEvent(event);
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        if ((event->buttons() & Qt::LeftButton) && !dragging_ && currentItem() &&
            (event->position().toPoint() - pressPos_).manhattanLength() >=
                QApplication::startDragDistance()) {
            dragging_ = true;
            auto* drag = new QDrag(this);
            auto* mime = new QMimeData;
            mime->setData(kNodeMime, currentItem()->text(0).toUtf8());
            drag->setMimeData(mime);
            drag->setPixmap(currentItem()->icon(0).pixmap(24, 24));
            drag->exec(Qt::CopyAction);
            dragging_ = false;
            return;
        }
        QTreeWidget::mouseMoveEvent(event);
    }

private:
    QPoint pressPos_;
    bool dragging_ = false;
};

IconId IconOfKind(TSourceKind kind) {
    switch (kind) {
    case skForm:
        return IconId::Form;
    case skClass:
        return IconId::Class;
    case skUserControl:
        return IconId::UserControl;
    case skModule:
    case skCustomControl:
        break;
    }
    return IconId::Module;
}

QPixmap BackgroundTile() {
    EnsureResources();
    QPixmap tile(":/images/background.png");
    if (!tile.isNull())
        return tile;
    tile = QPixmap(64, 64); // the resource is always built in; this only keeps the area painted
    tile.fill(QColor(96, 112, 136));
    return tile;
}

} // namespace

TfrmMain::TfrmMain(Prompter& prompter, QWidget* parent, std::string settingsFile)
    : QMainWindow(parent), prompter_(prompter), settingsFile_(std::move(settingsFile)) {
    setObjectName("frmMain");
    setWindowTitle("Kemptor/VB 3.0");
    setWindowIcon(KemptorIcon(IconId::App));
    resize(900, 640);

    // The long-lived windows, created hidden. The run's windows are tool windows of this one: above it,
    // never above a question or the preview.
    options_ = std::make_unique<TfrmOptions>(prompter_, this, settingsFile_);
    copy_ = std::make_unique<TfrmCopyFiles>(this);
    processing_ = std::make_unique<TfrmProcessing>(this);
    runObserver_ = std::make_unique<GuiRunObserver>(this, *processing_, *copy_);
    WireSpellChecking(this, *options_, *runObserver_, prompter_);
    viewDual_ = std::make_unique<TfrmViewDual>(prompter_);

    Preview = [this](const std::string& fileName, const TextLines& before, const TextLines& after,
                     const std::vector<bool>& changed) {
        return viewDual_->Preview(fileName, before, after, changed);
    };
    Views.ViewSingle = [this](const QString& caption, const QString& path) {
        return OpenSingleView(mdiArea_, prompter_, caption, path);
    };
    Views.ViewDual = [this](const QString& caption, const QString& leftPath, const QString& rightPath) {
        return OpenDualView(mdiArea_, prompter_, caption, leftPath, rightPath);
    };
    WireCommentor(*this, prompter_);
    WireFormTree(*this, WireDebugOutput(*this, prompter_));
    WireChartWindows(*this, prompter_);

    mdiArea_ = new QMdiArea;
    mdiArea_->setObjectName("ClientArea");
    mdiArea_->setBackground(QBrush(BackgroundTile())); // laid edge to edge from the top-left corner
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->setAcceptDrops(true);
    mdiArea_->viewport()->setAcceptDrops(true);
    mdiArea_->viewport()->installEventFilter(this);
    // Ctrl+F4 closes the active child wherever the focus is in the main window. Qt binds it only where
    // the platform's Close key is Ctrl+F4 (not on a plain X11 desktop, where only Ctrl+W closes); the
    // main window binds it everywhere, and takes it off the children's window menus so that no two
    // bindings make the key ambiguous. Those menus keep their other keys, bound to their own child.
    auto* closeChild = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4), this);
    closeChild->setObjectName("keyCloseChild");
    connect(closeChild, &QShortcut::activated, mdiArea_, &QMdiArea::closeActiveSubWindow);
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, [](QMdiSubWindow* child) {
        if (!child || !child->systemMenu())
            return;
        for (QAction* action : child->systemMenu()->actions()) {
            action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
            QList<QKeySequence> keys = action->shortcuts();
            if (keys.removeAll(QKeySequence(Qt::CTRL | Qt::Key_F4)) > 0)
                action->setShortcuts(keys);
        }
    });

    createTree();
    splitter_ = new QSplitter(Qt::Horizontal);
    splitter_->setObjectName("grabBar");
    splitter_->addWidget(pnlOutline_);
    splitter_->addWidget(mdiArea_);
    splitter_->setStretchFactor(1, 1);
    splitter_->setCollapsible(0, false);
    splitter_->setSizes({230, 670});
    setCentralWidget(splitter_);

    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    readSettings();

    ChooseProjectFile = [this] {
        // At the open project's directory, else at the most recent project's.
        const QString start = projectLoaded_ ? projectPath_ : recentFiles_.value(0);
        QFileDialog dialog(this, "Open Project",
                           start.isEmpty() ? QString() : QFileInfo(start).absolutePath());
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setNameFilter("Visual Basic Projects (*.MAK *.VBP *.mak *.vbp)");
        dialog.setOption(QFileDialog::ReadOnly, false);
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };

    SetHelpContext(this, 2);
    InstallHelpKey(this);
    GaugeHide();
    DisableProjectCommands();
}

TfrmMain::~TfrmMain() {
    runObserver_.reset();
    viewDual_.reset();
    model_.reset();
}

// --- construction ---------------------------------------------------------------------------------------

QAction* TfrmMain::MakeAction(const QString& name, const QString& text, const QString& hint,
                              void (TfrmMain::*handler)()) {
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    action->setStatusTip(hint);
    action->setToolTip(hint.isEmpty() ? QString(text).remove('&') : hint);
    if (handler)
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    return action;
}

QAction* TfrmMain::Action(const QString& name) const {
    return findChild<QAction*>(name);
}

void TfrmMain::createActions() {
    // Tool buttons.
    struct Button {
        const char* name;
        IconId icon;
        const char* hint;
        void (TfrmMain::*handler)();
    };
    const Button buttons[] = {
        {"btnOpen", IconId::Open, "Open a VB Project", &TfrmMain::OpenProjectDialog},
        {"btnClose", IconId::Close, "Close Current Project", &TfrmMain::btnCloseClick},
        {"btnOptions", IconId::Options, "Display Options Window", &TfrmMain::btnConfigClick},
        {"btnProcess", IconId::Process, "Begin Processing", &TfrmMain::btnProcessClick},
        {"btnViewProjFile", IconId::ViewProject, "View Project Source", &TfrmMain::btnViewProjFileClick},
        {"btnViewSource", IconId::ViewSource, "View Selected File", &TfrmMain::btnViewSourceClick},
        {"btnBuildFormTree", IconId::FormTree, "Build Form Tree", &TfrmMain::btnBuildFormTreeClick},
        {"btnShowCommentor", IconId::Commentor, "Show Function/Module Commentor",
         &TfrmMain::btnShowCommentorClick},
        {"btnCharts", IconId::Charts, "Display Chart Selector", &TfrmMain::btnChartsClick},
        {"btnSelectAll", IconId::SelectAll, "Select All Items", &TfrmMain::btnSelectAllClick},
        {"btnDeselectAll", IconId::DeselectAll, "Deselect All Items", &TfrmMain::btnDeselectAllClick},
        {"btnHelp", IconId::Help, "Help", &TfrmMain::mnuHelpContentsClick},
    };
    for (const Button& b : buttons) {
        QAction* action = MakeAction(b.name, b.hint, b.hint, b.handler);
        action->setIcon(KemptorIcon(b.icon));
    }

    MakeAction("mnuFileOpen", "&Open...", "Display the open file dialog", &TfrmMain::OpenProjectDialog)
        ->setShortcut(QKeySequence::Open);
    MakeAction("mnuFileExit", "E&xit", "Exit Kemptor/VB", &TfrmMain::ExitApplication);
    MakeAction("mnuViewOptions", "&Options...", "Display the options window", &TfrmMain::btnConfigClick);
    QAction* toolbar =
        MakeAction("mnuViewToolbar", "&Toolbar", "Toggle the toolbar", &TfrmMain::mnuViewToolbarClick);
    toolbar->setCheckable(true);
    toolbar->setChecked(true);
    QAction* processBar = MakeAction("mnuViewProcessBar", "Process &Bar", "Toggle the process bar",
                                     &TfrmMain::mnuViewProcessBarClick);
    processBar->setCheckable(true);
    processBar->setChecked(true);

    // The Project menu and the tree's context menu repeat the project commands.
    for (const char* prefix : {"mnuProject", "mnuPopup"}) {
        QString p(prefix);
        bool menu = p == "mnuProject";
        MakeAction(p + "BeginProcessing", menu ? "&Begin Processing" : "Begin Processing", "Begin Processing",
                   &TfrmMain::btnProcessClick);
        MakeAction(p + "ViewProjectSource", "View Project Source", "View Project Source",
                   &TfrmMain::btnViewProjFileClick);
        MakeAction(p + "ViewCurrentSource", "View Current Source", "View Selected File",
                   &TfrmMain::btnViewSourceClick);
        MakeAction(p + "ViewFormStructure", "View Form Structure", "Build Form Tree",
                   &TfrmMain::btnBuildFormTreeClick)
            ->setEnabled(false);
        MakeAction(p + "ViewCommentor", "View Sub/Function Commentor", "Show Function/Module Commentor",
                   &TfrmMain::btnShowCommentorClick);
        MakeAction(p + "ViewCharts", "View Charts", "Display Chart Selector", &TfrmMain::btnChartsClick);
        MakeAction(p + "SelectAll", menu ? "&Select All" : "Select All", "Select All Items",
                   &TfrmMain::btnSelectAllClick);
        MakeAction(p + "DeselectAll", menu ? "&Deselect All" : "Deselect All", "Deselect All Items",
                   &TfrmMain::btnDeselectAllClick);
    }
    MakeAction("mnuPopupToggleSelection", "Toggle Selection", "Toggle the selection of this file",
               &TfrmMain::treeProjectDblClick);
    MakeAction("mnuPopupOptions", "Options", "Display the options window", &TfrmMain::btnConfigClick);

    MakeAction("mnuWindowTile", "&Tile", "Tile all visible windows", &TfrmMain::mnuWindowTileClick);
    MakeAction("mnuWindowCascade", "&Cascade", "Cascade all visible windows",
               &TfrmMain::mnuWindowCascadeClick);
    MakeAction("mnuHelpContents", "&Contents", "Open the help file", &TfrmMain::mnuHelpContentsClick);
    MakeAction("mnuHelpAbout", "&About...", "Display the about box", &TfrmMain::mnuHelpAboutClick);
}

void TfrmMain::createMenus() {
    mnuFile_ = menuBar()->addMenu("&File");
    mnuFile_->setObjectName("mnuFile");
    mnuFile_->addAction(Action("mnuFileOpen"));
    mnuFile_->addSeparator();
    mnuFile_->addAction(Action("mnuFileExit"));

    QMenu* view = menuBar()->addMenu("&View");
    view->setObjectName("mnuView");
    view->addAction(Action("mnuViewOptions"));
    view->addSeparator();
    view->addAction(Action("mnuViewToolbar"));
    view->addAction(Action("mnuViewProcessBar"));

    mnuProject_ = menuBar()->addMenu("&Project");
    mnuProject_->setObjectName("mnuProject");
    mnuProjectMenuAction_ = mnuProject_->menuAction();
    for (const char* name :
         {"BeginProcessing", "-", "ViewProjectSource", "ViewCurrentSource", "ViewFormStructure",
          "ViewCommentor", "ViewCharts", "-", "SelectAll", "DeselectAll"}) {
        if (QString(name) == "-")
            mnuProject_->addSeparator();
        else
            mnuProject_->addAction(Action(QString("mnuProject") + name));
    }

    mnuWindow_ = menuBar()->addMenu("&Window");
    mnuWindow_->setObjectName("mnuWindow");
    connect(mnuWindow_, &QMenu::aboutToShow, this, &TfrmMain::updateWindowMenu);
    updateWindowMenu();

    QMenu* help = menuBar()->addMenu("&Help");
    help->setObjectName("mnuHelp");
    help->addAction(Action("mnuHelpContents"));
    help->addSeparator();
    help->addAction(Action("mnuHelpAbout"));

    mnuPopup_ = new QMenu(this);
    mnuPopup_->setObjectName("mnuPopup");
    for (const char* name :
         {"ToggleSelection", "-", "SelectAll", "DeselectAll", "-", "ViewProjectSource", "ViewCurrentSource",
          "ViewFormStructure", "ViewCommentor", "ViewCharts", "-", "BeginProcessing", "-", "Options"}) {
        if (QString(name) == "-")
            mnuPopup_->addSeparator();
        else
            mnuPopup_->addAction(Action(QString("mnuPopup") + name));
    }
}

void TfrmMain::createToolBar() {
    toolBar_ = new TINIToolBar("KT Toolbar", this);
    toolBar_->setObjectName("ToolBar");
    toolBar_->SetINI("frmMain", "ToolBar");
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    toolBar_->setFloatable(false);
    toolBar_->setMovable(true);
    toolBar_->setIconSize(QSize(20, 20));
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    addToolBar(Qt::TopToolBarArea, toolBar_);
    for (const char* name :
         {"btnOpen", "btnClose", "btnOptions", "btnProcess", "btnViewProjFile", "btnViewSource",
          "btnBuildFormTree", "btnShowCommentor", "btnCharts", "btnSelectAll", "btnDeselectAll", "btnHelp"})
        toolBar_->addAction(Action(name));
    // Hiding the bar by its own handle or context menu keeps the View menu's check mark in step.
    connect(toolBar_, &QToolBar::visibilityChanged, this, [this](bool visible) {
        if (!isHidden())
            Action("mnuViewToolbar")->setChecked(visible);
    });
}

void TfrmMain::createStatusBar() {
    statusBar()->setObjectName("StatusBar");
    gaugeMain_ = new QProgressBar;
    gaugeMain_->setObjectName("gaugeMain");
    gaugeMain_->setMaximumWidth(240);
    gaugeMain_->setTextVisible(false);
    statusBar()->addPermanentWidget(gaugeMain_);
    statusBar()->showMessage("Ready");
}

void TfrmMain::createTree() {
    pnlOutline_ = new QWidget;
    pnlOutline_->setObjectName("pnlOutline");
    auto* layout = new QVBoxLayout(pnlOutline_);
    layout->setContentsMargins(0, 0, 0, 0);
    treeProject_ = new TProjectTree;
    treeProject_->setObjectName("treeProject");
    treeProject_->setHeaderHidden(true);
    treeProject_->setIndentation(19);
    treeProject_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    treeProject_->setSelectionMode(QAbstractItemView::SingleSelection);
    treeProject_->setExpandsOnDoubleClick(false);
    treeProject_->setContextMenuPolicy(Qt::CustomContextMenu);
    treeProject_->setStatusTip("Double-click a file to include it in, or leave it out of, processing");
    treeProject_->setIconSize(QSize(20, 20));
    // Keep the selection visible when the tree loses the focus.
    QPalette pal = treeProject_->palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 pal.color(QPalette::Active, QPalette::HighlightedText));
    treeProject_->setPalette(pal);
    layout->addWidget(treeProject_);

    connect(treeProject_, &QTreeWidget::itemDoubleClicked, this, [this] { treeProjectDblClick(); });
    connect(treeProject_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { treeProjectChanging(current); });
    connect(treeProject_, &QTreeWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        if (QTreeWidgetItem* node = treeProject_->itemAt(pos))
            treeProject_->setCurrentItem(node);
        mnuPopup_->popup(treeProject_->viewport()->mapToGlobal(pos));
    });
    // A click on a node's check box changes the mark; the entry follows it.
    connect(treeProject_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* node) {
        if (TSourceEntry* entry = EntryOf(node))
            entry->Selected = node->checkState(0) == Qt::Checked;
    });
}

// --- settings kept by the main window -------------------------------------------------------------------

void TfrmMain::readSettings() {
    // Oldest first, each put on top, so that "Item1" ends first.
    std::vector<std::string> items = ReadRecentFiles(settingsFile_);
    for (auto it = items.rbegin(); it != items.rend(); ++it)
        if (!it->empty())
            AddRecentFile(QString::fromStdString(*it));
}

bool TfrmMain::writeSettings() {
    std::vector<std::string> items;
    for (const QString& path : recentFiles_)
        items.push_back(path.toStdString());
    if (WriteRecentFiles(items, settingsFile_))
        return false;
    QRect r = normalGeometry().isValid() ? normalGeometry() : geometry();
    WindowPlacementRecord placement;
    placement.NormPosL = r.left();
    placement.NormPosT = r.top();
    placement.NormPosR = r.left() + r.width();
    placement.NormPosB = r.top() + r.height();
    if (WriteWindowPlacement(placement, settingsFile_))
        return false;
    return SaveINIControls(this, settingsFile_);
}

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (placementRestored_)
        return;
    placementRestored_ = true;
    LoadINIControls(this, settingsFile_);
    WindowPlacementRecord placement = ReadWindowPlacement(settingsFile_);
    QRect placed(placement.NormPosL, placement.NormPosT, placement.NormPosR - placement.NormPosL,
                 placement.NormPosB - placement.NormPosT);
    // A placement that lies on no screen (a monitor since removed) would hide the window: keep the default.
    if (placement.Usable() && placed.height() > 0 && QGuiApplication::screenAt(placed.center())) {
        setGeometry(placed);
        FitOnScreen(*this); // a place kept from a larger screen is shrunk to this one
    }
    if (!projectLoaded_)
        DisableProjectCommands();
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    if (RunInProgress()) {
        // The run stops at its next line; the window closes once the run has ended and its questions
        // are answered, so no output is lost half-written.
        closePending_ = true;
        runObserver_->RequestCancel();
        event->ignore();
        return;
    }
    if (options_->isVisible())
        options_->reject();
    mdiArea_->closeAllSubWindows();
    if (!mdiArea_->subWindowList().isEmpty()) { // a window asked to stay open (unsaved edits)
        event->ignore();
        return;
    }
    if (!settingsWritten_) {
        settingsWritten_ = true;
        if (!writeSettings())
            prompter_.Show(PromptKind::Error, UnableToWriteMessage(settingsFile_), PromptButtons::Ok);
    }
    model_.reset();
    event->accept();
}

// --- project --------------------------------------------------------------------------------------------

// The main window as the project reader sees it.
class MainWindowReaderObserver : public ProjectReaderObserver {
public:
    explicit MainWindowReaderObserver(TfrmMain& window) : w_(window) {}
    ~MainWindowReaderObserver() override { SetBusyCursor(false); }

    bool ProjectShown() const override { return !w_.pnlOutline_->isHidden(); }
    void CloseProject() override { w_.CloseProject(); }
    void SetGaugeRange(int maximum) override { w_.GaugeStart(maximum); }
    void SetGaugePosition(int position) override { w_.GaugeStep(position); }
    void SetGaugeVisible(bool visible) override {
        if (visible)
            w_.gaugeMain_->show();
        else
            w_.GaugeHide();
    }
    void ProjectOpening(const std::string& projectName, const std::string& projectPath) override {
        w_.projectName_ = QString::fromStdString(projectName);
        w_.projectPath_ = QString::fromStdString(projectPath);
        w_.projectLoaded_ = true;
    }
    void SetBusyCursor(bool busy) override {
        if (busy == busy_)
            return;
        busy_ = busy;
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    }
    void AddRecentFile(const std::string& projectPath) override {
        w_.AddRecentFile(QString::fromStdString(projectPath));
    }
    void ReloadOptions() override { w_.ReloadOptions(); }
    void SetTabWidth(int tabWidth) override { w_.tabWidth_ = tabWidth; }
    void EnableProjectCommands() override { w_.EnableProjectCommands(); }
    void BuildTree(TSourceMgt&) override { w_.BuildProjectTree(); }

private:
    TfrmMain& w_;
    bool busy_ = false;
};

void TfrmMain::OpenProject(const QString& path) {
    if (RunInProgress() || path.isEmpty())
        return;
    MainWindowReaderObserver observer(*this);
    bool opened = kemptor::OpenProject(path.toStdString(), model_, observer, prompter_);
    if (!opened && (projectLoaded_ || model_))
        CloseProject(); // whatever failed, no half-open project stays behind
    else if (opened) {
        options_->SetProjectDirectory(QString::fromStdString(model_->ProjectDir));
        SetDocumentFolder(QString::fromStdString(ResolvedDisplayPath(model_->ProjectDir)));
        const auto projectSettings = FindProjectSettingsFile(path.toStdString());
        options_->SetProjectSettingsFile(QString::fromStdString(projectSettings.value_or("")));
    }
}

void TfrmMain::CloseProject() {
    // The view windows show files of the project that closes; some hold its entries.
    mdiArea_->closeAllSubWindows();
    projectLoaded_ = false;
    projectName_.clear();
    projectPath_.clear();
    model_.reset();
    treeProject_->clear();
    options_->SetProjectDirectory({});
    options_->SetProjectSettingsFile({});
    SetDocumentFolder({});
    DisableProjectCommands();
}

void TfrmMain::btnCloseClick() {
    CloseProject();
}

void TfrmMain::OpenProjectDialog() {
    QString path = ChooseProjectFile();
    if (!path.isEmpty())
        OpenProject(path);
}

void TfrmMain::ExitApplication() {
    close();
}

void TfrmMain::GaugeStart(int maximum) {
    gaugeMain_->setRange(0, std::max(1, maximum));
    gaugeMain_->setValue(0);
    gaugeMain_->show();
}

void TfrmMain::GaugeStep(int position) {
    gaugeMain_->setValue(std::min(position, gaugeMain_->maximum()));
}

void TfrmMain::GaugeHide() {
    gaugeMain_->hide();
}

void TfrmMain::ReloadOptions() {
    options_->ReloadFromProfile();
}

void TfrmMain::AddRecentFile(const QString& path) {
    int at = recentFiles_.indexOf(path);
    if (at >= 0)
        recentFiles_.removeAt(at);
    recentFiles_.prepend(path);
    while (recentFiles_.size() > kRecentFilesCapacity)
        recentFiles_.removeLast();
    updateRecentFilesMenu();
}

void TfrmMain::updateRecentFilesMenu() {
    for (QAction* a : recentActions_) {
        mnuFile_->removeAction(a);
        a->deleteLater();
    }
    recentActions_.clear();
    if (!recentFiles_.isEmpty() && !recentSeparator_)
        recentSeparator_ = mnuFile_->addSeparator();
    for (int i = 0; i < recentFiles_.size(); ++i) {
        QString caption = QString("&%1  %2").arg(i + 1).arg(QString(recentFiles_[i]).replace("&", "&&"));
        auto* action = new QAction(caption, this);
        action->setObjectName(QString("LastFiles%1").arg(i + 1));
        action->setStatusTip(recentFiles_[i]);
        connect(action, &QAction::triggered, this, [this, i] { LastFilesClick(i + 1); });
        mnuFile_->addAction(action);
        recentActions_.append(action);
    }
}

void TfrmMain::LastFilesClick(int position) {
    if (position >= 1 && position <= recentFiles_.size())
        OpenProject(recentFiles_[position - 1]);
}

void TfrmMain::DisableProjectCommands() {
    for (const char* name : {"btnClose", "btnProcess", "btnViewProjFile", "btnViewSource", "btnShowCommentor",
                             "btnCharts", "btnSelectAll", "btnDeselectAll", "btnBuildFormTree"})
        Action(name)->setEnabled(false);
    pnlOutline_->hide();
    mnuProjectMenuAction_->setVisible(false);
}

void TfrmMain::EnableProjectCommands() {
    for (const char* name : {"btnClose", "btnProcess", "btnViewProjFile", "btnViewSource", "btnShowCommentor",
                             "btnCharts", "btnSelectAll", "btnDeselectAll", "btnBuildFormTree"})
        Action(name)->setEnabled(true);
    pnlOutline_->show();
    mnuProjectMenuAction_->setVisible(true);
}

void TfrmMain::BuildProjectTree() {
    if (!model_ || model_->FileCount() == 0) {
        prompter_.Show(PromptKind::Information, "Empty Project...", PromptButtons::Ok);
        return;
    }
    treeProject_->setUpdatesEnabled(false);
    const QSignalBlocker quiet(treeProject_);
    treeProject_->clear();
    auto* root = new QTreeWidgetItem(treeProject_, {projectName_});
    root->setIcon(0, KemptorIcon(IconId::Project));
    root->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
    for (TSourceEntry& entry : model_->Files()) {
        if (entry.Kind == skCustomControl)
            continue;
        auto* node = new QTreeWidgetItem(root, {QString::fromStdString(entry.DisplayName)});
        node->setIcon(0, KemptorIcon(IconOfKind(entry.Kind)));
        node->setData(0, kEntryRole, QVariant::fromValue(static_cast<void*>(&entry)));
        node->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
                       Qt::ItemIsDragEnabled);
        node->setToolTip(0, QString::fromStdString(entry.FullPath));
        entry.Selected = true;
        node->setCheckState(0, Qt::Checked);
    }
    treeProject_->setUpdatesEnabled(true);
    treeProject_->setEnabled(true);
    treeProject_->expandAll();
}

TSourceEntry* TfrmMain::EntryOf(const QTreeWidgetItem* node) {
    if (!node)
        return nullptr;
    return static_cast<TSourceEntry*>(node->data(0, kEntryRole).value<void*>());
}

TSourceEntry* TfrmMain::SelectedEntry() const {
    return EntryOf(treeProject_->currentItem());
}

void TfrmMain::SetMark(QTreeWidgetItem* node, bool selected) {
    TSourceEntry* entry = EntryOf(node);
    if (!entry)
        return;
    entry->Selected = selected;
    node->setCheckState(0, selected ? Qt::Checked : Qt::Unchecked);
}

void TfrmMain::SetAllMarks(bool selected) {
    if (treeProject_->topLevelItemCount() == 0)
        return;
    treeProject_->setUpdatesEnabled(false);
    QTreeWidgetItem* root = treeProject_->topLevelItem(0);
    for (int i = 0; i < root->childCount(); ++i)
        SetMark(root->child(i), selected);
    treeProject_->setUpdatesEnabled(true);
}

void TfrmMain::btnSelectAllClick() {
    SetAllMarks(true);
}

void TfrmMain::btnDeselectAllClick() {
    SetAllMarks(false);
}

void TfrmMain::treeProjectDblClick() {
    QTreeWidgetItem* node = treeProject_->currentItem();
    if (TSourceEntry* entry = EntryOf(node))
        SetMark(node, !entry->Selected);
}

void TfrmMain::treeProjectChanging(QTreeWidgetItem* node) {
    TSourceEntry* entry = EntryOf(node);
    bool file = entry != nullptr;
    bool form = file && entry->Kind == skForm;
    for (const char* name : {"mnuProjectViewCurrentSource", "mnuPopupViewCurrentSource", "btnViewSource",
                             "mnuProjectViewCommentor", "mnuPopupViewCommentor", "btnShowCommentor"})
        Action(name)->setEnabled(file);
    for (const char* name : {"mnuProjectViewFormStructure", "mnuPopupViewFormStructure", "btnBuildFormTree"})
        Action(name)->setEnabled(form);
}

// --- commands -------------------------------------------------------------------------------------------

Settings TfrmMain::SettingsInForce() const {
    Settings s = options_->CurrentSettings();
    s.TabWidth = tabWidth_;
    // A project that brings its own settings file is formatted by it, as the command line formats it.
    if (model_)
        ApplyProjectSettingsFile(s, projectPath_.toStdString());
    return s;
}

bool TfrmMain::RunInProgress() const {
    return runObserver_ && runObserver_->Running();
}

void TfrmMain::btnProcessClick() {
    if (!model_ || RunInProgress())
        return;
    runObserver_->SetPreview(Preview);
    ProcessSelectedFiles(model_.get(), SettingsInForce(), options_->Templates(), prompter_, *runObserver_);
    setEnabled(true);
    activateWindow();
    setFocus();
    if (closePending_) {
        closePending_ = false;
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

void TfrmMain::btnConfigClick() {
    if (RunInProgress())
        return;
    options_->Execute();
}

void TfrmMain::btnViewProjFileClick() {
    if (!projectLoaded_)
        return;
    if (Views.ViewSingle)
        Views.ViewSingle("Project File: " + projectName_, projectPath_);
}

void TfrmMain::ViewEntry(TSourceEntry& entry) {
    QString full = QString::fromStdString(entry.FullPath);
    QString caption = "File: " + QString::fromStdString(ResolvedDisplayPath(entry.FullPath));
    if (entry.Processed) {
        if (Views.ViewDual)
            Views.ViewDual(caption, full, QString::fromStdString(entry.OutputPath));
    } else if (Views.ViewSingle) {
        Views.ViewSingle(caption, full);
    }
}

void TfrmMain::btnViewSourceClick() {
    if (TSourceEntry* entry = SelectedEntry())
        ViewEntry(*entry);
}

// The form structure, commentor and chart windows are not part of this version yet: their commands say
// so instead of doing nothing without a word.
void TfrmMain::ReportWindowMissing(const std::string& what) {
    prompter_.Show(PromptKind::Information, what + " is not available in this version.", PromptButtons::Ok);
}

void TfrmMain::btnBuildFormTreeClick() {
    TSourceEntry* entry = SelectedEntry();
    if (!projectLoaded_ || !entry || entry->Kind != skForm)
        return;
    if (!Views.BuildFormTree)
        return ReportWindowMissing("The form structure tree");
    model_->LoadLines(entry);
    Views.BuildFormTree(*entry);
    model_->ReleaseLines(entry);
}

void TfrmMain::btnShowCommentorClick() {
    TSourceEntry* entry = SelectedEntry();
    if (!entry)
        return;
    if (!Views.ShowCommentor)
        return ReportWindowMissing("The commentor");
    Views.ShowCommentor(*entry);
}

void TfrmMain::btnChartsClick() {
    if (!model_)
        return;
    if (!Views.ShowCharts)
        return ReportWindowMissing("The chart selector");
    Views.ShowCharts(*model_);
}

void TfrmMain::mnuHelpContentsClick() {
    ShowHelp(0);
}

void TfrmMain::mnuHelpAboutClick() {
    QMessageBox box(this);
    box.setObjectName("AboutBox");
    box.setWindowTitle("About Kemptor/VB");
    box.setIconPixmap(KemptorIcon(IconId::App).pixmap(48, 48));
    box.setText("<b>Kemptor/VB</b>");
    box.setInformativeText("Version 3.08 Build 971031");
    for (QLabel* label : box.findChildren<QLabel*>())
        label->setWordWrap(false); // short texts, each on one line
    box.setStandardButtons(QMessageBox::Ok);
    FitCaption(box);
    box.exec();
}

void TfrmMain::mnuViewToolbarClick() {
    toolBar_->setVisible(Action("mnuViewToolbar")->isChecked());
}

void TfrmMain::mnuViewProcessBarClick() {
    statusBar()->setVisible(Action("mnuViewProcessBar")->isChecked());
}

void TfrmMain::mnuWindowTileClick() {
    // Side by side: each visible child gets a full-height column of the client area.
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* w : mdiArea_->subWindowList())
        if (w->isVisible() && !w->isMinimized())
            windows.append(w);
    if (windows.isEmpty())
        return;
    QRect area = mdiArea_->viewport()->rect();
    int width = area.width() / static_cast<int>(windows.size());
    for (int i = 0; i < windows.size(); ++i) {
        windows[i]->showNormal();
        windows[i]->setGeometry(i * width, 0, width, area.height());
    }
}

void TfrmMain::mnuWindowCascadeClick() {
    CascadeSubWindows(mdiArea_);
}

void TfrmMain::updateWindowMenu() {
    mnuWindow_->clear();
    mnuWindow_->addAction(Action("mnuWindowTile"));
    mnuWindow_->addAction(Action("mnuWindowCascade"));
    QList<QMdiSubWindow*> windows = mdiArea_->subWindowList();
    if (!windows.isEmpty())
        mnuWindow_->addSeparator();
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* w = windows[i];
        QAction* action = mnuWindow_->addAction(QString("&%1 %2").arg(i + 1).arg(w->windowTitle()));
        action->setCheckable(true);
        action->setChecked(w == mdiArea_->activeSubWindow());
        connect(action, &QAction::triggered, w, [this, w] { mdiArea_->setActiveSubWindow(w); });
    }
    if (AddToWindowMenu)
        AddToWindowMenu(*mnuWindow_);
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mdiArea_->viewport()) {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            // Only a node dragged from the project tree is accepted: its drag carries a type of data that
            // nothing else produces.
            if (drag->mimeData()->hasFormat(kNodeMime))
                drag->acceptProposedAction();
            else
                drag->ignore();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            if (!drop->mimeData()->hasFormat(kNodeMime))
                return false;
            drop->acceptProposedAction();
            QTimer::singleShot(0, this, &TfrmMain::btnViewSourceClick);
            return true;
        }
        default:
            break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace kemptor
