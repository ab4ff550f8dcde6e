// vrelmenu dump FILE: every entry with its stored properties as JSON.
#include "VrelMenuTool.h"

#include "vrelMenu.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

int runDump(const TToolArgs &args)
{
    TMenuCollection items;
    LoadMenuFile(args.Positional[0], items);
    QJsonArray entries;
    for (qsizetype i = 0; i < items.Count(); ++i)
        entries.append(EntryToJson(*items.Items(i)));
    WriteJson(QJsonDocument(QJsonObject{{QStringLiteral("entries"), entries}}));
    return 0;
}

} // namespace

extern const TToolCommand DumpCommand{
    "dump",
    "dump FILE",
    "Prints the entries of a menu file as JSON: {\"entries\": [...]}, one object per\n"
    "entry in file order, holding the 29 stored properties by name, each as the text\n"
    "it was read as.",
    {QStringLiteral("FILE")},
    {},
    {},
    runDump,
};
