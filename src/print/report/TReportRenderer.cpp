#include "print/report/TReportRenderer.h"

#include <QDateTime>
#include <QFont>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kemptor {

namespace {

QFont ReportFont(const char* family, QFont::StyleHint hint, int pixels) {
    QFont font(family);
    font.setStyleHint(hint);
    font.setFixedPitch(hint == QFont::TypeWriter);
    font.setPixelSize(pixels);
    return font;
}

// The rows a record takes: the whole text, or pieces of `columns` characters when it is wider.
QStringList Rows(const QString& text, int columns) {
    if (text.size() <= columns)
        return {text};
    QStringList rows;
    for (qsizetype at = 0; at < text.size(); at += columns)
        rows << text.mid(at, columns);
    return rows;
}

class PageWriter {
public:
    PageWriter(QPagedPaintDevice& device, QPainter& painter, const QString& title, const QString& printedAt,
               std::vector<ReportBand>* log)
        : device_(device), p_(painter), title_(title), printedAt_(printedAt), log_(log) {
        const double scale = device.logicalDpiY() / 96.0;
        p_.scale(device.logicalDpiX() / 96.0, scale);
        width_ = device.width() * 96.0 / device.logicalDpiX();
        height_ = device.height() * 96.0 / device.logicalDpiY();
        detailFont_ = ReportFont("Courier New", QFont::TypeWriter, 11);
        const double advance = QFontMetricsF(detailFont_, &device_).horizontalAdvance(QLatin1Char('M'));
        columns_ = std::max(1, static_cast<int>(std::floor(width_ / std::max(advance, 1.0))));
    }

    int Columns() const { return columns_; }
    int Pages() const { return page_; }

    void StartPage() {
        if (page_ > 0)
            device_.newPage();
        ++page_;
        y_ = 0;
        if (page_ == 1)
            DrawTitle();
        DrawHeader();
        bodyTop_ = y_;
    }

    // One row of a detail band; a row that does not fit below the page's last row starts a new page
    // (unless the page holds no row yet, so that paper too small for one row cannot loop forever).
    void DrawDetailRow(const QString& row) {
        if (y_ + TReportRenderer::kDetailHeight > height_ && y_ > bodyTop_)
            StartPage();
        p_.setFont(detailFont_);
        p_.setPen(Qt::black);
        p_.drawText(QRectF(0, y_, width_, TReportRenderer::kDetailHeight),
                    Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, row);
        y_ += TReportRenderer::kDetailHeight;
    }

    void Log(ReportBand::Kind kind, const QString& text, int rows = 1) {
        if (log_)
            log_->push_back({kind, page_, text, rows});
    }

private:
    void DrawTitle() {
        QFont font = ReportFont("Arial", QFont::SansSerif, 19);
        font.setItalic(true);
        p_.setFont(font);
        p_.setPen(QColor(0, 0, 128));
        p_.drawText(QRectF(0, y_, width_, TReportRenderer::kTitleHeight), Qt::AlignCenter,
                    TReportRenderer::kTitle);
        y_ += TReportRenderer::kTitleHeight;
        Log(ReportBand::Kind::Title, TReportRenderer::kTitle);
    }

    void DrawHeader() {
        p_.setFont(ReportFont("Arial", QFont::SansSerif, 12));
        p_.setPen(Qt::black);
        const double line = 15;
        const QString page = "Page " + QString::number(page_);
        const QString fileName = "Filename: " + title_;
        const QString printed = "Printed at " + printedAt_;
        // The file name gives way to the page number rather than running under it.
        const double pageWidth = p_.fontMetrics().horizontalAdvance(page) + 12;
        p_.drawText(
            QRectF(0, y_ + 1, width_ - pageWidth, line), Qt::AlignLeft | Qt::AlignVCenter,
            p_.fontMetrics().elidedText(fileName, Qt::ElideMiddle, static_cast<int>(width_ - pageWidth)));
        p_.drawText(QRectF(0, y_ + 1 + line, width_, line), Qt::AlignLeft | Qt::AlignVCenter, printed);
        p_.drawText(QRectF(0, y_ + 1, width_, line), Qt::AlignRight | Qt::AlignVCenter, page);
        p_.setPen(QPen(QColor(128, 128, 128), 0.5));
        p_.drawLine(QPointF(0, y_ + TReportRenderer::kHeaderHeight - 1.5),
                    QPointF(width_, y_ + TReportRenderer::kHeaderHeight - 1.5));
        y_ += TReportRenderer::kHeaderHeight;
        Log(ReportBand::Kind::PageHeader, fileName + " | " + printed + " | " + page);
    }

    QPagedPaintDevice& device_;
    QPainter& p_;
    QString title_;
    QString printedAt_;
    std::vector<ReportBand>* log_;
    QFont detailFont_;
    double width_ = 0;
    double height_ = 0;
    double y_ = 0;
    double bodyTop_ = 0;
    int columns_ = 1;
    int page_ = 0;
};

} // namespace

void TReportRenderer::SetUpPage(QPagedPaintDevice& device) {
    const double m = kPageMarginMillimetres;
    device.setPageMargins(QMarginsF(m, m, m, m), QPageLayout::Millimeter);
}

QString TReportRenderer::PrintedAtNow() {
    return QDateTime::currentDateTime().toString("yyyy-MM-dd hh:mm:ss");
}

TReportRenderer::Result TReportRenderer::Render(QPagedPaintDevice& device, const QString& reportTitle,
                                                const QString& printedAt, const NeedData& needData,
                                                std::vector<ReportBand>* log) {
    Result result;
    QPainter painter;
    if (!painter.begin(&device))
        return result;
    PageWriter pages(device, painter, reportTitle, printedAt, log);
    pages.StartPage();
    QString text;
    while (needData(text)) {
        const QStringList rows = Rows(text, pages.Columns());
        for (const QString& row : rows)
            pages.DrawDetailRow(row);
        pages.Log(ReportBand::Kind::Detail, text, static_cast<int>(rows.size()));
        ++result.details;
        text.clear();
    }
    result.drawn = painter.end();
    result.pages = pages.Pages();
    return result;
}

} // namespace kemptor
