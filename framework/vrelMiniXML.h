// A small serializer for collections of property-bearing items: every item is
// one line, every stored property one element on that line. No attributes, no
// escaping, no nesting beyond item and property; reading works line by line
// with plain text searches. Text is 8-bit, in code page 949.
#pragma once

#include "vrelErrors.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <type_traits>
#include <vector>

class QIODevice;
class QSaveFile;
class TXMLCollection;
class TXMLCollectionItem;

// Kinds of stored properties the serializer knows.
enum class TPropKind {
    Integer,     // 32-bit signed
    Int64,
    Char,        // 8-bit character
    WideChar,
    Enumeration, // Boolean among them, with the members "False" and "True"
    Float,
    String,
    Set,         // one-byte bit mask over an enumeration's members
    Variant,
    Other        // object, array, record, ...: written empty, ignored when read
};

// Description of one stored property: name, kind, member names of enumerations
// and sets in ordinal order, and how to get and set the value on an item.
struct TPropInfo {
    using GetOrdFn = qint64 (*)(const TXMLCollectionItem &);
    using SetOrdFn = void (*)(TXMLCollectionItem &, qint64);
    using GetStrFn = QString (*)(const TXMLCollectionItem &);
    using SetStrFn = void (*)(TXMLCollectionItem &, const QString &);
    using GetFloatFn = double (*)(const TXMLCollectionItem &);
    using SetFloatFn = void (*)(TXMLCollectionItem &, double);
    using GetVarFn = QVariant (*)(const TXMLCollectionItem &);
    using SetVarFn = void (*)(TXMLCollectionItem &, const QVariant &);

    QByteArray Name;
    TPropKind Kind = TPropKind::Other;
    // "<Name>" and "</Name>", made once by TPropList for writing.
    QByteArray OpenTag;
    QByteArray CloseTag;
    QList<QByteArray> Members;
    // Ordinal kinds (integers, characters, enumerations, sets as bit masks).
    GetOrdFn GetOrd = nullptr;
    SetOrdFn SetOrd = nullptr;
    GetStrFn GetStr = nullptr;
    SetStrFn SetStr = nullptr;
    GetFloatFn GetFloat = nullptr;
    SetFloatFn SetFloat = nullptr;
    GetVarFn GetVar = nullptr;
    SetVarFn SetVar = nullptr;
};

// The stored properties of an item class, sorted by name (ASCII letters without
// regard to case, a prefix before the longer name), with a case-insensitive
// lookup by name.
class TPropList {
public:
    explicit TPropList(std::vector<TPropInfo> properties);
    const std::vector<TPropInfo> &Items() const { return FItems; }
    qsizetype Count() const { return qsizetype(FItems.size()); }
    const TPropInfo *Find(QByteArrayView name) const;

private:
    std::vector<TPropInfo> FItems;
};

// Helpers that describe a field of an item class as a property. Used inside the
// class (its fields are private): Prop::Integer<&TMyItem::FTag>("Tag").
namespace Prop {
template <auto Field>
struct FieldOf;
template <class C, class T, T C::*F>
struct FieldOf<F> {
    using Class = C;
    using Type = T;
    static const T &Get(const TXMLCollectionItem &item) { return static_cast<const C &>(item).*F; }
    static T &Ref(TXMLCollectionItem &item) { return static_cast<C &>(item).*F; }
};

template <auto F>
TPropInfo Ordinal(const char *name, TPropKind kind, QList<QByteArray> members = {})
{
    using A = FieldOf<F>;
    TPropInfo p;
    p.Name = name;
    p.Kind = kind;
    p.Members = std::move(members);
    p.GetOrd = [](const TXMLCollectionItem &i) -> qint64 {
        if constexpr (requires { A::Get(i).Mask(); })
            return qint64(A::Get(i).Mask());
        else
            return qint64(A::Get(i));
    };
    p.SetOrd = [](TXMLCollectionItem &i, qint64 v) {
        using T = typename A::Type;
        if constexpr (requires { T::FromMask(0); })
            A::Ref(i) = T::FromMask(quint8(v));
        else
            A::Ref(i) = static_cast<T>(v);
    };
    return p;
}

template <auto F>
TPropInfo Integer(const char *name) { return Ordinal<F>(name, TPropKind::Integer); }
template <auto F>
TPropInfo Int64(const char *name) { return Ordinal<F>(name, TPropKind::Int64); }
template <auto F>
TPropInfo Char(const char *name) { return Ordinal<F>(name, TPropKind::Char); }
template <auto F>
TPropInfo WideChar(const char *name) { return Ordinal<F>(name, TPropKind::WideChar); }
template <auto F>
TPropInfo Boolean(const char *name) { return Ordinal<F>(name, TPropKind::Enumeration, {"False", "True"}); }
template <auto F>
TPropInfo Enumeration(const char *name, QList<QByteArray> members)
{
    return Ordinal<F>(name, TPropKind::Enumeration, std::move(members));
}
template <auto F>
TPropInfo Set(const char *name, QList<QByteArray> members)
{
    return Ordinal<F>(name, TPropKind::Set, std::move(members));
}

template <auto F>
TPropInfo String(const char *name)
{
    using A = FieldOf<F>;
    TPropInfo p;
    p.Name = name;
    p.Kind = TPropKind::String;
    p.GetStr = [](const TXMLCollectionItem &i) -> QString { return A::Get(i); };
    p.SetStr = [](TXMLCollectionItem &i, const QString &v) { A::Ref(i) = v; };
    return p;
}

template <auto F>
TPropInfo Float(const char *name)
{
    using A = FieldOf<F>;
    TPropInfo p;
    p.Name = name;
    p.Kind = TPropKind::Float;
    p.GetFloat = [](const TXMLCollectionItem &i) -> double { return A::Get(i); };
    p.SetFloat = [](TXMLCollectionItem &i, double v) { A::Ref(i) = v; };
    return p;
}

template <auto F>
TPropInfo Variant(const char *name)
{
    using A = FieldOf<F>;
    TPropInfo p;
    p.Name = name;
    p.Kind = TPropKind::Variant;
    p.GetVar = [](const TXMLCollectionItem &i) -> QVariant { return A::Get(i); };
    p.SetVar = [](TXMLCollectionItem &i, const QVariant &v) { A::Ref(i) = v; };
    return p;
}

inline TPropInfo Other(const char *name)
{
    TPropInfo p;
    p.Name = name;
    p.Kind = TPropKind::Other;
    return p;
}
} // namespace Prop

