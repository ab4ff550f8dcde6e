// vrelmenu: inspects, checks and converts menu files. Every subcommand is a
// TToolCommand in its own source file, listed in the table below.
#include "VrelMenuTool.h"

#include "vrelErrors.h"

#include <QCoreApplication>
#include <cstdio>
#include <new>

extern const TToolCommand DumpCommand;
extern const TToolCommand TreeCommand;
extern const TToolCommand ConvertCommand;
extern const TToolCommand CheckCommand;
extern const TToolCommand StatCommand;

namespace {

const TToolCommand *const kCommands[] = {
    &DumpCommand, &TreeCommand, &ConvertCommand, &CheckCommand, &StatCommand,
};

const TToolCommand *findCommand(const QString &name)
{
    for (const TToolCommand *command : kCommands)
        if (name == QLatin1StringView(command->Name))
            return command;
    return nullptr;
}

QString overview()
{
    QString text = QStringLiteral("Usage: vrelmenu COMMAND [ARGS]\n"
                                  "Menu files may be plain or compressed; the form is told from the content.\n"
                                  "Exit code 0 on success, 1 on findings or errors.\n\nCommands:\n");
    for (const TToolCommand *command : kCommands)
        text += QStringLiteral("  vrelmenu %1\n").arg(QLatin1StringView(command->Synopsis));
    return text + QStringLiteral("\nvrelmenu COMMAND --help describes one command.\n");
}

QString usageOf(const TToolCommand &command)
{
    return QStringLiteral("Usage: vrelmenu %1\n").arg(QLatin1StringView(command.Synopsis));
}

int run(const QStringList &arguments)
{
    if (arguments.isEmpty()) {
        WriteError(QStringLiteral("no command given"));
        std::fputs(overview().toUtf8().constData(), stderr);
        return 1;
    }
    if (arguments[0] == u"--help" || arguments[0] == u"-h") {
        WriteOut(overview());
        return 0;
    }
    const TToolCommand *command = findCommand(arguments[0]);
    if (!command) {
        WriteError(QStringLiteral("unknown command %1; vrelmenu --help lists the commands").arg(arguments[0]));
        return 1;
    }
    const QStringList rest = arguments.mid(1);
    const QStringList options = rest.mid(0, rest.indexOf(QStringLiteral("--"))); // all when there is no "--"
    if (options.contains(QStringLiteral("--help")) || options.contains(QStringLiteral("-h"))) {
        WriteOut(usageOf(*command) + u'\n' + QString::fromUtf8(command->Description) + u'\n');
        return 0;
    }
    try {
        return command->Run(ParseToolArgs(*command, rest));
    } catch (const EToolUsage &e) {
        WriteError(e.Message);
        std::fputs(usageOf(*command).toUtf8().constData(), stderr);
    } catch (const EVrelError &e) {
        WriteError(e.Message());
    } catch (const std::bad_alloc &) {
        WriteError(QStringLiteral("out of memory"));
    }
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int code = run(app.arguments().mid(1));
    std::fflush(stdout);
    return code;
}
