#include "print/ui/TfrmBigTextReporter.h"

#include "platform/Prompter.h"
#include "platform/ui/DocumentFolder.h"
#include "platform/ui/Help.h"
#include "platform/ui/ScreenFit.h"
#include "view/ui/TBigText.h"

#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace kemptor {

bool (*TfrmBigTextReporter::PrinterInstalled)() = [] { return !QPrinterInfo::availablePrinterNames().isEmpty(); };

TfrmBigTextReporter::TfrmBigTextReporter(QObject* owner) : QObject(owner) {
    setObjectName("frmBigTextReporter");
}

void TfrmBigTextReporter::ReporterBeforePrint() {
    ReportTitle = ReportCaption;
    LineIndex = 0;
}

void TfrmBigTextReporter::ReporterNeedData(bool& moreData) {
    ++NeedDataCalls;
    moreData = BigText != nullptr && LineIndex < BigText->Count();
    if (moreData)
        DetailCaption = TBigText::FromWindows1252(BigText->GetLine(LineIndex));
    ++LineIndex;
}

TReportRenderer::Result TfrmBigTextReporter::Print(QPagedPaintDevice& device, std::vector<ReportBand>* log) {
    ReporterBeforePrint();
    // The date and time are taken once, so that every page of a run shows the same.
    return TReportRenderer::Render(
        device, ReportTitle, TReportRenderer::PrintedAtNow(),
        [this](QString& text) {
            bool more = false;
            ReporterNeedData(more);
            if (more)
                text = DetailCaption;
            return more;
        },
        log);
}

void TfrmBigTextReporter::PreparePrinter(QPrinter& printer, bool printerInstalled) const {
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setDocName(ReportCaption);
    if (!printerInstalled)
        printer.setOutputFileName(ProposedFile(ReportCaption, ".pdf"));
    TReportRenderer::SetUpPage(printer);
}

void TfrmBigTextReporter::TellWhereSaved(const QPrinter& printer, Prompter& prompter) {
    if (printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty())
        return;
    const QFileInfo pdf(printer.outputFileName());
    if (pdf.exists())
        prompter.Show(PromptKind::Information,
                      "The report was saved as " + pdf.absoluteFilePath().toStdString() + ".", PromptButtons::Ok);
    else
        prompter.Show(PromptKind::Error,
                      "The report could not be written to " + pdf.absoluteFilePath().toStdString() + ".",
                      PromptButtons::Ok);
}

void TfrmBigTextReporter::Preview(QWidget* parent, Prompter& prompter) {
    QPrinter printer(QPrinter::HighResolution);
    PreparePrinter(printer, PrinterInstalled());
    QPrintPreviewDialog preview(&printer, parent);
    preview.setObjectName("dlgReportPreview");
    preview.setWindowTitle(TReportRenderer::kTitle);
    SetHelpContext(&preview, kHelpContext);
    InstallHelpKey(&preview);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* target) { Print(*target); });
    preview.resize(820, 900);
    FitOnScreen(preview, parent ? parent->window() : nullptr);
    // The preview closes with Accepted once it has printed.
    if (preview.exec() == QDialog::Accepted)
        TellWhereSaved(printer, prompter);
}

void TfrmBigTextReporter::PrintViewer(QWidget* owner, TBigText* viewer, const QString& caption,
                                      Prompter& prompter) {
    auto* reporter = new TfrmBigTextReporter(owner);
    reporter->BigText = viewer;
    reporter->ReportCaption = caption;
    reporter->Preview(owner, prompter);
    reporter->BigText = nullptr;
    delete reporter;
}

} // namespace kemptor
