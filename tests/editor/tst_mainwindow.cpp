// The editor's main window driven as a user does: actions, keys and mouse,
// the prompter answering the boxes; then the tree, the entries and the bytes
// on disk.
#include "EditMenuItem.h"
#include "FileSizeLimit.h"
#include "Global.h"
#include "Main.h"
#include "ScriptedPrompter.h"
#include "vrelCodePage.h"
#include "vrelFramework.h"
#include "vrelMenu.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

namespace {

const QByteArray kFrame = "<?xml version = \"1.0\" ?>\r\n<Menu-list>\r\n</Menu-list>\r\n";

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// A menu file from (caption, Count) pairs in pre-order.
void writeMenu(const QString &path, const QList<std::pair<QString, int>> &entries, TSaveMode mode)
{
    TMenuCollection items;
    items.SetSaveMode(mode);
    for (const auto &[caption, count] : entries) {
        TMenuCollectionItem *e = items.Add();
        e->SetCaption(caption);
        e->SetCount(count);
        e->SetPermission(65535);
        e->SetTop(u"stale"_qs);
    }
    items.SaveToFile(path);
}

// A menu file as this editor saves it (each entry's Count and Top right),
// with 40 top-level entries of 40 children each: more than two blocks of
// the file writer.
void writeBigMenu(const QString &path)
{
    TMenuCollection items;
    items.SetSaveMode(smText);
    for (int t = 0; t < 40; ++t) {
        const QString top = QStringLiteral("메뉴 %1").arg(t);
        TMenuCollectionItem *e = items.Add();
        e->SetCaption(top);
        e->SetCount(40);
        e->SetTop(top);
        for (int c = 0; c < 40; ++c) {
            TMenuCollectionItem *child = items.Add();
            child->SetCaption(QStringLiteral("[%1] 화면 %1").arg(t * 100 + c));
            child->SetCommand(QString::number(t * 100 + c));
            child->SetTop(top);
        }
    }
    items.SaveToFile(path);
}

QStringList topLevelTexts(const QTreeWidget *tree)
{
    QStringList texts;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        texts << tree->topLevelItem(i)->text(0);
    return texts;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    TVrelFramework FFramework;
    QTemporaryDir FDir;
    std::unique_ptr<ScriptedPrompter> FPrompter;
    std::unique_ptr<TfrmMain> FMain;
    QString FSample;

    QString path(const char *name) const { return FDir.filePath(QString::fromLatin1(name)); }

    // The sample menu, copied so that saving cannot touch the original.
    QString copyOfSample()
    {
        const QString copy = path("sample.dat");
        QFile::remove(copy);
        QFile::copy(FSample, copy);
        QFile(copy).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        return copy;
    }

    void openSample()
    {
        FPrompter->OpenNames.enqueue(copyOfSample());
        FMain->actOpen->trigger();
        QVERIFY(FMain->TreeList->topLevelItemCount() > 0);
    }

    // The property dialog as the Edit command runs it, with `user` playing
    // the user's part and pressing OK.
    void editWith(const std::function<void(TfrmEditMenuItem &)> &user)
    {
        FMain->EditMenuItem = [user](TMenuCollectionItem &item, bool &cascade) {
            return ShowEditMenuItem(item, cascade, nullptr, [&](TfrmEditMenuItem &d) {
                user(d);
                QTest::mouseClick(d.btnOK, Qt::LeftButton);
            });
        };
    }

private slots:
    void initTestCase()
    {
        FSample = QDir::cleanPath(QStringLiteral(VREL_TEST_DATA "/../../examples/sample.dat"));
        QVERIFY(QFile::exists(FSample));
        SetSettingsFileName(FDir.filePath(QStringLiteral("Brenvik.INI")));
        LoadSettings();
    }

    void init()
    {
        FPrompter = std::make_unique<ScriptedPrompter>();
        FMain = std::make_unique<TfrmMain>();
        FMain->show();
        FMain->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(FMain.get()));
    }

    void cleanup()
    {
        FMain->DataChanged = false;
        FMain.reset();
        MenuManager->Clear();
        FPrompter.reset();
    }

    // --- The window ---------------------------------------------------------

