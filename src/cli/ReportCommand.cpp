// kemptor-cli report FILE -o OUT.pdf: the print report of a text file (title band, page header with
// "Filename: " + the file name, "Printed at" and "Page N" on every page, one detail line per line of the
// file) rendered as PDF by the same painter as the print preview, without a printer or a display.
#include <QBuffer>
#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>

#include <iostream>

#include "cli/CliCommand.h"
#include "platform/TextFile.h"
#include "platform/WinPath.h"
#include "platform/Windows1252.h"
#include "print/report/TReportRenderer.h"
#include "view/TBigTextStore.h"

namespace kemptor {
namespace {

class ReportCommand : public CliCommand {
public:
    void Setup(CLI::App& sub) override {
        sub.add_option("FILE", file_, "The text file to report")->required();
        sub.add_option("-o,--output", output_, "The PDF file to write")->required();
    }

    int Run() override {
        const auto lines = ReadTextLines(file_);
        if (!lines) {
            std::cerr << "error: Cannot read file " << file_ << '\n';
            return kExitBadInput;
        }
        // The painter needs fonts, not a screen: the offscreen platform serves on any machine.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // Qt's own notes (a missing runtime directory and the like) are not the command's output.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
            if (type == QtCriticalMsg || type == QtFatalMsg)
                std::cerr << "error: " << message.toStdString() << '\n';
        });
        int argc = 1;
        char name[] = "kemptor-cli";
        char* argv[] = {name, nullptr};
        QGuiApplication app(argc, argv);

        // The PDF is made in memory and written through a temporary file, so a failure leaves no half file.
        QByteArray pdf;
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(300);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setTitle(QString::fromStdU16String(Windows1252ToUtf16(ExtractFileName(file_))));
        writer.setCreator("Kemptor/VB");
        TReportRenderer::SetUpPage(writer);
        size_t next = 0;
        const auto result = TReportRenderer::Render(
            writer, QString::fromStdU16String(Windows1252ToUtf16(ExtractFileName(file_))),
            TReportRenderer::PrintedAtNow(), [&](QString& text) {
                if (next >= lines->size())
                    return false;
                // Tabs as the viewer shows them.
                text = QString::fromStdU16String(
                    Windows1252ToUtf16(TBigTextStore::ExpandTabsToEights((*lines)[next++])));
                return true;
            });
        buffer.close();
        if (!result.drawn ||
            !WriteFileAtomic(output_, std::string_view(pdf.constData(), static_cast<size_t>(pdf.size())))) {
            std::cerr << "error: Cannot write file " << output_ << '\n';
            return kExitBadInput;
        }
        return kExitOk;
    }

private:
    std::string file_;
    std::string output_;
};

const bool registered =
    RegisterCliCommand<ReportCommand>("report", "Render the print report of a text file as PDF");

} // namespace
} // namespace kemptor
