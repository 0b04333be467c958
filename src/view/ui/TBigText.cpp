#include "view/ui/TBigText.h"

#include "platform/Prompter.h"
#include "platform/TextFile.h"
#include "platform/Windows1252.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace kemptor {

TBigText::TBigText(QWidget* parent) : QAbstractScrollArea(parent) {
    QFont font("Courier");
    font.setStyleHint(QFont::TypeWriter);
    setFont(font);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    horizontalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setSingleStep(1);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this,
            [this](int value) { OnBarMoved(Qt::Horizontal, value); });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this](int value) { OnBarMoved(Qt::Vertical, value); });
    SetScrollBars(TScrollStyle::Vertical);
    resize(320, 200);
    FontChanged();
}

void TBigText::SetFillBack(bool on) {
    fillBack_ = on;
    viewport()->update();
}

void TBigText::SetScrollBars(TScrollStyle style) {
    scrollBars_ = style;
    const bool h = style == TScrollStyle::Horizontal || style == TScrollStyle::Both;
    const bool v = style == TScrollStyle::Vertical || style == TScrollStyle::Both;
    setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    RecalcRange();
}

void TBigText::SetColor(const QColor& color) {
    color_ = color;
    viewport()->update();
}

QColor TBigText::ToQColor(TColor color) const {
    switch (color.kind) {
    case TColor::Kind::SysWindow:
        return palette().color(QPalette::Base);
    case TColor::Kind::SysWindowText:
        return palette().color(QPalette::Text);
    case TColor::Kind::Rgb:
        break;
    }
    return QColor(color.red, color.green, color.blue);
}

QString TBigText::FromWindows1252(std::string_view text) {
    return QString::fromStdU16String(Windows1252ToUtf16(text));
}

std::string TBigText::ToWindows1252(const QString& text) {
    return Utf16ToWindows1252(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                                  static_cast<size_t>(text.size())));
}

bool TBigText::AddLine(std::string_view text, TColor textColor, TColor backColor, bool paintNow) {
    const int before = store_.Count();
    if (!store_.AddLine(text, textColor, backColor, &lastError_))
        return false;
    if (store_.Count() <= before)
        highlightLine_ = -1; // lines were purged from the top
    if (paintNow) {
        RecalcRange();
        ScrollTo(0, vMax_);
        const int row = store_.Count() - 1 - vPos_;
        viewport()->update(0, row * lineHeight_, viewport()->width(), lineHeight_);
    }
    return true;
}

void TBigText::Clear() {
    store_.Clear();
    highlightLine_ = -1;
    RecalcRange();
    viewport()->update();
}

bool TBigText::LoadFromFile(const std::string& fileName) {
    Clear();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto lines = ReadTextLines(fileName);
    if (lines) {
        for (const std::string& line : *lines)
            store_.AddLine(TBigTextStore::ExpandTabsToEights(line), clWindowText, clWindow, &lastError_);
    }
    QApplication::restoreOverrideCursor();
    RecalcRange();
    viewport()->update();
    return lines.has_value();
}

bool TBigText::SaveToFile(const std::string& fileName, Prompter& prompter) const {
    if (fileName.empty())
        return false;
    TextLines lines;
    lines.reserve(static_cast<size_t>(std::max(0, store_.Count())));
    for (int i = 0; i < store_.Count(); ++i)
        lines.emplace_back(store_.Line(i));
    if (WriteTextLinesAtomic(fileName, lines))
        return true;
    prompter.Show(PromptKind::Error, "Error Saving File - BIGTEXT 788", PromptButtons::Ok);
    return false;
}

bool TBigText::FindText(const std::string& what, bool downwards, bool matchCase) {
    const int hit = store_.FindLine(what, vPos_, downwards, matchCase);
    if (hit < 0)
        return false;
    const TTextAttributes saved = store_.Attributes(hit);
    store_.SetLineColors(hit, clYellow, clNavy);
    viewport()->repaint();
    ScrollTo(hPos_, hit);
    store_.SetLineColors(hit, saved.FontColor, saved.BackColor);
    // The hit keeps its highlight on screen until the view next moves.
    highlightLine_ = hit;
    viewport()->update();
    return true;
}

