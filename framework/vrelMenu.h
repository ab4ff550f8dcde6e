// Menu definitions: the menu entry record and the collection that holds a
// definition as a flat list in pre-order, with the decoding of that list as a
// tree.
#pragma once

#include "vrelHash.h"
#include "vrelMiniXML.h"

#include <QAction>
#include <QMainWindow>
#include <QObject>
#include <QPointer>
#include <QTreeWidgetItem>
#include <QString>
#include <array>
#include <functional>
#include <vector>

enum TMenuStyle : quint8 { msNormal, msContainer, msWindows, msWindowsItem };
enum TRunStyle : quint8 { rsNone, rsCommand, rsForm, rsDLL, rsMap, rsURL, rsExplorer, rsApplication };
enum TScreenOption : quint8 { soMulti, soMini, soTop, soTab };
enum TCaptionButton : quint8 { coShare, coSDI, coZoom, coLock, coHelp };
using TScreenOptions = TSet<TScreenOption>;
using TCaptionButtons = TSet<TCaptionButton>;

// Member names in ordinal order; they are the text form in menu files.
inline const QList<QByteArray> kMenuStyleNames{"msNormal", "msContainer", "msWindows", "msWindowsItem"};
inline const QList<QByteArray> kRunStyleNames{"rsNone", "rsCommand", "rsForm", "rsDLL",
                                              "rsMap", "rsURL", "rsExplorer", "rsApplication"};
inline const QList<QByteArray> kScreenOptionNames{"soMulti", "soMini", "soTop", "soTab"};
inline const QList<QByteArray> kCaptionButtonNames{"coShare", "coSDI", "coZoom", "coLock", "coHelp"};

class TMenuCollection;
class TMenuCollectionItem;

// `text` without leading and trailing characters of code 32 or below; a text
// with nothing to trim is handed back shared, not copied.
QString TrimControl(QStringView text);
QString TrimControl(const QString &text);
// `text` with the ASCII letters a to z upper-cased; every other character
// kept. A text without such letters is handed back shared, not copied.
QString UpperCaseAscii(QStringView text);
QString UpperCaseAscii(const QString &text);

// What owns a menu collection (the menu manager): it is told of every entry the
// collection reader has read, and of every entry that leaves the collection, so
// that its lookups never refer to a freed entry.
class TMenuCollectionOwner {
public:
    virtual ~TMenuCollectionOwner() = default;
    virtual void RegisterItem(TMenuCollectionItem &item) = 0;
    virtual void UnregisterItem(TMenuCollectionItem &item) = 0;
};

// The permission test: true when the low 16 bits of the level and of the
// permission share a set bit. A level of 0 matches nothing.
inline bool MatchPermission(qint64 ALevel, qint64 APermission)
{
    return (ALevel & APermission & 0xFFFF) != 0;
}

class TMenuCollectionItem : public TXMLCollectionItem {
public:
    // Appends a new entry with the defaults to `collection`.
    static TMenuCollectionItem *Create(TMenuCollection &collection);

    QByteArray ClassName() const override { return "TMenuCollectionItem"; }
    const TPropList &GetPropertyList() const override { return PropertyList(); }
    static const TPropList &PropertyList();

    // Copies the 29 stored properties and NoAdd from another entry; the entry
    // keeps its own collection and index.
    void Assign(const TXMLCollectionItem &source) override;
    // Hands the entry to the collection's owner, when there is one.
    void AfterParse() override;

    // Display name: what follows the first "]" of the caption, trimmed; the
    // whole caption when it holds no "]".
    QString Name() const;

