#include "vrelMiniXML.h"

#include "vrelCodePage.h"
#include "vrelZLib.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string_view>
#include <unordered_map>

namespace {

constexpr QByteArrayView kHeader = "<?xml version = \"1.0\" ?>";
constexpr QByteArrayView kCrLf = "\r\n";

char lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c + ('a' - 'A')) : c;
}

bool sameIgnoringCase(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

bool isBlank(char c)
{
    return c == ' ';
}

// Signed number as the library reads integers: leading blanks, a sign, decimal
// digits or, after "$" or "0x", hexadecimal digits; nothing may follow. Hex
// numbers may use the full unsigned width of the field (0xFFFFFFFF is -1).
bool parseInteger(QByteArrayView text, int bits, qint64 &out)
{
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size())
        return false;
    const quint64 limit = base == 16 ? (bits == 64 ? std::numeric_limits<quint64>::max()
                                                   : quint64(std::numeric_limits<quint32>::max()))
                                     : quint64(bits == 64 ? std::numeric_limits<qint64>::max()
                                                          : std::numeric_limits<qint32>::max())
                              + (negative ? 1 : 0);
    quint64 value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && lower(c) >= 'a' && lower(c) <= 'f')
            digit = lower(c) - 'a' + 10;
        else
            return false;
        if (value > (limit - quint64(digit)) / quint64(base))
            return false;
        value = value * quint64(base) + quint64(digit);
    }
    if (base == 16) {
        qint64 v = bits == 64 ? qint64(value) : qint64(qint32(quint32(value)));
        out = negative ? -v : v;
    } else {
        out = negative ? qint64(0 - value) : qint64(value);
    }
    return true;
}

// The library's general floating-point format: up to 15 significant digits,
// fixed notation unless the value needs more than 15 digits before the point
// or is below 0.00001 in size; the exponent without "+" and leading zeros. The
// decimal separator is always ".", so that a file reads the same everywhere.
QString floatToText(double v)
{
    if (std::isnan(v))
        return QStringLiteral("NAN");
    if (std::isinf(v))
        return v > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (v == 0)
        return QStringLiteral("0");
    const QString sci = QString::number(v, 'e', 14);
    const int exponent = sci.mid(sci.indexOf(u'e') + 1).toInt();
    if (exponent >= 15 || exponent < -5) {
        QString mantissa = sci.left(sci.indexOf(u'e'));
        if (mantissa.contains(u'.')) {
            while (mantissa.endsWith(u'0'))
                mantissa.chop(1);
            if (mantissa.endsWith(u'.'))
                mantissa.chop(1);
        }
        return mantissa + u'E' + QString::number(exponent);
    }
    QString fixed = QString::number(v, 'f', std::max(0, 14 - exponent));
    if (fixed.contains(u'.')) {
        while (fixed.endsWith(u'0'))
            fixed.chop(1);
        if (fixed.endsWith(u'.'))
            fixed.chop(1);
    }
    return fixed;
}

// A number with "." as decimal separator, blanks around it allowed; the texts
// that floatToText gives for infinities and "not a number" read back too.
bool parseFloat(QByteArrayView text, double &out)
{
    const QByteArray trimmed = text.toByteArray().trimmed();
    const QByteArray upper = trimmed.toUpper();
    if (upper == "NAN") {
        out = std::numeric_limits<double>::quiet_NaN();
        return true;
    }
    if (upper == "INF" || upper == "+INF" || upper == "-INF") {
        out = upper.startsWith('-') ? -std::numeric_limits<double>::infinity()
                                    : std::numeric_limits<double>::infinity();
        return true;
    }
    bool ok = false;
    const double v = trimmed.toDouble(&ok);
    if (ok)
        out = v;
    return ok;
}

qsizetype memberIndex(const QList<QByteArray> &members, QByteArrayView name)
{
    for (qsizetype i = 0; i < members.size(); ++i)
        if (sameIgnoringCase(members[i], name))
            return i;
    return -1;
}

