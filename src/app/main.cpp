// Program start: the application title, the main window with its long-lived windows (created hidden),
// the project named on the command line, then the event loop until the main window closes.
#include "app/CommandLine.h"
#include "app/ui/TfrmMain.h"
#include "platform/ui/Icons.h"
#include "platform/ui/QtPrompter.h"
#include "print/ui/TfrmDebug.h"
#include "view/ui/TfrmViewSingle.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

int main(int argc, char** argv) {
    // --help, --version and the report end here, before any window or display is needed.
    if (const auto status = kemptor::RunCommandLine(argc, argv))
        return *status;
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kemptor/VB 3.0");
    // Ties the windows to the installed kemptor.desktop (its name and icon in the task bar).
    QGuiApplication::setDesktopFileName("kemptor");
    QApplication::setWindowIcon(kemptor::KemptorIcon(kemptor::IconId::App));

    kemptor::QtPrompter prompter;
    kemptor::TfrmMain window(prompter);
    prompter = kemptor::QtPrompter(&window);

    // The stand-alone single view lives as long as the program; the main window makes its own preview
    // and MDI views.
    kemptor::TfrmViewSingle frmViewSingle(prompter);
    window.show();

    // "--debug" switches the debug output window on; the first other argument names a project.
    QStringList args = QApplication::arguments().mid(1);
    if (args.removeAll("--debug") > 0)
        if (auto* debug = window.findChild<kemptor::TfrmDebug*>())
            debug->DebugOn();
    if (!args.isEmpty()) {
        // An absolute path, so that the recent-files entry opens from any working directory later.
        QFileInfo given(args.at(0));
        QString project = given.exists() ? given.absoluteFilePath() : args.at(0);
        QTimer::singleShot(0, &window, [&window, project] { window.OpenProject(project); });
    }
    return app.exec();
}