    TCaptionButtons Buttons() const { return FButtons; }
    void SetButtons(TCaptionButtons v) { FButtons = v; }
    bool Cache() const { return FCache; }
    void SetCache(bool v) { FCache = v; }
    const QString &Caption() const { return FCaption; }
    void SetCaption(const QString &v) { FCaption = v; }
    bool Checked() const { return FChecked; }
    void SetChecked(bool v) { FChecked = v; }
    const QString &Command() const { return FCommand; }
    void SetCommand(const QString &v) { FCommand = v; }
    qint32 Count() const { return FCount; }
    void SetCount(qint32 v) { FCount = v; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v) { FEnabled = v; }
    const QString &Group() const { return FGroup; }
    void SetGroup(const QString &v) { FGroup = v; }
    qint32 GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(qint32 v) { FGroupIndex = v; }
    bool Hidden() const { return FHidden; }
    void SetHidden(bool v) { FHidden = v; }
    const QString &Hint() const { return FHint; }
    void SetHint(const QString &v) { FHint = v; }
    const QString &HotKey() const { return FHotKey; }
    void SetHotKey(const QString &v) { FHotKey = v; }
    qint32 ImageIndex() const { return FImageIndex; }
    void SetImageIndex(qint32 v) { FImageIndex = v; }
    TMenuStyle MenuStyle() const { return FMenuStyle; }
    void SetMenuStyle(TMenuStyle v) { FMenuStyle = v; }
    const QString &ModuleName() const { return FModuleName; }
    void SetModuleName(const QString &v) { FModuleName = v; }
    bool NoAdd() const { return FNoAdd; }
    void SetNoAdd(bool v) { FNoAdd = v; }
    const QString &Path() const { return FPath; }
    void SetPath(const QString &v) { FPath = v; }
    const QString &Parameters() const { return FParameters; }
    void SetParameters(const QString &v) { FParameters = v; }
    TScreenOptions Options() const { return FOptions; }
    void SetOptions(TScreenOptions v) { FOptions = v; }
    qint32 Permission() const { return FPermission; }
    void SetPermission(qint32 v) { FPermission = v; }
    TRunStyle RunStyle() const { return FRunStyle; }
    void SetRunStyle(TRunStyle v) { FRunStyle = v; }
    qint32 ScreenStyle() const { return FScreenStyle; }
    void SetScreenStyle(qint32 v) { FScreenStyle = v; }
    bool Search() const { return FSearch; }
    void SetSearch(bool v) { FSearch = v; }
    const QString &ShortCaption() const { return FShortCaption; }
    void SetShortCaption(const QString &v) { FShortCaption = v; }
    qint32 TabIndex() const { return FTabIndex; }
    void SetTabIndex(qint32 v) { FTabIndex = v; }
    qint32 Tag() const { return FTag; }
    void SetTag(qint32 v) { FTag = v; }
    bool Toogle() const { return FToogle; }
    void SetToogle(bool v) { FToogle = v; }
    const QString &Top() const { return FTop; }
    void SetTop(const QString &v) { FTop = v; }
    bool UnLoad() const { return FUnLoad; }
    void SetUnLoad(bool v) { FUnLoad = v; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool v) { FVisible = v; }

    TMenuCollection *MenuCollection() const;

private:
    friend class TMenuCollection;
    TMenuCollectionItem() = default;

    TCaptionButtons FButtons{coShare, coSDI, coZoom, coLock, coHelp};
    bool FCache = false;
    QString FCaption;
    bool FChecked = false;
    QString FCommand;
    qint32 FCount = 0;
    bool FEnabled = true;
    QString FGroup;
    qint32 FGroupIndex = 0;
    bool FHidden = false;
    QString FHint;
    QString FHotKey;
    qint32 FImageIndex = -1;
    TMenuStyle FMenuStyle = msNormal;
    QString FModuleName;
    bool FNoAdd = false;
    QString FPath;
    QString FParameters;
    TScreenOptions FOptions{soMulti, soTab};
    qint32 FPermission = 0;
    TRunStyle FRunStyle = rsDLL;
    qint32 FScreenStyle = 1;
    bool FSearch = true;
    QString FShortCaption;
    qint32 FTabIndex = 0;
    qint32 FTag = 0;
    bool FToogle = false;
    QString FTop;
    bool FUnLoad = false;
    bool FVisible = true;
};

class TMenuCollection : public TXMLCollection {
public:
    // `owner` (may be null) is told of entries read and removed.
    explicit TMenuCollection(TMenuCollectionOwner *owner = nullptr) : FOwner(owner) {}
    ~TMenuCollection() override;

    QByteArray ClassName() const override { return "TMenuCollection"; }
    TMenuCollectionOwner *Owner() const { return FOwner; }

