// The editor's main window: the menu definition as a tree, with the toolbar,
// main menu, tree pop-up menu and status bar that share one list of actions,
// and the document (new, open, save, save as, merge, close, exit).
#pragma once

#include <QList>
#include <QMainWindow>
#include <functional>

class QAction;
class QLineEdit;
class QMenu;
class QStatusBar;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class QUndoStack;
class TMenuCollection;
class TMenuCollectionItem;

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget *parent = nullptr);
    ~TfrmMain() override;

    // The document.
    QString CurrentFile;       // the file Save writes; empty while the document has none
    bool DataChanged = false;  // unsaved changes
    qint32 FindMethod = 0;     // the last search
    QString FindName;

    // Document handlers.
    void DoNewFile();
    void DoOpen();
    void DoCloseFile();
    // True when the document was written (Save As asks for a name first when
    // the document has none); false when cancelled or failed, the failure
    // having been shown.
    bool DoSave();
    bool DoSaveAs();
    void DoExitApp();
    void ExecuteMerge();
    // Shows the long part of a hint ("short|long") in the status bar.
    void ApplicationEvents1Hint(const QString &hint);

    // Opens a menu file as the document; false, with the reason shown and the
    // open document kept, when it does not exist or cannot be read whole.
    bool OpenMenuFile(const QString &FileName);
    // Adds the entries of another menu file (plain or compressed) to the tree.
    void MergeMenuFile(const QString &FileName);
    // Appends a copy of the node's entry to `collection`, with its number of
    // children and the caption of its top-level ancestor.
    static void AddNodeEntry(TMenuCollection &collection, QTreeWidgetItem *node, const QString &top);
    // Writes the document in the plain form: for every node in pre-order the
    // copy AddNodeEntry makes. The document's name and state are left alone.
    // A failure raises "Cannot create file "%s". %s" and leaves an existing
    // file as it was.
    void WriteDocument(const QString &FileName) const;

    // When DataChanged is set, asks whether to save first: true to go on
    // (saved, or not wanted), false to stay.
    bool CheckSaveChanges();

    // Tree commands.
    void DoAdd();
    void DoAddChild();
    void DoAddSeperate();
    void DoCopy();
    void DoDelete();
    void DoEdit();
    void ExecuteMoveUp();
    void ExecuteMoveDown();
    void ExpandExecute();
    void ExecuteCollapse();
    void ExecuteFind();
    void FindNext();
    void ExecutePreview();
    void AboutExecute();
    void tbCalcClick();
    void mnuGroupClick();
    void mnuOptionClick();
    // Gives every descendant of the node the permission mask.
    void SetChildPermission(QTreeWidgetItem *node, qint32 mask);
    // Node picture: 3 without children, 2 expanded, 1 collapsed.
    void TreeListGetImageIndex(QTreeWidgetItem *node);
    // Makes the node the current and selected node.
    void FocusNode(QTreeWidgetItem *node);
    // Drag and drop inside the tree: anything dragged over it is accepted; a
    // drop at (X, Y) of the tree's client area moves the selected node with
    // its subtree before the node on that row (X within the indent) or makes
    // it that node's last child.
    bool TreeListDragOver();
    void TreeListDragDrop(int X, int Y);

    // Every change of the document is a step here; DataChanged follows its
    // clean state (the state last saved or opened).
    QUndoStack *UndoStack = nullptr;
    QAction *actUndo = nullptr, *actRedo = nullptr;

    // The property dialog as the Edit command runs it; tests put in a version
    // that fills and confirms the real dialog without showing it.
    std::function<bool(TMenuCollectionItem &item, bool &cascade)> EditMenuItem;
    // The search dialog as Find runs it (ShowSearch); tests put in their own.
    std::function<bool(qint32 &method, QString &name)> SearchMenu;
    // The level calculator as tbCalc runs it (ShowLevel): a mask, or -1.
    std::function<int()> LevelCalculator;

    // Actions, in the order of the action list.
    QAction *actNew, *actOpen, *actClose, *acAppend, *actSave, *actSaveAs, *actExitApp, *actDelete,
        *actAbout, *actAdd, *actAddChild, *AcInsertSeperate, *actEdit, *actPreView, *actExpand, *acCollapse,
        *actFind, *actMoveUp, *actMoveDown, *acFindNext, *acCopy;
    QList<QAction *> ActionList;

    QList<QIcon> ImageList1;   // 11 pictures of 16 × 16
    QList<QIcon> TreeImages;   // 4 pictures of 18 × 18
    QList<QIcon> StateImages;  // 2 pictures of 18 × 18

    QToolBar *ToolBar1 = nullptr;
    QLineEdit *Level = nullptr;
    QToolButton *tbCalc = nullptr;
    QTreeWidget *TreeList = nullptr;
    QStatusBar *StatusBar = nullptr;
    QMenu *TreePopup = nullptr;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createActions();
    void createUndo();
    void createToolBar();
    void createMenus();
    void createTree();
    // Runs a command; an error that ends it is shown in the standard error box.
    void run(const std::function<void()> &command);
    // Empties the document: tree, entries, file name and changed flag.
    void closeDocument();
    // Gives every node its picture, after nodes were put into the tree.
    void updateAllImages();
    // Adds an entry (filled by `fill`, then given the parent's menu group and
    // mask) as the last child of `parent`, shown open, and selects it as a step.
    void addChildEntry(QTreeWidgetItem *parent, const std::function<void(TMenuCollectionItem &)> &fill = {});
    // Gives a node just added its picture, selects it and records it as a step.
    void showAdded(QTreeWidgetItem *node, QTreeWidgetItem *selectedBefore);
    // Records a node just added (with the entry it refers to) as a step.
    void recordAdded(QTreeWidgetItem *node, QTreeWidgetItem *selectedBefore);
    // Whether any entry of the document matches the search. Every node's
    // entry is one of the manager's Items, which lie in one list and are read
    // far faster than a walk over the nodes: a search with nothing to find
    // ends without the walk.
    bool anyEntryMatches() const;
    // Looks for the next entry matching the last search, starting at `from`
    // (null: nothing to search) and walking to the end of the tree; shows
    // the match as the selected top row. False when none matches.
    bool findFrom(QTreeWidgetItem *from);
};
