#include "platform/ui/Icons.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOption>

#include <cmath>

namespace kemptor {

namespace {

const QColor kInk(40, 48, 64);
const QColor kPaper(252, 252, 246);
const QColor kBlue(48, 104, 184);
const QColor kGreen(52, 150, 72);
const QColor kRed(196, 56, 48);
const QColor kGold(232, 176, 48);
const QColor kTeal(32, 140, 150);
const QColor kPurple(124, 72, 164);

// All drawings use a 32 by 32 canvas; the engine scales it to the requested size.
void Document(QPainter& p, QColor fill = kPaper) {
    QPainterPath path;
    path.moveTo(7, 3);
    path.lineTo(20, 3);
    path.lineTo(26, 9);
    path.lineTo(26, 29);
    path.lineTo(7, 29);
    path.closeSubpath();
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(fill);
    p.drawPath(path);
    p.drawLine(QPointF(20, 3), QPointF(20, 9));
    p.drawLine(QPointF(20, 9), QPointF(26, 9));
}

void TextLines(QPainter& p, int top, int count, QColor color = kBlue, int left = 10, int width = 13) {
    p.setPen(QPen(color, 1.6, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < count; ++i) {
        int indent = (i % 3 == 1) ? 3 : 0;
        p.drawLine(QPointF(left + indent, top + i * 4), QPointF(left + width - (i % 2) * 3, top + i * 4));
    }
}

void Folder(QPainter& p) {
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(kGold.darker(110));
    QPainterPath back;
    back.moveTo(3, 8);
    back.lineTo(12, 8);
    back.lineTo(15, 11);
    back.lineTo(29, 11);
    back.lineTo(29, 27);
    back.lineTo(3, 27);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(kGold);
    QPainterPath front;
    front.moveTo(3, 27);
    front.lineTo(7, 15);
    front.lineTo(31, 15);
    front.lineTo(29, 27);
    front.closeSubpath();
    p.drawPath(front);
}

void Gear(QPainter& p, QPointF c, double r, QColor color) {
    p.setPen(QPen(kInk, 1.3));
    p.setBrush(color);
    QPainterPath path;
    const int teeth = 8;
    for (int i = 0; i < teeth * 2; ++i) {
        double a = i * M_PI / teeth;
        double rr = (i % 2 == 0) ? r : r * 0.72;
        QPointF pt(c.x() + rr * std::cos(a), c.y() + rr * std::sin(a));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    path.addEllipse(c, r * 0.3, r * 0.3);
    p.drawPath(path);
}

void Badge(QPainter& p, QRectF r, QColor color, const QString& text) {
    p.setPen(QPen(color.darker(140), 1));
    p.setBrush(color);
    p.drawRoundedRect(r, 3, 3);
    QFont f = p.font();
    f.setPixelSize(static_cast<int>(r.height() * 0.8));
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(r, Qt::AlignCenter, text);
}

void CheckBoxMark(QPainter& p, QRectF r, bool ticked) {
    p.setPen(QPen(kInk, 1.4));
    p.setBrush(kPaper);
    p.drawRoundedRect(r, 2, 2);
    if (ticked) {
        p.setPen(QPen(kGreen, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPainterPath tick;
        tick.moveTo(r.left() + r.width() * 0.2, r.top() + r.height() * 0.55);
        tick.lineTo(r.left() + r.width() * 0.42, r.top() + r.height() * 0.78);
        tick.lineTo(r.left() + r.width() * 0.82, r.top() + r.height() * 0.25);
        p.setBrush(Qt::NoBrush);
        p.drawPath(tick);
    }
}

void FormWindow(QPainter& p) {
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(kPaper);
    p.drawRect(QRectF(3, 5, 26, 22));
    p.setBrush(kBlue);
    p.drawRect(QRectF(3, 5, 26, 5));
    p.setBrush(QColor(220, 224, 232));
    p.drawRect(QRectF(7, 14, 10, 4));
    p.drawRect(QRectF(19, 21, 7, 3.5));
    p.setPen(QPen(kInk, 1));
    p.drawLine(QPointF(7, 22), QPointF(15, 22));
}

void Paint(QPainter& p, IconId id) {
    switch (id) {
    case IconId::App:
    case IconId::Project: {
        Document(p, QColor(236, 242, 252));
        p.setPen(QPen(kBlue, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10, 12), QPointF(18, 12));
        p.drawLine(QPointF(13, 17), QPointF(22, 17));
        p.drawLine(QPointF(13, 22), QPointF(20, 22));
        p.drawLine(QPointF(10, 26), QPointF(16, 26));
        if (id == IconId::App) {
            p.setPen(QPen(kGold, 2.4, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(22, 28), QPointF(30, 20));
        }
        break;
    }
    case IconId::Open:
        Folder(p);
        break;
    case IconId::Close:
        Folder(p);
        p.setPen(QPen(kRed, 3.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(17, 16), QPointF(27, 26));
        p.drawLine(QPointF(27, 16), QPointF(17, 26));
        break;
    case IconId::Options:
        Gear(p, QPointF(16, 16), 13, QColor(160, 170, 186));
        break;
    case IconId::Process: {
        p.setPen(QPen(kGreen.darker(130), 1.5));
        p.setBrush(kGreen);
        QPolygonF tri({QPointF(8, 4), QPointF(28, 16), QPointF(8, 28)});
        p.drawPolygon(tri);
        break;
    }
    case IconId::ViewProject:
        Document(p, QColor(236, 242, 252));
        Badge(p, QRectF(9, 14, 15, 9), kBlue, "VBP");
        break;
    case IconId::ViewSource:
        Document(p);
        TextLines(p, 12, 5);
        break;
    case IconId::FormTree:
        p.setPen(QPen(kInk, 1.6));
        p.drawLine(QPointF(8, 8), QPointF(8, 26));
        p.drawLine(QPointF(8, 15), QPointF(16, 15));
        p.drawLine(QPointF(8, 25), QPointF(16, 25));
        p.setBrush(kBlue);
        p.drawRect(QRectF(3, 3, 10, 7));
        p.setBrush(kTeal);
        p.drawRect(QRectF(16, 11, 12, 7));
        p.setBrush(kGold);
        p.drawRect(QRectF(16, 21, 12, 7));
        break;
    case IconId::Commentor: {
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(QColor(255, 248, 200));
        QPainterPath bubble;
        bubble.addRoundedRect(QRectF(3, 4, 26, 17), 4, 4);
        QPainterPath tail;
        tail.moveTo(9, 20);
        tail.lineTo(7, 28);
        tail.lineTo(16, 20);
        bubble = bubble.united(tail);
        p.drawPath(bubble);
        p.setPen(QPen(kGreen, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 10), QPointF(24, 10));
        p.drawLine(QPointF(8, 15), QPointF(19, 15));
        break;
    }
    case IconId::Charts:
        p.setPen(QPen(kInk, 1.5));
        p.drawLine(QPointF(4, 4), QPointF(4, 28));
        p.drawLine(QPointF(4, 28), QPointF(29, 28));
        p.setBrush(kBlue);
        p.drawRect(QRectF(7, 16, 5, 12));
        p.setBrush(kGreen);
        p.drawRect(QRectF(14, 8, 5, 20));
        p.setBrush(kRed);
        p.drawRect(QRectF(21, 12, 5, 16));
        break;
    case IconId::SelectAll:
        CheckBoxMark(p, QRectF(3, 3, 15, 15), true);
        CheckBoxMark(p, QRectF(14, 14, 15, 15), true);
        break;
    case IconId::DeselectAll:
        CheckBoxMark(p, QRectF(3, 3, 15, 15), false);
        CheckBoxMark(p, QRectF(14, 14, 15, 15), false);
        break;
    case IconId::Help: {
        p.setPen(QPen(kBlue.darker(130), 1.5));
        p.setBrush(kBlue);
        p.drawEllipse(QRectF(3, 3, 26, 26));
        QFont f = p.font();
        f.setPixelSize(20);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, "?");
        break;
    }
    case IconId::Form:
        FormWindow(p);
        break;
    case IconId::Module:
        Document(p);
        TextLines(p, 11, 3, kInk);
        Badge(p, QRectF(9, 21, 15, 7), kGreen, "BAS");
        break;
    case IconId::Class: {
        p.setPen(QPen(kInk, 1.4));
        p.setBrush(kPurple.lighter(150));
        QPolygonF top({QPointF(16, 3), QPointF(29, 9), QPointF(16, 15), QPointF(3, 9)});
        p.drawPolygon(top);
        p.setBrush(kPurple);
        QPolygonF left({QPointF(3, 9), QPointF(16, 15), QPointF(16, 29), QPointF(3, 23)});
        p.drawPolygon(left);
        p.setBrush(kPurple.darker(130));
        QPolygonF right({QPointF(16, 15), QPointF(29, 9), QPointF(29, 23), QPointF(16, 29)});
        p.drawPolygon(right);
        break;
    }
    case IconId::UserControl:
        FormWindow(p);
        Gear(p, QPointF(23, 22), 7, kGold);
        break;
    case IconId::PageGeneral:
        Document(p);
        CheckBoxMark(p, QRectF(9, 11, 7, 7), true);
        CheckBoxMark(p, QRectF(9, 20, 7, 7), false);
        p.setPen(QPen(kBlue, 1.6));
        p.drawLine(QPointF(18, 14), QPointF(23, 14));
        p.drawLine(QPointF(18, 23), QPointF(23, 23));
        break;
    case IconId::PageIndents:
        Document(p);
        p.setPen(QPen(kBlue, 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10, 12), QPointF(22, 12));
        p.drawLine(QPointF(14, 16), QPointF(23, 16));
        p.drawLine(QPointF(18, 20), QPointF(23, 20));
        p.drawLine(QPointF(10, 25), QPointF(20, 25));
        p.setPen(QPen(kRed, 1.4));
        p.drawLine(QPointF(10, 18), QPointF(14, 18));
        break;
    case IconId::PageComments:
        Document(p);
        p.setPen(QPen(kGreen, 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10, 12), QPointF(11, 15));
        p.drawLine(QPointF(13, 13), QPointF(23, 13));
        p.drawLine(QPointF(10, 20), QPointF(11, 23));
        p.drawLine(QPointF(13, 21), QPointF(21, 21));
        break;
    case IconId::PageBlankLines:
        Document(p);
        p.setPen(QPen(kBlue, 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10, 10), QPointF(22, 10));
        p.drawLine(QPointF(10, 25), QPointF(21, 25));
        p.setPen(QPen(kRed, 1.2, Qt::DashLine));
        p.drawLine(QPointF(10, 15), QPointF(23, 15));
        p.drawLine(QPointF(10, 20), QPointF(23, 20));
        break;
    case IconId::PageSpellCheck: {
        QFont f = p.font();
        f.setPixelSize(12);
        f.setBold(true);
        p.setFont(f);
        p.setPen(kInk);
        p.drawText(QRectF(1, 2, 30, 14), Qt::AlignCenter, "ABC");
        p.setPen(QPen(kGreen, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        QPainterPath tick;
        tick.moveTo(7, 21);
        tick.lineTo(13, 27);
        tick.lineTo(26, 16);
        p.drawPath(tick);
        break;
    }
    case IconId::PageSave:
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(kBlue);
        p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
        p.setBrush(kPaper);
        p.drawRect(QRectF(9, 4, 14, 9));
        p.setBrush(QColor(200, 206, 216));
        p.drawRect(QRectF(8, 17, 16, 11));
        break;
    case IconId::PageUser:
        p.setPen(QPen(kInk, 1.4));
        p.setBrush(kTeal);
        p.drawEllipse(QRectF(10, 3, 12, 12));
        p.drawChord(QRectF(4, 16, 24, 24), 0, 180 * 16);
        break;
    case IconId::Folder:
        Folder(p);
        break;
    case IconId::Properties:
        // A sheet of name/value rows: a grey name column beside a blue value column.
        p.setPen(QPen(kInk, 1.4));
        p.setBrush(kPaper);
        p.drawRect(QRectF(4, 4, 24, 24));
        p.drawLine(QPointF(13, 4), QPointF(13, 28));
        for (int y = 9; y <= 24; y += 5) {
            p.setPen(QPen(QColor(130, 138, 150), 2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(7, y), QPointF(10, y));
            p.setPen(QPen(kBlue, 2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(16, y), QPointF(24 - (y % 2) * 3, y));
        }
        break;
    case IconId::Control:
        // A raised push button with its caption.
        p.setPen(QPen(kInk, 1.4));
        p.setBrush(QColor(220, 224, 232));
        p.drawRoundedRect(QRectF(3, 9, 26, 14), 2, 2);
        p.setPen(QPen(Qt::white, 1.4));
        p.drawLine(QPointF(5, 11), QPointF(27, 11));
        p.setPen(QPen(kTeal, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10, 16.5), QPointF(22, 16.5));
        break;
    }
}

class PaintedIconEngine : public QIconEngine {
public:
    explicit PaintedIconEngine(IconId id) : id_(id) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        QPixmap pm(size);
        pm.fill(Qt::transparent);
        {
            QPainter p(&pm);
            p.setRenderHint(QPainter::Antialiasing);
            p.setRenderHint(QPainter::TextAntialiasing);
            p.scale(size.width() / 32.0, size.height() / 32.0);
            Paint(p, id_);
        }
        if (mode == QIcon::Disabled && qApp) {
            QStyleOption opt;
            return qApp->style()->generatedIconPixmap(QIcon::Disabled, pm, &opt);
        }
        return pm;
    }

    QIconEngine* clone() const override { return new PaintedIconEngine(id_); }

private:
    IconId id_;
};

} // namespace

QIcon KemptorIcon(IconId id) {
    return QIcon(new PaintedIconEngine(id));
}

} // namespace kemptor
