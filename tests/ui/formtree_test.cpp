// The form structure window: built for the sample form, through the main window's command and on its
// own, its Properties nodes filling the list, and its diagnostic lines. With KEMPTOR_SHOTS set to a
// directory, the window is also saved there as a PNG file for a look.
#include "app/ui/TfrmMain.h"
#include "formtree/ui/TfrmFormTree.h"
#include "platform/DebugOutput.h"
#include "platform/Prompter.h"
#include "project/TSourceMgt.h"

#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <functional>

using namespace kemptor;

namespace {

// "icon text" per node, children indented two blanks.
QString TreeDump(QTreeWidget* tree) {
    QString dump;
    std::function<void(QTreeWidgetItem*, int)> walk = [&](QTreeWidgetItem* node, int depth) {
        dump += QString(depth * 2, ' ') + node->text(0) + '\n';
        for (int i = 0; i < node->childCount(); ++i)
            walk(node->child(i), depth + 1);
    };
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        walk(tree->topLevelItem(i), 0);
    return dump;
}

QStringList Rows(QTreeWidget* list) {
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        rows << list->topLevelItem(i)->text(0) + "|" + list->topLevelItem(i)->text(1);
    return rows;
}

QTreeWidgetItem* Find(QTreeWidget* tree, const QString& text) {
    const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

class RecordingDebug : public DebugOutput {
public:
    bool active = false;
    std::vector<std::string> lines;
    bool DebugActive() const override { return active; }
    void AddDebugLine(const std::string& line) override {
        if (active)
            lines.push_back(line);
    }
};

TSourceEntry LoadedEntry(const char* path, const char* name) {
    TSourceEntry entry;
    entry.FileName = name;
    entry.Lines = *ReadTextLines(path);
    entry.Loaded = true;
    return entry;
}

} // namespace

class FormTreeTest : public QObject {
    Q_OBJECT

private slots:
    void ShowsTheSampleFormAndListsPropertiesOnClick() {
        RecordingDebug debug;
        TfrmFormTree window(&debug);
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        window.Build("Inventory", LoadedEntry(KEMPTOR_EXAMPLES "/vbp/frmItem.frm", "frmItem.frm"));
        window.resize(640, 520);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), QString("Form tree for Inventory"));
        QVERIFY(window.btnClose->isVisible());
        QCOMPARE(window.btnClose->toolTip(), QString("Close"));
        QVERIFY(window.btnPrint->isHidden());
        QCOMPARE(window.btnPrint->toolTip(), QString("Print project tree"));

        // The root, the file, the form with its properties, then the controls in file order.
        const QString dump = TreeDump(window.treeProject);
        QVERIFY2(dump.startsWith("Form: Inventory\n"
                                 "  File: frmItem.frm\n"
                                 "    VB.Form: frmItem\n"
                                 "      Properties\n"
                                 "      VB.CommandButton: cmdCancel\n"
                                 "        Properties\n"
                                 "      VB.CommandButton: cmdOK\n"
                                 "        Properties\n"
                                 "      VB.Frame: fraStock\n"
                                 "        Properties\n"
                                 "        Property: Font\n"
                                 "          Properties\n"
                                 "        Inventory.ctlQtyBox: qtyOnHand\n"),
                 qPrintable(dump));
        QTreeWidgetItem* root = window.treeProject->topLevelItem(0);
        QVERIFY(root->isExpanded() && root->child(0)->child(0)->isExpanded());
        const QImage formIcon = TfrmFormTree::ImageOf(TfrmFormTree::imgForm).pixmap(16).toImage();
        QCOMPARE(root->child(0)->child(0)->icon(0).pixmap(16).toImage(), formIcon);

        // Clicking an object leaves the list empty; clicking the frame's Properties fills it.
        QTreeWidgetItem* frame = Find(window.treeProject, "VB.Frame: fraStock");
        QVERIFY(frame);
        QTest::mouseClick(window.treeProject->viewport(), Qt::LeftButton, {},
                          window.treeProject->visualItemRect(frame).center());
        QCOMPARE(window.lviewProperties->topLevelItemCount(), 0);
        QTreeWidgetItem* properties = frame->child(0);
        QCOMPARE(properties->text(0), QString("Properties"));
        window.treeProject->scrollToItem(properties);
        QTest::mouseClick(window.treeProject->viewport(), Qt::LeftButton, {},
                          window.treeProject->visualItemRect(properties).center());
        QCOMPARE(Rows(window.lviewProperties), QStringList({"Caption|\"Stock\"", "Height|1335", "Left|120",
                                                            "TabIndex|6", "Top|2040", "Width|5295"}));
        QCOMPARE(window.lviewProperties->headerItem()->text(0), QString("Property"));
        QCOMPARE(window.lviewProperties->headerItem()->text(1), QString("Value"));
        QCOMPARE(window.lviewProperties->columnWidth(0), 85);
        QCOMPARE(window.lviewProperties->columnWidth(1), 85);