    void windowShell()
    {
        QCOMPARE(FMain->windowTitle(), u"Brenvik 1.12"_qs);
        // The client area lies below the menu bar.
        QCOMPARE(FMain->geometry().topLeft(), QPoint(456, 142));
        QCOMPARE(FMain->width(), 342);
        QCOMPARE(FMain->height() - FMain->menuBar()->height(), 536);
        QCOMPARE(FMain->font().pixelSize(), 12);
        QCOMPARE(FMain->font().family(), u"굴림체"_qs);
        // Whatever font stands in for 굴림체 shows Hangul.
        QVERIFY(QFontMetrics(FMain->font()).inFontUcs4(U'한'));
        QCOMPARE(FMain->Level->text(), u"65535"_qs);
        QVERIFY(FMain->Level->isReadOnly());
        QCOMPARE(FMain->Level->width(), 40);
        QVERIFY(FMain->tbCalc->toolTip().isEmpty());
        QCOMPARE(FMain->TreeList->indentation(), 28);
        QCOMPARE(FMain->TreeList->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(FMain->ImageList1.size(), 11);
        QCOMPARE(FMain->TreeImages.size(), 4);
        QCOMPARE(FMain->StateImages.size(), 2);
        QCOMPARE(FMain->TreeImages.first().availableSizes().first(), QSize(18, 18));
        QVERIFY(FMain->CurrentFile.isEmpty());
        QVERIFY(!FMain->DataChanged);
    }

    void actions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shortHint");
        QTest::addColumn<QString>("longHint");
        QTest::addColumn<bool>("picture");
        QTest::addColumn<QKeySequence>("key");
        const struct {
            const char *Name, *Short, *Long;
            bool Picture;
            QKeySequence Key;
        } rows[] = {
            {"actNew", "새로 만들기", "새 메뉴 데이터 파일을 만듭니다", true, QKeySequence(u"Ctrl+N"_qs)},
            {"actOpen", "열기", "메뉴 데이터 파일을 엽니다", true, QKeySequence(u"Ctrl+O"_qs)},
            {"actClose", "닫기", "편집중인 메뉴 데이터파일을 닫습니다", false, {}},
            {"acAppend", "병합", "다른 메뉴 파일을 불러와 합칩니다", false, {}},
            {"actSave", "저장", "편집중인 메뉴 데이터파일을 저장합니다", true, QKeySequence(u"Ctrl+S"_qs)},
            {"actSaveAs", "다른 이름으로 저장", "편집중인 메뉴 데이터파일을 다른 이름으로 저장합니다", false, {}},
            {"actExitApp", "끝내기", "편집을 마치고 종료합니다", false, {}},
            {"actDelete", "삭제", "현재 메뉴를 삭제합니다", true, QKeySequence(Qt::Key_Delete)},
            {"actAbout", "프로그램 정보", "메뉴 편집기의 등록정보를 보입니다", true, {}},
            {"actAdd", "추가", "메뉴를 추가합니다", true, QKeySequence(Qt::Key_Insert)},
            {"actAddChild", "하위메뉴 추가", "하위 메뉴를 추가합니다", true, QKeySequence(Qt::CTRL | Qt::Key_Insert)},
            {"AcInsertSeperate", "구분선", "구분선을 추가합니다", false, {}},
            {"actEdit", "편집", "선택한 메뉴 속성을 수정합니다", true, QKeySequence(Qt::Key_Return)},
            {"actPreView", "미리보기", "편집중인 메뉴를 실제모양으로 보입니다", true, {}},
            {"actExpand", "펼치기", "모든 메뉴를 펼칩니다", true, {}},
            {"acCollapse", "닫기", "모든 메뉴를 닫습니다", false, {}},
            {"actFind", "찾기", "메뉴를 검색합니다", false, QKeySequence(u"Ctrl+F"_qs)},
            {"actMoveUp", "위로", "현재 메뉴를 위로 이동합니다", false, QKeySequence(u"Ctrl+Up"_qs)},
            {"actMoveDown", "아래로", "현재 메뉴를 아래로 이동합니다", false, QKeySequence(u"Ctrl+Down"_qs)},
            {"acFindNext", "", "", false, QKeySequence(Qt::Key_F3)},
            {"acCopy", "복사", "메뉴 내용을 복사하여 새 메뉴를 만듭니다", false, {}},
        };
        for (const auto &r : rows)
            QTest::newRow(r.Name) << QString::fromLatin1(r.Name) << QString::fromUtf8(r.Short)
                                  << QString::fromUtf8(r.Long) << r.Picture << r.Key;
    }
    void actions()
    {
        QFETCH(QString, name);
        QFETCH(QString, shortHint);
        QFETCH(QString, longHint);
        QFETCH(bool, picture);
        QFETCH(QKeySequence, key);
        auto *action = FMain->findChild<QAction *>(name);
        QVERIFY(action);
        QCOMPARE(action->toolTip().isEmpty() ? QString() : action->toolTip(), shortHint);
        QCOMPARE(action->statusTip().isEmpty() ? QString() : action->statusTip(),
                 shortHint.isEmpty() ? QString() : shortHint + u'|' + longHint);
        QCOMPARE(!action->icon().isNull(), picture);
        QCOMPARE(action->shortcut(), key);
        QCOMPARE(FMain->ActionList.at(FMain->ActionList.indexOf(action)), action);
    }