    TMenuCollectionItem *Add() { return static_cast<TMenuCollectionItem *>(TXMLCollection::Add()); }
    TMenuCollectionItem *Items(qsizetype index) const
    {
        return static_cast<TMenuCollectionItem *>(TXMLCollection::Items(index));
    }

protected:
    std::unique_ptr<TXMLCollectionItem> NewItem() const override;
    void ItemRemoving(TXMLCollectionItem &item) override;

private:
    TMenuCollectionOwner *FOwner;
};

// Reads the tree encoded in a flat pre-order list: every entry is followed by
// the subtrees of its `Count` children. `addNode(parent, entry)` is called once
// per entry in list order, with the handle returned for the entry's parent (a
// value-initialised Handle for a top-level entry), and returns the entry's own
// handle. A Count that asks past the end of the list raises "List index out of
// bounds (%d)"; what was built until then stays. Deep trees do not recurse.
template <class Handle, class AddNode>
void ReadMenuTree(const TMenuCollection &items, AddNode &&addNode)
{
    struct Open {
        Handle Node;
        qint64 Remaining;
    };
    std::vector<Open> open;
    qsizetype cursor = 0;
    while (!open.empty() || cursor < items.Count()) {
        Handle parent{};
        if (!open.empty()) {
            if (open.back().Remaining <= 0) {
                open.pop_back();
                continue;
            }
            --open.back().Remaining;
            parent = open.back().Node;
        }
        TMenuCollectionItem *entry = items.Items(cursor++);
        open.push_back(Open{addNode(parent, *entry), entry->Count()});
    }
}

// Which module holds a frame: frame names (upper case, trimmed) mapped to
// module names (upper case). Filled from module lines "MODULE=frame1,frame2";
// the first line that names a frame decides its module.
class TModuleManager {
public:
    TModuleManager() = default;
    TModuleManager(const TModuleManager &) = delete;
    TModuleManager &operator=(const TModuleManager &) = delete;

    void Clear();
    // Enters the frames of one module line. The module name is everything
    // before the first "=" (upper-cased, not trimmed); the frames are the rest,
    // cut at "," and line breaks, upper-cased and trimmed. A piece that is
    // empty after trimming names no frame and is passed over.
    void Add(const QString &AData);
    // Enters every line of the file that is not empty and contains "=", after
    // what the table holds. A file that cannot be read raises
    // "Cannot open file "%s". %s" and leaves the table as it was.
    void Append(const QString &AFileName);
    void LoadFromFile(const QString &AFileName) { Append(AFileName); }
    // Enters every line of the list that is not empty and contains "=".
    void LoadFromList(const QStringList &AList);
    // Module of the frame (upper-cased, not trimmed), or empty text. An empty
    // frame name raises a range error.
    QString Find(const QString &AFrame) const;

private:
    TVrelHashList FList{10000};
};

class TVrelForm;
class TVrelMenuManager;
class QMenu;
class QMenuBar;
class QTreeWidget;

// The manager's click handlers a built item can be bound to.
enum class TClickHandler { None, MenuClick, WindowClick };

// A main-menu item built for a menu entry. Besides what every menu item has
// (caption, check, shortcut, ...) it carries the entry's Command, whether the
// user's level grants it (Executable, for the application) and its position
// in Items (MenuIndex; -1 makes MenuClick find the entry by Command), and the
// item settings a QAction has no place for: GroupIndex with RadioItem (radio
// items of one GroupIndex in one parent menu exclude each other) and ImageIndex.
class TMenuItemAccess : public QAction {
    Q_OBJECT
public:
    explicit TMenuItemAccess(QObject *AOwner) : QAction(AOwner) {}

    const QString &Command() const { return FCommand; }
    void SetCommand(const QString &v) { FCommand = v; }
    bool Executable() const { return FExecutable; }
    void SetExecutable(bool v) { FExecutable = v; }
    int MenuIndex() const { return FMenuIndex; }
    void SetMenuIndex(int v) { FMenuIndex = v; }
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int v) { FGroupIndex = v; }
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool v) { FRadioItem = v; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v) { FImageIndex = v; }
    // The handler SetupMenuItem bound the item to.
    TClickHandler ClickHandler() const { return FClickHandler; }