        // Another object node keeps the list as it is.
        window.treeProject->setCurrentItem(Find(window.treeProject, "VB.CommandButton: cmdOK"));
        QCOMPARE(window.lviewProperties->topLevelItemCount(), 6);

        if (const QByteArray dir = qgetenv("KEMPTOR_SHOTS"); !dir.isEmpty())
            window.grab().save(QString::fromUtf8(dir) + "/formtree.png");
        QVERIFY(debug.lines.empty()); // switched off: nothing was kept
    }

    void DiagnosticLinesOnlyWhileTheDebugOutputIsOn() {
        RecordingDebug debug;
        debug.active = true;
        TfrmFormTree window(&debug);
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        TSourceEntry entry;
        entry.FileName = "frmTiny.frm";
        entry.Lines = SplitTextLines("Begin VB.Form frmTiny\n   Caption = \"T\"\nEnd\n");
        window.Build("P", entry);
        QCOMPARE(debug.lines, (std::vector<std::string>{"VB.Form: frmTiny", "Level: 1 --> Caption = \"T\"",
                                                        "File: frmTiny.frm", "VB.Form: frmTiny"}));
        debug.lines.clear();
        window.treeProjectClick(Find(window.treeProject, "Properties"));
        QCOMPARE(debug.lines, (std::vector<std::string>{"PROPERTIES", "Caption = \"T\""}));
        debug.active = false;
        debug.lines.clear();
        window.treeProjectClick(Find(window.treeProject, "Properties"));
        QVERIFY(debug.lines.empty());
        QCOMPARE(Rows(window.lviewProperties), QStringList({"Caption|\"T\""}));
    }

    void BuildFormTreeOpensAWindowPerFormInTheClientArea() {
        QTemporaryDir dir;
        ScriptedPrompter prompter;
        TfrmMain w(prompter, nullptr, dir.filePath("main.ini").toStdString());
        w.OpenProject(KEMPTOR_EXAMPLES "/vbp/Inventory.vbp");
        QVERIFY(w.ProjectLoaded());
        auto node = w.ProjectTree()->findItems("FRMMAIN.FRM", Qt::MatchExactly | Qt::MatchRecursive);
        QVERIFY(!node.isEmpty());
        w.ProjectTree()->setCurrentItem(node.first());
        w.btnBuildFormTreeClick();
        w.btnBuildFormTreeClick();
        QCOMPARE(w.MdiArea()->subWindowList().size(), 2);
        auto* window = qobject_cast<TfrmFormTree*>(w.MdiArea()->subWindowList().first()->widget());
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QString("Form tree for " + w.ProjectName()));
        QCOMPARE(window->treeProject->topLevelItem(0)->child(0)->text(0), QString("File: FRMMAIN.FRM"));
        QVERIFY(window->treeProject->topLevelItem(0)->child(0)->childCount() > 0);
        TSourceEntry* entry = TfrmMain::EntryOf(node.first());
        QVERIFY(!entry->Loaded); // the main window released the lines; the window kept its copies
        QVERIFY(prompter.Messages().empty());

        // A module is no form: the command does nothing.
        auto module = w.ProjectTree()->findItems("modGlobals.bas", Qt::MatchExactly | Qt::MatchRecursive);
        w.ProjectTree()->setCurrentItem(module.first());
        w.btnBuildFormTreeClick();
        QCOMPARE(w.MdiArea()->subWindowList().size(), 2);

        QPointer<TfrmFormTree> closing = window;
        window->btnClose->click();
        QTRY_VERIFY(closing.isNull());
        QTRY_COMPARE(w.MdiArea()->subWindowList().size(), 1);
    }
};

QTEST_MAIN(FormTreeTest)
#include "formtree_test.moc"
