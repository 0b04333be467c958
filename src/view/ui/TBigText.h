#pragma once
// TBigText: the read-only, owner-drawn line viewer of every text window. Each line has its own text and
// background colour; there is no caret and no selection. It scrolls over a fixed width of 255 columns,
// paints only the rows in view and moves pixels when it scrolls, so texts of a million lines stay quick.

#include "view/DiffRowSink.h"
#include "view/TBigTextStore.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QMenu>
#include <QPointer>

#include <string>
#include <string_view>

namespace kemptor {

class Prompter;

class TBigText : public QAbstractScrollArea, public DiffRowSink {
    Q_OBJECT

public:
    enum class TScrollStyle { None, Horizontal, Vertical, Both };
    enum class TScrollCode {
        LineUp,
        LineDown,
        PageUp,
        PageDown,
        ThumbPosition,
        ThumbTrack,
        Top,
        Bottom,
        EndScroll
    };

    static constexpr int kColumns = 255;

    explicit TBigText(QWidget* parent = nullptr);

    // Properties.
    std::uint16_t MaxLines() const { return store_.MaxLines; }
    void SetMaxLines(std::uint16_t lines) { store_.MaxLines = lines; }
    std::uint16_t PurgeLines() const { return store_.PurgeLines; }
    void SetPurgeLines(std::uint16_t lines) { store_.PurgeLines = lines; }
    int Count() const { return store_.Count(); }
    TColor ForeColor = clBlack; // colours of AddDefaultLine
    TColor BackColor = clWhite;
    bool FillBack() const { return fillBack_; }
    void SetFillBack(bool on);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle style);
    // Background outside the rows (the control's Color); invalid = the palette's window colour.
    void SetColor(const QColor& color);
    void SetPopupMenu(QMenu* menu) { popupMenu_ = menu; }
    QMenu* PopupMenu() const { return popupMenu_; }

    // Appends a line (cut at its first zero character and after 255 characters). With paintNow the line
    // is drawn at once and the view follows the end of the text at column 0. False when the line was not
    // added; LastError() then says why.
    bool AddLine(std::string_view text, TColor textColor, TColor backColor, bool paintNow);
    bool AddDefaultLine(std::string_view text, bool paintNow) {
        return AddLine(text, ForeColor, BackColor, paintNow);
    }
    const std::string& LastError() const { return lastError_; }
    void Clear();
    // Replaces the contents with the lines of a file, tabs expanded; false when the file cannot be read.
    bool LoadFromFile(const std::string& fileName);
    // Writes every line with CR LF. A failure shows "Error Saving File - BIGTEXT 788" through the prompter
    // and returns false; an empty file name does nothing.
    bool SaveToFile(const std::string& fileName, Prompter& prompter) const;
    // Searches below (or above) the top row, shows the hit in yellow on navy and scrolls it to the top row
    // as far as the range allows.
    bool FindText(const std::string& what, bool downwards, bool matchCase);
    std::string GetLine(int index) const { return std::string(store_.Line(index)); }
    const TTextAttributes& LineAttributes(int index) const { return store_.Attributes(index); }
    void SetLineColors(int index, TColor textColor, TColor backColor) {
        store_.SetLineColors(index, textColor, backColor);
    }
    bool SetTopLine(int line);
    int PageLines() const { return visibleRows_; }
    void RecalcRange();
    void FontChanged();
    void ScrollTo(int column, int row);
    void ScrollView(Qt::Orientation axis, TScrollCode code, int thumbPosition = 0);

    // View state.
    int CharWidth() const { return charWidth_; }
    int LineHeight() const { return lineHeight_; }
    int VisibleCols() const { return visibleCols_; }
    int VisibleRows() const { return visibleRows_; }
    int HMax() const { return hMax_; }
    int VMax() const { return vMax_; }
    int HPos() const { return hPos_; }
    int VPos() const { return vPos_; }
    int HighlightedLine() const { return highlightLine_; }
    // Rows drawn by the latest paint; scrolling moves pixels, so it repaints only the uncovered rows.
    int LastPaintedRows() const { return lastPaintedRows_; }

    // The row receiver of a comparison.
    void ClearRows() override { Clear(); }
    void AppendRow(const std::string& text, TColor textColor, TColor backColor) override {
        AddLine(text, textColor, backColor, false);
    }
    void RowsDone() override;

    QColor ToQColor(TColor color) const;
    // 8-bit text as shown: bytes above 127 are read as Windows-1252.
    static QString FromWindows1252(std::string_view text);
    // Typed text to the viewer's 8-bit form; characters Windows-1252 cannot hold become '?'.
    static std::string ToWindows1252(const QString& text);

signals:
    void Click();
    void MouseDown(QMouseEvent* event);
    void MouseUp(QMouseEvent* event);
    void KeyDown(QKeyEvent* event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    TBigTextStore store_;
    std::string lastError_;
    bool fillBack_ = false;
    TScrollStyle scrollBars_ = TScrollStyle::Vertical;
    QColor color_;
    QPointer<QMenu> popupMenu_;
    int charWidth_ = 1, lineHeight_ = 1, ascent_ = 0;
    int visibleCols_ = 0, visibleRows_ = 0, hMax_ = 0, vMax_ = 0, hPos_ = 0, vPos_ = 0;
    int highlightLine_ = -1; // the last search hit, drawn yellow on navy until the view moves
    bool settingBars_ = false;
    int lastPaintedRows_ = 0;

    void UpdateScrollBars();
    void OnBarMoved(Qt::Orientation axis, int value);
};

} // namespace kemptor
