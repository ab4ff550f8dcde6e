// The entry property dialog: filled from an entry, changed as the user does,
// confirmed or cancelled, and the entry read back.
#include "EditMenuItem.h"
#include "Global.h"
#include "ScriptedPrompter.h"
#include "vrelMenu.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

class TestEditMenuItem : public QObject {
    Q_OBJECT

    TMenuCollection FItems;

    TMenuCollectionItem *newEntry()
    {
        FItems.Clear();
        return FItems.Add();
    }

    // The dialog run on `item` with `user` playing the user's part, who then
    // presses OK.
    static bool edit(TMenuCollectionItem &item, bool &cascade,
                     const std::function<void(TfrmEditMenuItem &)> &user = {})
    {
        return ShowEditMenuItem(item, cascade, nullptr, [&](TfrmEditMenuItem &d) {
            if (user)
                user(d);
            QTest::mouseClick(d.btnOK, Qt::LeftButton);
        });
    }

    static void showActive(TfrmEditMenuItem &d)
    {
        d.show();
        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
    }

private slots:
    void init()
    {
        UserGroupNames.clear();
        for (int i = 1; i <= 16; ++i)
            UserGroupNames << QStringLiteral("Level %1").arg(i);
        MenuGroupNames.clear();
    }

    void layoutAndLists()
    {
        UserGroupNames[0] = u"관리자"_qs;
        MenuGroupNames = QStringList{u"영업"_qs, u"관리"_qs};
        TfrmEditMenuItem d;
        QCOMPARE(d.windowTitle(), u"메뉴 속성 편집"_qs);
        QCOMPARE(d.size(), QSize(693, 513));
        QCOMPARE(d.ALevels[1], d.cbLevel[0]);
        QCOMPARE(d.ALevels[16]->objectName(), u"cbLevel16"_qs);
        QCOMPARE(d.ALevels[1]->text(), u"관리자"_qs);
        QCOMPARE(d.ALevels[16]->text(), u"Level 16"_qs);
        QCOMPARE(d.cbGroup->count(), 2);
        QCOMPARE(d.cbGroup->itemText(0), u"영업"_qs);
        QCOMPARE(d.cbRunStyle->itemText(2), u"내부 FORM "_qs);
        QCOMPARE(d.cbIcon->count(), 5);
        QVERIFY(!d.cbPermission->isChecked());
    }

    void everyControlMapsToItsProperty()
    {
        MenuGroupNames = QStringList{u"A"_qs, u"B"_qs};
        TMenuCollectionItem *item = newEntry();
        bool cascade = false;
        QVERIFY(edit(*item, cascade, [](TfrmEditMenuItem &d) {
            d.cbGroup->setCurrentIndex(1);
            d.cbMenuStyle->setCurrentIndex(2);
            d.cbRunStyle->setCurrentIndex(5);
            d.cbScreenStyle->setCurrentIndex(0);
            d.eCaption->setText(u"[1000] 고객리스트"_qs);
            d.eShort->setText(u"고객"_qs);
            d.eHint->setText(u"도움"_qs);
            d.cbIcon->setCurrentIndex(2);
            d.eTRCode->setText(u"1000"_qs);
            d.ePath->setText(u"http://x/y"_qs);
            d.eModule->setText(u"M1000"_qs);
            d.eFrame->setText(u"F1"_qs);
            d.eTabIndex->setText(u"3"_qs);
            d.eGroupIndex->setText(u"4"_qs);
            d.eTag->setText(u"$10"_qs);
            for (QCheckBox *box : {d.cbHidden, d.cbChecked, d.cbToogle, d.cbMini, d.cbTop, d.cbCache, d.cbUnLoad,
                                   d.cbPermission})
                box->setChecked(true);
            for (QCheckBox *box : {d.cbEnable, d.cbMulti, d.cbTab, d.cbSearch, d.cbHelp, d.cbLock})
                box->setChecked(false);
            d.cbSDI->setChecked(true);
            d.cbZoom->setChecked(true);
            d.ALevels[1]->setChecked(false);
            d.ALevels[3]->setChecked(true);
        }));
        QCOMPARE(item->Group(), u"B"_qs);
        QCOMPARE(item->MenuStyle(), msWindows);
        QCOMPARE(item->RunStyle(), rsURL);
        QCOMPARE(item->ScreenStyle(), 0);
        QCOMPARE(item->Caption(), u"[1000] 고객리스트"_qs);
        QCOMPARE(item->ShortCaption(), u"고객"_qs);
        QCOMPARE(item->Hint(), u"도움"_qs);
        QCOMPARE(item->ImageIndex(), 1);
        QCOMPARE(item->Command(), u"1000"_qs);
        QCOMPARE(item->Path(), u"http://x/y"_qs);
        QCOMPARE(item->ModuleName(), u"M1000"_qs);
        QCOMPARE(item->Parameters(), u"F1"_qs);
        QCOMPARE(item->TabIndex(), 3);
        QCOMPARE(item->GroupIndex(), 4);
        QCOMPARE(item->Tag(), 16);
        QVERIFY(item->Hidden() && item->Checked() && item->Toogle() && !item->Enabled());
        QVERIFY(item->Cache() && item->UnLoad() && !item->Search());
        QCOMPARE(item->Options(), (TScreenOptions{soMini, soTop}));
        QCOMPARE(item->Buttons(), (TCaptionButtons{coShare, coSDI, coZoom}));
        QCOMPARE(item->Permission(), 4); // a new entry has 0; box 3 ticked
        QVERIFY(cascade);
        // Never touched by the dialog.
        QCOMPARE(item->Visible(), true);
        QCOMPARE(item->Count(), 0);
    }

