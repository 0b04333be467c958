#pragma once
// The family of profile-bound controls: standard Qt controls that know a profile section and key and can
// load themselves from, and save themselves to, a profile file. SaveINIControls/LoadINIControls walk every
// such control of a window in creation order (depth first), so a dialog is loaded or saved with one call.
//
// The family is kept in one header because its members are small and always used together; each member
// is the Qt control it extends plus the TINIBound interface.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>

#include <string>

class QButtonGroup;
class QGridLayout;

namespace kemptor {

// What every member adds to its control: the section and key it is stored under, and the two operations.
class TINIBound {
public:
    virtual ~TINIBound() = default;

    std::string INISection;
    std::string INIKeyword;

    void SetINI(std::string section, std::string keyword) {
        INISection = std::move(section);
        INIKeyword = std::move(keyword);
    }
    bool HasINIKey() const { return !INISection.empty() && !INIKeyword.empty(); }

    // Writes the control's value(s); false on the first refused write. Skipped (true) without a key.
    virtual bool SaveINI(const std::string& fileName) const = 0;
    // Sets the control from the file; a missing key leaves the load default of the member.
    virtual void LoadINI(const std::string& fileName) = 0;
};

class TINICheckBox : public QCheckBox, public TINIBound {
    Q_OBJECT
public:
    explicit TINICheckBox(const QString& text, QWidget* parent = nullptr) : QCheckBox(text, parent) {}
    bool SaveINI(const std::string& fileName) const override;
    void LoadINI(const std::string& fileName) override;
};

// A radio button stored as one boolean key. Loading false may leave no button of its group selected.
class TINIRadioButton : public QRadioButton, public TINIBound {
    Q_OBJECT
public:
    explicit TINIRadioButton(const QString& text, QWidget* parent = nullptr) : QRadioButton(text, parent) {}
    bool SaveINI(const std::string& fileName) const override;
    void LoadINI(const std::string& fileName) override;
    // Selects (clearing the others of the group) or clears this button, as the stored value says.
    void SetSelected(bool selected);
};

// A checkable tool button; stored as pressed (down) or not.
class TINISpeedButton : public QToolButton, public TINIBound {
    Q_OBJECT
public:
    explicit TINISpeedButton(QWidget* parent = nullptr);
    bool SaveINI(const std::string& fileName) const override;
    void LoadINI(const std::string& fileName) override;
};

// A spin box that clamps every value into its range, also values loaded from the file. An empty or
// non-numeric text reads, and is saved, as the minimum.
class TINISpinEdit : public QSpinBox, public TINIBound {
    Q_OBJECT
public:
    TINISpinEdit(int minimum, int maximum, QWidget* parent = nullptr);
    int Value() const;
    bool SaveINI(const std::string& fileName) const override;
    void LoadINI(const std::string& fileName) override;

protected:
    void fixup(QString& input) const override;
};

// A titled group of mutually exclusive items stored as the index of the chosen item (-1: none).
// Choosing an item, by the user or by loading, emits Clicked().
class TINIRadioGroup : public QGroupBox, public TINIBound {
    Q_OBJECT
public:
    TINIRadioGroup(const QString& title, const QStringList& items, QWidget* parent = nullptr,
                   Qt::Orientation orientation = Qt::Vertical);
    int ItemIndex() const;
    void SetItemIndex(int index);
    int Count() const;
    QRadioButton* Item(int index) const;
    // Places a widget beside an item (a spin box belonging to that choice, for instance).
    void SetItemBuddy(int index, QWidget* buddy);
    bool SaveINI(const std::string& fileName) const override;
    void LoadINI(const std::string& fileName) override;

signals:
    void Clicked();

private:
    QButtonGroup* buttons_;
    QGridLayout* grid_;
    Qt::Orientation orientation_;
};

class TINIEdit : public QLineEdit, public TINIBound {
    Q_OBJECT
public:
    explicit TINIEdit(QWidget* parent = nullptr) : QLineEdit(parent) {}
    bool SaveINI(const std::string& fileName) const override;
    void LoadINI(const std::string& fileName) override;
};

// An edit box with an input mask (QLineEdit::setInputMask); stored as its text.
class TINIMaskEdit : public QLineEdit, public TINIBound {
    Q_OBJECT
public:
    explicit TINIMaskEdit(QWidget* parent = nullptr) : QLineEdit(parent) {}
    bool SaveINI(const std::string& fileName) const override;
    void LoadINI(const std::string& fileName) override;
};

// Stored as the item index with INISaveIndex (load default 0), otherwise as the text (load default: the
// current text).
class TINIComboBox : public QComboBox, public TINIBound {
    Q_OBJECT
public:
    explicit TINIComboBox(QWidget* parent = nullptr) : QComboBox(parent) {}
    bool INISaveIndex = false;
    bool SaveINI(const std::string& fileName) const override;
    void LoadINI(const std::string& fileName) override;
};

// Stored only with INISaveIndex, as the current row (load default -1); a multi-selection box is never
// loaded.
class TINIListBox : public QListWidget, public TINIBound {
    Q_OBJECT
public:
    explicit TINIListBox(QWidget* parent = nullptr) : QListWidget(parent) {}
    bool INISaveIndex = false;
    bool SaveINI(const std::string& fileName) const override;
    void LoadINI(const std::string& fileName) override;
};

// Stores its look, not its text: background colour, font name, colour and size, and the four style flags,
// each under INIKeyword followed by a suffix. Colours are stored as 0x00BBGGRR integers.
class TINIMemo : public QPlainTextEdit, public TINIBound {
    Q_OBJECT
public:
    explicit TINIMemo(QWidget* parent = nullptr) : QPlainTextEdit(parent) {}
    bool SaveINI(const std::string& fileName) const override;
    void LoadINI(const std::string& fileName) override;
};

// A tool bar of a main window, stored as its dock (0 top, 1 right, 2 bottom, 3 left) and its floating
// rectangle (0 while docked). Loading moves it to the stored dock.
class TINIToolBar : public QToolBar, public TINIBound {
    Q_OBJECT
public:
    explicit TINIToolBar(const QString& title, QWidget* parent = nullptr) : QToolBar(title, parent) {}
    int DockPosition() const;
    void SetDockPosition(int position);
    bool SaveINI(const std::string& fileName) const override;
    void LoadINI(const std::string& fileName) override;
};

// Every profile-bound control owned by `form`, in creation order, depth first; windows the form owns
// (its dialogs) are forms of their own and are not entered.
QList<TINIBound*> INIControlsOf(QObject* form);

// Saves every profile-bound control of `form`; stops at the first refused write and returns false.
bool SaveINIControls(QObject* form, const std::string& fileName);

// Loads every profile-bound control of `form` from the file, as a user's change would set it.
void LoadINIControls(QObject* form, const std::string& fileName);

} // namespace kemptor