bool parseSet(const QList<QByteArray> &members, QByteArrayView text, qint64 &out)
{
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    if (i < text.size() && text[i] == '[')
        ++i;
    auto separator = [](char c) { return c == ',' || c == ' ' || c == ']'; };
    qint64 mask = 0;
    while (i < text.size()) {
        while (i < text.size() && separator(text[i]))
            ++i;
        const qsizetype start = i;
        while (i < text.size() && !separator(text[i]))
            ++i;
        if (i == start)
            break;
        const qsizetype m = memberIndex(members, text.sliced(start, i - start));
        if (m < 0)
            return false;
        mask |= qint64(1) << m;
    }
    out = mask;
    return true;
}

QString setToText(const QList<QByteArray> &members, qint64 mask)
{
    QString s = QStringLiteral("[");
    bool first = true;
    for (qsizetype m = 0; m < members.size(); ++m) {
        if (!(mask & (qint64(1) << m)))
            continue;
        if (!first)
            s += u',';
        s += QLatin1StringView(members[m]);
        first = false;
    }
    return s + u']';
}

// The text of an element as it stands in the file (8-bit, code page).
void appendPropertyBytes(QByteArray &out, const TXMLCollectionItem &item, const TPropInfo &prop)
{
    switch (prop.Kind) {
    case TPropKind::Integer:
    case TPropKind::Int64:
        out += QByteArray::number(prop.GetOrd(item));
        return;
    case TPropKind::String:
        out += toCodePage(prop.GetStr(item));
        return;
    case TPropKind::Char:
        // The byte itself: a lone byte of the code page has no Unicode form.
        out += char(prop.GetOrd(item));
        return;
    case TPropKind::Enumeration: {
        const qint64 v = prop.GetOrd(item);
        if (v >= 0 && v < prop.Members.size())
            out += prop.Members[v];
        return;
    }
    default:
        out += toCodePage(PropertyToText(item, prop));
        return;
    }
}

// Finds "</" + name + ">" on one line, from positions that only grow. Searches
// that fail or reach far are remembered per spelling of the name, so that a
// line with many opening tags whose closing tag is missing or far away is not
// scanned to its end again for each of them.
class ClosingTagFinder {
public:
    explicit ClosingTagFinder(QByteArrayView line) : FLine(line) {}

    // First occurrence at or after `from`, or -1.
    qsizetype Find(QByteArrayView name, qsizetype from)
    {
        const std::string_view key(name.data(), size_t(name.size()));
        if (!FFar.empty()) {
            // A remembered result still holds while it lies at or after `from`;
            // a failure holds for good.
            const auto it = FFar.find(key);
            if (it != FFar.end() && (it->second < 0 || it->second >= from))
                return it->second;
        }
        FClosing.clear();
        FClosing += "</";
        FClosing += name;
        FClosing += '>';
        const qsizetype found = FLine.indexOf(FClosing, from);
        if (found < 0 || found - from > kNear)
            FFar[key] = found;
        return found;
    }

private:
    static constexpr qsizetype kNear = 256;
    QByteArrayView FLine;
    QByteArray FClosing;
    std::unordered_map<std::string_view, qsizetype> FFar;
};

// Passes on the item lines of a collection's text, whole or arriving in
// pieces: the text is split into lines as SplitLines does, the first two lines
// and the last one are passed over, every line between them is an item line.
// A line is passed on once the next one is known to exist.
class TItemLines {
public:
    explicit TItemLines(std::function<void(QByteArrayView)> itemLine) : FItemLine(std::move(itemLine)) {}

    // The lines of a whole text, one by one.
    void Line(QByteArrayView line)
    {
        if (FSeen >= 3)
            FItemLine(FPending);
        FPending = line;
        ++FSeen;
    }

