#include "print/ui/TfrmBigTextReporter.h"

#include "platform/ui/Help.h"
#include "view/ui/TBigText.h"

#include <QPrintPreviewDialog>
#include <QPrinter>

namespace kemptor {

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

void TfrmBigTextReporter::Preview(QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setDocName(ReportCaption);
    TReportRenderer::SetUpPage(printer);
    QPrintPreviewDialog preview(&printer, parent);
    preview.setObjectName("dlgReportPreview");
    preview.setWindowTitle(TReportRenderer::kTitle);
    SetHelpContext(&preview, kHelpContext);
    InstallHelpKey(&preview);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* target) { Print(*target); });
    preview.resize(820, 900);
    preview.exec();
}

void TfrmBigTextReporter::PrintViewer(QWidget* owner, TBigText* viewer, const QString& caption) {
    auto* reporter = new TfrmBigTextReporter(owner);
    reporter->BigText = viewer;
    reporter->ReportCaption = caption;
    reporter->Preview(owner);
    reporter->BigText = nullptr;
    delete reporter;
}

} // namespace kemptor
