#include "EditCommands.h"

#include "Main.h"
#include "vrelMenu.h"

#include <QTreeWidget>
#include <QUndoStack>
#include <algorithm>

namespace {

// The expanded nodes of the subtree below and including `root`.
std::vector<QTreeWidgetItem *> expandedIn(QTreeWidgetItem *root)
{
    std::vector<QTreeWidgetItem *> expanded;
    std::vector<QTreeWidgetItem *> pending{root};
    while (!pending.empty()) {
        QTreeWidgetItem *node = pending.back();
        pending.pop_back();
        if (node->childCount() == 0)
            continue;
        if (node->isExpanded())
            expanded.push_back(node);
        for (int c = 0; c < node->childCount(); ++c)
            pending.push_back(node->child(c));
    }
    return expanded;
}

void expand(const std::vector<QTreeWidgetItem *> &nodes)
{
    for (QTreeWidgetItem *node : nodes)
        node->setExpanded(true);
}

int indexIn(QTreeWidget &tree, QTreeWidgetItem *parent, QTreeWidgetItem *node)
{
    return parent ? parent->indexOfChild(node) : tree.indexOfTopLevelItem(node);
}

// Takes the node with its subtree out of the tree (the tree forgets which of
// its nodes were expanded).
void takeNode(QTreeWidget &tree, QTreeWidgetItem *node)
{
    QTreeWidgetItem *parent = node->parent();
    const int index = indexIn(tree, parent, node);
    if (parent)
        parent->takeChild(index);
    else
        tree.takeTopLevelItem(index);
}

void putNode(QTreeWidget &tree, QTreeWidgetItem *parent, int index, QTreeWidgetItem *node)
{
    if (parent)
        parent->insertChild(index, node);
    else
        tree.insertTopLevelItem(index, node);
}

} // namespace

int NodeLevel(const QTreeWidgetItem *node)
{
    int level = 0;
    for (const QTreeWidgetItem *p = node->parent(); p; p = p->parent())
        ++level;
    return level;
}

bool NodeVisible(const QTreeWidgetItem *node)
{
    for (const QTreeWidgetItem *p = node->parent(); p; p = p->parent())
        if (!p->isExpanded())
            return false;
    return true;
}

bool InsideSubtree(const QTreeWidgetItem *node, const QTreeWidgetItem *root)
{
    for (const QTreeWidgetItem *p = node; p; p = p->parent())
        if (p == root)
            return true;
    return false;
}

QTreeWidgetItem *PreviousNode(const QTreeWidget *tree, QTreeWidgetItem *node)
{
    QTreeWidgetItem *parent = node->parent();
    const int index = parent ? parent->indexOfChild(node) : tree->indexOfTopLevelItem(node);
    if (index == 0)
        return parent;
    QTreeWidgetItem *previous = parent ? parent->child(index - 1) : tree->topLevelItem(index - 1);
    while (previous->childCount() > 0)
        previous = previous->child(previous->childCount() - 1);
    return previous;
}

QTreeWidgetItem *FindMoveDownTarget(QTreeWidgetItem *node)
{
    const int level = NodeLevel(node);
    // The first node after the subtree; nothing inside it qualifies.
    QTreeWidgetItem *after = nullptr;
    for (QTreeWidgetItem *n = node; n && !after; n = n->parent()) {
        QTreeWidgetItem *parent = n->parent();
        const int index = parent ? parent->indexOfChild(n) : n->treeWidget()->indexOfTopLevelItem(n);
        const int count = parent ? parent->childCount() : n->treeWidget()->topLevelItemCount();
        if (index + 1 < count)
            after = parent ? parent->child(index + 1) : n->treeWidget()->topLevelItem(index + 1);
    }
    if (!after)
        return nullptr;
    for (QTreeWidgetItemIterator it(after); *it; ++it)
        if (NodeVisible(*it) && NodeLevel(*it) <= level)
            return *it;
    return nullptr;
}

TUndoMacro::TUndoMacro(QUndoStack &stack, const QString &text) : FStack(stack)
{
    FStack.beginMacro(text);
}

TUndoMacro::~TUndoMacro()
{
    FStack.endMacro();
}

// ---------------------------------------------------------------------------