    void fillingShowsTheEntry()
    {
        MenuGroupNames = QStringList{u"A"_qs};
        TMenuCollectionItem *item = newEntry();
        item->SetGroup(u"a"_qs);
        item->SetRunStyle(rsExplorer);
        item->SetPermission(0x8001);
        item->SetImageIndex(3);
        item->SetTabIndex(7);
        TfrmEditMenuItem d;
        d.LoadFrom(*item);
        QCOMPARE(d.cbGroup->currentIndex(), 0);
        QCOMPARE(d.cbRunStyle->currentIndex(), int(rsExplorer));
        // Filling does not run the run-style handler: the defaults stay ticked.
        QVERIFY(d.cbMulti->isChecked() && d.cbTab->isChecked() && d.cbHelp->isChecked());
        QCOMPARE(d.cbIcon->currentIndex(), 4);
        QCOMPARE(d.eTabIndex->text(), u"7"_qs);
        QCOMPARE(d.Permition, quint16(0x8001));
        QVERIFY(d.ALevels[1]->isChecked() && d.ALevels[16]->isChecked() && !d.ALevels[2]->isChecked());
    }

    void menuGroup_data()
    {
        QTest::addColumn<QStringList>("groups");
        QTest::addColumn<QString>("group");
        QTest::addColumn<int>("shown");
        QTest::addColumn<QString>("stored");
        QTest::newRow("other letter case") << QStringList{u"X"_qs, u"ADMIN"_qs} << u"admin"_qs << 1 << u"ADMIN"_qs;
        QTest::newRow("not among the groups") << QStringList{u"X"_qs} << u"영업"_qs << -1 << u"영업"_qs;
        QTest::newRow("no groups at all") << QStringList{} << u"영업"_qs << -1 << u"영업"_qs;
        QTest::newRow("empty group") << QStringList{u"X"_qs} << QString() << -1 << QString();
    }
    void menuGroup()
    {
        QFETCH(QStringList, groups);
        QFETCH(QString, group);
        QFETCH(int, shown);
        QFETCH(QString, stored);
        MenuGroupNames = groups;
        TMenuCollectionItem *item = newEntry();
        item->SetGroup(group);
        bool cascade = false;
        QVERIFY(edit(*item, cascade, [&](TfrmEditMenuItem &d) { QCOMPARE(d.cbGroup->currentIndex(), shown); }));
        QCOMPARE(item->Group(), stored);
    }

