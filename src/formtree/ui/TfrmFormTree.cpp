#include "formtree/ui/TfrmFormTree.h"

#include "platform/DebugOutput.h"
#include "platform/Text.h"
#include "platform/ui/BarButton.h"
#include "platform/ui/Icons.h"
#include "project/TSourceMgt.h"
#include "view/ui/TBigText.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QSplitter>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <vector>

namespace kemptor {

namespace {

constexpr int kNodeRole = Qt::UserRole + 1; // index of the tree node a "Properties" node lists

// Form files are 8-bit text written on Windows.
QString Text(const std::string& s) {
    return TBigText::FromWindows1252(s);
}

} // namespace

QIcon TfrmFormTree::ImageOf(ImageIndex index) {
    switch (index) {
    case imgRoot:
        return KemptorIcon(IconId::Project);
    case imgForm:
        return KemptorIcon(IconId::Form);
    case imgFile:
        return KemptorIcon(IconId::ViewSource);
    case imgProperties:
        return KemptorIcon(IconId::Properties);
    case imgObject:
        break;
    }
    return KemptorIcon(IconId::Control);
}

TfrmFormTree::TfrmFormTree(DebugOutput* debug, QWidget* parent) : QWidget(parent), debug_(debug) {
    setObjectName("frmFormTree");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(KemptorIcon(IconId::FormTree));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* pnlTop = new QWidget(this);
    auto* top = new QHBoxLayout(pnlTop);
    top->setContentsMargins(4, 2, 4, 2);
    btnClose = AddBarButton(top, "btnClose", "Close", style()->standardIcon(QStyle::SP_DialogCloseButton));
    btnPrint =
        AddBarButton(top, "btnPrint", "Print project tree", style()->standardIcon(QStyle::SP_FileIcon));
    btnPrint->hide();
    top->addStretch(1);
    layout->addWidget(pnlTop);

    treeProject = new QTreeWidget;
    treeProject->setObjectName("treeProject");
    treeProject->setHeaderHidden(true);
    treeProject->setIconSize(QSize(16, 16));
    // Deep controls keep their whole text and the tree scrolls sideways instead.
    treeProject->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    treeProject->header()->setStretchLastSection(false);

    lviewProperties = new QTreeWidget;
    lviewProperties->setObjectName("lviewProperties");
    lviewProperties->setRootIsDecorated(false);
    lviewProperties->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lviewProperties->setColumnCount(0);
    lviewProperties->setHeaderHidden(false);

    Splitter = new QSplitter(Qt::Horizontal, this);
    Splitter->setObjectName("Splitter");
    Splitter->addWidget(treeProject);
    Splitter->addWidget(lviewProperties);
    Splitter->setStretchFactor(0, 3);
    Splitter->setStretchFactor(1, 2);
    Splitter->setChildrenCollapsible(false);
    layout->addWidget(Splitter, 1);

    connect(btnClose, &QToolButton::clicked, this, &TfrmFormTree::btnCloseClick);
    connect(treeProject, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { treeProjectClick(current); });
    connect(treeProject, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* node) {
        if (node != treeProject->currentItem())
            treeProjectClick(node);
    });
    resize(640, 480);
}

bool TfrmFormTree::Echoing() const {
    return debug_ != nullptr && debug_->DebugActive();
}

void TfrmFormTree::Echo(const std::string& line) {
    if (Echoing())
        debug_->AddDebugLine(line);
}

void TfrmFormTree::Build(const QString& projectName, const TSourceEntry& entry) {
    setWindowTitle("Form tree for " + projectName);
    // The diagnostic lines are made only while the debug output keeps them.
    FormTreeEcho echo;
    if (Echoing())
        echo = [this](const std::string& line) { Echo(line); };
    tree_ = TFormTree::Build(TBigText::ToWindows1252(projectName), entry.FileName, entry.Lines, echo);
    FillTree();
}

void TfrmFormTree::FillTree() {
    treeProject->setUpdatesEnabled(false);
    treeProject->clear();
    // The nodes come in display order with their depth; the last item made at each depth is the
    // parent of the next deeper node.
    std::vector<QTreeWidgetItem*> atDepth;
    const std::vector<TFormNode>& nodes = tree_.Nodes();
    for (size_t i = 0; i < nodes.size(); ++i) {
        const TFormNode& node = nodes[i];
        const QString text = Text(node.Text());
        auto* item = node.depth == 0
                         ? new QTreeWidgetItem(treeProject, {text})
                         : new QTreeWidgetItem(atDepth[static_cast<size_t>(node.depth) - 1], {text});
        ImageIndex image = imgObject;
        if (node.depth == 0)
            image = imgRoot;
        else if (EqualNoCase(node.kind, "FILE"))
            image = imgFile;
        else if (EqualNoCase(node.kind, "FORM") || EqualNoCase(node.kind, "VB.FORM"))
            image = imgForm;
        item->setIcon(0, ImageOf(image));
        if (node.depth > 0)
            Echo(node.Text());
        if (!node.properties.empty()) {
            auto* properties = new QTreeWidgetItem(item, {"Properties"});
            properties->setIcon(0, ImageOf(imgProperties));
            properties->setData(0, kNodeRole, static_cast<int>(i));
        }
        atDepth.resize(static_cast<size_t>(node.depth));
        atDepth.push_back(item);
    }
    treeProject->setUpdatesEnabled(true);
    treeProject->expandAll();
}

void TfrmFormTree::treeProjectClick(QTreeWidgetItem* node) {
    if (node == nullptr || node->text(0).toUpper() != "PROPERTIES")
        return;
    const QVariant index = node->data(0, kNodeRole);
    if (!index.isValid())
        return;
    FillProperties(tree_.Node(index.toInt()));
}

void TfrmFormTree::FillProperties(const TFormNode& node) {
    lviewProperties->setUpdatesEnabled(false);
    lviewProperties->clear();
    lviewProperties->setColumnCount(2);
    lviewProperties->setHeaderLabels({"Property", "Value"});
    lviewProperties->header()->setStretchLastSection(false);
    lviewProperties->setColumnWidth(0, 85);
    lviewProperties->setColumnWidth(1, 85);
    Echo("PROPERTIES");
    QList<QTreeWidgetItem*> rows;
    for (const TFormProperty& property : node.properties) {
        auto* row = new QTreeWidgetItem({Text(property.name), Text(property.value)});
        row->setIcon(0, ImageOf(imgProperties));
        rows.append(row);
        Echo(property.name + " = " + property.value);
    }
    lviewProperties->addTopLevelItems(rows);
    lviewProperties->setUpdatesEnabled(true);
}

void TfrmFormTree::btnCloseClick() {
    close();
}

} // namespace kemptor
