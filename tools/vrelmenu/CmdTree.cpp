// vrelmenu tree FILE [--json]: the tree a menu file encodes.
#include "MenuShape.h"
#include "VrelMenuTool.h"

#include "vrelMenu.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

QString textTree(const TMenuCollection &items, const TMenuShape &shape)
{
    QString out;
    for (qsizetype i = 0; i < shape.Placed(); ++i) {
        const TMenuCollectionItem &entry = *items.Items(i);
        out += QString(2 * (shape.Level[size_t(i)] - 1), u' ');
        out += entry.Caption();
        if (!entry.Command().isEmpty())
            out += QStringLiteral(" [") + entry.Command() + u']';
        out += u'\n';
    }
    return out;
}

QJsonArray jsonNodes(const TMenuCollection &items, const std::vector<std::vector<qsizetype>> &children,
                     const std::vector<qsizetype> &nodes)
{
    QJsonArray array;
    for (qsizetype i : nodes) {
        const TMenuCollectionItem &entry = *items.Items(i);
        array.append(QJsonObject{
            {QStringLiteral("caption"), entry.Caption()},
            {QStringLiteral("command"), entry.Command()},
            {QStringLiteral("children"), jsonNodes(items, children, children[size_t(i)])},
        });
    }
    return array;
}

QJsonDocument jsonTree(const TMenuCollection &items, const TMenuShape &shape)
{
    std::vector<std::vector<qsizetype>> children(size_t(shape.Placed()));
    std::vector<qsizetype> topLevel;
    for (qsizetype i = 0; i < shape.Placed(); ++i) {
        const qsizetype parent = shape.Parent[size_t(i)];
        (parent < 0 ? topLevel : children[size_t(parent)]).push_back(i);
    }
    return QJsonDocument(jsonNodes(items, children, topLevel));
}

int runTree(const TToolArgs &args)
{
    TMenuCollection items;
    LoadMenuFile(args.Positional[0], items);
    const TMenuShape shape = ReadMenuShape(items);
    if (shape.GreatestLevel() > kMaxTreeLevels) {
        WriteError(QStringLiteral("the tree is %1 levels deep; tree shows at most %2")
                       .arg(shape.GreatestLevel())
                       .arg(kMaxTreeLevels));
        return 1;
    }
    if (args.Flags.contains(QStringLiteral("--json")))
        WriteJson(jsonTree(items, shape));
    else
        WriteOut(textTree(items, shape));
    if (shape.Failed()) {
        WriteError(shape.Error);
        return 1;
    }
    return 0;
}

} // namespace

extern const TToolCommand TreeCommand{
    "tree",
    "tree FILE [--json]",
    "Prints the tree that a menu file encodes: one line per entry, indented by two\n"
    "blanks per level, with the caption and, when the entry has a command, the\n"
    "command in square brackets. With --json: [{\"caption\", \"command\",\n"
    "\"children\": [...]}, ...]. When a Count asks for more entries than the file\n"
    "holds, the tree read so far is printed and the list error goes to stderr\n"
    "(exit code 1). Trees deeper than 256 levels are refused.",
    {QStringLiteral("FILE")},
    {QStringLiteral("--json")},
    {},
    runTree,
};