    void toolbarMenusAndPopup()
    {
        QStringList toolbar;
        for (QObject *child : FMain->ToolBar1->children())
            if (auto *w = qobject_cast<QWidget *>(child); w && !w->objectName().isEmpty()
                                                          && !w->objectName().startsWith(u"qt_"))
                toolbar << w->objectName();
        QCOMPARE(toolbar, (QStringList{u"tbNew"_qs, u"tbOpen"_qs, u"tbSave"_qs, u"tbEdit"_qs, u"tbAdd"_qs,
                                       u"tbAddChild"_qs, u"tbDelete"_qs, u"tbUndo"_qs, u"tbRedo"_qs, u"tbPreview"_qs, u"tbAbout"_qs,
                                       u"Level"_qs, u"tbCalc"_qs}));
        QCOMPARE(FMain->findChild<QToolButton *>(u"tbSave"_qs)->defaultAction(), FMain->actSave);

        auto texts = [](const QMenu *menu) {
            QStringList t;
            for (QAction *a : menu->actions())
                t << (a->isSeparator() ? u"-"_qs : a->text().section(u'\t', 0, 0));
            return t;
        };
        const QList<QAction *> bar = FMain->menuBar()->actions();
        QCOMPARE(bar.size(), 4);
        QCOMPARE(bar.at(0)->text(), u"파일(&F)"_qs);
        QCOMPARE(texts(bar.at(0)->menu()),
                 (QStringList{u"새로 만들기(&N)"_qs, u"열기(&O)..."_qs, u"닫기(&C)"_qs, u"-"_qs, u"메뉴 병합(&M)..."_qs,
                              u"내보내기"_qs, u"-"_qs, u"저장(&S)"_qs, u"다른 이름으로 저장(&A)..."_qs, u"-"_qs,
                              u"끝내기(&X)"_qs}));
        QCOMPARE(texts(bar.at(1)->menu()),
                 (QStringList{u"실행 취소(&U)"_qs, u"다시 실행(&R)"_qs, u"-"_qs, u"속성(&P)..."_qs, u"-"_qs, u"메뉴 추가(&A)"_qs, u"하위메뉴 추가(&C)"_qs,
                              u"메뉴 삭제(&D)"_qs, u"-"_qs, u"구분선 추가(&S)"_qs, u"메뉴 복사(L)"_qs,
                              u"그룹 일괄지정(&G)"_qs, u"-"_qs, u"위로(&U)"_qs, u"아래로(N)"_qs, u"-"_qs,
                              u"찾기(&F)..."_qs, u"다음 찾기(&N)"_qs, u"-"_qs, u"옵션(&O)..."_qs}));
        QCOMPARE(texts(bar.at(2)->menu()),
                 (QStringList{u"미리보기(&P)..."_qs, u"-"_qs, u"모두 펼치기(&E)"_qs, u"모두 접기(&C)"_qs}));
        QCOMPARE(texts(bar.at(3)->menu()), QStringList{u"프로그램 정보(&A)..."_qs});
        QCOMPARE(texts(FMain->TreePopup),
                 (QStringList{u"메뉴 추가(&A)"_qs, u"하위메뉴 추가(&C)"_qs, u"메뉴 삭제(&D)"_qs, u"-"_qs,
                              u"구분선 추가(&S)"_qs, u"메뉴 복사(&L)"_qs, u"-"_qs, u"모두 펼치기(&E)"_qs,
                              u"모두 접기(&O)"_qs, u"-"_qs, u"속성(&P)..."_qs}));
        // Shortcuts are shown in the text form of menu files.
        QCOMPARE(FMain->findChild<QAction *>(u"mnuProperty"_qs)->text(), u"속성(&P)...\tEnter"_qs);
        QCOMPARE(FMain->findChild<QAction *>(u"mnuMoveUp"_qs)->text(), u"위로(&U)\tCtrl+Up"_qs);
        QCOMPARE(FMain->findChild<QAction *>(u"pmAddChild"_qs)->text(), u"하위메뉴 추가(&C)\tCtrl+Ins"_qs);
        // A menu item runs its action.
        auto *about = FMain->findChild<QAction *>(u"mnuAbout"_qs);
        about->trigger();
        QCOMPARE(FPrompter->Messages, QStringList{u"Vrel Brenvik 1.10"_qs});
    }

    void statusBarShowsTheLongHint()
    {
        auto *tbNew = FMain->findChild<QToolButton *>(u"tbNew"_qs);
        QTest::mouseMove(FMain->TreeList->viewport());
        QTest::mouseMove(tbNew);
        QTRY_COMPARE(FMain->StatusBar->currentMessage(), u"새 메뉴 데이터 파일을 만듭니다"_qs);
        QCOMPARE(tbNew->toolTip(), u"새로 만들기"_qs);
        FMain->ApplicationEvents1Hint(u"only one part"_qs);
        QCOMPARE(FMain->StatusBar->currentMessage(), u"only one part"_qs);
        FMain->ApplicationEvents1Hint(u"a|b|c"_qs);
        QCOMPARE(FMain->StatusBar->currentMessage(), u"b|c"_qs);
    }

    // --- Documents ----------------------------------------------------------

