#include "VrelMenuTool.h"

#include "vrelErrors.h"
#include "vrelMenu.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>

TToolArgs ParseToolArgs(const TToolCommand &command, const QStringList &args)
{
    TToolArgs parsed;
    bool optionsEnded = false; // after "--" every argument is positional
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (!optionsEnded && arg == u"--") {
            optionsEnded = true;
        } else if (optionsEnded || !arg.startsWith(u"--")) {
            parsed.Positional += arg;
        } else if (command.Flags.contains(arg)) {
            parsed.Flags += arg;
        } else if (command.ValueOptions.contains(arg)) {
            if (i + 1 >= args.size())
                throw EToolUsage{QStringLiteral("option %1 needs a value").arg(arg)};
            parsed.Options.insert(arg, args[++i]);
        } else {
            throw EToolUsage{QStringLiteral("unknown option %1").arg(arg)};
        }
    }
    if (parsed.Positional.size() != command.Positionals.size())
        throw EToolUsage{QStringLiteral("expected %1, got %2 argument(s)")
                             .arg(command.Positionals.join(u' '))
                             .arg(parsed.Positional.size())};
    return parsed;
}

void WriteOut(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return; // fwrite must not be handed the null data of an empty text
    std::fwrite(bytes.data(), 1, size_t(bytes.size()), stdout);
}

void WriteOut(QStringView text)
{
    WriteOut(text.toUtf8());
}

void WriteJson(const QJsonDocument &document)
{
    WriteOut(document.toJson(QJsonDocument::Indented));
}

void WriteError(QStringView message)
{
    const QByteArray line = "vrelmenu: " + message.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
}

TMenuFileForm DetectMenuFileForm(QByteArrayView head)
{
    if (head.size() < 2)
        return TMenuFileForm::Plain;
    const auto b0 = static_cast<unsigned char>(head[0]);
    const auto b1 = static_cast<unsigned char>(head[1]);
    return b0 == 0x78 && (b0 * 256 + b1) % 31 == 0 ? TMenuFileForm::Compressed : TMenuFileForm::Plain;
}

namespace {
// The form of the file at `path`; a file that is missing, a directory or
// cannot be opened raises "Cannot open file "%s". %s".
TMenuFileForm inspectMenuFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw EFOpenError(path, QStringLiteral("No such file or directory"));
    if (info.isDir())
        throw EFOpenError(path, QStringLiteral("Is a directory"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EFOpenError(path, file.errorString());
    return DetectMenuFileForm(file.read(2));
}
} // namespace

TMenuFileForm LoadMenuFile(const QString &path, TMenuCollection &items)
{
    const TMenuFileForm form = inspectMenuFile(path);
    items.SetSaveMode(form == TMenuFileForm::Compressed ? smBinary : smText);
    if (!items.LoadFromFile(path))
        throw EFOpenError(path, QStringLiteral("No such file or directory"));
    return form;
}

TMenuFileForm LoadIntoMenuManager(const QString &path)
{
    const TMenuFileForm form = inspectMenuFile(path);
    if (form == TMenuFileForm::Compressed) {
        MenuManager->Clear();
        MenuManager->Append(path);
    } else if (!MenuManager->SetFileName(path)) {
        throw EStreamError(MenuManager->LastError());
    }
    return form;
}

QJsonObject EntryToJson(const TMenuCollectionItem &entry)
{
    QJsonObject object;
    for (const TPropInfo &prop : TMenuCollectionItem::PropertyList().Items())
        object.insert(QLatin1StringView(prop.Name), PropertyToText(entry, prop));
    return object;
}
