// vrelmenu stat FILE: size figures of a menu definition.
#include "MenuShape.h"
#include "VrelMenuTool.h"

#include "vrelMenu.h"

#include <QFileInfo>
#include <algorithm>

namespace {

int runStat(const TToolArgs &args)
{
    const QString &path = args.Positional[0];
    LoadIntoMenuManager(path);
    const TMenuCollection &items = MenuManager->Items();
    const TMenuShape shape = ReadMenuShape(items);
    const auto topLevel = std::count(shape.Parent.begin(), shape.Parent.end(), qsizetype(-1));
    WriteOut(QStringLiteral("entries: %1\ntop-level entries: %2\ngreatest depth: %3\nbytes: %4\n")
                 .arg(items.Count())
                 .arg(topLevel)
                 .arg(shape.GreatestLevel())
                 .arg(QFileInfo(path).size()));
    if (shape.Failed()) {
        WriteError(shape.Error);
        return 1;
    }
    return 0;
}

} // namespace

extern const TToolCommand StatCommand{
    "stat",
    "stat FILE",
    "Loads a menu definition into the menu manager, lookup tables included, and\n"
    "prints, as \"key: value\" lines, its number of entries, of top-level entries,\n"
    "its greatest depth (1 when every entry is at the top level) and the size of\n"
    "the file in bytes. When a Count asks for more entries than the file holds,\n"
    "the figures cover the tree read so far and the list error goes to stderr\n"
    "(exit code 1).",
    {QStringLiteral("FILE")},
    {},
    {},
    runStat,
};
