// Find (Ctrl+F) and Find next (F3): the search dialog, the matching rules,
// the walk in display order without wrapping, and the not-found messages.
#include "EditorWindow.h"
#include "Global.h"
#include "Search.h"
#include "vrelFramework.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

namespace {
const QString kMenu = u"고객(고객 등록=1000,고객 조회=100,고객 삭제= 100),영업(수주=2000,영업 보고(월간 고객=),출고=),"
                      u"Customer=3000,customer list=3001"_qs;
} // namespace

class TestSearch : public QObject {
    Q_OBJECT

    TVrelFramework FFramework;
    EditorWindowFixture F;
    int FDialogs = 0;
    qint32 FShownMethod = -1;
    QString FShownName;

    // The search dialog with `user` playing the user's part.
    void searchWith(const std::function<void(TfrmSearch &)> &user)
    {
        F.Main->SearchMenu = [this, user](qint32 &method, QString &name) {
            return ShowSearch(method, name, F.Main.get(), [this, &user](TfrmSearch &d) {
                ++FDialogs;
                FShownMethod = d.cbTRCode->isChecked() ? 1 : d.cbCaption->isChecked() ? 2 : 0;
                FShownName = d.eSearch->text();
                user(d);
            });
        };
    }

    // The user chooses the kind and text and presses OK.
    void find(qint32 method, const QString &name)
    {
        searchWith([method, name](TfrmSearch &d) {
            (method == 1 ? d.cbTRCode : d.cbCaption)->setChecked(true);
            d.eSearch->setText(name);
            QTest::mouseClick(d.Button1, Qt::LeftButton);
        });
        QTest::keyClick(F.Main->TreeList, Qt::Key_F, Qt::ControlModifier);
    }

private slots:
    void initTestCase() { SetSettingsFileName(F.path(u"Brenvik.INI"_qs)); LoadSettings(); }
    void init()
    {
        F.start();
        F.open(kMenu);
        FDialogs = 0;
    }
    void cleanup()
    {
        // A search never changes the document.
        QVERIFY(!F.Main->DataChanged);
        QCOMPARE(F.saved(), fileOutline(F.path(u"menu.dat"_qs)));
        F.stop();
    }

    void dialog()
    {
        TfrmSearch d;
        QCOMPARE(d.windowTitle(), u"메뉴검색"_qs);
        QCOMPARE(d.size(), QSize(404, 138));
        QCOMPARE(d.cbTRCode->text(), u"TR 코드로 검색"_qs);
        QCOMPARE(d.cbCaption->text(), u"메뉴명으로 검색"_qs);
        QCOMPARE(d.Button1->text(), u"확인"_qs);
        QCOMPARE(d.Button2->text(), u"취소"_qs);
        QVERIFY(d.Button1->isDefault());
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        QCOMPARE(QApplication::focusWidget(), d.eSearch);
    }

    void showSearchReportsTheChoiceHoweverItCloses_data()
    {
        QTest::addColumn<int>("method");
        QTest::addColumn<bool>("ok");
        QTest::newRow("unknown method opens by caption") << 0 << true;
        QTest::newRow("by TR code, OK") << 1 << true;
        QTest::newRow("by caption, Cancel") << 2 << false;
    }
    void showSearchReportsTheChoiceHoweverItCloses()
    {
        QFETCH(int, method);
        QFETCH(bool, ok);
        qint32 m = method;
        QString name = u"old"_qs;
        const bool result = ShowSearch(m, name, nullptr, [&](TfrmSearch &d) {
            QCOMPARE(d.cbTRCode->isChecked(), method == 1);
            QCOMPARE(d.cbCaption->isChecked(), method != 1);
            QCOMPARE(d.eSearch->text(), u"old"_qs);
            d.eSearch->setText(u"new"_qs);
            QTest::mouseClick(ok ? d.Button1 : d.Button2, Qt::LeftButton);
        });
        QCOMPARE(result, ok);
        QCOMPARE(m, method == 1 ? 1 : 2);
        QCOMPARE(name, u"new"_qs);
    }

