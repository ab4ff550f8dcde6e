// vrelmenu menu FILE [--level N] [--hide] [--short] [--insert POS] [--tree [--searchable]]:
// the menu bar or the tree that the menu manager builds from a definition.
#include "MenuShape.h"
#include "VrelMenuTool.h"

#include "vrelMenu.h"
#include "vrelShortCut.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QMenu>
#include <QMenuBar>
#include <QTreeWidget>

namespace {

QString clickHandlerName(const QAction &item)
{
    switch (ClickHandlerOf(&item)) {
    case TClickHandler::MenuClick:
        return QStringLiteral("MenuClick");
    case TClickHandler::WindowClick:
        return QStringLiteral("WindowClick");
    case TClickHandler::None:
        break;
    }
    return QString();
}

QJsonArray itemsJson(const QList<QAction *> &items);

QJsonObject itemJson(QAction &item)
{
    const auto *access = qobject_cast<const TMenuItemAccess *>(&item);
    QJsonObject o{
        {QStringLiteral("class"), access ? QStringLiteral("TMenuItemAccess") : QStringLiteral("TMenuItem")},
        {QStringLiteral("caption"), item.text()},
        {QStringLiteral("enabled"), item.isEnabled()},
        {QStringLiteral("visible"), item.isVisible()},
        {QStringLiteral("checked"), item.isChecked()},
        {QStringLiteral("radio"), access && access->RadioItem()},
        {QStringLiteral("groupIndex"), access ? access->GroupIndex() : 0},
        {QStringLiteral("shortcut"), ShortCutToText(item.shortcut())},
        {QStringLiteral("hint"), item.statusTip()},
        {QStringLiteral("imageIndex"), access ? access->ImageIndex() : -1},
        {QStringLiteral("tag"), MenuItemTag(&item)},
        {QStringLiteral("onClick"), clickHandlerName(item)},
        {QStringLiteral("items"), item.menu() ? itemsJson(item.menu()->actions()) : QJsonArray()},
    };
    if (access) {
        o.insert(QStringLiteral("command"), access->Command());
        o.insert(QStringLiteral("menuIndex"), access->MenuIndex());
        o.insert(QStringLiteral("executable"), access->Executable());
    }
    return o;
}

QJsonArray itemsJson(const QList<QAction *> &items)
{
    QJsonArray array;
    for (QAction *item : items)
        array.append(itemJson(*item));
    return array;
}

QJsonArray nodesJson(const QTreeWidgetItem &parent)
{
    QJsonArray array;
    for (int i = 0; i < parent.childCount(); ++i) {
        const QTreeWidgetItem &node = *parent.child(i);
        array.append(QJsonObject{{QStringLiteral("text"), node.text(0)},
                                 {QStringLiteral("children"), nodesJson(node)}});
    }
    return array;
}

int intOption(const TToolArgs &args, const QString &name, int fallback, int lowest, int highest)
{
    if (!args.Options.contains(name))
        return fallback;
    const QString text = args.Options.value(name);
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < lowest || value > highest)
        throw EToolUsage{QStringLiteral("%1 must be a whole number from %2 to %3, not %4")
                             .arg(name)
                             .arg(lowest)
                             .arg(highest)
                             .arg(text)};
    return value;
}

// Builds, prints what was built (also when the build ended with an error)
// and reports the error; the exit code.
template <class Build, class Print>
int buildAndPrint(Build &&build, Print &&print)
{
    QString error;
    try {
        build();
    } catch (const EVrelError &e) {
        error = e.Message();
    }
    print();
    if (error.isEmpty())
        return 0;
    WriteError(error);
    return 1;
}

int runMenu(const TToolArgs &args)
{
    const bool tree = args.Flags.contains(QStringLiteral("--tree"));
    const bool searchable = args.Flags.contains(QStringLiteral("--searchable"));
    if (searchable && !tree)
        throw EToolUsage{QStringLiteral("--searchable goes with --tree")};
    const int level = intOption(args, QStringLiteral("--level"), 65535, 0, 65535);
    const int insertAt = intOption(args, QStringLiteral("--insert"), -1, INT_MIN, INT_MAX);
    const bool insert = args.Options.contains(QStringLiteral("--insert"));

    LoadIntoMenuManager(args.Positional[0]);
    const int depth = ReadMenuShape(MenuManager->Items()).GreatestLevel();
    if (depth > kMaxTreeLevels) {
        WriteError(QStringLiteral("the tree is %1 levels deep; menu builds at most %2")
                       .arg(depth)
                       .arg(kMaxTreeLevels));
        return 1;
    }

    if (tree) {
        QTreeWidget view;
        return buildAndPrint([&] { MenuManager->BuildMenus(&view, !searchable); },
                             [&] { WriteJson(QJsonDocument(nodesJson(*view.invisibleRootItem()))); });
    }
    MenuManager->SetLevel(quint16(level));
    MenuManager->SetHideMode(args.Flags.contains(QStringLiteral("--hide")));
    MenuManager->SetShort(args.Flags.contains(QStringLiteral("--short")));
    QMenuBar bar;
    if (insert) {
        bar.addAction(QStringLiteral("Before"));
        bar.addAction(QStringLiteral("After"));
        MenuManager->SetBuildMode(bmInsert);
        MenuManager->SetPosition(insertAt);
    }
    return buildAndPrint([&] { MenuManager->BuildMenus(&bar); },
                         [&] {
                             WriteJson(QJsonDocument(
                                 QJsonObject{{QStringLiteral("items"), itemsJson(bar.actions())}}));
                         });
}

} // namespace

extern const TToolCommand MenuCommand{
    "menu",
    "menu FILE [--level N] [--hide] [--short] [--insert POS] | menu FILE --tree [--searchable]",
    "Loads a menu definition into the menu manager and prints the menu bar it\n"
    "builds for user level N (default 65535, all groups) as {\"items\": [item, ...]}.\n"
    "An item: {\"class\": \"TMenuItemAccess\" or \"TMenuItem\", \"caption\", \"enabled\",\n"
    "\"visible\", \"checked\", \"radio\", \"groupIndex\", \"shortcut\", \"hint\",\n"
    "\"imageIndex\", \"tag\", \"command\", \"menuIndex\", \"executable\" (these three for\n"
    "TMenuItemAccess only), \"onClick\": \"MenuClick\", \"WindowClick\" or \"\",\n"
    "\"items\": [...]}. A hidden item is never enabled in the toolkit.\n"
    "--hide leaves out what the level does not grant (else it is disabled); --short\n"
    "shows short captions on top-level submenus; --insert POS builds into a bar that\n"
    "holds \"Before\" and \"After\", inserting from position POS.\n"
    "--tree prints the tree view instead: [{\"text\", \"children\": [...]}, ...], every\n"
    "entry, or with --searchable only those whose Search flag is set.\n"
    "A build error prints what was built so far and the error on stderr (exit code 1).",
    {QStringLiteral("FILE")},
    {QStringLiteral("--hide"), QStringLiteral("--short"), QStringLiteral("--tree"), QStringLiteral("--searchable")},
    {QStringLiteral("--level"), QStringLiteral("--insert")},
    runMenu,
    true,
};
