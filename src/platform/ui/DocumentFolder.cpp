#include "platform/ui/DocumentFolder.h"

#include <QDir>
#include <QRegularExpression>

namespace kemptor {

namespace {

QString& Folder() {
    static QString folder;
    return folder;
}

} // namespace

void SetDocumentFolder(const QString& folder) {
    Folder() = folder.isEmpty() ? QString() : QDir::cleanPath(folder);
}

QString DocumentFolder() {
    return Folder().isEmpty() ? QDir::homePath() : Folder();
}

QString ProposedFile(const QString& caption, const QString& suffix) {
    // What follows the kind of window ("File: ", "Project File: ", "Chart: ") names the document.
    const qsizetype colon = caption.indexOf(": ");
    QString name = (colon >= 0 ? caption.mid(colon + 2) : caption).trimmed();
    // A path in either spelling: its last component, less its extension ("vs. code" is no extension).
    name = name.section(QRegularExpression("[\\\\/]"), -1);
    name.remove(QRegularExpression("(?<=.)\\.[A-Za-z0-9]{1,4}$"));
    // Characters that no file name on any system may hold become "_".
    name.replace(QRegularExpression("[\\\\/:*?\"<>|\\x00-\\x1f]"), "_");
    if (name.isEmpty())
        name = "Report";
    return QDir(DocumentFolder()).filePath(name + suffix);
}

} // namespace kemptor