    void valuesOutsideTheListsStay_data()
    {
        QTest::addColumn<int>("imageIndex");
        QTest::addColumn<int>("screenStyle");
        QTest::newRow("beyond") << 4 << 3;
        QTest::newRow("below") << -2 << -1;
        QTest::newRow("far") << 1000 << 99;
    }
    void valuesOutsideTheListsStay()
    {
        QFETCH(int, imageIndex);
        QFETCH(int, screenStyle);
        TMenuCollectionItem *item = newEntry();
        item->SetImageIndex(imageIndex);
        item->SetScreenStyle(screenStyle);
        bool cascade = false;
        QVERIFY(edit(*item, cascade, [](TfrmEditMenuItem &d) {
            QCOMPARE(d.cbIcon->currentIndex(), -1);
            QCOMPARE(d.cbScreenStyle->currentIndex(), -1);
        }));
        QCOMPARE(item->ImageIndex(), imageIndex);
        QCOMPARE(item->ScreenStyle(), screenStyle);
    }

    void captionButtonsKeepShare()
    {
        TMenuCollectionItem *item = newEntry(); // all five buttons
        bool cascade = false;
        QVERIFY(edit(*item, cascade));
        QCOMPARE(item->Buttons(), (TCaptionButtons{coShare, coSDI, coZoom, coLock, coHelp}));
        item->SetButtons({coHelp});
        QVERIFY(edit(*item, cascade, [](TfrmEditMenuItem &d) { d.cbLock->setChecked(true); }));
        QCOMPARE(item->Buttons(), (TCaptionButtons{coHelp, coLock}));
    }

    void permissionMinusOneShowsAllAndStoresLow16Bits()
    {
        TMenuCollectionItem *item = newEntry();
        item->SetPermission(-1);
        bool cascade = false;
        QVERIFY(edit(*item, cascade, [](TfrmEditMenuItem &d) {
            for (int i = 1; i <= 16; ++i)
                QVERIFY(d.ALevels[size_t(i)]->isChecked());
        }));
        QCOMPARE(item->Permission(), 65535);
    }

    void selectAllAndNone()
    {
        TMenuCollectionItem *item = newEntry();
        item->SetPermission(5);
        bool cascade = false;
        QVERIFY(edit(*item, cascade, [](TfrmEditMenuItem &d) {
            QTest::mouseClick(d.sbSelectAll, Qt::LeftButton);
            QCOMPARE(d.Permition, quint16(65535));
        }));
        QCOMPARE(item->Permission(), 65535);
        QVERIFY(edit(*item, cascade, [](TfrmEditMenuItem &d) {
            QTest::mouseClick(d.sbSelectNone, Qt::LeftButton);
            QCOMPARE(d.Permition, quint16(0));
        }));
        QCOMPARE(item->Permission(), 0);
    }

    void singleBoxIsTakenAtOk()
    {
        TMenuCollectionItem *item = newEntry();
        bool cascade = false;
        QVERIFY(edit(*item, cascade, [](TfrmEditMenuItem &d) {
            showActive(d);
            QTest::mouseClick(d.ALevels[2], Qt::LeftButton, {}, QPoint(6, d.ALevels[2]->height() / 2));
            QVERIFY(d.ALevels[2]->isChecked());
            QCOMPARE(d.Permition, quint16(0)); // the mask follows at DoCheck
        }));
        QCOMPARE(item->Permission(), 2);
    }