// A one-byte set over an enumeration whose members have the ordinals 0..7.
template <class E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> members)
    {
        for (E m : members)
            Include(m);
    }
    static constexpr TSet FromMask(quint8 mask)
    {
        TSet s;
        s.FMask = mask;
        return s;
    }
    constexpr quint8 Mask() const { return FMask; }
    constexpr bool Contains(E m) const { return FMask & bit(m); }
    constexpr bool IsEmpty() const { return FMask == 0; }
    constexpr void Include(E m) { FMask |= bit(m); }
    constexpr void Exclude(E m) { FMask &= quint8(~bit(m)); }
    friend constexpr bool operator==(TSet, TSet) = default;

private:
    static constexpr quint8 bit(E m) { return quint8(1u << unsigned(m)); }
    quint8 FMask = 0;
};

// Text form of a property value and its reading back (kinds as above).
// PropertyToText gives Unicode text; the file holds it in the code page.
QString PropertyToText(const TXMLCollectionItem &item, const TPropInfo &prop);
// Reads the 8-bit text of an element into the property. Returns false, leaving
// the property unchanged, when the text does not fit the property's kind.
bool TextToProperty(TXMLCollectionItem &item, const TPropInfo &prop, QByteArrayView text);

// Element name stem of a class: the part of its name between the first
// character and the first "Collection"; empty when there is none.
QByteArray ElementStem(QByteArrayView className);

class TXMLCollectionItem {
public:
    virtual ~TXMLCollectionItem();
    TXMLCollectionItem(const TXMLCollectionItem &) = delete;
    TXMLCollectionItem &operator=(const TXMLCollectionItem &) = delete;

    TXMLCollection *Collection() const { return FCollection; }
    qsizetype Index() const { return FIndex; }

    virtual QByteArray ClassName() const = 0;
    // Element name of the item class ("Menu" for TMenuCollectionItem).
    virtual QByteArray GetElementName() const { return ElementStem(ClassName()); }
    // The class's stored properties, sorted by name.
    virtual const TPropList &GetPropertyList() const = 0;

    // Copies the stored settings of `source`; the base refuses every source
    // with "Cannot assign a %s to a %s".
    virtual void Assign(const TXMLCollectionItem &source);

    // The item's one-line text.
    QByteArray Entity() const;
    // Reads properties from one line of 8-bit text, then calls AfterParse.
    void ParseXML(QByteArrayView line);
    // Called once at the end of ParseXML.
    virtual void AfterParse() {}

protected:
    TXMLCollectionItem() = default;

private:
    friend class TXMLCollection;
    TXMLCollection *FCollection = nullptr;
    qsizetype FIndex = -1;
};

enum TSaveMode : quint8 { smBinary, smText };

class TXMLCollection {
public:
    virtual ~TXMLCollection();
    TXMLCollection(const TXMLCollection &) = delete;
    TXMLCollection &operator=(const TXMLCollection &) = delete;

    virtual QByteArray ClassName() const = 0;
    // Element name of the whole list ("Menu-list" for TMenuCollection).
    virtual QByteArray DTDName() const { return ElementStem(ClassName()) + "-list"; }

