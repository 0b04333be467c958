#pragma once
// The main window: an MDI frame with the menus, the "KT Toolbar", the project tree with its selection
// marks, the bottom bar (status line and gauge) and the client area in which the view windows open. It
// owns the open project and starts the reader and the processing runs.

#include "run/RunObserver.h"
#include "settings/Settings.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QProgressBar;
class QSplitter;
class QTreeWidget;
class QTreeWidgetItem;

namespace kemptor {

class GuiRunObserver;
class Prompter;
class TfrmCopyFiles;
class TfrmOptions;
class TfrmProcessing;
class TfrmViewDual;
class TINIToolBar;
class TSourceMgt;
struct TSourceEntry;

// What the main window opens in its client area; the view windows connect here. Each returns the new MDI
// window (or nullptr when nothing was opened).
struct MainWindowViews {
    std::function<QWidget*(const QString& caption, const QString& path)> ViewSingle;
    std::function<QWidget*(const QString& caption, const QString& leftPath, const QString& rightPath)>
        ViewDual;
    std::function<QWidget*(TSourceEntry& entry)> ShowCommentor;
    std::function<QWidget*(TSourceEntry& entry)> BuildFormTree;
    std::function<void(TSourceMgt& model)> ShowCharts;
};

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    // `prompter` shows every message; `settingsFile` is the profile file (a bare name lives in the
    // settings directory).
    explicit TfrmMain(Prompter& prompter, QWidget* parent = nullptr,
                      std::string settingsFile = "VBKEMPT3.INI");
    ~TfrmMain() override;

    // Opens a project file (the open dialog, a recent file, the command line).
    void OpenProject(const QString& path);
    void CloseProject();

    bool ProjectLoaded() const { return projectLoaded_; }
    QString ProjectName() const { return projectName_; }
    QString ProjectPath() const { return projectPath_; }
    TSourceMgt* Model() const { return model_.get(); }
    int TabWidth() const { return tabWidth_; }

    // The settings in force: the Options dialog's values and the tab width of the open project.
    Settings SettingsInForce() const;

    TfrmOptions& Options() const { return *options_; }
    TfrmProcessing& ProcessingWindow() const { return *processing_; }
    TfrmCopyFiles& CopyWindow() const { return *copy_; }
    QTreeWidget* ProjectTree() const { return treeProject_; }
    QMdiArea* MdiArea() const { return mdiArea_; }
    QStringList RecentFiles() const { return recentFiles_; }
    QMenu* PopupMenu() const { return mnuPopup_; }
    QProgressBar* Gauge() const { return gaugeMain_; }

    // The view windows and the run's preview (set to the program's own windows; tests replace them).
    MainWindowViews Views;
    std::function<PreviewAnswer(const std::string& fileName, const TextLines& before, const TextLines& after,
                                const std::vector<bool>& changed)>
        Preview;

    // Adds the entries of windows outside the client area (the debug output) to the Window menu, each
    // time the menu is rebuilt.
    std::function<void(QMenu& windowMenu)> AddToWindowMenu;

    // The open dialog; replaceable so that tests can answer it.
    std::function<QString()> ChooseProjectFile;
    // The about box; replaceable for tests (the default is modal).
    std::function<void()> ShowAboutBox;

    // Hides and clears the tree after the project closed, or rebuilds it from the model.
    void BuildProjectTree();

    // Commands (menu items, tool buttons and the context menu are bound to these).
    void OpenProjectDialog();
    void ExitApplication();
    void btnCloseClick();
    void btnConfigClick();
    void btnProcessClick();
    void btnViewProjFileClick();
    void btnViewSourceClick();
    void btnBuildFormTreeClick();
    void btnShowCommentorClick();
    void btnChartsClick();
    void btnSelectAllClick();
    void btnDeselectAllClick();
    void treeProjectDblClick();
    void mnuHelpContentsClick();
    void mnuHelpAboutClick();
    void mnuViewToolbarClick();
    void mnuViewProcessBarClick();
    void mnuWindowTileClick();
    void mnuWindowCascadeClick();
    void LastFilesClick(int position);

    // The reader's requests while a project is read.
    void GaugeStart(int maximum);
    void GaugeStep(int position);
    void GaugeHide();
    void AddRecentFile(const QString& path);
    void ReloadOptions();
    void EnableProjectCommands();
    void DisableProjectCommands();

    // The action of a command by its object name ("btnProcess", "mnuProjectBeginProcessing", ...).
    QAction* Action(const QString& name) const;
    // The entry attached to a tree node (nullptr for the root).
    static TSourceEntry* EntryOf(const QTreeWidgetItem* node);

    bool RunInProgress() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class MainWindowReaderObserver;
    void ReportWindowMissing(const std::string& what);
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void createTree();
    void readSettings();
    bool writeSettings();
    void updateRecentFilesMenu();
    void updateWindowMenu();
    void treeProjectChanging(QTreeWidgetItem* node);
    void SetMark(QTreeWidgetItem* node, bool selected);
    void SetAllMarks(bool selected);
    void ViewEntry(TSourceEntry& entry);
    TSourceEntry* SelectedEntry() const;
    QAction* MakeAction(const QString& name, const QString& text, const QString& hint,
                        void (TfrmMain::*handler)());

    Prompter& prompter_;
    std::string settingsFile_;
    std::unique_ptr<TSourceMgt> model_;
    bool projectLoaded_ = false;
    QString projectName_;
    QString projectPath_;
    int tabWidth_ = 4;
    bool placementRestored_ = false;
    bool closePending_ = false;
    bool settingsWritten_ = false;

    // Long-lived windows, created hidden at start.
    std::unique_ptr<TfrmOptions> options_;
    std::unique_ptr<TfrmProcessing> processing_;
    std::unique_ptr<TfrmCopyFiles> copy_;
    std::unique_ptr<GuiRunObserver> runObserver_;
    std::unique_ptr<TfrmViewDual> viewDual_; // the run's modal preview

    QSplitter* splitter_ = nullptr; // its handle is the grab bar between the tree and the client area
    QWidget* pnlOutline_ = nullptr;
    QTreeWidget* treeProject_ = nullptr;
    QMdiArea* mdiArea_ = nullptr;
    QProgressBar* gaugeMain_ = nullptr;
    TINIToolBar* toolBar_ = nullptr;

    QMenu* mnuFile_ = nullptr;
    QMenu* mnuProject_ = nullptr;
    QAction* mnuProjectMenuAction_ = nullptr;
    QMenu* mnuWindow_ = nullptr;
    QMenu* mnuPopup_ = nullptr;
    QAction* recentSeparator_ = nullptr;
    QList<QAction*> recentActions_;
    QStringList recentFiles_;
};

} // namespace kemptor