private:
    friend class TVrelMenuManager;
    TClickHandler FClickHandler = TClickHandler::None;
    QString FCommand;
    bool FExecutable = false;
    int FMenuIndex = 0;
    int FGroupIndex = 0;
    bool FRadioItem = false;
    int FImageIndex = -1;
};

// Which of the manager's click handlers a built item runs.
TClickHandler ClickHandlerOf(const QAction *AItem);
// A built item's Tag: the entry's position for a command item, the window
// command's number (0 to 3) for a window item. It is kept in QAction::data().
int MenuItemTag(const QAction *AItem);
// A tree node made for a menu entry, which it refers to (not owned) from a
// field of its own: a walk over many nodes reaches their entries without
// going through each node's data. BuildMenus makes such nodes.
class TMenuTreeNode : public QTreeWidgetItem {
public:
    static constexpr int kType = QTreeWidgetItem::UserType + 1;

    explicit TMenuTreeNode(TMenuCollectionItem *AEntry = nullptr) : QTreeWidgetItem(kType), FEntry(AEntry) {}
    // Appended to the top level of AView, or to AParent's children.
    TMenuTreeNode(QTreeWidget *AView, TMenuCollectionItem *AEntry) : QTreeWidgetItem(AView, kType), FEntry(AEntry) {}
    TMenuTreeNode(QTreeWidgetItem *AParent, TMenuCollectionItem *AEntry)
        : QTreeWidgetItem(AParent, kType), FEntry(AEntry)
    {
    }

    TMenuCollectionItem *Entry() const { return FEntry; }
    void SetEntry(TMenuCollectionItem *v) { FEntry = v; }

private:
    TMenuCollectionItem *FEntry;
};

// The entry a tree node refers to (not owned), or null (also for no node):
// a TMenuTreeNode's own, or the one SetNodeEntry put into another node's data.
TMenuCollectionItem *NodeEntry(const QTreeWidgetItem *ANode);
void SetNodeEntry(QTreeWidgetItem *ANode, TMenuCollectionItem *AEntry);

enum TBuildMode : quint8 { bmAppend, bmInsert };

// Raised when a built menu item is clicked: the item, the entry behind it and
// the item's check state after the click. What the handler puts into ADone
// has no effect.
using TMenuSelectEvent =
    std::function<void(QObject *Sender, TMenuCollectionItem *AItem, bool AChecked, bool &ADone)>;
using TFormEvent = std::function<void(QObject *Sender, TVrelForm *AForm)>;
using TNotifyEvent = std::function<void(QObject *Sender)>;

// The keeper of the menu definition at run time: loads a menu file, keeps
// lookup tables by code, caption and parameter and the frame-to-module table,
// tests permission masks against the current user's level, builds menus and
// trees from the definition and hands menu clicks to the application.
class TVrelMenuManager : public QObject, public TMenuCollectionOwner {
    Q_OBJECT
public:
    // The text shown (and kept as LastError) when the menu file does not exist.
    static const QString kNoMenuFile;

    explicit TVrelMenuManager(QObject *AOwner = nullptr);
    ~TVrelMenuManager() override;

