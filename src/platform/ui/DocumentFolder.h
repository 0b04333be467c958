#pragma once
// Where the program's file dialogs start and where it proposes the files it writes for the user (PDF
// reports and charts, header templates): the folder of the open project, else the user's home. The main
// window sets it when a project opens or closes, so that a dialog never starts in an earlier project's
// folder, as a dialog left to remember its last folder would.

#include <QString>

namespace kemptor {

// `folder` empty: no project is open.
void SetDocumentFolder(const QString& folder);
QString DocumentFolder();

// The file the program proposes for printing a window to PDF: the base name of what the caption names
// ("File: /p/SUB/UTIL.BAS" gives UTIL, "Chart: Lines of code per file" the chart's name, a caption
// without a colon itself) with `suffix` (".pdf"), in the document folder.
QString ProposedFile(const QString& caption, const QString& suffix);

} // namespace kemptor
