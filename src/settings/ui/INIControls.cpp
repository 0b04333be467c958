#include "settings/ui/INIControls.h"

#include "platform/Profile.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QMainWindow>

namespace kemptor {

namespace {

// Reads go through the profile functions only when the control has a key; without one the read "finds
// nothing" and yields the default, which is what the platform does for an empty key.
int ReadInt(const TINIBound& b, const char* suffix, int defaultValue, const std::string& file) {
    if (!b.HasINIKey())
        return defaultValue;
    return GetProfileInteger(b.INISection, b.INIKeyword + suffix, defaultValue, file);
}

bool ReadBool(const TINIBound& b, const char* suffix, bool defaultValue, const std::string& file) {
    if (!b.HasINIKey())
        return defaultValue;
    return GetProfileBool(b.INISection, b.INIKeyword + suffix, defaultValue, file);
}

QString ReadText(const TINIBound& b, const QString& defaultValue, const std::string& file) {
    if (!b.HasINIKey())
        return defaultValue;
    std::string text = GetPrivateProfileString(b.INISection, b.INIKeyword, defaultValue.toStdString(), file);
    return QString::fromStdString(text);
}

bool WriteText(const TINIBound& b, const char* suffix, const std::string& value, const std::string& file) {
    return WritePrivateProfileString(b.INISection, b.INIKeyword + suffix, value, file);
}

bool WriteInt(const TINIBound& b, const char* suffix, int value, const std::string& file) {
    return WriteText(b, suffix, std::to_string(value), file);
}

bool WriteBool(const TINIBound& b, const char* suffix, bool value, const std::string& file) {
    return WriteText(b, suffix, value ? "1" : "0", file);
}

int ToColorRef(const QColor& c) {
    return c.red() | (c.green() << 8) | (c.blue() << 16);
}
QColor FromColorRef(int v) {
    return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}

// A window parented to the form (a dialog the form opens) is a form of its own: its controls are not the
// form's, so the walk does not enter it.
void CollectBound(QObject* parent, QList<TINIBound*>& out) {
    for (QObject* child : parent->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget && widget->isWindow())
            continue;
        if (auto* bound = dynamic_cast<TINIBound*>(child))
            out.append(bound);
        CollectBound(child, out);
    }
}

} // namespace

// --- check box, radio button, speed button -------------------------------------------------------------

bool TINICheckBox::SaveINI(const std::string& fileName) const {
    return !HasINIKey() || WriteBool(*this, "", isChecked(), fileName);
}

void TINICheckBox::LoadINI(const std::string& fileName) {
    bool value = ReadBool(*this, "", isChecked(), fileName);
    setChecked(value); // emits toggled(), which is what the dialog's handlers listen to
}

bool TINIRadioButton::SaveINI(const std::string& fileName) const {
    return !HasINIKey() || WriteBool(*this, "", isChecked(), fileName);
}

void TINIRadioButton::LoadINI(const std::string& fileName) {
    SetSelected(ReadBool(*this, "", isChecked(), fileName));
}

void TINIRadioButton::SetSelected(bool selected) {
    if (selected == isChecked())
        return;
    if (selected) {
        setChecked(true); // clears the other buttons of the group, as a user's click would
        return;
    }
    // An exclusive button refuses to be cleared; the stored state may legitimately have no button on.
    bool exclusive = autoExclusive();
    setAutoExclusive(false);
    setChecked(false);
    setAutoExclusive(exclusive);
}

TINISpeedButton::TINISpeedButton(QWidget* parent) : QToolButton(parent) {
    setCheckable(true);
    setAutoRaise(true);
}

bool TINISpeedButton::SaveINI(const std::string& fileName) const {
    return !HasINIKey() || WriteBool(*this, "", isChecked(), fileName);
}

void TINISpeedButton::LoadINI(const std::string& fileName) {
    setChecked(ReadBool(*this, "", isChecked(), fileName));
}

// --- spin edit ------------------------------------------------------------------------------------------

TINISpinEdit::TINISpinEdit(int minimum, int maximum, QWidget* parent) : QSpinBox(parent) {
    setRange(minimum, maximum);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    setAlignment(Qt::AlignRight);
}

int TINISpinEdit::Value() const {
    bool ok = false;
    int v = cleanText().toInt(&ok);
    if (!ok)
        return minimum();
    return std::clamp(v, minimum(), maximum());
}

void TINISpinEdit::fixup(QString& input) const {
    bool ok = false;
    input.trimmed().toInt(&ok);
    if (!ok)
        input = QString::number(minimum());
    else
        QSpinBox::fixup(input);
}

