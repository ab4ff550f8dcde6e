// Shared pieces of the vrelmenu subcommands: the command table entry, the
// parsed command line, output to stdout/stderr, and reading a menu file in
// whichever form it is stored.
#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QJsonDocument>
#include <QSet>
#include <QString>
#include <QStringList>

class TMenuCollection;

// A command line after the subcommand name: positional arguments in order,
// flags that were given, and options with their values.
struct TToolArgs {
    QStringList Positional;
    QSet<QString> Flags;
    QHash<QString, QString> Options;
};

// One subcommand. Each lives in its own source file (Cmd*.cpp) and is listed
// in the table in main.cpp.
struct TToolCommand {
    const char *Name;
    const char *Synopsis;    // "tree FILE [--json]"
    const char *Description; // printed by --help below the synopsis
    QStringList Positionals; // names of the required positional arguments
    QStringList Flags;       // options without a value ("--json")
    QStringList ValueOptions; // options that take a value ("--to")
    // Runs the command; returns the exit code. Library errors thrown from here
    // are reported on stderr with exit code 1.
    int (*Run)(const TToolArgs &args);
};

// A command-line mistake: reported with the command's synopsis, exit code 1.
struct EToolUsage {
    QString Message;
};

// Splits `args` according to `command`; throws EToolUsage on unknown options,
// missing option values and a wrong number of positional arguments.
TToolArgs ParseToolArgs(const TToolCommand &command, const QStringList &args);

// UTF-8 output.
void WriteOut(QStringView text);
void WriteOut(QByteArrayView bytes);
void WriteJson(const QJsonDocument &document);
// "vrelmenu: " + message + line break, on stderr.
void WriteError(QStringView message);

enum class TMenuFileForm { Plain, Compressed };

// The form of a menu file, told by its first two bytes: a zlib header (0x78
// and a check value that makes the pair a multiple of 31) is the compressed
// form; anything else is plain text.
TMenuFileForm DetectMenuFileForm(QByteArrayView head);

// Reads the menu file at `path` in the form it is stored in. A missing file, a
// directory, a file that cannot be opened and a broken compressed stream raise
// the library's errors; `items` is then unchanged.
TMenuFileForm LoadMenuFile(const QString &path, TMenuCollection &items);

// Where an entry stands in the file: entries start on the third line.
inline qsizetype EntryLine(qsizetype index)
{
    return index + 3;
}