    void openAndSaveGivesTheSameBytes()
    {
        openSample();
        const QString file = FMain->CurrentFile;
        QCOMPARE(FPrompter->LastFilter, u"메뉴 파일(*.dat)"_qs);
        QCOMPARE(FPrompter->LastSuffix, u"dat"_qs);
        QCOMPARE(QFileInfo(file).fileName(), u"sample.dat"_qs);
        QCOMPARE(FMain->TreeList->currentItem(), FMain->TreeList->topLevelItem(0));
        QVERIFY(NodeEntry(FMain->TreeList->topLevelItem(0)));
        QTest::keyClick(FMain.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(FPrompter->SaveDialogs, 0);
        QCOMPARE(readBytes(file), readBytes(FSample));
    }

    // The document opened is the manager's definition, entries registered.
    void openedEntriesAreTheManagersDefinition()
    {
        int loads = 0;
        MenuManager->OnLoad = [&](QObject *) { ++loads; };
        const auto forget = qScopeGuard([] { MenuManager->OnLoad = nullptr; });
        openSample();
        QCOMPARE(loads, 1);
        QTreeWidgetItem *first = FMain->TreeList->topLevelItem(0);
        QCOMPARE(MenuManager->FindByCaption(u"고객관리"_qs), NodeEntry(first));
        QCOMPARE(MenuManager->FindByCode(u"1000"_qs), NodeEntry(first->child(0)));
        QCOMPARE(MenuManager->Path(), QFileInfo(FMain->CurrentFile).absolutePath() + u'/');
    }

    // A document of several blocks of the file writer saves to the bytes it
    // was read from.
    void bigDocumentSavesTheBytesItWasReadFrom()
    {
        const QString file = path("big.dat");
        writeBigMenu(file);
        const QByteArray before = readBytes(file);
        QVERIFY(before.size() > 2 * TXMLCollectionWriter::kBlockSize);
        QVERIFY(FMain->OpenMenuFile(file));
        QVERIFY(QFile::remove(file));
        FMain->actSave->trigger();
        QVERIFY(FPrompter->Errors.isEmpty());
        QCOMPARE(readBytes(file), before);
    }

    // The disk refuses the save half-way: the error is shown, the file stays
    // as it was with nothing left beside it, and the change is still unsaved.
    void saveCutShortKeepsTheFileAndTheChange()
    {
        QVERIFY(QDir().mkpath(path("cut")));
        const QString file = path("cut/big.dat");
        writeBigMenu(file);
        const QByteArray before = readBytes(file);
        QVERIFY(FMain->OpenMenuFile(file));
        FPrompter->Inputs.enqueue(u"그룹"_qs);
        FMain->mnuGroupClick();
        QVERIFY(FMain->DataChanged);
        {
            FileSizeLimit limit(TXMLCollectionWriter::kBlockSize * 3 / 2);
            QVERIFY(limit.IsActive());
            FMain->actSave->trigger();
        }
        QCOMPARE(FPrompter->Errors.size(), 1);
        QVERIFY(FPrompter->Errors.first().startsWith(u"Cannot create file \""_qs + file + u"\"."_qs));
        QVERIFY(FMain->DataChanged);
        QCOMPARE(readBytes(file), before);
        QCOMPARE(QDir(path("cut")).entryList(QDir::Files | QDir::Hidden), QStringList{u"big.dat"_qs});
    }

    void topIsTheTopLevelAncestorsCaption()
    {
        const QString file = path("three.dat");
        writeMenu(file, {{u"A"_qs, 1}, {u"A1"_qs, 1}, {u"A11"_qs, 0}, {u"B"_qs, 0}}, smText);
        QVERIFY(FMain->OpenMenuFile(file));
        FMain->actSave->trigger();
        TMenuCollection saved;
        saved.SetSaveMode(smText);
        QVERIFY(saved.LoadFromFile(file));
        QCOMPARE(saved.Count(), 4);
        QCOMPARE(saved.Items(2)->Caption(), u"A11"_qs);
        QCOMPARE(saved.Items(2)->Top(), u"A"_qs);
        QCOMPARE(saved.Items(1)->Top(), u"A"_qs);
        QCOMPARE(saved.Items(3)->Top(), u"B"_qs);
        QCOMPARE(saved.Items(0)->Count(), 1);
    }

    void emptyTreeSavesAsTheFrame()
    {
        const QString file = path("empty.dat");
        FPrompter->SaveNames.enqueue(file);
        FMain->actSave->trigger();
        QCOMPARE(FPrompter->SaveDialogs, 1);
        QCOMPARE(readBytes(file), kFrame);
        QCOMPARE(FMain->CurrentFile, file);
    }

    void openOfWhatCannotBeReadKeepsTheDocument_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");   // empty: no such file
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("error");
        QTest::newRow("missing") << u"missing.dat"_qs << QByteArray() << u"메뉴 파일이 없습니다"_qs << QString();
        QTest::newRow("count past the end")
            << u"short.dat"_qs
            << QByteArray("<?xml version = \"1.0\" ?>\r\n<Menu-list>\r\n  <Menu><Caption>A</Caption><Count>2</Count></Menu>\r\n"
                          "  <Menu><Caption>B</Caption></Menu>\r\n</Menu-list>\r\n")
            << QString() << u"List index out of bounds (2)"_qs;
        // 78 9C: the start of a zlib stream, the compressed form that only Merge reads.
        QTest::newRow("compressed") << u"packed.dat"_qs << QByteArray("\x78\x9C\x03\x00\x00\x00\x00\x01", 8)
                                    << QString()
                                    << u"압축된 메뉴 파일입니다. 열기로는 읽을 수 없으니 \"메뉴 병합\"으로 불러오십시오."_qs;
    }
    void openOfWhatCannotBeReadKeepsTheDocument()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        QFETCH(QString, error);
        openSample();
        const QString file = FMain->CurrentFile;
        const QStringList tree = topLevelTexts(FMain->TreeList);
        FMain->DataChanged = true;
        const QString target = FDir.filePath(name);
        if (!bytes.isEmpty())
            writeBytes(target, bytes);
        FPrompter->Answers.enqueue(QMessageBox::No);
        FPrompter->OpenNames.enqueue(target);
        FMain->actOpen->trigger();
        QCOMPARE(FPrompter->Messages, message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(FPrompter->Errors, error.isEmpty() ? QStringList() : QStringList{error});
        QCOMPARE(topLevelTexts(FMain->TreeList), tree);
        QCOMPARE(FMain->CurrentFile, file);
        QVERIFY(FMain->DataChanged);
        // The entries behind the tree are still there.
        QCOMPARE(NodeEntry(FMain->TreeList->topLevelItem(0))->Caption().trimmed(), tree.first());
    }

