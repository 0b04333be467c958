// Program start: the application title, the main window with its long-lived windows (created hidden),
// the project named on the command line, then the event loop until the main window closes.
#include "app/ui/TfrmMain.h"
#include "platform/ui/Icons.h"
#include "platform/ui/QtPrompter.h"
#include "view/ui/TfrmViewDual.h"
#include "view/ui/TfrmViewSingle.h"
#include "view/ui/ViewWindows.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kemptor/VB 3.0");
    QApplication::setWindowIcon(kemptor::KemptorIcon(kemptor::IconId::App));

    kemptor::QtPrompter prompter;
    kemptor::TfrmMain window(prompter);
    prompter = kemptor::QtPrompter(&window);

    // The view windows: the run's modal preview and the stand-alone single view live as long as the
    // program; the MDI views are made per use.
    // The preview has no parent and its own prompter: a run disables the main window, and a disabled
    // window disables the dialogs and message boxes it parents.
    kemptor::QtPrompter previewPrompter;
    kemptor::TfrmViewDual frmViewDual(previewPrompter);
    previewPrompter = kemptor::QtPrompter(&frmViewDual);
    kemptor::TfrmViewSingle frmViewSingle(prompter);
    window.Views.ViewSingle = [&window, &prompter](const QString& caption, const QString& path) {
        return kemptor::OpenSingleView(window.MdiArea(), prompter, caption, path);
    };
    window.Views.ViewDual = [&window, &prompter](const QString& caption, const QString& before,
                                                 const QString& after) {
        return kemptor::OpenDualView(window.MdiArea(), prompter, caption, before, after);
    };
    window.Preview = [&frmViewDual](const std::string& fileName, const kemptor::TextLines& before,
                                    const kemptor::TextLines& after, const std::vector<bool>& changed) {
        return frmViewDual.Preview(fileName, before, after, changed);
    };
    window.show();

    const QStringList args = QApplication::arguments();
    if (args.size() > 1) {
        // An absolute path, so that the recent-files entry opens from any working directory later.
        QFileInfo given(args.at(1));
        QString project = given.exists() ? given.absoluteFilePath() : args.at(1);
        QTimer::singleShot(0, &window, [&window, project] { window.OpenProject(project); });
    }
    return app.exec();
}
