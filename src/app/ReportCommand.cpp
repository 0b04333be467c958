// kemptor report FILE -o OUT.pdf: the print report of a text file (title band, page header with
// "Filename: " + the file name, "Printed at" and "Page N" on every page, one detail line per line of the
// file) rendered as PDF by the same painter as the print preview, without a printer or a display. The
// output name is checked before anything is written (see platform/OutputFile.h).
#include <CLI/CLI.hpp>
#include <QBuffer>
#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>

#include <iostream>
#include <optional>
#include <vector>

#include "app/CommandLine.h"
#include "platform/OutputFile.h"
#include "platform/TextFile.h"
#include "platform/WinPath.h"
#include "platform/Windows1252.h"
#include "print/report/TReportRenderer.h"
#include "view/TBigTextStore.h"

namespace kemptor {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitBadInput = 2;

// The report of `lines` as PDF bytes, made in memory so that a failure leaves no half file; nullopt when
// the painter failed.
std::optional<QByteArray> RenderReportPdf(const std::string& file, const std::vector<std::string>& lines) {
    // The painter needs fonts, not a screen: the offscreen platform serves on any machine.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's own notes (a missing runtime directory and the like) are not the command's output.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::cerr << "error: " << message.toStdString() << '\n';
    });
    int argc = 1;
    char name[] = "kemptor";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);

    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(300);
    writer.setPageSize(QPageSize(QPageSize::A4));
    const QString title = QString::fromStdU16String(Windows1252ToUtf16(ExtractFileName(file)));
    writer.setTitle(title);
    writer.setCreator("Kemptor/VB");
    TReportRenderer::SetUpPage(writer);
    size_t next = 0;
    const auto result = TReportRenderer::Render(writer, title, TReportRenderer::PrintedAtNow(), [&](QString& text) {
        if (next >= lines.size())
            return false;
        // Tabs as the viewer shows them.
        text = QString::fromStdU16String(Windows1252ToUtf16(TBigTextStore::ExpandTabsToEights(lines[next++])));
        return true;
    });
    buffer.close();
    if (!result.drawn)
        return std::nullopt;
    return pdf;
}

} // namespace

int RunReportCommand(int argc, char** argv) {
    std::string file;
    std::string output;
    CLI::App app{"Write the print report of a text file as PDF", "kemptor report"};
    app.allow_windows_style_options(false);
    app.add_option("FILE", file, "The text file to report")->required();
    app.add_option("-o,--output", output, "The PDF file to write (a new name or a regular file)")->required();
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? kExitOk : kExitBadInput;
    }

    const auto lines = ReadTextLines(file);
    if (!lines) {
        std::cerr << "error: Cannot read file " << file << '\n';
        return kExitBadInput;
    }
    const auto pdf = RenderReportPdf(file, *lines);
    if (!pdf) {
        std::cerr << "error: Cannot write file " << output << '\n';
        return kExitBadInput;
    }
    const OutputFileOutcome written = WriteOutputFile(
        output, file, std::string_view(pdf->constData(), static_cast<size_t>(pdf->size())));
    if (written != OutputFileOutcome::Written) {
        std::cerr << "error: " << OutputFileOutcomeText(output, written) << '\n';
        return kExitBadInput;
    }
    return kExitOk;
}

} // namespace kemptor
