#include "ModuleFixture.h"
#include "ScriptedPrompter.h"

#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QtTest>

// Opening screens from their codes with the loader: the styles, the starting
// link, instance limits and bringing to the front, with the sample modules and
// with screen 9999 (a class registered here, a library without one).
class TestOpenScreen : public QObject {
    Q_OBJECT

    std::unique_ptr<TModuleFixture> FFramework;
    std::unique_ptr<TMdiHost> FHost;
    std::unique_ptr<QTemporaryDir> FSaved;
    ScriptedPrompter FNoDialogs; // a message box nobody expects must not block

    TVrelModuleLoader &loader() { return *ModuleLoader; }
    QList<QMdiSubWindow *> children() const { return FHost->Area->subWindowList(); }
    int usage(const QString &key) const
    {
        const qsizetype i = WindowUsageList->IndexOf(key);
        return i < 0 ? 0 : WindowUsageList->Objects(i)->UseCount();
    }
    // Opens screen 9999 (the test class) with these settings.
    void useTestScreen(int maxInstance = 0, const QString &moduleName = "tr9999.so")
    {
        loader().SetModulePath(VREL_TEST_MODULE_DIR);
        TTestScreenSetup::MaxInstance = maxInstance;
        TTestScreenSetup::ModuleName = moduleName;
        TTestScreenSetup::Received.clear();
    }
    static TVrelForm *formOf(QMdiSubWindow *sub) { return qobject_cast<TVrelForm *>(sub->widget()); }

private slots:
    void init()
    {
        FFramework = std::make_unique<TModuleFixture>();
        FHost = std::make_unique<TMdiHost>();
        FSaved = std::make_unique<QTemporaryDir>();
        loader().SetSavePath(FSaved->path() + u'/');
        loader().SetPrefix("tr");
        loader().SetModulePath(VREL_BIN_DIR "/Screen/");
    }
    void cleanup()
    {
        FHost.reset();
        FFramework.reset();
    }

    void styles_data()
    {
        QTest::addColumn<int>("style");
        QTest::newRow("0 MDI child") << 0;
        QTest::newRow("1 modeless") << 1;
        QTest::newRow("2 modal") << 2;
        QTest::newRow("7 hidden") << 7;
    }
    void styles()
    {
        QFETCH(int, style);
        TTestScreenClass registered;
        useTestScreen();
        TVrelLink link;
        link.SetCommand("Start");
        bool modalSeen = false;
        if (style == 2)
            QTimer::singleShot(0, this, [&] {
                TVrelForm *form = TVrelForm::Forms().value(0);
                modalSeen = form && form->isVisible() && form->isModal() && form->Monitor() == 2;
                form->close();
            });
        loader().Open("9999", 2, style, &link, QString());
        QCOMPARE(TTestScreenSetup::Received, style == 0 ? QStringList{"Start"} : QStringList{});
        QCOMPARE(children().size(), style == 0 ? 1 : 0);
        if (style == 2) {
            QVERIFY(modalSeen);
            QVERIFY(TVrelForm::Forms().isEmpty()); // freed when the modal loop ended
            QCOMPARE(usage("tr9999.so"), 0);
            QCOMPARE(loader().UseList().Count(), 0);
            return;
        }
        QCOMPARE(TVrelForm::Forms().size(), 1);
        TVrelForm *form = TVrelForm::Forms().first();
        QCOMPARE(form->Monitor(), 2);
        QCOMPARE(form->isVisible(), style != 7);
        QCOMPARE(form->isWindow(), style != 0);
        QCOMPARE(usage("tr9999.so"), 1);
        QCOMPARE(form->Caption(), u"[9999] test"_qs);
        if (style != 0)
            QCOMPARE(form->size(), QSize(300, 200));
    }

    // Screen 1000 (MaxInstance 0): the second open brings the first window
    // to the front instead of opening another.
    void secondOpenBringsTheFirstToFront()
    {
        loader().Open("1000", 0, 0, nullptr, QString());
        loader().Open("1010", 0, 0, nullptr, u"신규고객"_qs);
        QVERIFY(FNoDialogs.Messages.isEmpty());
        QCOMPARE(children().size(), 2);
        QCOMPARE(formOf(FHost->Area->activeSubWindow())->ScreenID(), u"1010"_qs);
        loader().Open("1000", 0, 0, nullptr, QString());
        QCOMPARE(children().size(), 2);
        QCOMPARE(usage("tr1000.so"), 1);
        QCOMPARE(formOf(FHost->Area->activeSubWindow())->ScreenID(), u"1000"_qs);
        QCOMPARE(useCountOf("tr1000.so"), 1);
    }

    void maxInstanceTwoAllowsThree()
    {
        TTestScreenClass registered;
        useTestScreen(2);
        for (int i = 0; i < 4; ++i)
            loader().Open("9999", 0, 0, nullptr, QString());
        QCOMPARE(children().size(), 3);
        QCOMPARE(usage("tr9999.so"), 3);
        children().first()->close();
        runDeferredDeletes();
        QCOMPARE(children().size(), 2);
        QCOMPARE(usage("tr9999.so"), 2);
        loader().Open("9999", 0, 0, nullptr, QString());
        QCOMPARE(children().size(), 3);
        TVrelForm::FreeAll();
    }