    void emptyNumberFields_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("not a number") << u"abc"_qs;
        QTest::newRow("too large") << u"99999999999"_qs;
    }
    void emptyNumberFields()
    {
        QFETCH(QString, text);
        TMenuCollectionItem *item = newEntry();
        item->SetTabIndex(5);
        item->SetGroupIndex(6);
        item->SetTag(7);
        bool cascade = false;
        QVERIFY(edit(*item, cascade, [&](TfrmEditMenuItem &d) {
            d.eTabIndex->setText(text);
            d.eGroupIndex->setText(text);
            d.eTag->setText(text);
        }));
        QCOMPARE(item->TabIndex(), 1);
        QCOMPARE(item->GroupIndex(), 0);
        QCOMPARE(item->Tag(), 0);
    }

    void runStyleChange_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<bool>("unticks");
        QTest::newRow("외부 WEB") << int(rsURL) << int(rsExplorer) << true;
        QTest::newRow("아무일도 하지 않음") << int(rsCommand) << int(rsNone) << true;
        QTest::newRow("내부 FORM") << int(rsCommand) << int(rsForm) << true;
        QTest::newRow("외부 모듈") << int(rsForm) << int(rsDLL) << false;
        QTest::newRow("MAP") << int(rsDLL) << int(rsMap) << false;
    }
    void runStyleChange()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(bool, unticks);
        TMenuCollectionItem *item = newEntry();
        item->SetRunStyle(TRunStyle(from));
        item->SetOptions({soMulti, soMini, soTop, soTab});
        TfrmEditMenuItem d;
        d.LoadFrom(*item);
        // The user steps through the list with the arrow keys.
        QTest::keyClick(d.cbRunStyle, to > from ? Qt::Key_Down : Qt::Key_Up);
        while (d.cbRunStyle->currentIndex() != to)
            QTest::keyClick(d.cbRunStyle, to > from ? Qt::Key_Down : Qt::Key_Up);
        for (QCheckBox *box : {d.cbMulti, d.cbMini, d.cbTop, d.cbTab, d.cbHelp, d.cbSDI, d.cbLock, d.cbZoom})
            QCOMPARE(box->isChecked(), !unticks);
        QVERIFY(d.cbSearch->isChecked());
    }

    void serviceCodeFillsAnEmptyModuleName_data()
    {
        QTest::addColumn<QString>("module");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty module") << QString() << u"1000"_qs;
        QTest::newRow("module kept") << u"CUST"_qs << u"CUST"_qs;
    }
    void serviceCodeFillsAnEmptyModuleName()
    {
        QFETCH(QString, module);
        QFETCH(QString, expected);
        TMenuCollectionItem *item = newEntry();
        item->SetModuleName(module);
        TfrmEditMenuItem d;
        d.LoadFrom(*item);
        showActive(d);
        d.eTRCode->setFocus();
        QTest::keyClicks(d.eTRCode, u"1000"_qs);
        QTest::keyClick(d.eTRCode, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), d.eModule);
        QCOMPARE(d.eModule->text(), expected);
    }

    void tabPassesListsHintAndPath()
    {
        TfrmEditMenuItem d;
        showActive(d);
        d.eCaption->setFocus();
        QStringList visited{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 8; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, (QStringList{u"eCaption"_qs, u"eShort"_qs, u"eTRCode"_qs, u"eModule"_qs, u"eFrame"_qs,
                                       u"eTabIndex"_qs, u"eShortCut"_qs, u"eGroupIndex"_qs, u"eTag"_qs}));
        d.cbUnLoad->setFocus();
        QTest::keyClick(d.cbUnLoad, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), d.cbLevel[0]);
        d.cbPermission->setFocus();
        QTest::keyClick(d.cbPermission, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), d.sbSelectAll);
    }

    void captionAsksForHangulInput()
    {
        TfrmEditMenuItem d;
        QVERIFY(d.eCaption->testAttribute(Qt::WA_InputMethodEnabled));
        QCOMPARE(d.eCaption->inputMethodQuery(Qt::ImPreferredLanguage).toString(), u"ko_KR"_qs);
    }

    void hotKeyTypedByTheUser()
    {
        TMenuCollectionItem *item = newEntry();
        item->SetHotKey(u"Ctrl+S"_qs);
        bool cascade = false;
        QVERIFY(edit(*item, cascade, [](TfrmEditMenuItem &d) {
            QCOMPARE(d.eShortCut->keySequence(), QKeySequence(Qt::CTRL | Qt::Key_S));
            showActive(d);
            d.eShortCut->setFocus();
            // A second combination replaces the first: the field holds one.
            QTest::keyClick(d.eShortCut, Qt::Key_A, Qt::ShiftModifier);
            QTest::keyClick(d.eShortCut, Qt::Key_F5, Qt::ControlModifier);
            QCOMPARE(d.eShortCut->keySequence().count(), 1);
        }));
        QCOMPARE(item->HotKey(), u"Ctrl+F5"_qs);
    }

    void hotKeyTheFieldCannotShowStays()
    {
        TMenuCollectionItem *item = newEntry();
        item->SetHotKey(u"Ctrl+Nonsense"_qs);
        bool cascade = false;
        QVERIFY(edit(*item, cascade, [](TfrmEditMenuItem &d) { QVERIFY(d.eShortCut->keySequence().isEmpty()); }));
        QCOMPARE(item->HotKey(), u"Ctrl+Nonsense"_qs);
    }

    void cancelLeavesEntryAndCascade()
    {
        MenuGroupNames = QStringList{u"A"_qs};
        TMenuCollectionItem *item = newEntry();
        item->SetCaption(u"원래"_qs);
        item->SetPermission(3);
        const QByteArray before = item->Entity();
        bool cascade = true;
        QVERIFY(!ShowEditMenuItem(*item, cascade, nullptr, [](TfrmEditMenuItem &d) {
            d.eCaption->setText(u"바뀜"_qs);
            d.cbGroup->setCurrentIndex(0);
            QTest::mouseClick(d.sbSelectNone, Qt::LeftButton);
            d.cbPermission->setChecked(false);
            QTest::mouseClick(d.btnCancel, Qt::LeftButton);
        }));
        QCOMPARE(item->Entity(), before);
        QVERIFY(cascade);
    }

    void textsTheFileCannotHoldAreRefused_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("label");
        QTest::newRow("line break in caption") << u"eCaption"_qs << u"두 줄\n메뉴"_qs << u"메뉴명"_qs;
        QTest::newRow("carriage return in path") << u"ePath"_qs << u"a\rb"_qs << u"경로(URL)"_qs;
        QTest::newRow("other element in hint") << u"eHint"_qs << u"<Buttons>[]</Buttons>"_qs << u"힌트"_qs;
        QTest::newRow("own closing tag") << u"eTRCode"_qs << u"1</Command>2"_qs << u"서비스 코드"_qs;
        QTest::newRow("earlier element") << u"eFrame"_qs << u"<Caption>x</Caption>"_qs << u"파라메터"_qs;
        QTest::newRow("own element again") << u"eHint"_qs << u"<Hint> 설명"_qs << u"힌트"_qs;
        QTest::newRow("outside code page 949") << u"eShort"_qs << u"메뉴 😀"_qs << u"단축메뉴명"_qs;
    }
    void textsTheFileCannotHoldAreRefused()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, label);
        ScriptedPrompter prompter;
        TMenuCollectionItem *item = newEntry();
        const QByteArray before = item->Entity();
        bool cascade = false;
        bool stayedOpen = false;
        QVERIFY(!ShowEditMenuItem(*item, cascade, nullptr, [&](TfrmEditMenuItem &d) {
            d.show();
            d.findChild<QLineEdit *>(field)->setText(text);
            QTest::mouseClick(d.btnOK, Qt::LeftButton);
            stayedOpen = d.isVisible() && d.result() != QDialog::Accepted;
            d.reject();
        }));
        QVERIFY(stayedOpen);
        QCOMPARE(prompter.Messages.size(), 1);
        QVERIFY2(prompter.Messages.first().startsWith(label + u':'), qPrintable(prompter.Messages.first()));
        QCOMPARE(item->Entity(), before);
    }

    void harmlessAngleBracketsAreTaken()
    {
        ScriptedPrompter prompter;
        TMenuCollectionItem *item = newEntry();
        bool cascade = false;
        QVERIFY(edit(*item, cascade, [](TfrmEditMenuItem &d) {
            d.eCaption->setText(u"<Hint> 설명"_qs); // Hint is read again after it
            d.eHint->setText(u"x>y<z"_qs);
            d.eFrame->setText(u"<Permission>1</Permission>"_qs); // so is Permission
        }));
        QVERIFY(prompter.Messages.isEmpty());
        QCOMPARE(item->Caption(), u"<Hint> 설명"_qs);
        QCOMPARE(item->Hint(), u"x>y<z"_qs);
        QCOMPARE(item->Parameters(), u"<Permission>1</Permission>"_qs);
    }
};

QTEST_MAIN(TestEditMenuItem)
#include "tst_editmenuitem.moc"
