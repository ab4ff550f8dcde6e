#include "MenuFixture.h"
#include "ScriptedPrompter.h"
#include "vrelMenu.h"
#include "vrelShortCut.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTreeWidget>
#include <QtTest>

namespace {
// The shape of built items: caption ("-" for a separator), "!" when disabled,
// "~" when hidden, the submenu's items in parentheses. (The toolkit counts a
// hidden item as disabled; "!" marks shown items only.)
QString describe(const QList<QAction *> &actions)
{
    QStringList parts;
    for (QAction *a : actions) {
        QString s = a->isSeparator() ? QStringLiteral("-") : a->text();
        if (a->isVisible() && !a->isEnabled())
            s += u'!';
        if (!a->isVisible())
            s += u'~';
        if (a->menu())
            s += u'(' + describe(a->menu()->actions()) + u')';
        parts << s;
    }
    return parts.join(u',');
}

QString describe(const QTreeWidgetItem *node)
{
    QStringList parts;
    for (int i = 0; i < node->childCount(); ++i) {
        const QTreeWidgetItem *child = node->child(i);
        QString s = child->text(0);
        if (child->childCount())
            s += u'(' + describe(child) + u')';
        parts << s;
    }
    return parts.join(u',');
}

QString describe(QTreeWidget &tree)
{
    return describe(tree.invisibleRootItem());
}

// A (2): A1, A2 (1): A21; B
void fillABC(TMenuCollection &items)
{
    addEntry(items, "A", 2);
    addEntry(items, "A1");
    addEntry(items, "A2", 1);
    addEntry(items, "A21");
    addEntry(items, "B");
}

// Permissions: X is for group 2 only, Y for group 1 with a nested submenu
// for group 2, Z for groups 1 and 2.
void fillPermissions(TMenuCollection &items)
{
    addEntry(items, "X", 1, 2);
    addEntry(items, "X1", 0, 2);
    addEntry(items, "Y", 3, 1);
    addEntry(items, "Y1", 1, 2);
    addEntry(items, "Y11", 0, 1);
    addEntry(items, "Y2", 0, 1);
    addEntry(items, "-", 0, 2);
    addEntry(items, "Z", 0, 3);
}

QAction *child(QAction *parent, int index)
{
    return parent->menu()->actions().at(index);
}
} // namespace

class TestMenuBuild : public QObject {
    Q_OBJECT
private slots:
    void shapeOfMenuAndTree_data()
    {
        QTest::addColumn<bool>("hide");
        QTest::newRow("hide mode") << true;
        QTest::newRow("disable mode") << false;
    }
    void shapeOfMenuAndTree()
    {
        QFETCH(bool, hide);
        TVrelMenuManager m;
        fillABC(m.Items());
        m.SetHideMode(hide);
        QMenuBar bar;
        m.BuildMenus(&bar);
        QCOMPARE(describe(bar.actions()), "A(A1,A2(A21)),B");
        QTreeWidget tree;
        m.BuildMenus(&tree, true);
        QCOMPARE(describe(tree), "A(A1,A2(A21)),B");
        QCOMPARE(NodeEntry(tree.topLevelItem(0)->child(1)->child(0)), m.FindByIndex(3));
    }

