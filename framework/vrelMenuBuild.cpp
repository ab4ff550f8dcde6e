// Menu bars and tree views built from the menu definition, and the handling
// of clicks on what was built (unit vrelMenu).
#include "vrelMenu.h"

#include "vrelPrompt.h"
#include "vrelShortCut.h"

#include <QActionGroup>
#include <QHash>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScopeGuard>
#include <QTreeWidget>
#include <algorithm>
#include <memory>
#include <vector>

namespace {
// Plain items carry their handler (WindowClick for the window commands) as a
// property; command items keep it in a field of their own.
const char kClickHandlerProperty[] = "vrelClickHandler";
const QString kWindowListName = QStringLiteral("vrelWindowList");

// A caption of "-" shows as a separator line.
void setCaption(QAction &item, const QString &caption)
{
    item.setText(caption);
    item.setSeparator(caption == u"-");
}

// A check mark needs a checkable item; an item is made checkable when it is
// first checked.
void setItemChecked(QAction &item, bool checked)
{
    if (checked && !item.isCheckable())
        item.setCheckable(true);
    item.setChecked(checked);
}

// Most entries have no hot key; setting the empty one on an item without a
// shortcut would still go through the toolkit's shortcut registration.
void setShortCut(QAction &item, const QKeySequence &shortCut)
{
    if (shortCut != item.shortcut())
        item.setShortcut(shortCut);
}

// The shortcuts of one build, registered together when it ends. The toolkit
// keeps all registered shortcuts in one list sorted by key and inserts each
// in its place, moving the entries after it: registered as the items come,
// in no order, that costs the square of their number; registered in key
// order, each goes in after the one before.
class TShortCutBatch {
public:
    // `item` is new and has no shortcut yet.
    void Add(QAction &item, QKeySequence shortCut)
    {
        if (!shortCut.isEmpty())
            FPending.push_back({&item, std::move(shortCut)});
    }

    void Register()
    {
        std::stable_sort(FPending.begin(), FPending.end(),
                         [](const Pending &a, const Pending &b) { return a.ShortCut < b.ShortCut; });
        for (const Pending &p : FPending)
            p.Item->setShortcut(p.ShortCut);
        FPending.clear();
    }

private:
    struct Pending {
        QAction *Item;
        QKeySequence ShortCut;
    };
    std::vector<Pending> FPending;
};

QMdiArea *mdiAreaOf(QMainWindow *form)
{
    return form ? qobject_cast<QMdiArea *>(form->centralWidget()) : nullptr;
}

// The submenu that holds an item's children, made when its first child comes.
// Like the items, it belongs to the menu bar the build started from.
QMenu *submenuOf(QAction &parent, QMenuBar *owner)
{
    if (QMenu *menu = parent.menu())
        return menu;
    auto *menu = new QMenu(owner);
    menu->setTitle(parent.text());
    parent.setMenu(menu);
    return menu;
}

QList<QMdiSubWindow *> arrangedWindows(QMdiArea &area)
{
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *w : area.subWindowList())
        if (w->isVisible() && !w->isMinimized())
            windows.append(w);
    return windows;
}

// Lays the shown child windows out along `direction`, sharing the area:
// Qt::Horizontal side by side, Qt::Vertical one above another.
void tile(QMdiArea &area, Qt::Orientation direction)
{
    const QList<QMdiSubWindow *> windows = arrangedWindows(area);
    const QRect r = area.viewport()->rect();
    const qsizetype n = windows.size();
    for (qsizetype i = 0; i < n; ++i) {
        QMdiSubWindow *w = windows[i];
        w->showNormal();
        if (direction == Qt::Horizontal) {
            const int width = int(r.width() / n);
            const int x = int(i * width);
            w->setGeometry(x, 0, i == n - 1 ? r.width() - x : width, r.height());
        } else {
            const int height = int(r.height() / n);
            const int y = int(i * height);
            w->setGeometry(0, y, r.width(), i == n - 1 ? r.height() - y : height);
        }
    }
}

