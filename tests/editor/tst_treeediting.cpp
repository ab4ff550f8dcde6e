// Moving entries (Ctrl+Up, Ctrl+Down, drag and drop), deleting subtrees, the
// permission cascade, and undo/redo of every kind of change with DataChanged
// following; each case ends with what saving the document would write.
#include "EditorWindow.h"
#include "EditCommands.h"
#include "EditMenuItem.h"
#include "Global.h"
#include "vrelFramework.h"

#include <QAction>
#include <QToolButton>

namespace {
QByteArray bytesOf(const QString &fileName)
{
    QFile f(fileName);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class TestTreeEditing : public QObject {
    Q_OBJECT

    TVrelFramework FFramework;
    EditorWindowFixture F;

    void expandOnly(const QStringList &expanded)
    {
        F.Main->TreeList->collapseAll();
        for (const QString &text : expanded)
            F.node(text)->setExpanded(true);
    }

    QByteArray savedBytes() { return bytesOf(F.savedFile()); }

private slots:
    void initTestCase() { SetSettingsFileName(F.path(u"Brenvik.INI"_qs)); LoadSettings(); }
    void init() { F.start(); }
    void cleanup() { F.stop(); }

    void moves_data()
    {
        QTest::addColumn<QString>("outline");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QStringList>("expanded");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QString>("after"); // empty: nothing moves
        const QString m = u"A(A1,A2(A21,A22),A3),B(B1),C"_qs;
        const QStringList all{u"A"_qs, u"A2"_qs, u"B"_qs};
        QTest::newRow("up: first node") << m << u"A"_qs << all << true << QString();
        QTest::newRow("up: previous sibling collapsed") << m << u"B"_qs << QStringList{} << true
                                                        << u"B(B1),A(A1,A2(A21,A22),A3),C"_qs;
        QTest::newRow("up: first child leaves its parent") << m << u"A1"_qs << all << true
                                                           << u"A1,A(A2(A21,A22),A3),B(B1),C"_qs;
        QTest::newRow("up: into the expanded previous sibling") << m << u"B"_qs << all << true
                                                                << u"A(A1,A2(A21,A22),A3,B(B1)),C"_qs;
        QTest::newRow("up: into the deepest expanded entry") << m << u"A3"_qs << all << true
                                                             << u"A(A1,A2(A21,A22,A3)),B(B1),C"_qs;
        QTest::newRow("up: past a collapsed sibling") << m << u"A3"_qs << QStringList{u"A"_qs} << true
                                                      << u"A(A1,A3,A2(A21,A22)),B(B1),C"_qs;
        QTest::newRow("down: last top-level") << m << u"C"_qs << all << false << QString();
        QTest::newRow("down: last top-level with children") << u"A,B(B1)"_qs << u"B"_qs << QStringList{u"B"_qs}
                                                            << false << QString();
        QTest::newRow("down: exchange with next sibling") << m << u"B"_qs << all << false
                                                          << u"A(A1,A2(A21,A22),A3),C,B(B1)"_qs;
        QTest::newRow("down: last child out of its parent") << m << u"A3"_qs << QStringList{u"A"_qs} << false
                                                            << u"A(A1,A2(A21,A22)),A3,B(B1),C"_qs;
        QTest::newRow("down: last child two levels up") << m << u"A22"_qs << QStringList{u"A"_qs, u"A2"_qs}
                                                        << false << u"A(A1,A2(A21),A22,A3),B(B1),C"_qs;
        QTest::newRow("down: into the expanded next entry") << m << u"A3"_qs << all << false
                                                            << u"A(A1,A2(A21,A22)),B(A3,B1),C"_qs;
        QTest::newRow("down: first child of the expanded sibling") << m << u"A1"_qs << all << false
                                                                   << u"A(A2(A1,A21,A22),A3),B(B1),C"_qs;
    }
    void moves()
    {
        QFETCH(QString, outline);
        QFETCH(QString, selected);
        QFETCH(QStringList, expanded);
        QFETCH(bool, up);
        QFETCH(QString, after);
        F.open(outline);
        expandOnly(expanded);
        F.select(selected);
        QTest::keyClick(F.Main->TreeList, up ? Qt::Key_Up : Qt::Key_Down, Qt::ControlModifier);
        const QString expected = after.isEmpty() ? outline : after;
        QCOMPARE(F.outline(), expected);
        QCOMPARE(F.selectedText(), selected);
        QCOMPARE(F.Main->DataChanged, !after.isEmpty());
        QCOMPARE(F.saved(), expected);
        if (after.isEmpty())
            return;
        QTreeWidgetItem *moved = F.node(selected);
        for (QTreeWidgetItem *p = moved->parent(); p; p = p->parent())
            QVERIFY(p->isExpanded());
        // One step back and forth.
        QTest::keyClick(F.Main->TreeList, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(F.saved(), outline);
        QVERIFY(!F.Main->DataChanged);
        QTest::keyClick(F.Main->TreeList, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(F.saved(), expected);
        QVERIFY(F.Main->DataChanged);
    }

    void movedSubtreeKeepsItsExpansion()
    {
        F.open(u"A,B(B1(B11))"_qs);
        F.Main->TreeList->expandAll();
        F.select(u"B"_qs);
        F.Main->actMoveUp->trigger();
        QCOMPARE(F.outline(), u"B(B1(B11)),A"_qs);
        QVERIFY(F.node(u"B"_qs)->isExpanded());
        QVERIFY(F.node(u"B1"_qs)->isExpanded());
    }

    void moveDownFindsTheNodeAfterTheSubtree()
    {
        F.open(u"A(A1(A11)),B"_qs);
        F.Main->TreeList->expandAll();
        QCOMPARE(FindMoveDownTarget(F.node(u"A"_qs)), F.node(u"B"_qs));
        QCOMPARE(FindMoveDownTarget(F.node(u"A11"_qs)), F.node(u"B"_qs));
        QVERIFY(!FindMoveDownTarget(F.node(u"B"_qs)));
    }

    void drops_data()
    {
        QTest::addColumn<QString>("dragged");
        QTest::addColumn<QString>("target");   // empty: below every row
        QTest::addColumn<int>("x");
        QTest::addColumn<QString>("after");    // empty: nothing changes
        QTest::newRow("X = 28 inserts before") << u"C"_qs << u"A"_qs << 28 << u"C,A(A1,A2),B(B1)"_qs;
        QTest::newRow("X = 29 makes the last child") << u"C"_qs << u"A"_qs << 29 << u"A(A1,A2,C),B(B1)"_qs;
        QTest::newRow("subtree onto a nested row") << u"B"_qs << u"A1"_qs << 60 << u"A(A1(B(B1)),A2),C"_qs;
        QTest::newRow("nested before a top-level row") << u"A2"_qs << u"C"_qs << 10 << u"A(A1),B(B1),A2,C"_qs;
        QTest::newRow("onto itself") << u"A"_qs << u"A"_qs << 60 << QString();
        QTest::newRow("onto a descendant") << u"A"_qs << u"A1"_qs << 60 << QString();
        QTest::newRow("outside every row") << u"A"_qs << QString() << 60 << QString();
    }
    void drops()
    {
        QFETCH(QString, dragged);
        QFETCH(QString, target);
        QFETCH(int, x);
        QFETCH(QString, after);
        const QString outline = u"A(A1,A2),B(B1),C"_qs;
        F.open(outline);
        F.Main->TreeList->expandAll();
        F.select(dragged);
        const int y = target.isEmpty()
                          ? F.Main->TreeList->viewport()->height() - 2
                          : F.Main->TreeList->visualItemRect(F.node(target)).center().y();
        QVERIFY(F.Main->TreeListDragOver());
        F.Main->TreeListDragDrop(x, y);
        const QString expected = after.isEmpty() ? outline : after;
        QCOMPARE(F.outline(), expected);
        QCOMPARE(F.saved(), expected);
        QCOMPARE(F.Main->DataChanged, !after.isEmpty());
        if (after.isEmpty())
            return;
        QCOMPARE(F.selectedText(), dragged);
        if (x > 28)
            QVERIFY(F.node(dragged)->childCount() == 0 || !F.node(dragged)->isExpanded());
        F.Main->actUndo->trigger();
        QCOMPARE(F.saved(), outline);
        QVERIFY(!F.Main->DataChanged);
    }

    void deleteTakesTheWholeSubtreeOutAndUndoBringsItBack()
    {
        F.open(u"A(A1,A2(A21=2100)),B=2000"_qs);
        const int entries = MenuManager->Items().Count();
        QVERIFY(MenuManager->FindByCode(u"2100"_qs));
        F.select(u"A"_qs);
        F.Prompter->Answers.enqueue(QMessageBox::Ok);
        QTest::keyClick(F.Main->TreeList, Qt::Key_Delete);
        QCOMPARE(F.Prompter->Questions.size(), 1);
        QCOMPARE(F.saved(), u"B"_qs);
        QCOMPARE(MenuManager->Items().Count(), entries - 4);
        QCOMPARE(MenuManager->FindByCode(u"2100"_qs), nullptr);
        QCOMPARE(MenuManager->Items().Items(0), NodeEntry(F.node(u"B"_qs)));
        QVERIFY(F.Main->DataChanged);

        F.Main->actUndo->trigger();
        QCOMPARE(F.saved(), u"A(A1,A2(A21)),B"_qs);
        QCOMPARE(MenuManager->Items().Count(), entries);
        QCOMPARE(MenuManager->FindByCode(u"2100"_qs), NodeEntry(F.node(u"A21"_qs)));
        for (int i = 0; i < entries; ++i)
            QCOMPARE(MenuManager->Items().Items(i)->Index(), i);
        QCOMPARE(F.selectedText(), u"A"_qs);
        QVERIFY(!F.Main->DataChanged);
        F.Main->actRedo->trigger();
        QCOMPARE(F.saved(), u"B"_qs);
        QCOMPARE(MenuManager->Items().Count(), entries - 4);
    }

    void cascade_data()
    {
        QTest::addColumn<bool>("cascade");
        QTest::newRow("ticked: every level below") << true;
        QTest::newRow("unticked: descendants keep theirs") << false;
    }
    void cascade()
    {
        QFETCH(bool, cascade);
        F.open(u"A(B(C(D))),E"_qs);
        F.select(u"A"_qs);
        F.Main->EditMenuItem = [cascade](TMenuCollectionItem &item, bool &c) {
            item.SetPermission(6);
            c = cascade;
            return true;
        };
        F.Main->actEdit->trigger();
        TMenuCollection saved;
        saved.SetSaveMode(smText);
        QVERIFY(saved.LoadFromFile(F.savedFile()));
        QCOMPARE(saved.Count(), 5);
        QCOMPARE(saved.Items(0)->Permission(), 6);
        for (int i = 1; i <= 3; ++i)
            QCOMPARE(saved.Items(i)->Permission(), cascade ? 6 : 65535);
        QCOMPARE(saved.Items(4)->Permission(), 65535);
        F.Main->actUndo->trigger();
        QVERIFY(saved.LoadFromFile(F.savedFile()));
        for (int i = 0; i < 5; ++i)
            QCOMPARE(saved.Items(i)->Permission(), 65535);
    }

    // Every kind of change is one step: undo gives back the saved state and
    // the selection, redo the changed one, and DataChanged follows.
    void undoRedo_data()
    {
        QTest::addColumn<QString>("change");
        for (const char *change : {"add", "add child", "separator", "copy", "delete", "edit", "move up",
                                   "move down", "drop", "group", "merge"})
            QTest::newRow(change) << QString::fromLatin1(change);
    }
    void undoRedo()
    {
        QFETCH(QString, change);
        F.open(u"A(A1,A2(A21)),B(B1),C"_qs);
        F.Main->TreeList->expandAll();
        F.select(u"A2"_qs);
        const QByteArray before = savedBytes();
        QTreeWidgetItem *selectedBefore = F.Main->TreeList->currentItem();
        F.Main->EditMenuItem = [](TMenuCollectionItem &item, bool &cascade) {
            item.SetCaption(item.Caption() + u"*"_qs);
            item.SetPermission(3);
            cascade = true;
            return true;
        };
        if (change == u"add") {
            F.Main->actAdd->trigger();
        } else if (change == u"add child") {
            F.Main->actAddChild->trigger();
        } else if (change == u"separator") {
            F.Main->AcInsertSeperate->trigger();
        } else if (change == u"copy") {
            F.Main->acCopy->trigger();
        } else if (change == u"delete") {
            F.Prompter->Answers.enqueue(QMessageBox::Ok);
            F.Main->actDelete->trigger();
        } else if (change == u"edit") {
            F.Main->actEdit->trigger();
        } else if (change == u"move up") {
            F.Main->actMoveUp->trigger();
        } else if (change == u"move down") {
            F.Main->actMoveDown->trigger();
        } else if (change == u"drop") {
            F.Main->TreeListDragDrop(60, F.Main->TreeList->visualItemRect(F.node(u"C"_qs)).center().y());
        } else if (change == u"group") {
            F.Prompter->Inputs.enqueue(u"영업"_qs);
            F.Main->findChild<QAction *>(u"mnuGroup"_qs)->trigger();
        } else if (change == u"merge") {
            TMenuCollection other;
            addEntry(other, u"M"_qs, 1);
            addEntry(other, u"M1"_qs);
            const QString file = F.path(u"other.dat"_qs);
            writeMenuFile(other, file, smBinary);
            F.Prompter->OpenNames.enqueue(file);
            F.Main->acAppend->trigger();
        }
        const QByteArray after = savedBytes();
        QVERIFY(after != before);
        QVERIFY(F.Main->DataChanged);
        QTreeWidgetItem *selectedAfter = F.Main->TreeList->currentItem();
        const int entriesAfter = MenuManager->Items().Count();
        QVERIFY(F.Main->actUndo->isEnabled());

        QTest::keyClick(F.Main->TreeList, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(savedBytes(), before);
        QVERIFY(!F.Main->DataChanged);
        QCOMPARE(F.Main->TreeList->currentItem(), selectedBefore);
        QVERIFY(!F.Main->actUndo->isEnabled());
        QVERIFY(F.Main->actRedo->isEnabled());

        QTest::keyClick(F.Main->TreeList, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(savedBytes(), after);
        QVERIFY(F.Main->DataChanged);
        QCOMPARE(F.Main->TreeList->currentItem(), selectedAfter);
        QCOMPARE(MenuManager->Items().Count(), entriesAfter);
    }

    void savingMakesTheStateClean()
    {
        F.open(u"A,B"_qs);
        F.select(u"B"_qs);
        F.Main->actMoveUp->trigger();
        QVERIFY(F.Main->DataChanged);
        F.Main->actSave->trigger();
        QVERIFY(!F.Main->DataChanged);
        QCOMPARE(fileOutline(F.Main->CurrentFile), u"B,A"_qs);
        // Undoing past the saved state is a change again; redoing returns to it.
        F.Main->actUndo->trigger();
        QVERIFY(F.Main->DataChanged);
        F.Main->actRedo->trigger();
        QVERIFY(!F.Main->DataChanged);
        // A newly opened document starts with nothing to undo.
        F.open(u"X"_qs);
        QVERIFY(!F.Main->actUndo->isEnabled());
        QVERIFY(!F.Main->DataChanged);
    }

    void rightClickSelectsTheNode()
    {
        F.open(u"A,B,C"_qs);
        F.select(u"A"_qs);
        const QPoint at = F.Main->TreeList->visualItemRect(F.node(u"C"_qs)).center();
        QTest::mousePress(F.Main->TreeList->viewport(), Qt::RightButton, {}, at);
        QTest::mouseRelease(F.Main->TreeList->viewport(), Qt::RightButton, {}, at);
        QCOMPARE(F.selectedText(), u"C"_qs);
        // The pop-up's commands act on it.
        F.Prompter->Answers.enqueue(QMessageBox::Ok);
        F.Main->findChild<QAction *>(u"pmDelete"_qs)->trigger();
        QCOMPARE(F.saved(), u"A,B"_qs);
    }

    void groupAssignmentWithEmptyTextReachesCollapsedBranches()
    {
        F.open(u"A(A1(A11)),B"_qs);
        F.select(u"A1"_qs);
        F.Main->AcInsertSeperate->trigger(); // a separator inside A1
        for (QTreeWidgetItemIterator it(F.Main->TreeList); *it; ++it)
            NodeEntry(*it)->SetGroup(u"old"_qs);
        F.Main->TreeList->collapseAll();
        F.Prompter->Inputs.enqueue(u""_qs);
        F.Main->findChild<QAction *>(u"mnuGroup"_qs)->trigger();
        TMenuCollection saved;
        saved.SetSaveMode(smText);
        QVERIFY(saved.LoadFromFile(F.savedFile()));
        QCOMPARE(saved.Count(), 5);
        for (int i = 0; i < saved.Count(); ++i)
            QCOMPARE(saved.Items(i)->Group(), QString());
        QCOMPARE(saved.Items(3)->Caption(), u"-"_qs);
    }

    void previewOfAnUnsavedDocumentAsksForAName()
    {
        F.Main->actNew->trigger();
        F.Main->EditMenuItem = [](TMenuCollectionItem &item, bool &) {
            item.SetCaption(u"N"_qs);
            return true;
        };
        F.Main->actAdd->trigger();
        const QString file = F.path(u"preview.dat"_qs);
        F.Prompter->SaveNames.enqueue(file);
        F.Main->findChild<QToolButton *>(u"tbPreview"_qs)->click();
        QCOMPARE(F.Prompter->SaveDialogs, 1);
        QCOMPARE(F.Main->CurrentFile, file);
        QCOMPARE(fileOutline(file), u"N"_qs);
        QVERIFY(!F.Main->DataChanged);
    }

    void undoAndRedoAreOnTheEditMenuAndToolbar()
    {
        QCOMPARE(F.Main->actUndo->shortcut(), QKeySequence(u"Ctrl+Z"_qs));
        QCOMPARE(F.Main->actRedo->shortcut(), QKeySequence(u"Ctrl+Y"_qs));
        QCOMPARE(F.Main->findChild<QToolButton *>(u"tbUndo"_qs)->defaultAction(), F.Main->actUndo);
        QCOMPARE(F.Main->findChild<QToolButton *>(u"tbRedo"_qs)->defaultAction(), F.Main->actRedo);
        QCOMPARE(F.Main->findChild<QAction *>(u"mnuUndo"_qs)->text(), u"실행 취소(&U)\tCtrl+Z"_qs);
        QCOMPARE(F.Main->findChild<QAction *>(u"mnuRedo"_qs)->text(), u"다시 실행(&R)\tCtrl+Y"_qs);
    }
};

QTEST_MAIN(TestTreeEditing)
#include "tst_treeediting.moc"