    // The next piece of a text; Finish after the last one.
    void Write(QByteArrayView piece)
    {
        // What is left from earlier pieces holds no line break, but perhaps a
        // CR at its very end: only the new bytes (and that CR) are looked at,
        // so a long line is not scanned again for every piece added to it.
        const qsizetype from = std::max<qsizetype>(FPartial.size() - 1, 0);
        FPartial += piece;
        const qsizetype whole = wholeLinesLength(FPartial, from);
        if (whole == 0)
            return; // no line is complete yet; the waiting one stays where it is
        for (QByteArrayView line : SplitLines(QByteArrayView(FPartial).first(whole)))
            Line(line);
        // The waiting line now points into FPartial, which is about to change.
        FKept = FPending.toByteArray();
        FPending = FKept;
        FPartial.remove(0, whole);
    }

    void Finish()
    {
        for (QByteArrayView line : SplitLines(FPartial))
            Line(line);
    }

private:
    // Length of the part of `text` made of whole lines: up to its last line
    // break at or after `from`, but not up to a CR at its very end, which may
    // be the first half of a CR LF; 0 when there is no such break.
    static qsizetype wholeLinesLength(QByteArrayView text, qsizetype from)
    {
        for (qsizetype i = text.size() - 1; i >= from; --i)
            if (text[i] == '\n' || (text[i] == '\r' && i + 1 < text.size()))
                return i + 1;
        return 0;
    }

    std::function<void(QByteArrayView)> FItemLine;
    qsizetype FSeen = 0;
    QByteArrayView FPending;
    QByteArray FKept;
    QByteArray FPartial;
};

// A device that hands what is written to it to a TItemLines.
class TItemLinesDevice : public QIODevice {
public:
    explicit TItemLinesDevice(TItemLines &lines) : FLines(lines) { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        FLines.Write(QByteArrayView(data, size));
        return size;
    }

private:
    TItemLines &FLines;
};

// The item's one-line text, appended to `out`.
void appendEntity(QByteArray &out, const TXMLCollectionItem &item)
{
    const QByteArray element = item.GetElementName();
    out += "  <";
    out += element;
    out += '>';
    for (const TPropInfo &p : item.GetPropertyList().Items()) {
        out += p.OpenTag;
        appendPropertyBytes(out, item, p);
        out += p.CloseTag;
    }
    out += "</";
    out += element;
    out += '>';
}

// The lines that open and close the text of a list.
void appendListHead(QByteArray &out, QByteArrayView dtd)
{
    out += kHeader;
    out += kCrLf;
    out += '<';
    out += dtd;
    out += '>';
    out += kCrLf;
}

void appendListTail(QByteArray &out, QByteArrayView dtd)
{
    out += "</";
    out += dtd;
    out += '>';
}

bool holdsLineBreak(QByteArrayView text)
{
    return std::memchr(text.data(), '\r', size_t(text.size())) || std::memchr(text.data(), '\n', size_t(text.size()));
}

// Appends `text` with each of its line breaks (CR LF, a lone CR, a lone LF)
// written as CR LF.
void appendWithCrLfBreaks(QByteArray &out, QByteArrayView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            out += c;
            continue;
        }
        out += kCrLf;
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
    }
}

bool startsWithByteOrderMark(QByteArrayView text)
{
    return text.startsWith("\xEF\xBB\xBF") || text.startsWith("\xFF\xFE") || text.startsWith("\xFE\xFF");
}

// Reads the properties that one line holds into `item`.
void readProperties(TXMLCollectionItem &item, QByteArrayView line)
{
    const TPropList &props = item.GetPropertyList();
    ClosingTagFinder closingTag(line);
    qsizetype pos = 0;
    for (;;) {
        qsizetype lt = line.indexOf('<', pos);
        while (lt >= 0 && lt + 1 < line.size() && line[lt + 1] == '/')
            lt = line.indexOf('<', lt + 1);
        if (lt < 0)
            break;
        const qsizetype gt = line.indexOf('>', lt + 1);
        if (gt < 0)
            break;
        const QByteArrayView name = line.sliced(lt + 1, gt - lt - 1);
        if (const TPropInfo *prop = props.Find(name)) {
            const qsizetype close = closingTag.Find(name, gt + 1);
            const QByteArrayView text =
                close < 0 ? QByteArrayView() : line.sliced(gt + 1, close - gt - 1);
            try {
                TextToProperty(item, *prop, text);
            } catch (...) {
                // A value that cannot be taken leaves the property as it was.
            }
        }
        pos = gt + 1;
    }
}

} // namespace