    // A listed module whose open screens carry its name in other letter case:
    // refused, nothing counted, nothing brought to the front.
    void listedButNoFormCarriesTheName()
    {
        loader().Open("1010", 0, 0, nullptr, QString());
        TTestScreenClass registered;
        useTestScreen(5, "TR9999.so");
        loader().Open("9999", 0, 0, nullptr, QString());
        FHost->Area->setActiveSubWindow(children().first());
        QMdiSubWindow *active = FHost->Area->activeSubWindow();
        loader().Open("9999", 0, 0, nullptr, QString());
        QCOMPARE(children().size(), 2);
        QCOMPARE(usage("tr9999.so"), 1);
        QCOMPARE(FHost->Area->activeSubWindow(), active);
        TVrelForm::FreeAll();
    }

    // A failed load gives its admission back: later opens are not refused.
    void failedLoadGivesTheAdmissionBack()
    {
        ScriptedPrompter prompter;
        useTestScreen();
        loader().Open("9999", 0, 0, nullptr, QString()); // no class registered
        QCOMPARE(WindowUsageList->Count(), 0);
        loader().Open("4242", 0, 0, nullptr, QString()); // no library
        QCOMPARE(WindowUsageList->Count(), 0);
        QCOMPARE(prompter.Messages, QStringList{u"Module tr4242.so을(를) 찾을 수 없습니다"_qs});
        TTestScreenClass registered;
        loader().Open("9999", 0, 0, nullptr, QString());
        QCOMPARE(children().size(), 1);
        TVrelForm::FreeAll();
    }

    // A form made by Load, never admitted, still counts its module down when
    // it goes; then the next open is admitted as a first window.
    void unadmittedFormCountsDown()
    {
        loader().Open("1000", 0, 0, nullptr, QString());
        TVrelForm *loose = loader().Load("1000");
        delete loose;
        QCOMPARE(usage("tr1000.so"), 0);
        loader().Open("1000", 0, 0, nullptr, QString());
        QCOMPARE(children().size(), 2);
        TVrelForm::FreeAll();
    }

    void openModalReturnsTheResult()
    {
        QTimer::singleShot(0, this, [] { TVrelForm::Forms().value(0)->SetModalResult(mrOk); });
        QCOMPARE(loader().OpenModal("1010"), int(mrOk));
        runDeferredDeletes();
        QVERIFY(TVrelForm::Forms().isEmpty());
        QCOMPARE(loader().KillList().Count(), 1);
    }

    // Close the customer list: its position file is written; open it again:
    // the position comes back.
    void positionComesBack()
    {
        loader().Open("1000", 0, 0, nullptr, QString());
        QMdiSubWindow *sub = children().first();
        sub->setGeometry(40, 30, 600, 400);
        sub->close();
        runDeferredDeletes();
        QVERIFY(children().isEmpty());
        QVERIFY(QFileInfo::exists(FSaved->filePath("1000.sav")));
        loader().CollectGarbage();
        QVERIFY(!IsClassRegistered("TVrel1000"));

        loader().Open("1000", 0, 0, nullptr, QString());
        QCOMPARE(children().first()->geometry(), QRect(40, 30, 600, 400));
    }

    void sampleFormDescriptions_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QSize>("clientSize");
        QTest::addColumn<bool>("statusBar");
        QTest::newRow("custlist") << "1000" << u"[1000] 고객리스트"_qs << QSize(741, 465) << true;
        QTest::newRow("custreg") << "1010" << u"[1010] 신규고객 등록"_qs << QSize(635, 337) << false;
    }
    void sampleFormDescriptions()
    {
        QFETCH(QString, code);
        QFETCH(QString, caption);
        QFETCH(QSize, clientSize);
        QFETCH(bool, statusBar);
        TVrelForm *form = loader().Load(code);
        QVERIFY(form);
        QCOMPARE(form->objectName(), "Vrel" + code);
        QCOMPARE(form->Caption(), caption);
        QCOMPARE(form->size(), clientSize);
        QCOMPARE(form->ScreenID(), code);
        QCOMPARE(form->ModuleName(), "tr" + code + ".so");
        QCOMPARE(form->ModuleInfo().Version(), u"1.00.00"_qs);
        QVERIFY(!form->ModuleInfo().Author().isEmpty());
        QVERIFY(form->ModuleInfo().Description().isEmpty());
        QCOMPARE(form->MaxInstance(), 0);
        QCOMPARE(form->Group(), -1);
        QVERIFY(form->SavePosition() && form->Options().IsEmpty());
        QCOMPARE(form->font().families().value(0), u"굴림체"_qs);
        QCOMPARE(form->font().pixelSize(), 12);
        auto *bar = form->findChild<TVrelStatusBar *>("StatusBar1");
        QCOMPARE(bar != nullptr, statusBar);
        if (bar) {
            QCOMPARE(bar->PanelCount(), 2);
            QCOMPARE(bar->PanelWidth(0), 120);
            QCOMPARE(bar->PanelWidth(1), 50);
            form->show();
            QCOMPARE(bar->geometry(), QRect(0, 446, 741, 19));
            form->DisplayMessage("ignored"); // named StatusBar1, not STATUSBAR
            QVERIFY(bar->PanelText(0).isEmpty() && bar->PanelText(1).isEmpty());
        }
        delete form;
    }

private:
    int useCountOf(const QString &name)
    {
        const qsizetype i = loader().UseList().IndexOf(name);
        return i < 0 ? 0 : loader().UseList().Objects(i)->Count();
    }
};

QTEST_MAIN(TestOpenScreen)
#include "tst_openscreen.moc"