    // Kept for the application; becomes null when that object is destroyed.
    QObject *ActionList() const { return FActionList; }
    void SetActionList(QObject *v) { FActionList = v; }
    TBuildMode BuildMode() const { return FBuildMode; }
    void SetBuildMode(TBuildMode v) { FBuildMode = v; }
    int ButtonHeight() const { return FButtonHeight; }
    void SetButtonHeight(int v) { FButtonHeight = v; }
    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int v) { FButtonWidth = v; }
    // Archive flag handed to the collection reader by LoadFromFile.
    bool Compress() const { return FCompress; }
    void SetCompress(bool v) { FCompress = v; }
    const QString &FileName() const { return FFileName; }
    // Unless Value equals FileName: Path becomes Value's directory part (with
    // its final "/", empty when it has none), FileName its name part, and the
    // file is loaded. Returns what LoadFromFile returned (true when nothing
    // was to be done).
    bool SetFileName(const QString &Value);
    TMenuCollection &Items() { return FItems; }
    const TMenuCollection &Items() const { return FItems; }
    quint16 Level() const { return FLevel; }
    void SetLevel(quint16 v) { FLevel = v; }
    const QString &Path() const { return FPath; }
    // Path becomes Value with the directory separator "/" appended when it
    // does not already end in one. Nothing is loaded.
    void SetPath(const QString &Value);
    int Position() const { return FPosition; }
    void SetPosition(int v) { FPosition = v; }
    const QString &WindowCascade() const { return FWindowCascade; }
    void SetWindowCascade(const QString &v) { FWindowCascade = v; }
    const QString &WindowCloseAll() const { return FWindowCloseAll; }
    void SetWindowCloseAll(const QString &v) { FWindowCloseAll = v; }
    const QString &WindowTileHorz() const { return FWindowTileHorz; }
    void SetWindowTileHorz(const QString &v) { FWindowTileHorz = v; }
    const QString &WindowTileVert() const { return FWindowTileVert; }
    void SetWindowTileVert(const QString &v) { FWindowTileVert = v; }

    // Declared for the application; the manager raises neither.
    TFormEvent OnCloseForm;
    TFormEvent OnOpenForm;
    // Raised when a built command item is clicked.
    TMenuSelectEvent OnCommand;
    // Raised after a menu file was read without error, with the manager as Sender.
    TNotifyEvent OnLoad;

    int Count() const { return int(FItems.Count()); }
    // The main window whose child windows the window menu lists; its central
    // widget is the QMdiArea that holds them.
    QMainWindow *Form() const { return FForm; }
    void SetForm(QMainWindow *v) { FForm = v; }
    bool HideMode() const { return FHide; }
    void SetHideMode(bool v) { FHide = v; }
    TModuleManager &Module() { return FModule; }
    bool Short() const { return FShort; }
    void SetShort(bool v) { FShort = v; }

    // Why the last LoadFromFile failed; empty after one that succeeded.
    const QString &LastError() const { return FLastError; }

    // Reads Path + FileName as a plain menu file. A missing file shows
    // "메뉴 파일이 없습니다" and keeps the definition. Otherwise the definition
    // is emptied and the file read; an error ends the read, keeping the
    // entries read before it, without raising OnLoad. False when the file was
    // missing or could not be read whole; LastError then says why.
    bool LoadFromFile();
    // Makes the entries already read from the menu file AFileName the
    // definition, as LoadFromFile would after reading that file: Path and
    // FileName become AFileName's parts (as SetFileName sets them), the
    // definition is emptied, ARead's entries move into Items (ARead is left
    // empty), each is registered, LastError is emptied and OnLoad is raised.
    void TakeLoaded(const QString &AFileName, TMenuCollection &ARead);
    // Adds the entries of a compressed menu file after the present ones and
    // registers them. A read error is raised and leaves Items unchanged.
    void Append(const QString &AFileName);
    // Empties Items, the three lookup tables and the module table.
    void Clear();

    // Enters an entry into the lookup tables and the module table. An empty
    // key (a caption of blanks only, an empty frame name) is passed over; the
    // entry's other keys are still entered. The first entry with a key keeps it.
    void RegisterItem(TMenuCollectionItem &AItem) override;
    // Removes the keys that refer to an entry leaving Items.
    void UnregisterItem(TMenuCollectionItem &AItem) override;

    // Whether Level grants APermission; a permission outside 0..65535 raises
    // a range error.
    bool CheckLevel(int APermission) const;
    // Sets or clears bit ALevel (0..15) of Level; other values are ignored.
    void SetLevel(int ALevel, bool AValue);

    // Lookups; an empty key raises a range error.
    TMenuCollectionItem *FindByCaption(const QString &ACaption) const;
    TMenuCollectionItem *FindByCode(const QString &ACode) const;
    // The argument is upper-cased (ASCII letters) first.
    TMenuCollectionItem *FindByParam(const QString &AParam) const;
    QString FindCaption(const QString &ACode) const;
    // The Caption (not the Group) of the entry with this code.
    QString FindGroup(const QString &ACode) const;
    int FindIndex(const QString &ACode) const;
    // "List index out of bounds (%d)" outside Items.
    TMenuCollectionItem *FindByIndex(int AIndex) const;
    // The ModuleName of an rsMap entry whose Parameters is this frame, else
    // the module table's answer (upper case) or empty text.
    QString FindModule(const QString &AFrame) const;

    // Adds one item per top-level entry that the level lets through (or all
    // of them, disabled, when HideMode is off) with its submenu tree; items
    // already in the menu stay. The menu owns what is built. A Count that asks
    // past the end of Items, or a Permission or GroupIndex out of range, ends
    // the build with its error and keeps what was built; so does bmInsert with
    // a Position that is not an index of the menu bar ("List index out of
    // bounds (%d)"). Nothing happens for a null menu.
    void BuildMenus(QMenuBar *AMenu);
    // Replaces the nodes of the tree with one node per entry (AAddSeperate
    // true) or per entry whose Search flag is set, below such ancestors only.
    // Each node's data is its entry (NodeEntry). A Count past the end keeps
    // the nodes built so far and raises "List index out of bounds (%d)".
    void BuildMenus(QTreeWidget *ATreeView, bool AAddSeperate);
    // Fills a command item from its entry and binds it to MenuClick.
    void SetupMenuItem(TMenuCollectionItem &AItem, TMenuItemAccess &AMenuItem);
    // Appends the window commands (cascade, two tilings, close all, with two
    // separators) to AParent's submenu, owned like AParent by AMenu; the open child windows of Form are
    // listed below them each time the submenu opens. Without a Form the
    // commands are built and no list is shown.
    void BuildWindowMenu(QMenuBar *AMenu, QAction *AParent);

    // Click handler of command items (Sender a TMenuItemAccess, else an
    // invalid-cast error): finds the entry, applies radio and toggle checks
    // and raises OnCommand.
    virtual void MenuClick(QObject *Sender);
    // The same as MenuClick; the builder binds nothing to it.
    virtual void CommandExecute(QObject *Sender);
    // Click handler of the window commands (Sender a QAction, else an
    // invalid-cast error), chosen by the item's Tag: 0 cascade, 1 side by
    // side, 2 one above another, 3 close all.
    virtual void WindowClick(QObject *Sender);

    // Told when a screen becomes a child window and when it is destroyed. The
    // child windows are listed from the MDI area itself, so nothing is kept.
    void AddChild(const QString &ACaption, TVrelForm *AForm);
    void RemoveChild(TVrelForm *AForm);