bool TINISpinEdit::SaveINI(const std::string& fileName) const {
    return !HasINIKey() || WriteInt(*this, "", Value(), fileName);
}

void TINISpinEdit::LoadINI(const std::string& fileName) {
    setValue(ReadInt(*this, "", Value(), fileName)); // QSpinBox clamps into the range
}

// --- radio group ----------------------------------------------------------------------------------------

TINIRadioGroup::TINIRadioGroup(const QString& title, const QStringList& items, QWidget* parent,
                               Qt::Orientation orientation)
    : QGroupBox(title, parent), buttons_(new QButtonGroup(this)), grid_(new QGridLayout(this)),
      orientation_(orientation) {
    grid_->setVerticalSpacing(2);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        buttons_->addButton(button, i);
        if (orientation == Qt::Vertical)
            grid_->addWidget(button, i, 0);
        else
            grid_->addWidget(button, 0, i * 2);
    }
    if (orientation == Qt::Vertical)
        grid_->setColumnStretch(2, 1);
    else
        grid_->setColumnStretch(items.size() * 2, 1);
    connect(buttons_, &QButtonGroup::idClicked, this, [this](int) { emit Clicked(); });
}

int TINIRadioGroup::ItemIndex() const {
    return buttons_->checkedId();
}

int TINIRadioGroup::Count() const {
    return static_cast<int>(buttons_->buttons().size());
}

QRadioButton* TINIRadioGroup::Item(int index) const {
    return qobject_cast<QRadioButton*>(buttons_->button(index));
}

void TINIRadioGroup::SetItemIndex(int index) {
    index = std::clamp(index, -1, Count() - 1);
    if (index == ItemIndex())
        return;
    if (index < 0) {
        buttons_->setExclusive(false);
        for (auto* b : buttons_->buttons())
            b->setChecked(false);
        buttons_->setExclusive(true);
    } else {
        buttons_->button(index)->setChecked(true);
    }
    emit Clicked();
}

void TINIRadioGroup::SetItemBuddy(int index, QWidget* buddy) {
    buddy->setParent(this);
    if (orientation_ == Qt::Vertical)
        grid_->addWidget(buddy, index, 1, Qt::AlignLeft);
    else
        grid_->addWidget(buddy, 0, index * 2 + 1, Qt::AlignLeft);
}

bool TINIRadioGroup::SaveINI(const std::string& fileName) const {
    return !HasINIKey() || WriteInt(*this, "", ItemIndex(), fileName);
}

void TINIRadioGroup::LoadINI(const std::string& fileName) {
    SetItemIndex(ReadInt(*this, "", ItemIndex(), fileName));
}

// --- edits, combo and list boxes ------------------------------------------------------------------------

bool TINIEdit::SaveINI(const std::string& fileName) const {
    return !HasINIKey() || WriteText(*this, "", text().toStdString(), fileName);
}

void TINIEdit::LoadINI(const std::string& fileName) {
    setText(ReadText(*this, text(), fileName));
}

bool TINIMaskEdit::SaveINI(const std::string& fileName) const {
    return !HasINIKey() || WriteText(*this, "", text().toStdString(), fileName);
}

void TINIMaskEdit::LoadINI(const std::string& fileName) {
    setText(ReadText(*this, text(), fileName));
}

bool TINIComboBox::SaveINI(const std::string& fileName) const {
    if (!HasINIKey())
        return true;
    if (INISaveIndex)
        return WriteInt(*this, "", currentIndex(), fileName);
    return WriteText(*this, "", currentText().toStdString(), fileName);
}

void TINIComboBox::LoadINI(const std::string& fileName) {
    if (INISaveIndex)
        setCurrentIndex(std::clamp(ReadInt(*this, "", 0, fileName), -1, count() - 1));
    else
        setCurrentText(ReadText(*this, currentText(), fileName));
}

bool TINIListBox::SaveINI(const std::string& fileName) const {
    if (!HasINIKey() || !INISaveIndex)
        return true;
    return WriteInt(*this, "", currentRow(), fileName);
}

void TINIListBox::LoadINI(const std::string& fileName) {
    if (!INISaveIndex || selectionMode() == QAbstractItemView::MultiSelection ||
        selectionMode() == QAbstractItemView::ExtendedSelection)
        return;
    int row = ReadInt(*this, "", -1, fileName);
    setCurrentRow(row >= 0 && row < count() ? row : -1);
}

// --- memo -----------------------------------------------------------------------------------------------