QString PropertyToText(const TXMLCollectionItem &item, const TPropInfo &prop)
{
    switch (prop.Kind) {
    case TPropKind::Integer:
    case TPropKind::Int64:
        return QString::number(prop.GetOrd(item));
    case TPropKind::Char:
        return fromCodePage(QByteArray(1, char(prop.GetOrd(item))));
    case TPropKind::WideChar:
        return QString(QChar(char16_t(prop.GetOrd(item))));
    case TPropKind::Enumeration: {
        const qint64 v = prop.GetOrd(item);
        return v >= 0 && v < prop.Members.size() ? QString::fromLatin1(prop.Members[v]) : QString();
    }
    case TPropKind::Float:
        return floatToText(prop.GetFloat(item));
    case TPropKind::String:
        return prop.GetStr(item);
    case TPropKind::Set:
        return setToText(prop.Members, prop.GetOrd(item));
    case TPropKind::Variant:
        return prop.GetVar(item).toString();
    case TPropKind::Other:
        return QString();
    }
    return QString();
}

bool TextToProperty(TXMLCollectionItem &item, const TPropInfo &prop, QByteArrayView text)
{
    qint64 ord = 0;
    switch (prop.Kind) {
    case TPropKind::Integer:
        if (!parseInteger(text, 32, ord))
            return false;
        prop.SetOrd(item, ord);
        return true;
    case TPropKind::Int64:
        if (!parseInteger(text, 64, ord))
            return false;
        prop.SetOrd(item, ord);
        return true;
    case TPropKind::Char:
    case TPropKind::WideChar:
        if (text.isEmpty())
            return false;
        prop.SetOrd(item, qint64(static_cast<unsigned char>(text[0])));
        return true;
    case TPropKind::Enumeration: {
        const qsizetype m = memberIndex(prop.Members, text);
        if (m < 0)
            return false; // an unknown name keeps the previous value
        prop.SetOrd(item, m);
        return true;
    }
    case TPropKind::Float: {
        double v = 0;
        if (!parseFloat(text, v))
            return false;
        prop.SetFloat(item, v);
        return true;
    }
    case TPropKind::String:
        prop.SetStr(item, fromCodePage(text));
        return true;
    case TPropKind::Set:
        if (!parseSet(prop.Members, text, ord))
            return false;
        prop.SetOrd(item, ord);
        return true;
    case TPropKind::Variant:
        prop.SetVar(item, QVariant(fromCodePage(text)));
        return true;
    case TPropKind::Other:
        return false;
    }
    return false;
}

QByteArray ElementStem(QByteArrayView className)
{
    const qsizetype at = className.indexOf("Collection");
    if (at <= 0)
        return QByteArray();
    return className.sliced(1, at - 1).toByteArray();
}

std::vector<QByteArrayView> SplitLines(QByteArrayView text)
{
    std::vector<QByteArrayView> lines;
    const char *p = text.data();
    const char *end = p + text.size();
    // The next LF at or after p; searched again only once p has passed it, so
    // that text with lone CRs is not scanned to its end for every line.
    const char *lf = nullptr;
    while (p < end) {
        if (!lf || lf < p) {
            lf = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
            if (!lf)
                lf = end;
        }
        // A lone CR also ends a line; look for one before the next LF.
        const char *cr = static_cast<const char *>(std::memchr(p, '\r', size_t(lf - p)));
        const char *stop = cr ? cr : lf;
        lines.emplace_back(p, stop - p);
        if (stop == end)
            p = end;
        else if (cr && cr + 1 < end && cr[1] == '\n')
            p = cr + 2;
        else
            p = stop + 1;
    }
    return lines;
}

