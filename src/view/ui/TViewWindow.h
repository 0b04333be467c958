#pragma once
// What the text view windows share: the button bar along the top (buttons with hints, no captions), the
// title area, the find dialog with its "Not Found" message, the viewers' font and colours, and help
// topic 64.

#include <QWidget>

#include <functional>

class QLabel;
class QToolBar;
class QVBoxLayout;

namespace kemptor {

class Prompter;
class TBigText;
class TFindDialog;

class TViewWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 64;

    TViewWindow(Prompter& prompter, QWidget* parent, Qt::WindowFlags flags);

    QToolBar* ButtonBar() const { return barButtons_; }
    TFindDialog* FindDialog() const { return dlgFind_; }
    // Sets the window title and the title area's text.
    void SetCaption(const QString& caption);

    // Font "Courier New", fixed pitch, 11 pixels high; rows filled; both scroll bars.
    static void ConfigureViewer(TBigText* viewer);

    enum class ButtonIcon { Close, Print, Search, Diff, CancelProcessing };
    static QIcon ButtonIconOf(ButtonIcon icon);

    // Prints a viewer's lines under a caption through the report preview. Replaceable so that tests can
    // see what would be printed.
    std::function<void(TBigText* viewer, const QString& caption)> PrintText;
    // The Print (preview) button: the window's text under the window's title.
    virtual void btnPrintClick();

protected:
    // The viewer the find dialog searches.
    virtual TBigText* SearchViewer() const = 0;
    // Adds a button with a hint and no caption.
    QAction* AddButton(const QString& hint, const QIcon& icon, std::function<void()> onClick);
    void OpenFind();
    void dlgFindFind();
    // The error a view shows for a file it cannot read.
    void ReportUnreadable(const std::string& path);

    Prompter& prompter_;
    QVBoxLayout* layout_;
    QLabel* lblTitle_;

private:
    QToolBar* barButtons_;
    TFindDialog* dlgFind_;
};

} // namespace kemptor
