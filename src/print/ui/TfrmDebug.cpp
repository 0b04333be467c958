#include "print/ui/TfrmDebug.h"

#include "platform/Prompter.h"
#include "platform/ui/BarButton.h"
#include "platform/ui/DocumentFolder.h"
#include "platform/ui/ScreenFit.h"
#include "print/ui/TfrmBigTextReporter.h"
#include "view/ui/TBigText.h"
#include "view/ui/TViewWindow.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace kemptor {

TfrmDebug::TfrmDebug(Prompter& prompter, QWidget* parent) : QWidget(parent, Qt::Window), prompter_(prompter) {
    setObjectName("frmDebug");
    setWindowTitle("Debug Output");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* bar = new QWidget(this);
    auto* buttons = new QHBoxLayout(bar);
    buttons->setContentsMargins(4, 2, 4, 2);
    btnClear = AddBarButton(buttons, "btnClear", "Clear the current log",
                            style()->standardIcon(QStyle::SP_TrashIcon));
    btnSave = AddBarButton(buttons, "btnSave", "Save the current log",
                           style()->standardIcon(QStyle::SP_DialogSaveButton));
    btnPrint = AddBarButton(buttons, "btnPrint", "Print the current log",
                            TViewWindow::ButtonIconOf(TViewWindow::ButtonIcon::Print));
    buttons->addStretch(1);
    layout->addWidget(bar);

    memDebug = new TBigText(this);
    memDebug->setObjectName("memDebug");
    TViewWindow::ConfigureViewer(memDebug);
    layout->addWidget(memDebug, 1);

    connect(btnClear, &QToolButton::clicked, this, &TfrmDebug::btnClearClick);
    connect(btnSave, &QToolButton::clicked, this, &TfrmDebug::btnSaveClick);
    connect(btnPrint, &QToolButton::clicked, this, &TfrmDebug::btnPrintClick);

    ChooseSaveFile = [this] {
        QFileDialog dlgSave(this, "Save Debug Output", DocumentFolder());
        dlgSave.setAcceptMode(QFileDialog::AcceptSave);
        dlgSave.setFileMode(
            QFileDialog::AnyFile); // the directory must exist; an existing file is asked about
        dlgSave.setDefaultSuffix("LOG");
        dlgSave.setNameFilters({"Log Files (*.LOG)", "All Files (*.*)"});
        return dlgSave.exec() == QDialog::Accepted ? dlgSave.selectedFiles().value(0) : QString();
    };
    PrintText = [this](TBigText* viewer, const QString& caption) {
        TfrmBigTextReporter::PrintViewer(this, viewer, caption, prompter_);
    };

    btnClearClick();
    resize(560, 360);
}

void TfrmDebug::AddDebugLine(const std::string& line) {
    if (!debugActive_)
        return;
    if (memDebug->AddLine(line, clBlack, clWindow, true))
        ++debugLineCount_;
}

void TfrmDebug::DebugOn() {
    debugActive_ = true;
    ShowInFront();
}

void TfrmDebug::ShowInFront() {
    // The first time in the lower right corner of the screen (the main window may not stand where the
    // window manager will put it yet), all of it on the screen.
    if (!isVisible() && !testAttribute(Qt::WA_Moved))
        FitOnScreen(*this, nullptr, Qt::AlignRight | Qt::AlignBottom);
    show();
    raise();
    activateWindow();
}

void TfrmDebug::DebugOff() {
    debugActive_ = false;
    hide();
}

void TfrmDebug::btnClearClick() {
    memDebug->Clear();
    debugLineCount_ = 0;
}

void TfrmDebug::btnSaveClick() {
    const QString fileName = ChooseSaveFile ? ChooseSaveFile() : QString();
    if (fileName.isEmpty())
        return;
    // The viewer reports its own failure first; this box names the file.
    if (!memDebug->SaveToFile(fileName.toStdString(), prompter_))
        prompter_.Show(PromptKind::Warning,
                       "An error occurred trying to save: " + fileName.toStdString() + ".",
                       PromptButtons::Ok);
}

void TfrmDebug::btnPrintClick() {
    if (PrintText)
        PrintText(memDebug, "Debugging Output");
}

} // namespace kemptor