// ---------------------------------------------------------------------------
// TPropList

TPropList::TPropList(std::vector<TPropInfo> properties) : FItems(std::move(properties))
{
    std::sort(FItems.begin(), FItems.end(), [](const TPropInfo &a, const TPropInfo &b) {
        const qsizetype n = std::min(a.Name.size(), b.Name.size());
        for (qsizetype i = 0; i < n; ++i) {
            const char x = lower(a.Name[i]), y = lower(b.Name[i]);
            if (x != y)
                return x < y;
        }
        return a.Name.size() < b.Name.size();
    });
    for (TPropInfo &p : FItems) {
        p.OpenTag = '<' + p.Name + '>';
        p.CloseTag = "</" + p.Name + '>';
    }
}

const TPropInfo *TPropList::Find(QByteArrayView name) const
{
    for (const TPropInfo &p : FItems)
        if (sameIgnoringCase(p.Name, name))
            return &p;
    return nullptr;
}

// ---------------------------------------------------------------------------
// TXMLCollectionItem

TXMLCollectionItem::~TXMLCollectionItem() = default;

void TXMLCollectionItem::Assign(const TXMLCollectionItem &source)
{
    throw EConvertError::CannotAssign(QString::fromLatin1(source.ClassName()),
                                      QString::fromLatin1(ClassName()));
}

QByteArray TXMLCollectionItem::Entity() const
{
    QByteArray line;
    line.reserve(1024);
    appendEntity(line, *this);
    return line;
}

void TXMLCollectionItem::ParseXML(QByteArrayView line)
{
    readProperties(*this, line);
    AfterParse();
}

// ---------------------------------------------------------------------------
// TXMLCollection

TXMLCollection::~TXMLCollection()
{
    // Items are freed without telling the (already half-destroyed) subclass.
    FItems.clear();
}

TXMLCollectionItem *TXMLCollection::Add()
{
    std::unique_ptr<TXMLCollectionItem> item = NewItem();
    item->FCollection = this;
    item->FIndex = Count();
    FItems.push_back(std::move(item));
    return FItems.back().get();
}

TXMLCollectionItem *TXMLCollection::Items(qsizetype index) const
{
    if (index < 0 || index >= Count())
        throw EListError::IndexOutOfBounds(index);
    return FItems[size_t(index)].get();
}

void TXMLCollection::Delete(qsizetype index)
{
    Extract(index);
}

std::unique_ptr<TXMLCollectionItem> TXMLCollection::Extract(qsizetype index)
{
    TXMLCollectionItem *item = Items(index);
    ItemRemoving(*item);
    std::unique_ptr<TXMLCollectionItem> owned = std::move(FItems[size_t(index)]);
    FItems.erase(FItems.begin() + index);
    renumberFrom(index);
    owned->FCollection = nullptr;
    owned->FIndex = -1;
    return owned;
}

void TXMLCollection::Insert(qsizetype index, std::unique_ptr<TXMLCollectionItem> item)
{
    if (index < 0 || index > Count())
        throw EListError::IndexOutOfBounds(index);
    item->FCollection = this;
    FItems.insert(FItems.begin() + index, std::move(item));
    renumberFrom(index);
}

std::vector<std::unique_ptr<TXMLCollectionItem>> TXMLCollection::ExtractItems(const std::vector<qsizetype> &indexes)
{
    for (size_t i = 0; i < indexes.size(); ++i) {
        Items(indexes[i]); // raises for an index outside the list
        if (i > 0 && indexes[i] <= indexes[i - 1])
            throw EListError::IndexOutOfBounds(indexes[i]);
    }
    std::vector<std::unique_ptr<TXMLCollectionItem>> taken;
    taken.reserve(indexes.size());
    for (qsizetype index : indexes)
        ItemRemoving(*FItems[size_t(index)]);
    // Compact the list in one pass, keeping the order of the others.
    size_t next = 0;
    size_t write = 0;
    for (size_t read = 0; read < FItems.size(); ++read) {
        if (next < indexes.size() && qsizetype(read) == indexes[next]) {
            ++next;
            FItems[read]->FCollection = nullptr;
            FItems[read]->FIndex = -1;
            taken.push_back(std::move(FItems[read]));
        } else {
            FItems[write++] = std::move(FItems[read]);
        }
    }
    FItems.resize(write);
    renumberFrom(indexes.empty() ? Count() : indexes.front());
    return taken;
}

