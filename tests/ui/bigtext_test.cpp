// Widget tests of the large text viewer, run on the offscreen platform.
#include "platform/Prompter.h"
#include "view/ui/TBigText.h"

#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include <fstream>

using namespace kemptor;

class BigTextTest : public QObject {
    Q_OBJECT

private:
    // A viewer whose client area is exactly `cols` by `rows` character cells.
    static void SizeToCells(TBigText& view, int cols, int rows) {
        const QSize frame = view.size() - view.viewport()->size();
        view.resize(frame.width() + cols * view.CharWidth(), frame.height() + rows * view.LineHeight());
        QCoreApplication::processEvents();
    }
    static void Fill(TBigText& view, int lines) {
        for (int k = 0; k < lines; ++k)
            view.AddLine("line " + std::to_string(k), clBlack, clWindow, false);
        view.RecalcRange();
    }

private slots:
    void RangesFollowTheClientArea() {
        TBigText view;
        view.SetScrollBars(TBigText::TScrollStyle::Both);
        view.show();
        SizeToCells(view, 50, 20);
        QCOMPARE(view.VisibleCols(), 50);
        QCOMPARE(view.HMax(), 205);
        QCOMPARE(view.VisibleRows(), 20);
        QCOMPARE(view.PageLines(), 20);
        QCOMPARE(view.VMax(), 0);
        Fill(view, 10);
        QVERIFY(view.SetTopLine(100));
        QCOMPARE(view.VPos(), 0);
        QCOMPARE(view.verticalScrollBar()->maximum(), 1); // the bar keeps a range of at least 1
        Fill(view, 90);
        QCOMPARE(view.VMax(), 80);
        QCOMPARE(view.verticalScrollBar()->maximum(), 80);
        QCOMPARE(view.horizontalScrollBar()->maximum(), 205);
        view.SetTopLine(500);
        QCOMPARE(view.VPos(), 80);
        // Wider than 255 columns: nothing to scroll sideways.
        SizeToCells(view, 300, 20);
        QCOMPARE(view.HMax(), 0);
        // Growing the client area pulls the top row back into the range.
        SizeToCells(view, 50, 40);
        QCOMPARE(view.VMax(), 60);
        QCOMPARE(view.VPos(), 60);
    }