bool TBigText::SetTopLine(int line) {
    ScrollTo(hPos_, std::clamp(line, 0, std::max(0, store_.Count())));
    return true;
}

void TBigText::FontChanged() {
    const QFontMetrics metrics(font());
    charWidth_ = std::max(1, metrics.averageCharWidth());
    lineHeight_ = std::max(1, metrics.height() + metrics.leading());
    ascent_ = metrics.ascent();
    RecalcRange();
    viewport()->update();
}

void TBigText::RecalcRange() {
    visibleCols_ = viewport()->width() / charWidth_;
    visibleRows_ = viewport()->height() / lineHeight_;
    hMax_ = std::max(0, kColumns - visibleCols_);
    vMax_ = std::max(0, store_.Count() - visibleRows_);
    ScrollTo(std::min(hPos_, hMax_), std::min(vPos_, vMax_));
    UpdateScrollBars();
}

void TBigText::UpdateScrollBars() {
    settingBars_ = true;
    QScrollBar* h = horizontalScrollBar();
    h->setRange(0, std::max(1, hMax_));
    h->setPageStep(std::max(1, visibleCols_ / 2));
    h->setValue(hPos_);
    QScrollBar* v = verticalScrollBar();
    v->setRange(0, std::max(1, vMax_));
    v->setPageStep(std::max(1, visibleRows_));
    v->setValue(vPos_);
    settingBars_ = false;
}

void TBigText::ScrollTo(int column, int row) {
    column = std::clamp(column, 0, hMax_);
    row = std::clamp(row, 0, vMax_);
    if (column == hPos_ && row == vPos_)
        return;
    const int dx = (hPos_ - column) * charWidth_;
    const int dy = (vPos_ - row) * lineHeight_;
    hPos_ = column;
    vPos_ = row;
    if (highlightLine_ >= 0) {
        highlightLine_ = -1;
        viewport()->update();
    } else {
        viewport()->scroll(dx, dy); // moves the pixels and repaints only the uncovered strip
    }
    settingBars_ = true;
    if (horizontalScrollBar()->value() != hPos_)
        horizontalScrollBar()->setValue(hPos_);
    if (verticalScrollBar()->value() != vPos_)
        verticalScrollBar()->setValue(vPos_);
    settingBars_ = false;
}

void TBigText::ScrollView(Qt::Orientation axis, TScrollCode code, int thumbPosition) {
    const bool horizontal = axis == Qt::Horizontal;
    const int current = horizontal ? hPos_ : vPos_;
    const int page = horizontal ? visibleCols_ / 2 : visibleRows_;
    int target = current;
    switch (code) {
    case TScrollCode::LineUp:
        target = current - 1;
        break;
    case TScrollCode::LineDown:
        target = current + 1;
        break;
    case TScrollCode::PageUp:
        target = current - page;
        break;
    case TScrollCode::PageDown:
        target = current + page;
        break;
    case TScrollCode::ThumbPosition:
    case TScrollCode::ThumbTrack:
        target = thumbPosition;
        break;
    case TScrollCode::Top:
        target = 0;
        break;
    case TScrollCode::Bottom:
        target = horizontal ? hMax_ : vMax_;
        break;
    case TScrollCode::EndScroll:
        break;
    }
    if (horizontal)
        ScrollTo(target, vPos_);
    else
        ScrollTo(hPos_, target);
}

void TBigText::OnBarMoved(Qt::Orientation axis, int value) {
    if (settingBars_)
        return;
    ScrollView(axis, TScrollCode::ThumbPosition, value);
    // The bar's range reaches 1 even when there is nothing to scroll; keep it on the real position.
    settingBars_ = true;
    if (axis == Qt::Horizontal)
        horizontalScrollBar()->setValue(hPos_);
    else
        verticalScrollBar()->setValue(vPos_);
    settingBars_ = false;
}

void TBigText::RowsDone() {
    RecalcRange();
    viewport()->update();
}