    void findSelectsTheFirstMatch_data()
    {
        QTest::addColumn<int>("method");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("found");   // empty: the not-found message
        QTest::newRow("TR code, whole text") << 1 << u"100"_qs << u"고객 조회"_qs;
        QTest::newRow("TR code, no prefix match") << 1 << u"10"_qs << QString();
        QTest::newRow("TR code, blank significant") << 1 << u" 100"_qs << u"고객 삭제"_qs;
        QTest::newRow("TR code, empty finds the first empty code") << 1 << QString() << u"고객"_qs;
        QTest::newRow("caption, anywhere") << 2 << u"보고"_qs << u"영업 보고"_qs;
        QTest::newRow("caption, in a collapsed entry") << 2 << u"월간"_qs << u"월간 고객"_qs;
        QTest::newRow("caption, letter case") << 2 << u"cust"_qs << u"customer list"_qs;
        QTest::newRow("caption, empty matches nothing") << 2 << QString() << QString();
        QTest::newRow("caption, absent") << 2 << u"없는 메뉴"_qs << QString();
    }
    void findSelectsTheFirstMatch()
    {
        QFETCH(int, method);
        QFETCH(QString, name);
        QFETCH(QString, found);
        F.Main->TreeList->collapseAll();
        F.select(u"customer list"_qs);
        find(method, name);
        QCOMPARE(FDialogs, 1);
        QCOMPARE(F.Main->FindMethod, method);
        QCOMPARE(F.Main->FindName, name);
        if (found.isEmpty()) {
            QCOMPARE(F.Prompter->Messages, QStringList{name + u"을(를) 찾을 수 없습니다"_qs});
            QCOMPARE(F.selectedText(), u"customer list"_qs);
            return;
        }
        QVERIFY(F.Prompter->Messages.isEmpty());
        QTreeWidgetItem *match = F.Main->TreeList->currentItem();
        QCOMPARE(match->text(0), found);
        QVERIFY(match->isSelected());
        QVERIFY(F.Main->TreeList->hasFocus());
        for (QTreeWidgetItem *p = match->parent(); p; p = p->parent())
            QVERIFY(p->isExpanded());
    }

    void firstFindOpensByCaptionThenWithTheLastSearch()
    {
        find(1, u"2000"_qs);
        QCOMPARE(FShownMethod, 2);
        QCOMPARE(FShownName, QString());
        QCOMPARE(F.selectedText(), u"수주"_qs);
        find(2, u"고객"_qs);
        QCOMPARE(FShownMethod, 1);
        QCOMPARE(FShownName, u"2000"_qs);
    }

    void cancelledFindKeepsTheChoiceForFindNext()
    {
        F.select(u"고객"_qs);
        searchWith([](TfrmSearch &d) {
            d.cbTRCode->setChecked(true);
            d.eSearch->setText(u"2000"_qs);
            QTest::mouseClick(d.Button2, Qt::LeftButton);
        });
        F.Main->actFind->trigger();
        QCOMPARE(F.selectedText(), u"고객"_qs);
        QVERIFY(F.Prompter->Messages.isEmpty());
        QTest::keyClick(F.Main->TreeList, Qt::Key_F3);
        QCOMPARE(F.selectedText(), u"수주"_qs);
    }

    void findNextBeforeAnyFind()
    {
        QTest::keyClick(F.Main->TreeList, Qt::Key_F3);
        QCOMPARE(F.Prompter->Messages, QStringList{u"을(를) 더이상 찾을 수 없습니다"_qs});
        QCOMPARE(F.selectedText(), u"고객"_qs);
    }

    void findNextWalksToTheEndWithoutWrapping()
    {
        find(2, u"고객"_qs);
        QCOMPARE(F.selectedText(), u"고객"_qs);
        QStringList seen;
        for (int i = 0; i < 4; ++i) {
            F.Main->acFindNext->trigger();
            seen << F.selectedText();
        }
        QCOMPARE(seen, (QStringList{u"고객 등록"_qs, u"고객 조회"_qs, u"고객 삭제"_qs, u"월간 고객"_qs}));
        QVERIFY(F.Prompter->Messages.isEmpty());
        F.Main->acFindNext->trigger();
        QCOMPARE(F.Prompter->Messages, QStringList{u"고객을(를) 더이상 찾을 수 없습니다"_qs});
        QCOMPARE(F.selectedText(), u"월간 고객"_qs);
        // Find starts at the top again.
        find(2, u"고객"_qs);
        QCOMPARE(F.selectedText(), u"고객"_qs);
    }

    void findNextWithNothingSelectedStartsAtTheTop()
    {
        F.Main->FindMethod = 1;
        F.Main->FindName = u"1000"_qs;
        F.Main->TreeList->setCurrentItem(nullptr);
        F.Main->acFindNext->trigger();
        QCOMPARE(F.selectedText(), u"고객 등록"_qs);
    }

    void matchIsScrolledToTheTopRow()
    {
        // Enough entries that the tree scrolls.
        QStringList entries;
        for (int i = 0; i < 60; ++i)
            entries << u"항목%1(하위%1=%1)"_qs.arg(i);
        F.open(entries.join(u','));
        F.Main->TreeList->collapseAll();
        F.Main->FindMethod = 1;
        F.Main->FindName = u"30"_qs;
        F.Main->acFindNext->trigger();
        QTreeWidgetItem *match = F.Main->TreeList->currentItem();
        QCOMPARE(match->text(0), u"하위30"_qs);
        QVERIFY(match->parent()->isExpanded());
        QCOMPARE(F.Main->TreeList->visualItemRect(match).top(), 0);
    }
};

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