TEditorCommand::TEditorCommand(TfrmMain &main, const QString &text, bool done)
    : QUndoCommand(text), FMain(main), FTree(*main.TreeList), FSelectedBefore(main.TreeList->currentItem()),
      FDone(done)
{
}

void TEditorCommand::redo()
{
    if (FDone) {
        FDone = false;
        FSelectedAfter = FTree.currentItem();
        return;
    }
    apply();
    select(FSelectedAfter);
}

void TEditorCommand::undo()
{
    revert();
    select(FSelectedBefore);
}

void TEditorCommand::select(QTreeWidgetItem *node)
{
    if (node && node->treeWidget() == &FTree) {
        FTree.setCurrentItem(node);
        node->setSelected(true);
    }
}

// ---------------------------------------------------------------------------

TNodesCommand::TNodesCommand(TfrmMain &main, const QString &text, TKind kind,
                             std::vector<QTreeWidgetItem *> roots, QTreeWidgetItem *selectedBefore)
    : TEditorCommand(main, text, kind == nkAdded), FKind(kind)
{
    FSelectedBefore = selectedBefore;
    for (QTreeWidgetItem *node : roots)
        FRoots.push_back(Root{node, node->parent(), indexIn(FTree, node->parent(), node), {}});
}

TNodesCommand::~TNodesCommand()
{
    if (FOut)
        for (const Root &root : FRoots)
            delete root.Node;
}

void TNodesCommand::apply()
{
    if (FKind == nkAdded)
        putBack();
    else
        takeOut();
    if (FKind == nkDeleted && !FSelectedAfter)
        FSelectedAfter = FTree.currentItem();
}

void TNodesCommand::revert()
{
    if (FKind == nkAdded)
        takeOut();
    else
        putBack();
}

void TNodesCommand::takeOut()
{
    // The last root first, so that every other root's place stays as recorded.
    std::vector<std::pair<qsizetype, TMenuCollectionItem *>> entries;
    for (auto root = FRoots.rbegin(); root != FRoots.rend(); ++root) {
        root->Expanded = expandedIn(root->Node);
        for (QTreeWidgetItemIterator it(root->Node); *it && InsideSubtree(*it, root->Node); ++it)
            if (TMenuCollectionItem *entry = NodeEntry(*it); entry && entry->Collection() == &MenuManager->Items())
                entries.emplace_back(entry->Index(), entry);
        takeNode(FTree, root->Node);
        if (root->Parent) {
            if (root->Parent->childCount() == 0)
                root->Parent->setExpanded(false);
            FMain.TreeListGetImageIndex(root->Parent);
        }
    }
    std::sort(entries.begin(), entries.end());
    entries.erase(std::unique(entries.begin(), entries.end()), entries.end());
    FIndexes.clear();
    for (const auto &entry : entries)
        FIndexes.push_back(entry.first);
    FEntries = MenuManager->Items().ExtractItems(FIndexes);
    FOut = true;
}

void TNodesCommand::putBack()
{
    MenuManager->Items().InsertItems(FIndexes, std::move(FEntries));
    FEntries.clear();
    for (qsizetype index : FIndexes)
        MenuManager->RegisterItem(*static_cast<TMenuCollectionItem *>(MenuManager->Items().Items(index)));
    for (const Root &root : FRoots) {
        putNode(FTree, root.Parent, root.Index, root.Node);
        expand(root.Expanded);
        if (root.Parent) {
            root.Parent->setExpanded(true);
            FMain.TreeListGetImageIndex(root.Parent);
        }
    }
    FOut = false;
}

// ---------------------------------------------------------------------------

TMoveCommand::TMoveCommand(TfrmMain &main, const QString &text, QTreeWidgetItem *node,
                           QTreeWidgetItem *destination, TMovePlace place, QTreeWidgetItem *selectAfter,
                           bool collapse)
    : TEditorCommand(main, text, false), FNode(node), FDestination(destination), FPlace(place),
      FCollapse(collapse), FOldParent(node->parent()), FOldIndex(indexIn(FTree, node->parent(), node)),
      FOldParentExpanded(FOldParent && FOldParent->isExpanded()), FExpanded(expandedIn(node))
{
    FSelectedAfter = selectAfter;
}