    // Appends a new item of the item class with its defaults.
    TXMLCollectionItem *Add();
    qsizetype Count() const { return qsizetype(FItems.size()); }
    // Item at `index`; "List index out of bounds (%d)" outside the list.
    TXMLCollectionItem *Items(qsizetype index) const;
    // Frees the item at `index`; later items move up.
    void Delete(qsizetype index);
    // Frees every item.
    void Clear();
    // Takes the item at `index` out of the list without freeing it, and puts
    // such an item back at `index`. Both keep the indexes of the others right.
    std::unique_ptr<TXMLCollectionItem> Extract(qsizetype index);
    void Insert(qsizetype index, std::unique_ptr<TXMLCollectionItem> item);
    // The same for many items in one pass over the list: ExtractItems takes
    // out the items at `indexes` (ascending, no repeats) and returns them in
    // that order; InsertItems puts items back so that each ends up at its
    // index (ascending, as ExtractItems' indexes were).
    std::vector<std::unique_ptr<TXMLCollectionItem>> ExtractItems(const std::vector<qsizetype> &indexes);
    void InsertItems(const std::vector<qsizetype> &indexes, std::vector<std::unique_ptr<TXMLCollectionItem>> items);
    // Moves every item of `source`, a collection of the same item class, to
    // the end of this one, in order; `source` is left empty and told of each
    // item as it leaves. The items are not told AfterParse again.
    void TakeItems(TXMLCollection &source);

    TSaveMode SaveMode() const { return FSaveMode; }
    void SetSaveMode(TSaveMode mode) { FSaveMode = mode; }

    // The whole text of the collection, and refilling the collection from one.
    QByteArray XML() const;
    void SetXML(QByteArrayView text);

    // Writes the collection in the form SaveMode chooses (`archive` has no
    // effect), through a TXMLCollectionWriter: a failure leaves an existing
    // file as it was and raises "Cannot create file "%s". %s".
    void SaveToFile(const QString &fileName, bool archive = false) const;
    // Reads the file in the form SaveMode chooses; false when there is no such
    // file (the collection is then untouched). A file that cannot be opened
    // raises "Cannot open file "%s". %s"; a compressed file that is not a valid
    // stream raises EZCompressionError; a read error part-way through raises
    // "Cannot open file "%s". %s". In every case the collection is untouched.
    // The items are read as the text arrives (and kept aside until it is all
    // in): a large file is never held whole beside its items.
    bool LoadFromFile(const QString &fileName, bool archive = false);

    // Called after each item line has been read.
    virtual void ItemParsed(TXMLCollectionItem &) {}

protected:
    TXMLCollection() = default;
    virtual std::unique_ptr<TXMLCollectionItem> NewItem() const = 0;
    // Told before an item leaves the collection (deleted, extracted or cleared).
    virtual void ItemRemoving(TXMLCollectionItem &) {}

private:
    void renumberFrom(qsizetype index);
    // Reads the items of the text that `writeText` writes to the device it is
    // given, line by line as the text arrives, and keeps them aside; once the
    // whole text has been written they replace the collection's items and each
    // is told AfterParse and ItemParsed. A failure while writing leaves the
    // collection as it was.
    void readItems(const std::function<void(QIODevice &)> &writeText);

    std::vector<std::unique_ptr<TXMLCollectionItem>> FItems;
    TSaveMode FSaveMode = smBinary;
};

// Writes a collection's file from items handed to it one by one, with the
// bytes SaveToFile writes for a collection holding those items in that order:
// the plain form (every line break CR LF, one after the last line) or the
// compressed form of the text. The plain form goes out in blocks of
// kBlockSize bytes as the items come, so a large definition is never held
// whole as text. The file is written beside the target and put in its place
// by Commit; a writer that is not committed leaves no trace, and a failure
// (the file cannot be created, a write is cut short, the file cannot be put in
// place) raises "Cannot create file "%s". %s" and leaves an existing file as
// it was.
class TXMLCollectionWriter {
public:
    static constexpr qsizetype kBlockSize = 256 * 1024;

    // Opens the file beside `fileName` and starts the text of a collection
    // whose list element is `dtdName` ("Menu-list").
    TXMLCollectionWriter(const QString &fileName, QByteArrayView dtdName, TSaveMode mode);
    ~TXMLCollectionWriter();
    TXMLCollectionWriter(const TXMLCollectionWriter &) = delete;
    TXMLCollectionWriter &operator=(const TXMLCollectionWriter &) = delete;

    // The item's line, after the ones added before it.
    void Add(const TXMLCollectionItem &item);
    // Ends the text, writes what is left and puts the file in its place.
    void Commit();

private:
    // Writes the text gathered so far to the file (the plain form).
    void flush();
    [[noreturn]] void fail(int cause) const;

    QString FFileName;
    QByteArray FDTDName;
    TSaveMode FMode;
    std::unique_ptr<QSaveFile> FFile;
    QByteArray FText; // what is not yet written (the whole text in the compressed form)
};

// Splits 8-bit text into lines at CR LF, a lone CR and a lone LF; a line break
// at the very end does not start a further line.
std::vector<QByteArrayView> SplitLines(QByteArrayView text);
