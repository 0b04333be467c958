// Program start: the application title, the main window with its long-lived windows (created hidden),
// the project named on the command line, then the event loop until the main window closes.
#include "app/ui/TfrmMain.h"
#include "platform/ui/Icons.h"
#include "platform/ui/QtPrompter.h"
#include "view/ui/TfrmViewSingle.h"

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

    // The stand-alone single view lives as long as the program; the main window makes its own preview
    // and MDI views.
    kemptor::TfrmViewSingle frmViewSingle(prompter);
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