    void levelsAndModes_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("hide");
        QTest::addColumn<QString>("shape");
        // A separator is granted like any entry in hide mode, and always built otherwise.
        QTest::newRow("level 1, hide") << 1 << true << "Y(Y2),Z";
        QTest::newRow("level 1, disable") << 1 << false << "X!(X1!),Y(Y1(Y11),Y2,-),Z";
        QTest::newRow("level 0, hide") << 0 << true << "";
        QTest::newRow("level 0, disable") << 0 << false << "X!(X1!),Y!(Y1(Y11!),Y2!,-),Z!";
        QTest::newRow("all groups, hide") << 65535 << true << "X(X1),Y(Y1(Y11),Y2,-),Z";
        QTest::newRow("all groups, disable") << 65535 << false << "X(X1),Y(Y1(Y11),Y2,-),Z";
    }
    void levelsAndModes()
    {
        QFETCH(int, level);
        QFETCH(bool, hide);
        QFETCH(QString, shape);
        TVrelMenuManager m;
        fillPermissions(m.Items());
        m.SetLevel(quint16(level));
        m.SetHideMode(hide);
        QMenuBar bar;
        m.BuildMenus(&bar);
        QCOMPARE(describe(bar.actions()), shape);
    }

    void classesAndHandlers_data()
    {
        QTest::addColumn<bool>("hide");
        QTest::newRow("hide mode") << true;
        QTest::newRow("disable mode") << false;
    }
    void classesAndHandlers()
    {
        QFETCH(bool, hide);
        TVrelMenuManager m;
        fillABC(m.Items());
        m.SetHideMode(hide);
        QMenuBar bar;
        m.BuildMenus(&bar);
        QAction *a = bar.actions().at(0);
        QAction *a1 = child(a, 0);
        QAction *a2 = child(a, 1);
        QVERIFY(qobject_cast<TMenuItemAccess *>(a));
        QCOMPARE(ClickHandlerOf(a), TClickHandler::None);
        QVERIFY(qobject_cast<TMenuItemAccess *>(a1));
        QCOMPARE(ClickHandlerOf(a1), TClickHandler::MenuClick);
        // A nested submenu is a TMenuItemAccess in hide mode, a plain item otherwise.
        QCOMPARE(qobject_cast<TMenuItemAccess *>(a2) != nullptr, hide);
        QCOMPARE(ClickHandlerOf(a2), TClickHandler::None);
        // A top-level leaf is set up as a command item.
        auto *b = qobject_cast<TMenuItemAccess *>(bar.actions().at(1));
        QVERIFY(b);
        QCOMPARE(b->MenuIndex(), 4);
        QCOMPARE(ClickHandlerOf(b), TClickHandler::MenuClick);
        QVERIFY(b->menu() == nullptr);
        // Everything built belongs to the menu bar.
        QCOMPARE(a1->parent(), &bar);
        QCOMPARE(a->menu()->parent(), &bar);
    }

    void setupMenuItemCopiesTheEntry()
    {
        TVrelMenuManager m;
        addEntry(m.Items(), "first");
        TMenuCollectionItem &e = addEntry(m.Items(), "[1000] 고객리스트");
        e.SetCommand("1000");
        e.SetHint("hint");
        e.SetImageIndex(4);
        e.SetHotKey("Ctrl+F1");
        e.SetChecked(true);
        e.SetEnabled(false);
        e.SetPermission(2);
        m.SetLevel(quint16(3));
        TMenuItemAccess item(nullptr);
        m.SetupMenuItem(e, item);
        QCOMPARE(item.MenuIndex(), 1);
        QCOMPARE(MenuItemTag(&item), 1);
        QCOMPARE(item.text(), u"[1000] 고객리스트"_qs);
        QCOMPARE(item.Command(), "1000");
        QCOMPARE(item.statusTip(), "hint");
        QCOMPARE(item.ImageIndex(), 4);
        QCOMPARE(item.shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F1));
        QVERIFY(item.isChecked());
        QVERIFY(item.isEnabled()); // granted: the level replaces the entry's Enabled
        QVERIFY(item.Executable());
        QVERIFY(!item.RadioItem());
        m.SetLevel(quint16(1));
        m.SetHideMode(true);
        TMenuItemAccess hidden(nullptr);
        m.SetupMenuItem(e, hidden);
        QVERIFY(!hidden.isVisible());
        QVERIFY(!hidden.isEnabled()); // the entry's own Enabled stays in hide mode
        QVERIFY(!hidden.Executable());
    }

    // Each built item gets its own entry's shortcut, in whatever order the
    // keys come, also when an error ends the build early.
    void builtItemsGetTheirShortCuts_data()
    {
        QTest::addColumn<bool>("endsEarly");
        QTest::newRow("whole build") << false;
        QTest::newRow("build ended by an error") << true;
    }
    void builtItemsGetTheirShortCuts()
    {
        QFETCH(bool, endsEarly);
        const QStringList keys{"Ctrl+F2", "", "F1", "Ctrl+F2", "Shift+Del"};
        TVrelMenuManager m;
        addEntry(m.Items(), "P", int(keys.size()));
        for (const QString &key : keys)
            addEntry(m.Items(), "item").SetHotKey(key);
        addEntry(m.Items(), "T").SetHotKey("Alt+X");
        if (endsEarly)
            addEntry(m.Items(), "bad", 0, 65536);
        QMenuBar bar;
        if (endsEarly)
            QVERIFY_THROWS_EXCEPTION(ERangeError, m.BuildMenus(&bar));
        else
            m.BuildMenus(&bar);
        QStringList built;
        for (QAction *item : bar.actions().at(0)->menu()->actions())
            built << ShortCutToText(item->shortcut());
        built << ShortCutToText(bar.actions().at(1)->shortcut());
        QCOMPARE(built, keys + QStringList{"Alt+X"});
    }

    void settingUpAgainReplacesTheShortCut()
    {
        TVrelMenuManager m;
        TMenuCollectionItem &keyed = addEntry(m.Items(), "keyed");
        keyed.SetHotKey("F5");
        TMenuCollectionItem &plain = addEntry(m.Items(), "plain");
        TMenuItemAccess item(nullptr);
        m.SetupMenuItem(keyed, item);
        QCOMPARE(item.shortcut(), QKeySequence(Qt::Key_F5));
        m.SetupMenuItem(plain, item);
        QVERIFY(item.shortcut().isEmpty());
    }

    void shortCaptionOnTopLevelSubmenusOnly()
    {
        TVrelMenuManager m;
        fillABC(m.Items());
        m.Items().Items(0)->SetShortCaption("a");
        m.Items().Items(4)->SetShortCaption("b");
        m.Items().Items(2)->SetShortCaption("a2");
        m.SetShort(true);
        QMenuBar bar;
        m.BuildMenus(&bar);
        QCOMPARE(describe(bar.actions()), "a(A1,A2(A21)),B");
    }

    void insertBetweenTwoItems()
    {
        TVrelMenuManager m;
        fillABC(m.Items());
        m.SetBuildMode(bmInsert);
        m.SetPosition(1);
        QMenuBar bar;
        bar.addAction("Before");
        bar.addAction("After");
        m.BuildMenus(&bar);
        QCOMPARE(describe(bar.actions()), "Before,A(A1,A2(A21)),B,After");
        QCOMPARE(m.Position(), 1); // the insertion index is the build's own
    }

    void insertAtAnInvalidPosition_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("shape");
        QTest::addColumn<QString>("error");
        QTest::newRow("initial -1") << -1 << "Before,After" << "List index out of bounds (-1)";
        QTest::newRow("past the end") << 3 << "Before,After" << "List index out of bounds (3)";
        QTest::newRow("at the end") << 2 << "Before,After,A(A1,A2(A21)),B" << "";
    }
    void insertAtAnInvalidPosition()
    {
        QFETCH(int, position);
        QFETCH(QString, shape);
        QFETCH(QString, error);
        TVrelMenuManager m;
        fillABC(m.Items());
        m.SetBuildMode(bmInsert);
        m.SetPosition(position);
        QMenuBar bar;
        bar.addAction("Before");
        bar.addAction("After");
        QString raised;
        try {
            m.BuildMenus(&bar);
        } catch (const EListError &e) {
            raised = e.Message();
        }
        QCOMPARE(raised, error);
        QCOMPARE(describe(bar.actions()), shape);
        QCOMPARE(bar.findChildren<TMenuItemAccess *>().size(), error.isEmpty() ? 4 : 0); // A2 is plain
    }

    void noAddAndHidden_data()
    {
        QTest::addColumn<bool>("hide");
        QTest::addColumn<QString>("shape");
        QTest::newRow("hide mode") << true << "S~(L~,N(NL~)),T~";
        QTest::newRow("disable mode") << false << "S(L~,N(NL~)),T~";
    }
    void noAddAndHidden()
    {
        QFETCH(bool, hide);
        QFETCH(QString, shape);
        TVrelMenuManager m;
        addEntry(m.Items(), "gone", 1).SetNoAdd(true);
        addEntry(m.Items(), "gone child");
        addEntry(m.Items(), "S", 2).SetHidden(true);
        addEntry(m.Items(), "L").SetHidden(true);
        addEntry(m.Items(), "N", 1).SetHidden(true);
        addEntry(m.Items(), "NL").SetHidden(true);
        addEntry(m.Items(), "T").SetHidden(true);
        m.SetHideMode(hide);
        QMenuBar bar;
        m.BuildMenus(&bar);
        QCOMPARE(describe(bar.actions()), shape);
    }

    void separatorsAndWindowItems()
    {
        TVrelMenuManager m;
        addEntry(m.Items(), "-");
        addEntry(m.Items(), "W", 2);
        addEntry(m.Items(), "-");
        addEntry(m.Items(), "items").SetMenuStyle(msWindowsItem);
        QMenuBar bar;
        m.BuildMenus(&bar);
        // At the top level "-" is an ordinary item (still shown as a line).
        QCOMPARE(describe(bar.actions()), "-,W(-,,)");
        QVERIFY(!qobject_cast<TMenuItemAccess *>(child(bar.actions().at(1), 0)));
        QVERIFY(qobject_cast<TMenuItemAccess *>(bar.actions().at(0)));
    }

    void radioItemsOfAGroup()
    {
        TVrelMenuManager m;
        addEntry(m.Items(), "P", 3);
        addEntry(m.Items(), "r1").SetGroupIndex(3);
        addEntry(m.Items(), "r2").SetGroupIndex(3);
        addEntry(m.Items(), "other").SetGroupIndex(4);
        addEntry(m.Items(), "Q", 1);
        addEntry(m.Items(), "q1").SetGroupIndex(3);
        QList<bool> reported;
        QList<QObject *> senders;
        m.OnCommand = [&](QObject *sender, TMenuCollectionItem *, bool checked, bool &) {
            reported << checked;
            senders << sender;
        };
        QMenuBar bar;
        m.BuildMenus(&bar);
        auto *r1 = qobject_cast<TMenuItemAccess *>(child(bar.actions().at(0), 0));
        auto *r2 = qobject_cast<TMenuItemAccess *>(child(bar.actions().at(0), 1));
        QAction *other = child(bar.actions().at(0), 2);
        QAction *q1 = child(bar.actions().at(1), 0);
        QVERIFY(r1->RadioItem());
        QCOMPARE(r1->GroupIndex(), 3);
        q1->trigger();
        other->trigger();
        r1->trigger();
        QVERIFY(r1->isChecked());
        r2->trigger();
        QVERIFY(r2->isChecked());
        QVERIFY(!r1->isChecked()); // same group, same menu
        QVERIFY(q1->isChecked());  // same group number, another menu
        QVERIFY(other->isChecked()); // another group
        r2->trigger(); // a checked radio item stays checked
        QVERIFY(r2->isChecked());
        QCOMPARE(reported, (QList<bool>{true, true, true, true, true}));
        QCOMPARE(senders.at(2), r1);
    }

    void toggleAndPlainClicks_data()
    {
        QTest::addColumn<bool>("toogle");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QList<bool>>("reported");
        QTest::newRow("toggle from unchecked") << true << false << QList<bool>{true, false, true};
        QTest::newRow("toggle from checked") << true << true << QList<bool>{false, true, false};
        QTest::newRow("plain unchecked") << false << false << QList<bool>{false, false, false};
        QTest::newRow("plain checked") << false << true << QList<bool>{true, true, true};
    }
    void toggleAndPlainClicks()
    {
        QFETCH(bool, toogle);
        QFETCH(bool, checked);
        QFETCH(QList<bool>, reported);
        TVrelMenuManager m;
        addEntry(m.Items(), "P", 1);
        TMenuCollectionItem &e = addEntry(m.Items(), "t");
        e.SetToogle(toogle);
        e.SetChecked(checked);
        QList<bool> seen;
        TMenuCollectionItem *entrySeen = nullptr;
        m.OnCommand = [&](QObject *, TMenuCollectionItem *item, bool c, bool &done) {
            seen << c;
            entrySeen = item;
            done = true;
        };
        QMenuBar bar;
        m.BuildMenus(&bar);
        QAction *t = child(bar.actions().at(0), 0);
        for (int i = 0; i < 3; ++i) {
            t->trigger();
            QCOMPARE(t->isChecked(), reported.at(i));
        }
        QCOMPARE(seen, reported);
        QCOMPARE(entrySeen, &e);
    }

    void menuClickFindsTheEntry()
    {
        ScriptedPrompter prompter;
        TVrelMenuManager m;
        addEntry(m.Items(), "first");
        TMenuCollectionItem &coded = addEntry(m.Items(), "coded");
        coded.SetCommand("1000");
        m.RegisterItem(coded);
        TMenuCollectionItem *got = nullptr;
        int calls = 0;
        m.OnCommand = [&](QObject *, TMenuCollectionItem *item, bool, bool &) { got = item, ++calls; };
        TMenuItemAccess item(nullptr);
        item.SetMenuIndex(-1);
        item.SetCommand("1000");
        m.MenuClick(&item);
        QCOMPARE(got, &coded);
        item.SetCommand("9999"); // no such code: nothing happens
        m.MenuClick(&item);
        QCOMPARE(calls, 1);
        m.CommandExecute(&item);
        QCOMPARE(calls, 1);
        item.SetMenuIndex(0);
        m.CommandExecute(&item);
        QCOMPARE(got, m.FindByIndex(0));
        item.SetMenuIndex(5);
        QVERIFY_THROWS_EXCEPTION(EListError, m.MenuClick(&item));
        item.SetMenuIndex(-1);
        item.SetCommand(QString());
        QVERIFY_THROWS_EXCEPTION(ERangeError, m.MenuClick(&item));
        QAction plain;
        QVERIFY_THROWS_EXCEPTION(EInvalidCast, m.MenuClick(&plain));
        QObject notAnItem;
        QVERIFY_THROWS_EXCEPTION(EInvalidCast, m.WindowClick(&notAnItem));
        // A click whose handling fails reaches the error box, not the event loop.
        QMenuBar bar;
        m.BuildMenus(&bar);
        m.Items().Delete(1);
        bar.actions().at(1)->trigger();
        QCOMPARE(prompter.Errors, QStringList{"List index out of bounds (1)"});
    }

    void rangeErrorsStopTheBuild_data()
    {
        QTest::addColumn<int>("permission");
        QTest::addColumn<int>("groupIndex");
        QTest::newRow("permission 65536") << 65536 << 0;
        QTest::newRow("permission -1") << -1 << 0;
        QTest::newRow("group index 256") << 1 << 256;
        QTest::newRow("group index -1") << 1 << -1;
    }
    void rangeErrorsStopTheBuild()
    {
        QFETCH(int, permission);
        QFETCH(int, groupIndex);
        TVrelMenuManager m;
        addEntry(m.Items(), "P", 2);
        addEntry(m.Items(), "ok");
        TMenuCollectionItem &bad = addEntry(m.Items(), "bad", 0, permission);
        bad.SetGroupIndex(groupIndex);
        addEntry(m.Items(), "never");
        QMenuBar bar;
        QVERIFY_THROWS_EXCEPTION(ERangeError, m.BuildMenus(&bar));
        QCOMPARE(describe(bar.actions()), "P(ok)");
    }

    void countPastTheEndKeepsWhatWasBuilt()
    {
        TVrelMenuManager m;
        addEntry(m.Items(), "B");
        addEntry(m.Items(), "A", 2);
        addEntry(m.Items(), "A1");
        QMenuBar bar;
        QTreeWidget tree;
        try {
            m.BuildMenus(&bar);
            QFAIL("no error");
        } catch (const EListError &e) {
            QCOMPARE(e.Message(), "List index out of bounds (3)");
        }
        QCOMPARE(describe(bar.actions()), "B,A(A1)");
        QVERIFY_THROWS_EXCEPTION(EListError, m.BuildMenus(&tree, true));
        QCOMPARE(describe(tree), "B,A(A1)");
        QVERIFY(tree.updatesEnabled());
    }

    void windowCommandsInPlaceOfTheLeaf()
    {
        TVrelMenuManager m;
        addEntry(m.Items(), "W", 3);
        addEntry(m.Items(), "W1");
        addEntry(m.Items(), "windows").SetMenuStyle(msWindows);
        addEntry(m.Items(), "W2");
        m.SetWindowCloseAll("close all");
        QMainWindow form;
        auto *area = new QMdiArea;
        form.setCentralWidget(area);
        area->addSubWindow(new QWidget)->setWindowTitle("first");
        area->addSubWindow(new QWidget)->setWindowTitle("second");
        m.SetForm(&form);
        QMenuBar bar;
        m.BuildMenus(&bar);
        QAction *w = bar.actions().at(0);
        const QString six = m.WindowCascade() + u',' + m.WindowTileHorz() + u',' + m.WindowTileVert()
                            + QStringLiteral(",-,close all,-");
        QCOMPARE(describe(w->menu()->actions()), "W1," + six + ",W2");
        const QList<QAction *> items = w->menu()->actions();
        QCOMPARE(MenuItemTag(items.at(1)), 0);
        QCOMPARE(MenuItemTag(items.at(2)), 1);
        QCOMPARE(MenuItemTag(items.at(3)), 2);
        QCOMPARE(MenuItemTag(items.at(5)), 3);
        QCOMPARE(ClickHandlerOf(items.at(5)), TClickHandler::WindowClick);
        QCOMPARE(ClickHandlerOf(items.at(4)), TClickHandler::None);
        QVERIFY(!qobject_cast<TMenuItemAccess *>(items.at(1)));
        // The open child windows follow all of W's items, anew each time it opens.
        for (int i = 0; i < 2; ++i) {
            emit w->menu()->aboutToShow();
            QCOMPARE(describe(w->menu()->actions()),
                     "W1," + six + ",W2,&1 first,&2 second");
        }
        area->subWindowList().at(0)->close();
        emit w->menu()->aboutToShow();
        QCOMPARE(describe(w->menu()->actions()), "W1," + six + ",W2,&1 second");
    }

    void windowCommandsWithoutAForm()
    {
        TVrelMenuManager m;
        addEntry(m.Items(), "W", 1);
        addEntry(m.Items(), "windows").SetMenuStyle(msWindows);
        QMenuBar bar;
        m.BuildMenus(&bar);
        QMenu *menu = bar.actions().at(0)->menu();
        QCOMPARE(menu->actions().size(), 6);
        emit menu->aboutToShow();
        QCOMPARE(menu->actions().size(), 6);
        menu->actions().at(0)->trigger(); // cascade with no window: nothing happens
    }

    void windowClickArrangesChildWindows_data()
    {
        QTest::addColumn<int>("tag");
        QTest::newRow("cascade") << 0;
        QTest::newRow("side by side") << 1;
        QTest::newRow("one above another") << 2;
        QTest::newRow("close all") << 3;
        QTest::newRow("unknown tag") << 9;
    }
    void windowClickArrangesChildWindows()
    {
        QFETCH(int, tag);
        TVrelMenuManager m;
        QMainWindow form;
        auto *area = new QMdiArea;
        form.setCentralWidget(area);
        form.resize(800, 600);
        QList<QMdiSubWindow *> windows;
        for (int i = 0; i < 2; ++i) {
            windows << area->addSubWindow(new QWidget);
            windows.last()->setGeometry(10, 10, 100, 100);
        }
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        m.SetForm(&form);
        QAction command;
        command.setData(tag);
        m.WindowClick(&command);
        const QRect a = windows.at(0)->geometry();
        const QRect b = windows.at(1)->geometry();
        const QRect whole = area->viewport()->rect();
        switch (tag) {
        case 0:
            QVERIFY(b.x() > a.x() && b.y() > a.y());
            break;
        case 1:
            QCOMPARE(a.y(), b.y());
            QCOMPARE(a.width() + b.width(), whole.width());
            QCOMPARE(a.height(), whole.height());
            QCOMPARE(b.x(), a.right() + 1);
            break;
        case 2:
            QCOMPARE(a.x(), b.x());
            QCOMPARE(a.height() + b.height(), whole.height());
            QCOMPARE(a.width(), whole.width());
            QCOMPARE(b.y(), a.bottom() + 1);
            break;
        case 3:
            QTRY_VERIFY(area->subWindowList().isEmpty());
            break;
        default:
            QCOMPARE(a, QRect(10, 10, 100, 100));
            QCOMPARE(b, QRect(10, 10, 100, 100));
        }
    }

    // A built node keeps its entry itself; any other node keeps the entry
    // SetNodeEntry gives it in its data. No node has no entry.
    void nodesReferToTheirEntries()
    {
        TVrelMenuManager m;
        addEntry(m.Items(), "A");
        addEntry(m.Items(), "B");
        QTreeWidget tree;
        m.BuildMenus(&tree, true);
        QTreeWidgetItem *built = tree.topLevelItem(0);
        QCOMPARE(built->type(), TMenuTreeNode::kType);
        QCOMPARE(NodeEntry(built), m.FindByIndex(0));
        SetNodeEntry(built, m.FindByIndex(1));
        QCOMPARE(static_cast<TMenuTreeNode *>(built)->Entry(), m.FindByIndex(1));
        QVERIFY(!built->data(0, Qt::UserRole).isValid());

        QTreeWidgetItem plain;
        QCOMPARE(NodeEntry(&plain), nullptr);
        SetNodeEntry(&plain, m.FindByIndex(0));
        QCOMPARE(NodeEntry(&plain), m.FindByIndex(0));
        QCOMPARE(NodeEntry(nullptr), nullptr);
        // A copy the tree makes of a built node is a plain node without an entry.
        std::unique_ptr<QTreeWidgetItem> copy(built->clone());
        QCOMPARE(NodeEntry(copy.get()), nullptr);
    }

    void treeLeavesOutUnsearchableSubtrees()
    {
        TVrelMenuManager m;
        addEntry(m.Items(), "X", 1).SetSearch(false);
        addEntry(m.Items(), "X1");
        addEntry(m.Items(), "Y");
        QTreeWidget tree;
        tree.addTopLevelItem(new QTreeWidgetItem(QStringList{"old"}));
        m.BuildMenus(&tree, false);
        QCOMPARE(describe(tree), "Y");
        QCOMPARE(NodeEntry(tree.topLevelItem(0)), m.FindByIndex(2));
        m.BuildMenus(&tree, true);
        QCOMPARE(describe(tree), "X(X1),Y");
    }

    void treeTakesEveryEntryAsAPlainNode()
    {
        TVrelMenuManager m;
        addEntry(m.Items(), " \t[1000] padded \r", 3).SetNoAdd(true);
        addEntry(m.Items(), "-");
        addEntry(m.Items(), "hidden").SetHidden(true);
        addEntry(m.Items(), "win").SetMenuStyle(msWindows);
        addEntry(m.Items(), "locked", 0, 0);
        m.SetLevel(quint16(0));
        QTreeWidget tree;
        m.BuildMenus(&tree, true);
        QCOMPARE(describe(tree), "[1000] padded(-,hidden,win),locked");
    }

    void deepTreesDoNotRecurse()
    {
        TVrelMenuManager m;
        constexpr int kDepth = 20000;
        for (int i = 0; i < kDepth; ++i)
            addEntry(m.Items(), QString::number(i), i + 1 < kDepth ? 1 : 0);
        QTreeWidget tree;
        m.BuildMenus(&tree, true);
        const QTreeWidgetItem *node = tree.topLevelItem(0);
        int depth = 1;
        while (node->childCount()) {
            node = node->child(0);
            ++depth;
        }
        QCOMPARE(depth, kDepth);
        QCOMPARE(node->text(0), QString::number(kDepth - 1));
    }

    void nullTargetsDoNothing()
    {
        TVrelMenuManager m;
        fillABC(m.Items());
        m.BuildMenus(static_cast<QMenuBar *>(nullptr));
        m.BuildMenus(static_cast<QTreeWidget *>(nullptr), true);
    }

    void buildingTwiceAddsTwice()
    {
        TVrelMenuManager m;
        addEntry(m.Items(), "B");
        QMenuBar bar;
        m.BuildMenus(&bar);
        m.BuildMenus(&bar);
        QCOMPARE(describe(bar.actions()), "B,B");
    }

    void shortCutText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QKeySequence>("shortCut");
        QTest::addColumn<QString>("back"); // text form of the shortcut
        QTest::newRow("function key") << "F1" << QKeySequence(Qt::Key_F1) << "F1";
        QTest::newRow("ctrl") << "Ctrl+F12" << QKeySequence(Qt::CTRL | Qt::Key_F12) << "Ctrl+F12";
        QTest::newRow("all modifiers in their order")
            << "Alt+Shift+Ctrl+Del" << QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::ALT | Qt::Key_Delete)
            << "Shift+Ctrl+Alt+Del";
        QTest::newRow("letter case") << "ctrl+a" << QKeySequence(Qt::CTRL | Qt::Key_A) << "Ctrl+A";
        QTest::newRow("digit") << "Alt+0" << QKeySequence(Qt::ALT | Qt::Key_0) << "Alt+0";
        const struct {
            const char *name;
            Qt::Key key;
        } named[] = {{"BkSp", Qt::Key_Backspace}, {"Tab", Qt::Key_Tab},    {"Enter", Qt::Key_Return},
                     {"Esc", Qt::Key_Escape},     {"Space", Qt::Key_Space}, {"PgUp", Qt::Key_PageUp},
                     {"PgDn", Qt::Key_PageDown},  {"End", Qt::Key_End},     {"Home", Qt::Key_Home},
                     {"Left", Qt::Key_Left},      {"Up", Qt::Key_Up},       {"Right", Qt::Key_Right},
                     {"Down", Qt::Key_Down},      {"Ins", Qt::Key_Insert},  {"Del", Qt::Key_Delete}};
        for (const auto &n : named)
            QTest::newRow(n.name) << QStringLiteral("Shift+") + n.name << QKeySequence(Qt::SHIFT | n.key)
                                  << QStringLiteral("Shift+") + n.name;
        for (const char *bad : {"", "Bogus", "Ctrl+", "F25", "F01", "F0", "Ctrl+AB", " F1"})
            QTest::newRow(qPrintable(QStringLiteral("unrecognised '%1'").arg(bad)))
                << bad << QKeySequence() << "";
    }
    void shortCutText()
    {
        QFETCH(QString, text);
        QFETCH(QKeySequence, shortCut);
        QFETCH(QString, back);
        QCOMPARE(TextToShortCut(text), shortCut);
        QCOMPARE(ShortCutToText(shortCut), back);
    }
};

QTEST_MAIN(TestMenuBuild)
#include "tst_menubuild.moc"
