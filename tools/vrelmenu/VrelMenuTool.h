// Shared pieces of the vrelmenu subcommands: the command table entry, the
// parsed command line, output to stdout/stderr, and reading a menu file in
// whichever form it is stored.
#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QString>
#include <QStringList>

class TMenuCollection;
class TMenuCollectionItem;

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
    // The command builds menus or trees and needs the widget toolkit (run
    // on the offscreen platform unless QT_QPA_PLATFORM says otherwise).
    bool Widgets = false;
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

// Reads the menu file at `path` into the process-wide MenuManager, lookup
// tables included: a plain file through its FileName, a compressed one
// through Append. Raises the same errors as LoadMenuFile, and the manager's
// own read error when the plain file could not be read whole.
TMenuFileForm LoadIntoMenuManager(const QString &path);

// The 29 stored properties of an entry by name, each in its text form.
QJsonObject EntryToJson(const TMenuCollectionItem &entry);

// No menu is this deep; a deeper chain (a hostile file) would make the text
// output grow with the square of its length and the JSON nesting past what
// JSON readers accept.
inline constexpr int kMaxTreeLevels = 256;

// Where an entry stands in the file: entries start on the third line.
inline qsizetype EntryLine(qsizetype index)
{
    return index + 3;
}
