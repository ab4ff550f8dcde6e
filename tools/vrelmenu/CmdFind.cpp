// vrelmenu find FILE (--code C | --caption C | --param P | --index I | --module F):
// the menu manager's lookups on a loaded definition.
#include "VrelMenuTool.h"

#include "vrelMenu.h"

#include <QJsonObject>

namespace {

const QStringList kKeys{QStringLiteral("--code"), QStringLiteral("--caption"), QStringLiteral("--param"),
                        QStringLiteral("--index"), QStringLiteral("--module")};

int runFind(const TToolArgs &args)
{
    if (args.Options.size() != 1)
        throw EToolUsage{QStringLiteral("give exactly one of %1").arg(kKeys.join(QStringLiteral(", ")))};
    const QString key = *args.Options.keyBegin();
    const QString value = args.Options.value(key);
    int index = -1;
    if (key == u"--index") {
        bool ok = false;
        index = value.toInt(&ok);
        if (!ok)
            throw EToolUsage{QStringLiteral("--index needs a whole number, not %1").arg(value)};
    }
    LoadIntoMenuManager(args.Positional[0]);
    if (key == u"--module") {
        WriteJson(QJsonDocument(QJsonObject{{QStringLiteral("module"), MenuManager->FindModule(value)}}));
        return 0;
    }
    const TMenuCollectionItem *entry = nullptr;
    if (key == u"--code")
        entry = MenuManager->FindByCode(value);
    else if (key == u"--caption")
        entry = MenuManager->FindByCaption(value);
    else if (key == u"--param")
        entry = MenuManager->FindByParam(value);
    else if (index >= 0 && index < MenuManager->Count())
        entry = MenuManager->FindByIndex(index);
    if (!entry) {
        WriteJson(QJsonDocument(QJsonObject{{QStringLiteral("index"), -1}}));
        return 1;
    }
    WriteJson(QJsonDocument(QJsonObject{{QStringLiteral("index"), entry->Index()},
                                        {QStringLiteral("entry"), EntryToJson(*entry)}}));
    return 0;
}

} // namespace

extern const TToolCommand FindCommand{
    "find",
    "find FILE (--code C | --caption C | --param P | --index I | --module FRAME)",
    "Loads a menu definition into the menu manager and looks an entry up by its\n"
    "code, its caption (without surrounding blanks), its parameter (upper case) or\n"
    "its position: {\"index\": i, \"entry\": {29 properties as in dump}}, or\n"
    "{\"index\": -1} with exit code 1 when nothing is found. With --module:\n"
    "{\"module\": \"...\"}, the module that holds the frame (empty when none). An\n"
    "empty key is refused with the range error (exit code 1).",
    {QStringLiteral("FILE")},
    {},
    kKeys,
    runFind,
};
