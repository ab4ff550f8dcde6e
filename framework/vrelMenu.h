// Menu definitions: the menu entry record and the collection that holds a
// definition as a flat list in pre-order, with the decoding of that list as a
// tree.
#pragma once

#include "vrelHash.h"
#include "vrelMiniXML.h"

#include <QString>
#include <array>
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

// `text` without leading and trailing characters of code 32 or below.
QString TrimControl(QStringView text);
// `text` with the ASCII letters a to z upper-cased; every other character kept.
QString UpperCaseAscii(QStringView text);

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