void TXMLCollection::InsertItems(const std::vector<qsizetype> &indexes,
                                 std::vector<std::unique_ptr<TXMLCollectionItem>> items)
{
    const qsizetype total = Count() + qsizetype(items.size());
    for (size_t i = 0; i < indexes.size(); ++i)
        if (indexes[i] < 0 || indexes[i] >= total || (i > 0 && indexes[i] <= indexes[i - 1]))
            throw EListError::IndexOutOfBounds(indexes[i]);
    if (indexes.size() != items.size())
        throw EListError::IndexOutOfBounds(qsizetype(items.size()));
    std::vector<std::unique_ptr<TXMLCollectionItem>> merged;
    merged.reserve(size_t(total));
    size_t next = 0;
    size_t old = 0;
    for (qsizetype i = 0; i < total; ++i) {
        if (next < indexes.size() && indexes[next] == i) {
            items[next]->FCollection = this;
            merged.push_back(std::move(items[next++]));
        } else {
            merged.push_back(std::move(FItems[old++]));
        }
    }
    FItems = std::move(merged);
    renumberFrom(indexes.empty() ? Count() : indexes.front());
}

void TXMLCollection::Clear()
{
    for (auto &item : FItems)
        ItemRemoving(*item);
    FItems.clear();
}

void TXMLCollection::renumberFrom(qsizetype index)
{
    for (qsizetype i = index; i < Count(); ++i)
        FItems[size_t(i)]->FIndex = i;
}

QByteArray TXMLCollection::XML() const
{
    const QByteArray dtd = DTDName();
    QByteArray text;
    text.reserve(64 + Count() * 1024);
    appendListHead(text, dtd);
    for (const auto &item : FItems) {
        appendEntity(text, *item);
        text += kCrLf;
    }
    appendListTail(text, dtd);
    return text;
}

void TXMLCollection::SetXML(QByteArrayView text)
{
    Clear();
    const std::vector<QByteArrayView> lines = SplitLines(text);
    if (lines.size() >= 4)
        FItems.reserve(lines.size() - 3);
    TItemLines items([this](QByteArrayView line) {
        TXMLCollectionItem *item = Add();
        item->ParseXML(line);
        ItemParsed(*item);
    });
    for (QByteArrayView line : lines)
        items.Line(line);
}

void TXMLCollection::readItems(const std::function<void(QIODevice &)> &writeText)
{
    std::vector<std::unique_ptr<TXMLCollectionItem>> read;
    TItemLines lines([&](QByteArrayView line) {
        read.push_back(NewItem());
        readProperties(*read.back(), line);
    });
    TItemLinesDevice device(lines);
    writeText(device);
    lines.Finish();

    Clear();
    FItems = std::move(read);
    for (auto &item : FItems)
        item->FCollection = this;
    renumberFrom(0);
    for (qsizetype i = 0; i < Count(); ++i) {
        TXMLCollectionItem &item = *FItems[size_t(i)];
        item.AfterParse();
        ItemParsed(item);
    }
}

void TXMLCollection::SaveToFile(const QString &fileName, bool) const
{
    TXMLCollectionWriter writer(fileName, DTDName(), FSaveMode);
    for (const auto &item : FItems)
        writer.Add(*item);
    writer.Commit();
}

