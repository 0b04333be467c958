#pragma once
// TfrmBigTextReporter ("Kemptor/VB Report Generator"): turns the lines of a viewer into the program's
// report, one detail line per viewer line, and shows it in the print preview, from which the user prints
// it or saves it as PDF. Every text window prints through it; it lives for one print command.

#include "print/report/TReportRenderer.h"

#include <QObject>
#include <QString>

#include <vector>

class QPagedPaintDevice;
class QPrinter;
class QWidget;

namespace kemptor {

class Prompter;
class TBigText;

class TfrmBigTextReporter : public QObject {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 73;

    explicit TfrmBigTextReporter(QObject* owner = nullptr);

    TBigText* BigText = nullptr; // the viewer printed; not owned
    QString ReportCaption;       // shown after "Filename: " in the page header
    int LineIndex = 0;           // the next line to print, from 0

    QString ReportTitle;   // the report's title as printed (set from ReportCaption before printing)
    QString DetailCaption; // the text of the detail line being printed
    int NeedDataCalls = 0; // how often the report asked for a record, over every run

    // Before each run: the title from the caption, the data from the first line.
    void ReporterBeforePrint();
    // A record for the detail band: the viewer's line at LineIndex while there is one.
    void ReporterNeedData(bool& moreData);

    // One run of the report on a device (the preview's printer, a PDF writer).
    TReportRenderer::Result Print(QPagedPaintDevice& device, std::vector<ReportBand>* log = nullptr);

    // Shows the report in the print preview, modal, parented to `parent` and fitted to its screen. A
    // report printed to a PDF file is followed by a message naming the file.
    void Preview(QWidget* parent, Prompter& prompter);

    // The preview's printer: the job named by the caption. Without a printer installed the print dialog
    // offers only a PDF file: it proposes the printed file's base name in the project's folder (the
    // document folder) instead of the caption in the home folder.
    void PreparePrinter(QPrinter& printer, bool printerInstalled) const;
    // Says where the report went when the preview printed it to a PDF file.
    static void TellWhereSaved(const QPrinter& printer, Prompter& prompter);

    // The print command of the text windows: a report of `viewer` under `caption`, previewed, then freed.
    static void PrintViewer(QWidget* owner, TBigText* viewer, const QString& caption, Prompter& prompter);

    // Whether a printer is installed; replaceable so that tests do not depend on the machine's printers.
    static bool (*PrinterInstalled)();
};

} // namespace kemptor