// The open child windows of a main window, listed at the end of a window
// submenu each time it opens; choosing one activates it.
class TWindowList : public QObject {
public:
    TWindowList(QMenu &menu, QMainWindow *form) : QObject(&menu), FMenu(menu), FForm(form)
    {
        setObjectName(kWindowListName);
        connect(&menu, &QMenu::aboutToShow, this, &TWindowList::refresh);
    }

private:
    void refresh()
    {
        for (const QPointer<QAction> &entry : FEntries)
            delete entry.data();
        FEntries.clear();
        QMdiArea *area = mdiAreaOf(FForm);
        if (!area)
            return;
        const QList<QMdiSubWindow *> windows = area->subWindowList();
        for (qsizetype i = 0; i < windows.size(); ++i) {
            QMdiSubWindow *w = windows[i];
            const QString prefix = i < 9 ? QStringLiteral("&%1 ").arg(i + 1) : QString();
            auto *entry = new QAction(prefix + w->windowTitle(), &FMenu);
            entry->setCheckable(true);
            entry->setChecked(w == area->activeSubWindow());
            connect(entry, &QAction::triggered, area, [area, window = QPointer<QMdiSubWindow>(w)] {
                if (window)
                    area->setActiveSubWindow(window);
            });
            FMenu.addAction(entry);
            FEntries.append(entry);
        }
    }

    QMenu &FMenu;
    QPointer<QMainWindow> FForm;
    QList<QPointer<QAction>> FEntries;
};

} // namespace

// One build of a menu bar: the manager's settings as they were at the call,
// the cursor into Items shared by all levels, the radio groups made and the
// shortcuts still to register.
class TVrelMenuManager::TMenuBarBuilder {
public:
    TMenuBarBuilder(TVrelMenuManager &manager, QMenuBar &bar)
        : FManager(manager), FItems(manager.Items()), FBar(bar), FHide(manager.HideMode()),
          FShort(manager.Short()), FMode(manager.BuildMode()), FInsertAt(manager.Position())
    {
    }

    void Run()
    {
        // Also when the build ends early: the items built so far stay.
        const auto registerShortCuts = qScopeGuard([this] { FShortCuts.Register(); });
        while (FCursor < FItems.Count()) {
            TMenuCollectionItem &e = entryAt(FCursor);
            bool build;
            if (FHide)
                build = granted(e) && !e.NoAdd();
            else
                build = !e.NoAdd();
            if (!build) {
                skipSubtree();
                continue;
            }
            std::unique_ptr<TMenuItemAccess> top(new TMenuItemAccess(&FBar));
            QKeySequence shortCut;
            if (e.Count() == 0) {
                shortCut = FManager.setupItem(e, *top);
            } else {
                setCaption(*top, FShort ? e.ShortCaption() : e.Caption());
                top->SetImageIndex(-1);
            }
            if (FHide)
                top->setVisible(!e.Hidden());
            else
                top->setEnabled(granted(e));
            TMenuItemAccess *placed = place(std::move(top));
            FShortCuts.Add(*placed, std::move(shortCut));
            addChildren(*placed, e.Count());
        }
    }

private:
    TMenuCollectionItem &entryAt(qsizetype index) const { return *FItems.Items(index); }

    bool granted(const TMenuCollectionItem &e) const { return FManager.CheckLevel(e.Permission()); }

    // Moves the cursor past the entry at the cursor and all its descendants.
    void skipSubtree()
    {
        qint64 pending = std::max(entryAt(FCursor).Count(), 0);
        ++FCursor;
        while (pending > 0) {
            pending += std::max(entryAt(FCursor).Count(), 0) - 1;
            ++FCursor;
        }
    }

