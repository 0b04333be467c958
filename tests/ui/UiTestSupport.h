#pragma once
// Helpers shared by the widget tests.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

namespace kemptor::test {

// Copies a directory with everything below it (a sample project into a test's scratch directory).
inline void CopyTree(const QString& from, const QString& to) {
    QDir().mkpath(to);
    for (const QFileInfo& info : QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + "/" + info.fileName();
        if (info.isDir())
            CopyTree(info.filePath(), target);
        else
            QFile::copy(info.filePath(), target);
    }
}

} // namespace kemptor::test
