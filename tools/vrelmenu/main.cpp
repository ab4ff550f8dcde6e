// vrelmenu: inspects, checks and converts menu files. Every subcommand is a
// TToolCommand in its own source file, listed in the table below.
#include "VrelMenuTool.h"

#include "vrelErrors.h"
#include "vrelFramework.h"
#include "vrelPrompt.h"

#include <QApplication>
#include <cstdio>
#include <memory>
#include <new>

extern const TToolCommand DumpCommand;
extern const TToolCommand TreeCommand;
extern const TToolCommand ConvertCommand;
extern const TToolCommand CheckCommand;
extern const TToolCommand StatCommand;
extern const TToolCommand FindCommand;
extern const TToolCommand MenuCommand;

namespace {

const TToolCommand *const kCommands[] = {
    &DumpCommand, &TreeCommand, &ConvertCommand, &CheckCommand, &StatCommand, &FindCommand, &MenuCommand,
};

const TToolCommand *findCommand(const QString &name)
{
    for (const TToolCommand *command : kCommands)
        if (name == QLatin1StringView(command->Name))
            return command;
    return nullptr;
}

// Boxes become lines on stderr; questions and dialogs are answered with Cancel.
class TToolPrompter final : public TVrelPrompter {
public:
    void ShowMessage(const QString &text) override { WriteError(text); }
    void ShowError(const QString &text) override { WriteError(text); }
    QMessageBox::StandardButton Ask(const QString &, const QString &text, QMessageBox::StandardButtons,
                                    QMessageBox::StandardButton) override
    {
        WriteError(text);
        return QMessageBox::Cancel;
    }
    bool InputQuery(const QString &, const QString &, QString &) override { return false; }
    QString OpenFileName(const QString &, const QString &) override { return QString(); }
    QString SaveFileName(const QString &, const QString &) override { return QString(); }
};

// The toolkit's notes on its surroundings (runtime directory, fonts) are not
// the tool's output: stderr carries the tool's own errors only.
void dropToolkitNotes(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        WriteError(qFormatLogMessage(type, context, message));
}

// The commands that build menus run with the widget toolkit, on the offscreen
// platform unless the environment names another.
std::unique_ptr<QCoreApplication> makeApplication(int &argc, char *argv[])
{
    const TToolCommand *command = argc > 1 ? findCommand(QString::fromLocal8Bit(argv[1])) : nullptr;
    if (!command || !command->Widgets)
        return std::make_unique<QCoreApplication>(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(dropToolkitNotes);
    return std::make_unique<QApplication>(argc, argv);
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
    const std::unique_ptr<QCoreApplication> app = makeApplication(argc, argv);
    TVrelFramework framework;
    TToolPrompter prompter;
    const TVrelPrompterScope prompts(&prompter);
    const int code = run(QCoreApplication::arguments().mid(1));
    std::fflush(stdout);
    return code;
}