    TMenuItemAccess *place(std::unique_ptr<TMenuItemAccess> item)
    {
        if (FMode == bmAppend) {
            FBar.addAction(item.get());
        } else {
            const QList<QAction *> present = FBar.actions();
            if (FInsertAt < 0 || FInsertAt > present.size())
                throw EListError::IndexOutOfBounds(FInsertAt);
            FBar.insertAction(FInsertAt < present.size() ? present[FInsertAt] : nullptr, item.get());
        }
        ++FInsertAt;
        joinRadioGroup(FBar, *item);
        return item.release();
    }

    void append(QAction &parent, QAction *child)
    {
        QMenu *menu = submenuOf(parent, &FBar);
        menu->addAction(child);
        if (auto *access = qobject_cast<TMenuItemAccess *>(child))
            joinRadioGroup(*menu, *access);
    }

    // Radio items of one GroupIndex in one parent menu exclude each other; a
    // checked item joining its group unchecks the one checked before.
    void joinRadioGroup(QWidget &parentMenu, TMenuItemAccess &item)
    {
        if (!item.RadioItem() || item.GroupIndex() == 0)
            return;
        QActionGroup *&group = FGroups[{&parentMenu, item.GroupIndex()}];
        const QString name = QStringLiteral("radio group %1").arg(item.GroupIndex());
        if (!group && &parentMenu == &FBar) // the bar may hold groups of earlier builds
            group = FBar.findChild<QActionGroup *>(name, Qt::FindDirectChildrenOnly);
        if (!group) {
            group = new QActionGroup(&parentMenu);
            group->setObjectName(name);
        }
        if (item.isChecked())
            if (QAction *before = group->checkedAction())
                before->setChecked(false);
        group->addAction(&item);
    }

    // The children of `top` (whose entry is at the cursor and has `count`
    // children) and their descendants, level by level without recursion.
    void addChildren(TMenuItemAccess &top, qint32 count)
    {
        struct Open {
            QAction *Parent;
            qint64 Remaining;
        };
        std::vector<Open> open{{&top, count}};
        ++FCursor;
        while (!open.empty()) {
            if (open.back().Remaining <= 0) {
                open.pop_back();
                continue;
            }
            --open.back().Remaining;
            QAction &parent = *open.back().Parent;
            TMenuCollectionItem &e = entryAt(FCursor);
            if (FHide && !granted(e)) {
                skipSubtree();
                continue;
            }
            if (e.Caption() == u"-") {
                // A separator's own Count is not looked at.
                auto *separator = new QAction(&FBar);
                setCaption(*separator, e.Caption());
                append(parent, separator);
            } else if (e.Count() != 0) {
                QAction *submenu = FHide ? new TMenuItemAccess(&FBar) : new QAction(&FBar);
                setCaption(*submenu, e.Caption());
                append(parent, submenu);
                open.push_back({submenu, e.Count()});
            } else if (e.MenuStyle() == msWindows) {
                FManager.BuildWindowMenu(&FBar, &parent);
            } else if (e.MenuStyle() == msWindowsItem) {
                append(parent, new QAction(&FBar));
                append(parent, new QAction(&FBar));
            } else {
                std::unique_ptr<TMenuItemAccess> item(new TMenuItemAccess(&FBar));
                QKeySequence shortCut = FManager.setupItem(e, *item);
                if (FHide)
                    item->setVisible(!e.Hidden());
                TMenuItemAccess *placed = item.release();
                append(parent, placed);
                FShortCuts.Add(*placed, std::move(shortCut));
            }
            ++FCursor;
        }
    }

    TVrelMenuManager &FManager;
    const TMenuCollection &FItems;
    QMenuBar &FBar;
    const bool FHide;
    const bool FShort;
    const TBuildMode FMode;
    qsizetype FInsertAt;
    qsizetype FCursor = 0;
    QHash<QPair<QWidget *, int>, QActionGroup *> FGroups;
    TShortCutBatch FShortCuts;
};