    void mergeAddsTopLevelEntries_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("compressed") << int(smBinary);
        QTest::newRow("plain, as this editor saves") << int(smText);
    }
    void mergeAddsTopLevelEntries()
    {
        QFETCH(int, mode);
        openSample();
        const QStringList before = topLevelTexts(FMain->TreeList);
        const int entries = MenuManager->Items().Count();
        const QString other = path("other.dat");
        writeMenu(other, {{u" 추가1 "_qs, 1}, {u"추가1-1"_qs, 0}, {u"추가2"_qs, 0}}, TSaveMode(mode));
        FPrompter->OpenNames.enqueue(other);
        FMain->acAppend->trigger();
        QVERIFY(FPrompter->Errors.isEmpty());
        QCOMPARE(topLevelTexts(FMain->TreeList), before + QStringList({u" 추가1 "_qs, u"추가2"_qs}));
        QTreeWidgetItem *first = FMain->TreeList->topLevelItem(before.size());
        QCOMPARE(first->childCount(), 1);
        QCOMPARE(first->child(0)->text(0), u"추가1-1"_qs);
        QCOMPARE(MenuManager->Items().Count(), entries + 3);
        QCOMPARE(NodeEntry(first->child(0))->Collection(), &MenuManager->Items());
        for (QTreeWidgetItemIterator it(FMain->TreeList); *it; ++it)
            QVERIFY((*it)->childCount() == 0 || (*it)->isExpanded());
        // Every node shows its picture: open with children, a leaf without.
        const auto picture = [this](int index) { return FMain->TreeImages.at(index).pixmap(18).toImage(); };
        QCOMPARE(first->icon(0).pixmap(18).toImage(), picture(2));
        QCOMPARE(first->child(0)->icon(0).pixmap(18).toImage(), picture(3));
        QCOMPARE(FMain->TreeList->topLevelItem(0)->icon(0).pixmap(18).toImage(), picture(2));
        // A merge changes the document.
        QVERIFY(FMain->DataChanged);
        QCOMPARE(FMain->CurrentFile, QFileInfo(path("sample.dat")).absoluteFilePath());
    }

    void mergeOfAMissingOrForeignFileChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("error");
        QTest::newRow("missing") << QByteArray() << u"메뉴 파일이 없습니다"_qs << QString();
        QTest::newRow("neither form") << QByteArray("PK\x03\x04 not a menu file at all") << QString()
                                      << u"data error"_qs;
    }
    void mergeOfAMissingOrForeignFileChangesNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        QFETCH(QString, error);
        openSample();
        FMain->TreeList->collapseAll();
        const QStringList before = topLevelTexts(FMain->TreeList);
        const int entries = MenuManager->Items().Count();
        const QString other = path("foreign.dat");
        QFile::remove(other);
        if (!bytes.isEmpty())
            writeBytes(other, bytes);
        FPrompter->OpenNames.enqueue(other);
        FMain->acAppend->trigger();
        QCOMPARE(FPrompter->Messages, message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(FPrompter->Errors, error.isEmpty() ? QStringList() : QStringList{error});
        QCOMPARE(topLevelTexts(FMain->TreeList), before);
        QCOMPARE(MenuManager->Items().Count(), entries);
        QVERIFY(!FMain->DataChanged);
    }

    void failedSaveIsReportedAndKeepsTheChange()
    {
        openSample();
        const QString file = FMain->CurrentFile;
        FMain->DataChanged = true;
        // The file's place is taken by a directory: it cannot be replaced.
        QFile::remove(file);
        QVERIFY(QDir().mkpath(file));
        FMain->actSave->trigger();
        QCOMPARE(FPrompter->Errors.size(), 1);
        QVERIFY(FPrompter->Errors.first().startsWith(u"Cannot create file \""_qs + file + u"\"."_qs));
        QVERIFY(FMain->DataChanged);
        QVERIFY(QFileInfo(file).isDir());
        QDir(file).removeRecursively();
    }

    void saveAsTakesTheNameOnlyWhenWritten()
    {
        openSample();
        const QString file = FMain->CurrentFile;
        FPrompter->SaveNames.enqueue(FDir.path()); // a directory: cannot be written
        FMain->actSaveAs->trigger();
        QCOMPARE(FMain->CurrentFile, file);
        const QString other = path("other-name.dat");
        FPrompter->SaveNames.enqueue(other);
        FMain->actSaveAs->trigger();
        QCOMPARE(FMain->CurrentFile, other);
        QCOMPARE(readBytes(other), readBytes(FSample));
    }

    // New, Open, Close and Exit ask before unsaved changes are lost.
    void unsavedChangesQuestion_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("proceeds");
        QTest::addColumn<bool>("saved");
        for (const char *command : {"actNew", "actOpen", "actClose", "actExitApp"}) {
            const QByteArray c(command);
            QTest::newRow(c + " unchanged") << QString::fromLatin1(command) << false << 0 << true << false;
            QTest::newRow(c + " Yes") << QString::fromLatin1(command) << true << int(QMessageBox::Yes) << true << true;
            QTest::newRow(c + " No") << QString::fromLatin1(command) << true << int(QMessageBox::No) << true << false;
            QTest::newRow(c + " Cancel") << QString::fromLatin1(command) << true << int(QMessageBox::Cancel) << false
                                         << false;
        }
    }
    void unsavedChangesQuestion()
    {
        QFETCH(QString, command);
        QFETCH(bool, changed);
        QFETCH(int, answer);
        QFETCH(bool, proceeds);
        QFETCH(bool, saved);
        openSample();
        const QString file = FMain->CurrentFile;
        // A change the user made: a caption edited in the property dialog.
        if (changed) {
            editWith([](TfrmEditMenuItem &d) { d.eCaption->setText(u"바뀐 메뉴"_qs); });
            QTest::keyClick(FMain->TreeList, Qt::Key_Return);
            QVERIFY(FMain->DataChanged);
            FPrompter->Answers.enqueue(QMessageBox::StandardButton(answer));
        }
        const QString otherFile = path("other.dat");
        writeMenu(otherFile, {{u"다른 파일"_qs, 0}}, smText);
        if (command == u"actOpen")
            FPrompter->OpenNames.enqueue(otherFile);
        FMain->findChild<QAction *>(command)->trigger();

        if (changed) {
            QCOMPARE(FPrompter->Questions.size(), 1);
            QCOMPARE(FPrompter->Questions.first().Caption, u"확인"_qs);
            QCOMPARE(FPrompter->Questions.first().Text, u"변경한 내용을 저장하시겠습니까 ?"_qs);
            QCOMPARE(FPrompter->Questions.first().Buttons,
                     QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        } else {
            QVERIFY(FPrompter->Questions.isEmpty());
        }
        QCOMPARE(readBytes(file).contains(toCodePage(u"바뀐 메뉴")), saved);
        if (command == u"actExitApp") {
            QCOMPARE(FMain->isVisible(), !proceeds);
        } else if (command == u"actOpen") {
            QCOMPARE(FMain->CurrentFile, proceeds ? otherFile : file);
            QCOMPARE(topLevelTexts(FMain->TreeList).first() == u"다른 파일"_qs, proceeds);
        } else {
            QCOMPARE(FMain->TreeList->topLevelItemCount() == 0, proceeds);
            QCOMPARE(FMain->CurrentFile.isEmpty(), proceeds);
        }
        // Unsaved changes stay marked unless a new document replaced them
        // (on Exit with No the program ends with them, as asked).
        QCOMPARE(FMain->DataChanged, changed && !saved && (command == u"actExitApp" || !proceeds));
    }

    void yesWhoseSaveIsCancelledStays()
    {
        // A new document has no file: Yes asks for a name; cancelling that stays.
        FMain->EditMenuItem = [](TMenuCollectionItem &, bool &) { return false; };
        FMain->actAdd->trigger();
        QVERIFY(FMain->DataChanged);
        FPrompter->Answers.enqueue(QMessageBox::Yes);
        FMain->actNew->trigger();
        QCOMPARE(FPrompter->SaveDialogs, 1);
        QCOMPARE(FMain->TreeList->topLevelItemCount(), 1);
        QVERIFY(FMain->DataChanged);
    }

    void closingTheWindowAsksToo()
    {
        openSample();
        FMain->DataChanged = true;
        FPrompter->Answers.enqueue(QMessageBox::Cancel);
        QVERIFY(!FMain->close());
        QVERIFY(FMain->isVisible());
        FPrompter->Answers.enqueue(QMessageBox::No);
        QVERIFY(FMain->close());
        QCOMPARE(FPrompter->Questions.size(), 2);
    }

    void newForgetsTheFile()
    {
        openSample();
        const QString file = FMain->CurrentFile;
        const QByteArray before = readBytes(file);
        FMain->actNew->trigger();
        QVERIFY(FMain->CurrentFile.isEmpty());
        QCOMPARE(MenuManager->Items().Count(), 0);
        FPrompter->SaveNames.enqueue(QString()); // the user cancels the name
        FMain->actSave->trigger();
        QCOMPARE(FPrompter->SaveDialogs, 1);
        QCOMPARE(readBytes(file), before);
    }

    // --- Editing an entry ---------------------------------------------------

    void enterEditsTheSelectedEntry()
    {
        openSample();
        QTreeWidgetItem *node = FMain->TreeList->topLevelItem(0);
        QVERIFY(node->childCount() > 0);
        FMain->TreeList->setCurrentItem(node);
        editWith([](TfrmEditMenuItem &d) {
            d.eCaption->setText(u"새 이름"_qs);
            QTest::mouseClick(d.sbSelectNone, Qt::LeftButton);
            d.ALevels[2]->setChecked(true);
            d.cbPermission->setChecked(true);
        });
        QTest::keyClick(FMain->TreeList, Qt::Key_Return);
        QCOMPARE(node->text(0), u"새 이름"_qs);
        QCOMPARE(NodeEntry(node)->Caption(), u"새 이름"_qs);
        QVERIFY(FMain->DataChanged);
        for (QTreeWidgetItemIterator it(node); *it && (*it == node || (*it)->parent()); ++it) {
            QTreeWidgetItem *n = *it;
            for (QTreeWidgetItem *p = n; p; p = p->parent())
                if (p == node)
                    QCOMPARE(NodeEntry(n)->Permission(), 2);
        }
    }

    // Enter in an empty tree has no entry to edit: no dialog, no change.
    void editWithNothingSelectedDoesNothing()
    {
        int dialogs = 0;
        FMain->EditMenuItem = [&](TMenuCollectionItem &, bool &) { return ++dialogs > 0; };
        QCOMPARE(FMain->TreeList->currentItem(), nullptr);
        FMain->actEdit->trigger();
        QCOMPARE(dialogs, 0);
        QVERIFY(!FMain->DataChanged);
        QVERIFY(FPrompter->Errors.isEmpty());
    }

    void cancelledEditChangesNothing()
    {
        openSample();
        QTreeWidgetItem *node = FMain->TreeList->topLevelItem(0);
        FMain->TreeList->setCurrentItem(node);
        const QByteArray before = NodeEntry(node)->Entity();
        const QString text = node->text(0);
        FMain->EditMenuItem = [](TMenuCollectionItem &item, bool &cascade) {
            return ShowEditMenuItem(item, cascade, nullptr, [](TfrmEditMenuItem &d) {
                d.eCaption->setText(u"x"_qs);
                QTest::mouseClick(d.btnCancel, Qt::LeftButton);
            });
        };
        QTest::mouseDClick(FMain->TreeList->viewport(), Qt::LeftButton, {},
                           FMain->TreeList->visualItemRect(node).center());
        QCOMPARE(NodeEntry(node)->Entity(), before);
        QCOMPARE(node->text(0), text);
        QVERIFY(!FMain->DataChanged);
    }

    void treePicturesFollowTheNodes()
    {
        openSample();
        QTreeWidgetItem *parent = FMain->TreeList->topLevelItem(0);
        FMain->TreeList->collapseAll();
        QCOMPARE(parent->icon(0).pixmap(18).toImage(), FMain->TreeImages.at(1).pixmap(18).toImage());
        FMain->actExpand->trigger();
        QCOMPARE(parent->icon(0).pixmap(18).toImage(), FMain->TreeImages.at(2).pixmap(18).toImage());
        QCOMPARE(parent->child(0)->icon(0).pixmap(18).toImage(), FMain->TreeImages.at(3).pixmap(18).toImage());
        FMain->acCollapse->trigger();
        QVERIFY(!parent->isExpanded());
    }

    // --- Adding, copying and deleting entries --------------------------------

    void addCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("nested");      // select the first child instead of the first top-level node
        QTest::addColumn<QString>("where");    // "top", "siblings", "child"
        QTest::addColumn<bool>("dialog");
        QTest::newRow("add, top-level selected") << u"actAdd"_qs << false << u"top"_qs << true;
        QTest::newRow("add, nested selected") << u"actAdd"_qs << true << u"siblings"_qs << true;
        QTest::newRow("add child") << u"actAddChild"_qs << true << u"child"_qs << true;
        QTest::newRow("separator") << u"AcInsertSeperate"_qs << true << u"child"_qs << false;
        QTest::newRow("copy, nested") << u"acCopy"_qs << true << u"siblings"_qs << true;
        QTest::newRow("copy, top-level") << u"acCopy"_qs << false << u"top"_qs << true;
    }
    void addCommands()
    {
        QFETCH(QString, command);
        QFETCH(bool, nested);
        QFETCH(QString, where);
        QFETCH(bool, dialog);
        openSample();
        DefaultMenuGroup = u"기본"_qs;
        QTreeWidgetItem *top = FMain->TreeList->topLevelItem(0);
        QTreeWidgetItem *selected = nested ? top->child(0) : top;
        NodeEntry(top)->SetPermission(6);
        NodeEntry(selected)->SetGroup(u"선택"_qs);
        FMain->TreeList->setCurrentItem(selected);
        const int topCount = FMain->TreeList->topLevelItemCount();
        const int siblings = top->childCount();
        const int entries = MenuManager->Items().Count();
        int dialogs = 0;
        FMain->EditMenuItem = [&](TMenuCollectionItem &, bool &) {
            ++dialogs;
            return false; // cancelled: the new entry stays
        };
        FMain->findChild<QAction *>(command)->trigger();

        QTreeWidgetItem *added = FMain->TreeList->currentItem();
        QVERIFY(added && added != selected);
        if (where == u"top") {
            QCOMPARE(FMain->TreeList->topLevelItemCount(), topCount + 1);
            QCOMPARE(FMain->TreeList->topLevelItem(topCount), added);
        } else if (where == u"siblings") {
            QCOMPARE(top->childCount(), siblings + 1);
            QCOMPARE(top->child(siblings), added);
        } else {
            QCOMPARE(added->parent(), selected);
            QVERIFY(selected->isExpanded());
            QCOMPARE(selected->icon(0).pixmap(18).toImage(), FMain->TreeImages.at(2).pixmap(18).toImage());
        }
        QCOMPARE(MenuManager->Items().Count(), entries + 1);
        TMenuCollectionItem *entry = NodeEntry(added);
        QCOMPARE(entry->Collection(), &MenuManager->Items());
        QCOMPARE(dialogs, dialog ? 1 : 0);
        QVERIFY(FMain->DataChanged);
        if (command == u"actAdd")
            QCOMPARE(entry->Permission(), nested ? 6 : 65535); // parent's mask, or the Level field's
        if (command == u"actAdd" || command == u"acCopy")
            QCOMPARE(entry->Group(), u"기본"_qs);
        else
            QCOMPARE(entry->Group(), u"선택"_qs);
        if (command == u"AcInsertSeperate") {
            QCOMPARE(added->text(0), u"-"_qs);
            QCOMPARE(entry->Caption(), u"-"_qs);
            QVERIFY(entry->Buttons().IsEmpty() && entry->Options().IsEmpty());
        }
        if (command == u"acCopy") {
            QCOMPARE(added->text(0), selected->text(0));
            QCOMPARE(entry->Caption(), NodeEntry(selected)->Caption());
            QCOMPARE(added->childCount(), 0);
        }
        DefaultMenuGroup.clear();
    }

    void addedEntryIsSaved()
    {
        openSample();
        FMain->TreeList->setCurrentItem(FMain->TreeList->topLevelItem(1));
        editWith([](TfrmEditMenuItem &d) { d.eCaption->setText(u"[2000] 새 화면"_qs); });
        QTest::keyClick(FMain->TreeList, Qt::Key_Insert);
        QCOMPARE(FMain->TreeList->currentItem()->text(0), u"[2000] 새 화면"_qs);
        FMain->actSave->trigger();
        QVERIFY(readBytes(FMain->CurrentFile).contains("<Caption>" + toCodePage(u"[2000] 새 화면") + "</Caption>"));
        QVERIFY(!FMain->DataChanged);
    }

    void deleteAsksThenRemovesTheSubtree()
    {
        openSample();
        QTreeWidgetItem *top = FMain->TreeList->topLevelItem(0);
        QVERIFY(top->childCount() > 0);
        FMain->TreeList->setCurrentItem(top);
        const int topCount = FMain->TreeList->topLevelItemCount();
        const int entries = MenuManager->Items().Count();
        int subtree = 0; // the nodes below the first top-level node
        QTreeWidgetItemIterator it(top);
        for (++it; *it && (*it)->parent(); ++it)
            ++subtree;
        QVERIFY(subtree > 0);
        FPrompter->Answers.enqueue(QMessageBox::Cancel);
        QTest::keyClick(FMain->TreeList, Qt::Key_Delete);
        QCOMPARE(FMain->TreeList->topLevelItemCount(), topCount);
        QVERIFY(!FMain->DataChanged);
        FPrompter->Answers.enqueue(QMessageBox::Ok);
        FMain->actDelete->trigger();
        QCOMPARE(FPrompter->Questions.size(), 2);
        QCOMPARE(FPrompter->Questions.last().Text, u"현재 메뉴 및 하위메뉴를 삭제하시겠습니까 ?"_qs);
        QCOMPARE(FPrompter->Questions.last().Caption, u"확인"_qs);
        QCOMPARE(FMain->TreeList->topLevelItemCount(), topCount - 1);
        // The entries of the whole subtree leave the document with it.
        QCOMPARE(MenuManager->Items().Count(), entries - 1 - subtree);
        // Deleting is a change of the document: it is offered for saving.
        QVERIFY(FMain->DataChanged);
        FMain->actSave->trigger();
        TMenuCollection saved;
        saved.SetSaveMode(smText);
        QVERIFY(saved.LoadFromFile(FMain->CurrentFile));
        QCOMPARE(saved.Count(), 1);
    }

    void groupAssignmentReachesEveryEntry()
    {
        openSample();
        FMain->TreeList->collapseAll();
        FPrompter->Inputs.enqueue(u"영업"_qs);
        FMain->findChild<QAction *>(u"mnuGroup"_qs)->trigger();
        QCOMPARE(FPrompter->InputCaptions, QStringList{u"메뉴그룹 일괄지정|그룹명"_qs});
        for (QTreeWidgetItemIterator it(FMain->TreeList); *it; ++it)
            QCOMPARE(NodeEntry(*it)->Group(), u"영업"_qs);
        QVERIFY(FMain->DataChanged);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
