// The changes of the editor's document as steps of its undo stack, and the
// tree operations they are made of. Every step keeps the nodes and entries it
// took out of the document, so undoing it puts back the very same objects and
// the steps around it on the stack stay valid.
#pragma once

#include <QString>
#include <QUndoCommand>
#include <memory>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;
class QUndoStack;
class TfrmMain;
class TMenuCollection;
class TMenuCollectionItem;
class TXMLCollectionItem;

// 0 for a top-level node, one more than its parent's otherwise.
int NodeLevel(const QTreeWidgetItem *node);
// Every ancestor of the node is expanded.
bool NodeVisible(const QTreeWidgetItem *node);
// The node is `root` or lies below it.
bool InsideSubtree(const QTreeWidgetItem *node, const QTreeWidgetItem *root);
// The node before `node` in display order; null for the first node of the tree.
QTreeWidgetItem *PreviousNode(const QTreeWidget *tree, QTreeWidgetItem *node);
// The first node after `node`'s subtree in display order that is visible and
// not deeper than `node`: its next sibling, or for a last child the next
// sibling of the nearest ancestor that has one. Null when there is none.
QTreeWidgetItem *FindMoveDownTarget(QTreeWidgetItem *node);

// Where a move puts a node, relative to its destination.
enum TMovePlace { mpBefore, mpLastChild, mpFirstChild };

// Groups the steps pushed while it lives into one step of the stack.
class TUndoMacro {
public:
    TUndoMacro(QUndoStack &stack, const QString &text);
    ~TUndoMacro();
    TUndoMacro(const TUndoMacro &) = delete;
    TUndoMacro &operator=(const TUndoMacro &) = delete;

private:
    QUndoStack &FStack;
};

// A step of the document. A step made for a change that has already been
// done (`done`) skips its first redo, which the stack runs when it is pushed.
class TEditorCommand : public QUndoCommand {
public:
    TEditorCommand(TfrmMain &main, const QString &text, bool done);
    void redo() final;
    void undo() final;

protected:
    virtual void apply() = 0;
    virtual void revert() = 0;
    void select(QTreeWidgetItem *node);

    TfrmMain &FMain;
    QTreeWidget &FTree;
    QTreeWidgetItem *FSelectedBefore;
    QTreeWidgetItem *FSelectedAfter = nullptr;

private:
    bool FDone;
};

// Subtrees that join the document (added, copied, merged: already in the tree
// when the step is made) or leave it (deleted). Leaving takes the nodes out of
// the tree and the entries of every node in them out of MenuManager's Items,
// in one pass over the list; joining puts both back where they were.
class TNodesCommand : public TEditorCommand {
public:
    enum TKind { nkAdded, nkDeleted };
    TNodesCommand(TfrmMain &main, const QString &text, TKind kind, std::vector<QTreeWidgetItem *> roots,
                  QTreeWidgetItem *selectedBefore);
    ~TNodesCommand() override;

protected:
    void apply() override;
    void revert() override;

private:
    void takeOut();
    void putBack();

    TKind FKind;
    struct Root {
        QTreeWidgetItem *Node;
        QTreeWidgetItem *Parent;
        int Index;
        std::vector<QTreeWidgetItem *> Expanded;
    };
    std::vector<Root> FRoots;
    bool FOut = false; // the nodes and entries are held here, not in the document
    std::vector<qsizetype> FIndexes;
    std::vector<std::unique_ptr<TXMLCollectionItem>> FEntries;
};

// A node with its subtree moved before a destination node or into it as its
// first or last child. The receiving parent is expanded; an old parent left
// without children is collapsed. `collapse` shows the moved subtree collapsed.
class TMoveCommand : public TEditorCommand {
public:
    TMoveCommand(TfrmMain &main, const QString &text, QTreeWidgetItem *node, QTreeWidgetItem *destination,
                 TMovePlace place, QTreeWidgetItem *selectAfter, bool collapse = false);

protected:
    void apply() override;
    void revert() override;

private:
    QTreeWidgetItem *FNode;
    QTreeWidgetItem *FDestination;
    TMovePlace FPlace;
    bool FCollapse;
    QTreeWidgetItem *FOldParent;
    int FOldIndex;
    bool FOldParentExpanded;
    bool FNewParentExpanded = false;
    std::vector<QTreeWidgetItem *> FExpanded;
};

// A confirmed property edit: the entry's values before and after, the node's
// text, and the permission masks of the descendants the edit cascaded to.
class TEditEntryCommand : public TEditorCommand {
public:
    TEditEntryCommand(TfrmMain &main, QTreeWidgetItem *node, const TMenuCollectionItem &after, bool cascade);
    ~TEditEntryCommand() override;

protected:
    void apply() override;
    void revert() override;

private:
    void setValues(const TMenuCollectionItem &values, const QString &text);

    QTreeWidgetItem *FNode;
    std::unique_ptr<TMenuCollection> FValues; // 0: before, 1: after
    QString FTextBefore;
    bool FCascade;
    std::vector<std::pair<TMenuCollectionItem *, qint32>> FCascaded; // descendants and their old masks
};

// One menu group given to every entry of the tree (already done).
class TGroupCommand : public TEditorCommand {
public:
    TGroupCommand(TfrmMain &main, std::vector<std::pair<TMenuCollectionItem *, QString>> oldGroups,
                  const QString &group);

protected:
    void apply() override;
    void revert() override;

private:
    std::vector<std::pair<TMenuCollectionItem *, QString>> FOldGroups;
    QString FGroup;
};