    void KeysScrollAsTheTableSays() {
        TBigText view;
        view.SetScrollBars(TBigText::TScrollStyle::Both);
        view.show();
        SizeToCells(view, 40, 10);
        Fill(view, 100);
        QTest::keyClick(&view, Qt::Key_Down);
        QCOMPARE(view.VPos(), 1);
        QTest::keyClick(&view, Qt::Key_PageDown);
        QCOMPARE(view.VPos(), 11);
        QTest::keyClick(&view, Qt::Key_PageUp);
        QTest::keyClick(&view, Qt::Key_Up);
        QCOMPARE(view.VPos(), 0);
        QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(view.VPos(), 90);
        QTest::keyClick(&view, Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(view.VPos(), 90); // Ctrl+Down does nothing
        QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(view.VPos(), 0);
        QTest::keyClick(&view, Qt::Key_Right);
        QCOMPARE(view.HPos(), 1);
        QTest::keyClick(&view, Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(view.HPos(), 21);
        QTest::keyClick(&view, Qt::Key_Left, Qt::ControlModifier);
        QTest::keyClick(&view, Qt::Key_Left);
        QCOMPARE(view.HPos(), 0);
        QTest::keyClick(&view, Qt::Key_End);
        QCOMPARE(view.HPos(), view.HMax());
        QCOMPARE(view.VPos(), 0); // End alone moves sideways
        QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(view.VPos(), 0); // Ctrl+Shift counts as no Ctrl: End goes sideways
        QTest::keyClick(&view, Qt::Key_Home);
        QCOMPARE(view.HPos(), 0);
        view.horizontalScrollBar()->setValue(7);
        QCOMPARE(view.HPos(), 7);
        view.verticalScrollBar()->setValue(33);
        QCOMPARE(view.VPos(), 33);
    }

    void ScrollingRepaintsOnlyTheUncoveredRows() {
        TBigText view;
        view.show();
        SizeToCells(view, 40, 20);
        Fill(view, 200);
        view.viewport()->repaint();
        QCOMPARE(view.LastPaintedRows(), 20);
        view.ScrollView(Qt::Vertical, TBigText::TScrollCode::LineDown);
        QCoreApplication::processEvents();
        QCOMPARE(view.VPos(), 1);
        QCOMPARE(view.LastPaintedRows(), 1);
        view.ScrollView(Qt::Vertical, TBigText::TScrollCode::PageUp);
        QCoreApplication::processEvents();
        QCOMPARE(view.LastPaintedRows(), 1);
    }

    void FindTextSearchesBelowTheTopRow() {
        TBigText view;
        view.SetFillBack(true);
        view.show();
        SizeToCells(view, 40, 10);
        view.AddLine("needle at the top", clBlack, clWindow, false);
        Fill(view, 30);
        view.AddLine("a Needle near the end", clBlue, clYellow, false);
        Fill(view, 3);
        QVERIFY(!view.FindText("", true, false));
        QVERIFY2(!view.FindText("needle", false, false), "upwards from row 0");
        QVERIFY2(!view.FindText("needle", true, true), "line 0 is the top row and is skipped");
        QVERIFY(view.FindText("needle", true, false));
        // Hit on line 31; the range stops at 35 - 10 = 25.
        QCOMPARE(view.VPos(), 25);
        QCOMPARE(view.HighlightedLine(), 31);
        QVERIFY(view.LineAttributes(31).FontColor == clBlue);
        QVERIFY(view.LineAttributes(31).BackColor == clYellow);
        const QImage shot = view.viewport()->grab().toImage();
        const int y = (31 - 25) * view.LineHeight() + view.LineHeight() / 2;
        QCOMPARE(shot.pixelColor(shot.width() - 2, y), QColor(0, 0, 128));
        // The next search starts below the top row again and meets the same line.
        QVERIFY(view.FindText("needle", true, false));
        QCOMPARE(view.HighlightedLine(), 31);
        QVERIFY(view.FindText("NEEDLE", false, false));
        QCOMPARE(view.VPos(), 0);
    }

    void LinesAreCutAndTabsExpandedOnLoad() {
        QTemporaryDir dir;
        const std::string path = dir.filePath("tabs.bas").toStdString();
        std::ofstream(path, std::ios::binary) << "\tx\r\n1234567\ty\r\n"
                                              << std::string(300, 'w') << "\r\nab\0cd\r\n\xe9t\xe9\x80\r\n";
        TBigText view;
        QVERIFY(view.LoadFromFile(path));
        QCOMPARE(view.Count(), 4);
        QCOMPARE(view.GetLine(0), std::string("       x"));
        QCOMPARE(view.GetLine(1), std::string("1234567y"));
        QCOMPARE(view.GetLine(2), std::string(255, 'w'));
        QCOMPARE(view.GetLine(3), std::string("ab"));
        QCOMPARE(view.GetLine(4), std::string());
        QVERIFY(view.LineAttributes(0).FontColor == clWindowText);
        QCOMPARE(TBigText::FromWindows1252("\xe9t\xe9\x80"), QString::fromUtf8("\u00e9t\u00e9\u20ac"));
        QVERIFY(!view.LoadFromFile(dir.filePath("missing.bas").toStdString()));
        QCOMPARE(view.Count(), 0);
    }

    void SavesEveryLineOrSaysItFailed() {
        QTemporaryDir dir;
        TBigText view;
        view.AddDefaultLine("one", false);
        view.AddDefaultLine("two", false);
        ScriptedPrompter prompter;
        const std::string path = dir.filePath("saved.txt").toStdString();
        QVERIFY(view.SaveToFile(path, prompter));
        std::ifstream in(path, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        QCOMPARE(bytes, std::string("one\r\ntwo\r\n"));
        QVERIFY(!view.SaveToFile(dir.filePath("no/such/dir/x.txt").toStdString(), prompter));
        QVERIFY(prompter.Saw("Error Saving File - BIGTEXT 788"));
        QVERIFY(!view.SaveToFile("", prompter));
        QCOMPARE(prompter.Messages().size(), size_t{1});
    }

    void PaintNowFollowsTheEndOfTheText() {
        TBigText view;
        view.SetFillBack(true);
        view.show();
        SizeToCells(view, 40, 5);
        view.ScrollTo(3, 0);
        for (int k = 0; k < 12; ++k)
            QVERIFY(view.AddLine("log " + std::to_string(k), clBlack, clYellow, true));
        QCOMPARE(view.VPos(), 7);
        QCOMPARE(view.HPos(), 0);
        view.SetMaxLines(10);
        view.SetPurgeLines(0);
        QVERIFY(!view.AddDefaultLine("over", true));
        QCOMPARE(view.LastError(), std::string("Maximum line count at line 12"));
        const QImage shot = view.viewport()->grab().toImage();
        QCOMPARE(shot.pixelColor(shot.width() - 2, view.LineHeight() / 2), QColor(255, 255, 0));
    }
};

QTEST_MAIN(BigTextTest)
#include "bigtext_test.moc"