TClickHandler ClickHandlerOf(const QAction *AItem)
{
    if (const auto *access = qobject_cast<const TMenuItemAccess *>(AItem))
        return access->ClickHandler();
    return TClickHandler(AItem->property(kClickHandlerProperty).toInt());
}

int MenuItemTag(const QAction *AItem)
{
    return AItem->data().toInt();
}

TMenuCollectionItem *NodeEntry(const QTreeWidgetItem *ANode)
{
    if (!ANode)
        return nullptr;
    if (ANode->type() == TMenuTreeNode::kType)
        return static_cast<const TMenuTreeNode *>(ANode)->Entry();
    return static_cast<TMenuCollectionItem *>(ANode->data(0, Qt::UserRole).value<void *>());
}

void SetNodeEntry(QTreeWidgetItem *ANode, TMenuCollectionItem *AEntry)
{
    if (ANode->type() == TMenuTreeNode::kType)
        static_cast<TMenuTreeNode *>(ANode)->SetEntry(AEntry);
    else
        ANode->setData(0, Qt::UserRole, QVariant::fromValue(static_cast<void *>(AEntry)));
}

void TVrelMenuManager::BuildMenus(QMenuBar *AMenu)
{
    if (!AMenu)
        return;
    TMenuBarBuilder(*this, *AMenu).Run();
}

void TVrelMenuManager::SetupMenuItem(TMenuCollectionItem &AItem, TMenuItemAccess &AMenuItem)
{
    setShortCut(AMenuItem, setupItem(AItem, AMenuItem));
}

QKeySequence TVrelMenuManager::setupItem(TMenuCollectionItem &AItem, TMenuItemAccess &AMenuItem)
{
    const int position = int(AItem.Index());
    AMenuItem.SetMenuIndex(position);
    setCaption(AMenuItem, AItem.Caption());
    AMenuItem.setCheckable(AItem.Checked() || AItem.Toogle() || AItem.GroupIndex() != 0);
    setItemChecked(AMenuItem, AItem.Checked());
    AMenuItem.SetCommand(AItem.Command());
    AMenuItem.setEnabled(AItem.Enabled());
    if (AItem.GroupIndex() < 0 || AItem.GroupIndex() > 255)
        throw ERangeError();
    AMenuItem.SetGroupIndex(AItem.GroupIndex());
    if (AItem.GroupIndex() != 0)
        AMenuItem.SetRadioItem(true);
    AMenuItem.setStatusTip(AItem.Hint());
    AMenuItem.SetImageIndex(AItem.ImageIndex());
    AMenuItem.setData(position);
    AMenuItem.setVisible(!AItem.Hidden());

    if (AMenuItem.FClickHandler != TClickHandler::MenuClick) // bound once, also when set up again
        connect(&AMenuItem, &QAction::triggered, this, [this, item = &AMenuItem] { commandTriggered(*item); });
    AMenuItem.FClickHandler = TClickHandler::MenuClick;

    const bool granted = CheckLevel(AItem.Permission());
    if (FHide)
        AMenuItem.setVisible(granted);
    else
        AMenuItem.setEnabled(granted);
    AMenuItem.SetExecutable(granted);
    return TextToShortCut(AItem.HotKey());
}

void TVrelMenuManager::BuildWindowMenu(QMenuBar *AMenu, QAction *AParent)
{
    QMenu *menu = submenuOf(*AParent, AMenu);
    const struct {
        QString Caption;
        int Tag;
        bool Click;
    } commands[] = {
        {FWindowCascade, 0, true}, {FWindowTileHorz, 1, true}, {FWindowTileVert, 2, true},
        {QStringLiteral("-"), 0, false}, {FWindowCloseAll, 3, true}, {QStringLiteral("-"), 0, false},
    };
    for (const auto &command : commands) {
        auto *item = new QAction(AMenu);
        setCaption(*item, command.Caption);
        item->setData(command.Tag);
        if (command.Click) {
            connect(item, &QAction::triggered, this, [this, item] { windowTriggered(*item); });
            item->setProperty(kClickHandlerProperty, int(TClickHandler::WindowClick));
        }
        menu->addAction(item);
    }
    // Without a main window there is no list of child windows to show.
    if (FForm && !menu->findChild<QObject *>(kWindowListName, Qt::FindDirectChildrenOnly))
        new TWindowList(*menu, FForm);
}

