// vrelmenu check FILE: reports what in a menu definition does not fit.
#include "MenuShape.h"
#include "VrelMenuTool.h"

#include "vrelMenu.h"

#include <algorithm>

namespace {

struct TFinding {
    qsizetype Entry;
    QString Text;
};

// Count values that do not fit the list. A Count that is too large makes the
// tree reading fail; one that is too small lets the following entries climb,
// which the Counts alone cannot tell from a definition with more top-level
// entries. Writers store in Top the caption of the top-level ancestor, so an
// entry read as top-level whose Top names another caption points to it.
void checkCounts(const TMenuCollection &items, const TMenuShape &shape, std::vector<TFinding> &findings)
{
    for (qsizetype i = 0; i < items.Count(); ++i) {
        const TMenuCollectionItem &entry = *items.Items(i);
        if (entry.Count() < 0)
            findings.push_back({i, QStringLiteral("Count %1 is negative").arg(entry.Count())});
        if (i == shape.AskingEntry)
            findings.push_back({i, QStringLiteral("Count %1 is too large: %2").arg(entry.Count()).arg(shape.Error)});
        if (i < shape.Placed() && shape.Parent[size_t(i)] < 0 && !entry.Top().isEmpty()
            && entry.Top() != entry.Caption())
            findings.push_back({i, QStringLiteral("read as a top-level entry, but its Top is \"%1\": "
                                                  "a Count before it may be too small")
                                       .arg(entry.Top())});
    }
}

// Properties of `entry` that would read back differently after a save: the
// entry is written as a one-entry definition and read back.
QStringList changedBySave(const TMenuCollectionItem &entry)
{
    TMenuCollection written;
    written.Add()->Assign(entry);
    TMenuCollection readBack;
    readBack.SetXML(written.XML());
    const TMenuCollectionItem &back = *readBack.Items(0);
    QStringList changed;
    for (const TPropInfo &prop : TMenuCollectionItem::PropertyList().Items())
        if (PropertyToText(entry, prop) != PropertyToText(back, prop))
            changed += QString::fromLatin1(prop.Name);
    return changed;
}

void checkValues(const TMenuCollection &items, std::vector<TFinding> &findings)
{
    for (qsizetype i = 0; i < items.Count(); ++i) {
        const TMenuCollectionItem &entry = *items.Items(i);
        const QStringList changed = changedBySave(entry);
        if (!changed.isEmpty())
            findings.push_back({i, QStringLiteral("%1 would not read back the same after a save")
                                       .arg(changed.join(QStringLiteral(", ")))});
        if (entry.Permission() < 0 || entry.Permission() > 65535)
            findings.push_back({i, QStringLiteral("Permission %1 is outside 0..65535").arg(entry.Permission())});
        if (entry.GroupIndex() < 0 || entry.GroupIndex() > 255)
            findings.push_back({i, QStringLiteral("GroupIndex %1 is outside 0..255").arg(entry.GroupIndex())});
    }
}

int runCheck(const TToolArgs &args)
{
    TMenuCollection items;
    LoadMenuFile(args.Positional[0], items);
    std::vector<TFinding> findings;
    checkCounts(items, ReadMenuShape(items), findings);
    checkValues(items, findings);
    std::stable_sort(findings.begin(), findings.end(),
                     [](const TFinding &a, const TFinding &b) { return a.Entry < b.Entry; });
    QString out;
    for (const TFinding &f : findings)
        out += QStringLiteral("line %1: %2\n").arg(EntryLine(f.Entry)).arg(f.Text);
    WriteOut(out);
    return findings.empty() ? 0 : 1;
}

} // namespace

extern const TToolCommand CheckCommand{
    "check",
    "check FILE",
    "Reports, one line each on stdout, what in a menu definition does not fit:\n"
    "  - a Count that is negative, or too large for the entries that follow it\n"
    "    (with the list error that reading the tree gives);\n"
    "  - an entry read as top-level whose Top names another caption: a Count\n"
    "    before it is probably too small, so that entries climbed to the top;\n"
    "  - properties that would not read back the same after a save (a value that\n"
    "    holds a line break, its own closing tag or another element's tags);\n"
    "  - a Permission outside 0..65535 and a GroupIndex outside 0..255.\n"
    "Each line starts with the line of the entry in the (inflated) file text.\n"
    "Exit code 0 when there is nothing to report, 1 otherwise.",
    {QStringLiteral("FILE")},
    {},
    {},
    runCheck,
};