void TMoveCommand::apply()
{
    takeNode(FTree, FNode);
    QTreeWidgetItem *parent = FPlace == mpBefore ? FDestination->parent() : FDestination;
    const int index = FPlace == mpBefore       ? indexIn(FTree, parent, FDestination)
                      : FPlace == mpFirstChild ? 0
                                               : FDestination->childCount();
    FNewParentExpanded = parent && parent->isExpanded();
    putNode(FTree, parent, index, FNode);
    if (!FCollapse)
        expand(FExpanded);
    if (parent)
        parent->setExpanded(true);
    if (FOldParent && FOldParent->childCount() == 0)
        FOldParent->setExpanded(false);
    for (QTreeWidgetItem *p : {FOldParent, parent})
        if (p)
            FMain.TreeListGetImageIndex(p);
    for (QTreeWidgetItemIterator it(FNode); *it && InsideSubtree(*it, FNode); ++it)
        FMain.TreeListGetImageIndex(*it);
}

void TMoveCommand::revert()
{
    QTreeWidgetItem *parent = FNode->parent();
    takeNode(FTree, FNode);
    if (parent)
        parent->setExpanded(FNewParentExpanded);
    putNode(FTree, FOldParent, FOldIndex, FNode);
    if (FOldParent)
        FOldParent->setExpanded(FOldParentExpanded);
    expand(FExpanded);
    for (QTreeWidgetItem *p : {FOldParent, parent})
        if (p)
            FMain.TreeListGetImageIndex(p);
    for (QTreeWidgetItemIterator it(FNode); *it && InsideSubtree(*it, FNode); ++it)
        FMain.TreeListGetImageIndex(*it);
}

// ---------------------------------------------------------------------------

TEditEntryCommand::TEditEntryCommand(TfrmMain &main, QTreeWidgetItem *node, const TMenuCollectionItem &after,
                                     bool cascade)
    : TEditorCommand(main, QStringLiteral("속성"), false), FNode(node), FValues(std::make_unique<TMenuCollection>()),
      FTextBefore(node->text(0)), FCascade(cascade && node->childCount() > 0)
{
    FValues->Add()->Assign(*NodeEntry(node));
    FValues->Add()->Assign(after);
    FSelectedAfter = node;
    if (!FCascade)
        return;
    for (QTreeWidgetItemIterator it(node); *it && InsideSubtree(*it, node); ++it)
        if (*it != node)
            FCascaded.emplace_back(NodeEntry(*it), NodeEntry(*it)->Permission());
}

TEditEntryCommand::~TEditEntryCommand() = default;

void TEditEntryCommand::setValues(const TMenuCollectionItem &values, const QString &text)
{
    TMenuCollectionItem &entry = *NodeEntry(FNode);
    // The lookups are keyed by the entry's values: out with the old keys first.
    const bool registered = entry.Collection() == &MenuManager->Items();
    if (registered)
        MenuManager->UnregisterItem(entry);
    entry.Assign(values);
    if (registered)
        MenuManager->RegisterItem(entry);
    FNode->setText(0, text);
}

void TEditEntryCommand::apply()
{
    const TMenuCollectionItem &after = *static_cast<TMenuCollectionItem *>(FValues->Items(1));
    setValues(after, after.Caption());
    if (FCascade)
        FMain.SetChildPermission(FNode, after.Permission());
}

void TEditEntryCommand::revert()
{
    setValues(*static_cast<TMenuCollectionItem *>(FValues->Items(0)), FTextBefore);
    for (const auto &[entry, mask] : FCascaded)
        entry->SetPermission(mask);
}

// ---------------------------------------------------------------------------

TGroupCommand::TGroupCommand(TfrmMain &main, std::vector<std::pair<TMenuCollectionItem *, QString>> oldGroups,
                             const QString &group)
    : TEditorCommand(main, QStringLiteral("그룹 일괄지정"), true), FOldGroups(std::move(oldGroups)), FGroup(group)
{
}

void TGroupCommand::apply()
{
    for (const auto &entry : FOldGroups)
        entry.first->SetGroup(FGroup);
}

void TGroupCommand::revert()
{
    for (const auto &[entry, group] : FOldGroups)
        entry->SetGroup(group);
}
