#pragma once
// TfrmFormTree: the objects of a form file as a tree on the left (the form, its controls, nested
// controls and property groups, each object's "Properties" beneath it) and, when a "Properties" node is
// chosen, that object's property lines in a list on the right. An MDI child of the main window; the
// tree is built once when the window opens and freed with it.

#include "formtree/TFormTree.h"

#include <QWidget>

#include <string>

class QSplitter;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kemptor {

class DebugOutput;
struct TSourceEntry;

class TfrmFormTree : public QWidget {
    Q_OBJECT
public:
    // The icons of the tree and the property list.
    enum ImageIndex { imgRoot = 0, imgForm = 1, imgFile = 3, imgProperties = 4, imgObject = 5 };

    // `debug` receives the diagnostic lines while it is switched on (may be null).
    explicit TfrmFormTree(DebugOutput* debug = nullptr, QWidget* parent = nullptr);

    // Parses the entry's loaded lines and fills the tree; the window keeps its own copies of the texts,
    // so the caller may release the lines right after.
    void Build(const QString& projectName, const TSourceEntry& entry);

    const TFormTree& Tree() const { return tree_; }

    QTreeWidget* treeProject;
    QTreeWidget* lviewProperties; // report style: columns "Property" and "Value"
    QSplitter* Splitter;
    QToolButton* btnClose;
    QToolButton* btnPrint; // hidden: the tree has nothing to print

    // A "Properties" node fills the list with its object's properties; any other node leaves it as it is.
    void treeProjectClick(QTreeWidgetItem* node);
    void btnCloseClick();

    // The icon drawn for an image index.
    static QIcon ImageOf(ImageIndex index);

private:
    void FillTree();
    void FillProperties(const TFormNode& node);
    void Echo(const std::string& line);
    bool Echoing() const;

    DebugOutput* debug_;
    TFormTree tree_;
};

} // namespace kemptor