private:
    class TMenuBarBuilder;

    // Path and FileName from a file name: its directory part (with its final
    // "/", empty when it has none) and its name part.
    void setFileParts(const QString &AFileName);
    TMenuCollectionItem *lookup(const TVrelHashList &table, const QString &key) const;
    // SetupMenuItem without the shortcut: hands back the one the item is to
    // get, for the caller to register.
    QKeySequence setupItem(TMenuCollectionItem &AItem, TMenuItemAccess &AMenuItem);
    // A click on a built item: the handler runs, and an error it raises goes
    // to the error box instead of the event loop.
    void commandTriggered(TMenuItemAccess &item);
    void windowTriggered(QAction &item);

    QPointer<QObject> FActionList;
    TBuildMode FBuildMode = bmAppend;
    int FButtonHeight = 32;
    int FButtonWidth = 32;
    bool FCompress = false;
    QString FFileName;
    QPointer<QMainWindow> FForm;
    bool FHide = false;
    TMenuCollection FItems{this};
    quint16 FLevel = 65535;
    TVrelHashList FListCode{20000};
    TVrelHashList FListParam{20000};
    TVrelHashList FListCaption{20000};
    TModuleManager FModule;
    QString FPath;
    int FPosition = -1;
    bool FShort = false;
    QString FWindowCascade;
    QString FWindowCloseAll;
    QString FWindowTileHorz;
    QString FWindowTileVert;
    QString FLastError;
    bool FEmptying = false;
};

// The process-wide menu manager, made and freed by the framework's start-up
// and shut-down (vrelFramework.h); null outside them.
extern TVrelMenuManager *MenuManager;