bool TINIMemo::SaveINI(const std::string& fileName) const {
    if (!HasINIKey())
        return true;
    const QPalette pal = palette();
    const QFont f = font();
    return WriteInt(*this, "BGColor", ToColorRef(pal.color(QPalette::Base)), fileName) &&
           WriteText(*this, "FontName", f.family().toStdString(), fileName) &&
           WriteInt(*this, "FontColor", ToColorRef(pal.color(QPalette::Text)), fileName) &&
           WriteInt(*this, "FontSize", f.pointSize(), fileName) &&
           WriteBool(*this, "FontBold", f.bold(), fileName) &&
           WriteBool(*this, "FontItalic", f.italic(), fileName) &&
           WriteBool(*this, "FontUnderline", f.underline(), fileName) &&
           WriteBool(*this, "FontStrikeOut", f.strikeOut(), fileName);
}

void TINIMemo::LoadINI(const std::string& fileName) {
    QPalette pal = palette();
    QFont f = font();
    pal.setColor(QPalette::Base,
                 FromColorRef(ReadInt(*this, "BGColor", ToColorRef(pal.color(QPalette::Base)), fileName)));
    pal.setColor(QPalette::Text,
                 FromColorRef(ReadInt(*this, "FontColor", ToColorRef(pal.color(QPalette::Text)), fileName)));
    if (HasINIKey()) {
        std::string family =
            GetPrivateProfileString(INISection, INIKeyword + "FontName", f.family().toStdString(), fileName);
        f.setFamily(QString::fromStdString(family));
    }
    int size = ReadInt(*this, "FontSize", f.pointSize(), fileName);
    if (size > 0)
        f.setPointSize(size);
    // A style flag stored true is added; false or absent leaves the style as it is.
    if (ReadBool(*this, "FontBold", false, fileName))
        f.setBold(true);
    if (ReadBool(*this, "FontItalic", false, fileName))
        f.setItalic(true);
    if (ReadBool(*this, "FontUnderline", false, fileName))
        f.setUnderline(true);
    if (ReadBool(*this, "FontStrikeOut", false, fileName))
        f.setStrikeOut(true);
    setPalette(pal);
    setFont(f);
}

// --- tool bar -------------------------------------------------------------------------------------------

namespace {
constexpr Qt::ToolBarArea kDocks[] = {Qt::TopToolBarArea, Qt::RightToolBarArea, Qt::BottomToolBarArea,
                                      Qt::LeftToolBarArea};
}

int TINIToolBar::DockPosition() const {
    auto* window = qobject_cast<QMainWindow*>(parentWidget());
    if (!window)
        return 0;
    Qt::ToolBarArea area = window->toolBarArea(const_cast<TINIToolBar*>(this));
    for (int i = 0; i < 4; ++i)
        if (kDocks[i] == area)
            return i;
    return 0;
}

void TINIToolBar::SetDockPosition(int position) {
    auto* window = qobject_cast<QMainWindow*>(parentWidget());
    if (!window || position < 0 || position > 3 || position == DockPosition())
        return;
    bool visible = !isHidden();
    window->addToolBar(kDocks[position], this); // moves it; the bar keeps its actions
    setVisible(visible);
}

bool TINIToolBar::SaveINI(const std::string& fileName) const {
    if (!HasINIKey())
        return true;
    QRect r = isFloating() ? geometry() : QRect(0, 0, 0, 0);
    return WriteInt(*this, "Docked", DockPosition(), fileName) &&
           WriteInt(*this, "FloatTop", r.top(), fileName) &&
           WriteInt(*this, "FloatLeft", r.left(), fileName) &&
           WriteInt(*this, "FloatWidth", r.width(), fileName) &&
           WriteInt(*this, "FloatHeight", r.height(), fileName);
}

void TINIToolBar::LoadINI(const std::string& fileName) {
    SetDockPosition(ReadInt(*this, "Docked", DockPosition(), fileName));
    // The floating rectangle is read for completeness; a bar of this program never floats.
    ReadInt(*this, "FloatTop", 0, fileName);
}

// --- form-wide operations -------------------------------------------------------------------------------

QList<TINIBound*> INIControlsOf(QObject* form) {
    QList<TINIBound*> out;
    if (form)
        CollectBound(form, out);
    return out;
}

bool SaveINIControls(QObject* form, const std::string& fileName) {
    for (TINIBound* control : INIControlsOf(form))
        if (!control->SaveINI(fileName))
            return false;
    return true;
}

void LoadINIControls(QObject* form, const std::string& fileName) {
    for (TINIBound* control : INIControlsOf(form))
        control->LoadINI(fileName);
}

} // namespace kemptor