void TVrelMenuManager::commandTriggered(TMenuItemAccess &item)
{
    // The toolkit flips a checkable item by itself before it reports the
    // click; put the check back so that MenuClick alone decides it. A radio
    // item's group has already checked it, as MenuClick would.
    if (item.isCheckable() && !item.actionGroup())
        item.setChecked(!item.isChecked());
    try {
        MenuClick(&item);
    } catch (const EVrelError &e) {
        Prompter().ShowError(e.Message());
    } catch (const std::exception &e) {
        Prompter().ShowError(QString::fromLocal8Bit(e.what()));
    }
}

void TVrelMenuManager::windowTriggered(QAction &item)
{
    try {
        WindowClick(&item);
    } catch (const EVrelError &e) {
        Prompter().ShowError(e.Message());
    }
}

void TVrelMenuManager::MenuClick(QObject *Sender)
{
    auto *item = qobject_cast<TMenuItemAccess *>(Sender);
    if (!item)
        throw EInvalidCast();
    TMenuCollectionItem *entry =
        item->MenuIndex() == -1 ? FindByCode(item->Command()) : FItems.Items(item->MenuIndex());
    if (!entry)
        return;
    if (item->GroupIndex() != 0)
        setItemChecked(*item, true);
    else if (entry->Toogle())
        setItemChecked(*item, !item->isChecked());
    if (OnCommand) {
        bool done = false;
        OnCommand(item, entry, item->isChecked(), done);
    }
}

void TVrelMenuManager::CommandExecute(QObject *Sender)
{
    MenuClick(Sender);
}

void TVrelMenuManager::WindowClick(QObject *Sender)
{
    auto *item = qobject_cast<QAction *>(Sender);
    if (!item)
        throw EInvalidCast();
    QMdiArea *area = mdiAreaOf(FForm);
    if (!area)
        return;
    switch (MenuItemTag(item)) {
    case 0:
        area->cascadeSubWindows();
        break;
    case 1:
        tile(*area, Qt::Horizontal); // side by side
        break;
    case 2:
        tile(*area, Qt::Vertical); // one above another
        break;
    case 3: {
        // Every window counted before the first one closes is asked once.
        QList<QPointer<QMdiSubWindow>> windows;
        for (QMdiSubWindow *w : area->subWindowList())
            windows.append(w);
        for (const QPointer<QMdiSubWindow> &w : windows)
            if (w)
                w->close();
        break;
    }
    default:
        break;
    }
}

void TVrelMenuManager::BuildMenus(QTreeWidget *ATreeView, bool AAddSeperate)
{
    if (!ATreeView)
        return;
    ATreeView->setUpdatesEnabled(false);
    ATreeView->clear();
    // Nodes are put together outside the view and handed over in one step,
    // also when the build ends early, so that the view keeps what was built.
    QList<QTreeWidgetItem *> tops;
    const auto handOver = qScopeGuard([&] {
        ATreeView->addTopLevelItems(tops);
        ATreeView->setUpdatesEnabled(true);
    });
    struct Node {
        QTreeWidgetItem *Item = nullptr;
        bool Excluded = false; // left out, with its whole subtree
    };
    ReadMenuTree<Node>(FItems, [&](Node parent, TMenuCollectionItem &entry) -> Node {
        if (parent.Excluded || !(entry.Search() || AAddSeperate))
            return {nullptr, true};
        auto *node = new TMenuTreeNode(&entry);
        node->setText(0, TrimControl(entry.Caption()));
        if (parent.Item)
            parent.Item->addChild(node);
        else
            tops.append(node);
        return {node, false};
    });
}
