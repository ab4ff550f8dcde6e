// vrelmenu convert IN OUT --to plain|compressed: rewrites a menu file in the
// chosen form.
#include "VrelMenuTool.h"

#include "vrelMenu.h"

namespace {

int runConvert(const TToolArgs &args)
{
    const QString to = args.Options.value(QStringLiteral("--to"));
    TSaveMode mode;
    if (to == u"plain")
        mode = smText;
    else if (to == u"compressed")
        mode = smBinary;
    else
        throw EToolUsage{to.isEmpty() ? QStringLiteral("--to plain|compressed is required")
                                      : QStringLiteral("--to must be plain or compressed, not %1").arg(to)};
    TMenuCollection items;
    LoadMenuFile(args.Positional[0], items);
    items.SetSaveMode(mode);
    items.SaveToFile(args.Positional[1]);
    return 0;
}

} // namespace

extern const TToolCommand ConvertCommand{
    "convert",
    "convert IN OUT --to plain|compressed",
    "Reads the menu file IN (plain or compressed) and writes it to OUT in the\n"
    "chosen form: plain is the editor's text form, compressed one zlib stream.\n"
    "OUT is replaced only once it has been written completely.",
    {QStringLiteral("IN"), QStringLiteral("OUT")},
    {},
    {QStringLiteral("--to")},
    runConvert,
};