void TBigText::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect area = event->rect();
    painter.fillRect(area, color_.isValid() ? color_ : palette().color(QPalette::Base));
    painter.translate(-hPos_ * charWidth_, 0);
    const int count = store_.Count();
    const int rowRight = viewport()->width() + hPos_ + hMax_ * charWidth_;
    const QFont base = font();
    lastPaintedRows_ = 0;
    for (int i = vPos_; i < count && i <= vPos_ + visibleRows_; ++i) {
        const QRect row(0, (i - vPos_) * lineHeight_, rowRight, lineHeight_);
        if (!row.intersects(area.translated(hPos_ * charWidth_, 0)))
            continue;
        ++lastPaintedRows_;
        const TTextAttributes& attributes = store_.Attributes(i);
        const bool hit = i == highlightLine_;
        const QColor fore = hit ? ToQColor(clYellow) : ToQColor(attributes.FontColor);
        const QColor back = hit ? ToQColor(clNavy) : ToQColor(attributes.BackColor);
        QFont rowFont = base;
        rowFont.setBold(attributes.FontStyle & fsBold);
        rowFont.setItalic(attributes.FontStyle & fsItalic);
        rowFont.setUnderline(attributes.FontStyle & fsUnderline);
        rowFont.setStrikeOut(attributes.FontStyle & fsStrikeOut);
        painter.setFont(rowFont);
        painter.setPen(fore);
        if (fillBack_)
            painter.fillRect(row, back);
        const QString text = FromWindows1252(store_.Line(i));
        if (text.isEmpty())
            continue;
        // Only the cells behind the characters take the background when the row is not filled.
        painter.setBackgroundMode(fillBack_ ? Qt::TransparentMode : Qt::OpaqueMode);
        painter.setBackground(back);
        const int flags = Qt::TextSingleLine | Qt::TextDontClip | Qt::AlignTop |
                          (attributes.Alignment == 1   ? Qt::AlignHCenter
                           : attributes.Alignment == 2 ? Qt::AlignRight
                                                       : Qt::AlignLeft);
        painter.drawText(row, flags, text);
    }
}

void TBigText::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    RecalcRange();
}

void TBigText::keyPressEvent(QKeyEvent* event) {
    emit KeyDown(event);
    const bool ctrl = (event->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Left:
        ScrollView(Qt::Horizontal, ctrl ? TScrollCode::PageUp : TScrollCode::LineUp);
        break;
    case Qt::Key_Right:
        ScrollView(Qt::Horizontal, ctrl ? TScrollCode::PageDown : TScrollCode::LineDown);
        break;
    case Qt::Key_Home:
        ScrollView(ctrl ? Qt::Vertical : Qt::Horizontal, TScrollCode::Top);
        break;
    case Qt::Key_End:
        ScrollView(ctrl ? Qt::Vertical : Qt::Horizontal, TScrollCode::Bottom);
        break;
    case Qt::Key_Up:
        if (!ctrl)
            ScrollView(Qt::Vertical, TScrollCode::LineUp);
        break;
    case Qt::Key_Down:
        if (!ctrl)
            ScrollView(Qt::Vertical, TScrollCode::LineDown);
        break;
    case Qt::Key_PageUp:
        if (!ctrl)
            ScrollView(Qt::Vertical, TScrollCode::PageUp);
        break;
    case Qt::Key_PageDown:
        if (!ctrl)
            ScrollView(Qt::Vertical, TScrollCode::PageDown);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TBigText::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    emit MouseDown(event);
}

void TBigText::mouseReleaseEvent(QMouseEvent* event) {
    emit MouseUp(event);
    if (event->button() == Qt::LeftButton && viewport()->rect().contains(event->position().toPoint()))
        emit Click();
}

void TBigText::contextMenuEvent(QContextMenuEvent* event) {
    if (popupMenu_)
        popupMenu_->popup(event->globalPos());
}

void TBigText::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        FontChanged();
}

void TBigText::scrollContentsBy(int, int) {
    // Scrolling is done by ScrollTo, which the bars reach through OnBarMoved.
}

} // namespace kemptor
