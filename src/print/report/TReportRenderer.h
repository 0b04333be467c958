#pragma once
// The painter of the program's text reports, shared by the print preview, the printer and the command
// line's PDF output: a title band on the first page, a page header on every page ("Filename: " + the
// report title, "Printed at " + date and time, "Page " + number right-aligned), then one detail band per
// record in a fixed-pitch font, paginated so that no row is cut at a page break.
//
// Lengths are in report units of 1/96 inch (the pixels of a 96 dpi screen), scaled to the device. A
// record wider than the page continues on further rows of its own detail band rather than being cut.
// Needs only Qt GUI, so the command line can render without widgets.

#include <QString>

#include <functional>
#include <vector>

class QPagedPaintDevice;

namespace kemptor {

// One band as it was drawn, for the tests: kind, page (from 1), text and the rows it took.
struct ReportBand {
    enum class Kind { Title, PageHeader, Detail };
    Kind kind;
    int page;
    QString text;
    int rows = 1;
};

class TReportRenderer {
public:
    static constexpr double kTitleHeight = 29;
    static constexpr double kHeaderHeight = 33;
    static constexpr double kDetailHeight = 15;
    static constexpr double kPageMarginMillimetres = 10; // keeps every band inside a printer's reach
    static constexpr const char* kTitle = "Kemptor/VB Report Generator";

    // Asks for the next record: sets its text and returns true, or returns false when there is none.
    using NeedData = std::function<bool(QString& text)>;

    struct Result {
        bool drawn = false; // false when the device could not be painted on (an unwritable file)
        int pages = 0;
        int details = 0;
    };

    // Draws the whole report on `device`, asking `needData` for records until it returns false.
    // `log`, when given, receives every band drawn.
    static Result Render(QPagedPaintDevice& device, const QString& reportTitle, const QString& printedAt,
                         const NeedData& needData, std::vector<ReportBand>* log = nullptr);

    // Sets the device's paper margins to the report's.
    static void SetUpPage(QPagedPaintDevice& device);

    // The date and time text of the page header for now.
    static QString PrintedAtNow();
};

} // namespace kemptor