void TXMLCollection::TakeItems(TXMLCollection &source)
{
    if (&source == this)
        return;
    if (source.ClassName() != ClassName())
        throw EConvertError::CannotAssign(QString::fromLatin1(source.ClassName()), QString::fromLatin1(ClassName()));
    for (auto &item : source.FItems)
        source.ItemRemoving(*item);
    const qsizetype first = Count();
    FItems.reserve(FItems.size() + source.FItems.size());
    for (auto &item : source.FItems) {
        item->FCollection = this;
        FItems.push_back(std::move(item));
    }
    source.FItems.clear();
    renumberFrom(first);
}

bool TXMLCollection::LoadFromFile(const QString &fileName, bool)
{
    QFileInfo info(fileName);
    if (!info.exists() || info.isDir())
        return false;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EFOpenError(fileName, file.errorString());
    if (FSaveMode == smBinary) {
        readItems([&](QIODevice &text) { DecompressStream(file, text); });
        return true;
    }
    const QByteArray head = file.read(3);
    if (startsWithByteOrderMark(head)) {
        const QByteArray text = toCodePage(decodeFileText(head + file.readAll()));
        readItems([&](QIODevice &out) { out.write(text); });
        return true;
    }
    readItems([&](QIODevice &text) {
        text.write(head);
        constexpr qint64 kReadBlock = 1 << 20;
        QByteArray block(kReadBlock, Qt::Uninitialized);
        for (;;) {
            const qint64 n = file.read(block.data(), kReadBlock);
            if (n < 0)
                throw EFOpenError(fileName, file.errorString());
            if (n == 0)
                break;
            text.write(block.constData(), n);
        }
    });
    return true;
}

// ---------------------------------------------------------------------------
// TXMLCollectionWriter

TXMLCollectionWriter::TXMLCollectionWriter(const QString &fileName, QByteArrayView dtdName, TSaveMode mode)
    : FFileName(fileName), FDTDName(dtdName.toByteArray()), FMode(mode),
      FFile(std::make_unique<QSaveFile>(fileName))
{
    // Unbuffered, and the count of every write checked here: a write cut
    // short (disk full, file size limit) is not always reported as an error
    // by the file class, whose commit would then put a truncated file in
    // place of the old one.
    if (!FFile->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw EFCreateError(fileName, FFile->errorString());
    if (FMode == smText)
        FText.reserve(kBlockSize + 64 * 1024);
    appendListHead(FText, FDTDName);
}

TXMLCollectionWriter::~TXMLCollectionWriter() = default; // an uncommitted file is dropped

void TXMLCollectionWriter::Add(const TXMLCollectionItem &item)
{
    const qsizetype start = FText.size();
    appendEntity(FText, item);
    // The compressed form holds the text as it is; the plain form's lines all
    // end in CR LF, those inside a value too.
    if (FMode == smText && holdsLineBreak(QByteArrayView(FText).sliced(start))) {
        const QByteArray line = FText.sliced(start);
        FText.truncate(start);
        appendWithCrLfBreaks(FText, line);
    }
    FText += kCrLf;
    if (FMode == smText && FText.size() >= kBlockSize)
        flush();
}

void TXMLCollectionWriter::Commit()
{
    appendListTail(FText, FDTDName);
    if (FMode == smText) {
        FText += kCrLf;
    } else {
        QBuffer in(&FText);
        in.open(QIODevice::ReadOnly);
        QByteArray packed;
        QBuffer out(&packed);
        out.open(QIODevice::WriteOnly);
        CompressStream(in, out, TCompressionLevel::clDefault);
        in.close();
        FText = std::move(packed);
    }
    flush();
    if (!FFile->commit())
        throw EFCreateError(FFileName, FFile->errorString());
}

void TXMLCollectionWriter::flush()
{
    if (FFile->write(FText) != FText.size())
        fail(errno);
    FText.truncate(0);
}

void TXMLCollectionWriter::fail(int cause) const
{
    throw EFCreateError(FFileName, FFile->error() != QFileDevice::NoError
                                       ? FFile->errorString()
                                       : QString::fromLocal8Bit(std::strerror(cause)));
}
