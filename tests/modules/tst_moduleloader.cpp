#include "ModuleFixture.h"
#include "ScriptedPrompter.h"

#include <QTemporaryDir>
#include <QtTest>

// The module loader with the real sample libraries: use counts, the kill
// list and the collector, missing and refused module names, window counters.
class TestModuleLoader : public QObject {
    Q_OBJECT

    std::unique_ptr<TModuleFixture> FFramework;
    const QString FSamples = QStringLiteral(VREL_BIN_DIR "/Screen/");

    TVrelModuleLoader &loader() { return *ModuleLoader; }

    // Count of `name` in the use list, or 0.
    int useCount(const QString &name)
    {
        const qsizetype i = loader().UseList().IndexOf(name);
        return i < 0 ? 0 : loader().UseList().Objects(i)->Count();
    }

private slots:
    void init()
    {
        FFramework = std::make_unique<TModuleFixture>();
        loader().SetPrefix(QStringLiteral("tr"));
        loader().SetModulePath(FSamples);
    }
    void cleanup()
    {
        FFramework.reset();
        QVERIFY(!isMapped(sampleModule("tr1000.so")));
    }

    void pathsBesideTheExecutable()
    {
        TVrelModuleLoader fresh;
        const QString dir = QCoreApplication::applicationDirPath() + u'/';
        QCOMPARE(fresh.Path(), dir);
        QCOMPARE(fresh.ModulePath(), dir + "Screen/");
        QCOMPARE(fresh.SavePath(), dir + "Saved/");
        QCOMPARE(fresh.ReportPath(), dir + "Report/");
        QVERIFY(fresh.Prefix().isEmpty());
        QVERIFY(!fresh.CheckWindow());
        QCOMPARE(fresh.GarbageCollector().interval(), 5000);
        QVERIFY(fresh.GarbageCollector().isActive());
    }

    // Load twice: one library, count 2; each form gives one use back; the last
    // queues the library, and the collector unloads it and its class goes.
    void useCountsAndCollector()
    {
        const QString path = sampleModule("tr1000.so");
        QVERIFY(!isMapped(path));
        TVrelForm *first = loader().Load("1000");
        TVrelForm *second = loader().Load("1000");
        QVERIFY(first && second);
        QCOMPARE(loader().UseList().Count(), 1);
        QCOMPARE(useCount("tr1000.so"), 2);
        QVERIFY(isMapped(path));
        QVERIFY(IsClassRegistered("TVrel1000"));

        delete first;
        QCOMPARE(useCount("tr1000.so"), 1);
        QCOMPARE(loader().KillList().Count(), 0);
        delete second;
        QCOMPARE(loader().UseList().Count(), 0);
        QCOMPARE(loader().KillList().Count(), 1);
        QVERIFY(isMapped(path)); // never unloaded from inside a destructor
        QVERIFY(IsClassRegistered("TVrel1000"));

        loader().CollectGarbage();
        QCOMPARE(loader().KillList().Count(), 0);
        QVERIFY(!IsClassRegistered("TVrel1000"));
        QVERIFY(!isMapped(path));
        QVERIFY(loader().GarbageCollector().isActive());
    }

    void collectorRunsOnItsTimer()
    {
        loader().GarbageCollector().setInterval(20);
        delete loader().Load("1010");
        QCOMPARE(loader().KillList().Count(), 1);
        QTRY_VERIFY(!IsClassRegistered("TVrel1010"));
        QCOMPARE(loader().KillList().Count(), 0);
        QVERIFY(!isMapped(sampleModule("tr1010.so")));
    }

    // Queued and loaded again before the collector: a fresh load; the queued
    // unload undoes only the earlier one.
    void reloadWhileQueued()
    {
        delete loader().Load("1000");
        QCOMPARE(loader().KillList().Count(), 1);
        TVrelForm *form = loader().Load("1000");
        QVERIFY(form);
        loader().CollectGarbage();
        QVERIFY(IsClassRegistered("TVrel1000"));
        QVERIFY(isMapped(sampleModule("tr1000.so")));
        delete form;
        loader().CollectGarbage();
        QVERIFY(!isMapped(sampleModule("tr1000.so")));
    }

    void unLoadIgnoresCaseAndUnlistedNames()
    {
        TVrelForm *form = loader().Load("1000");
        form->SetModuleName(QString()); // the test gives the use back itself
        loader().UnLoad("tr4242.so");
        QCOMPARE(useCount("tr1000.so"), 1);
        loader().UnLoad("TR1000.SO");
        QCOMPARE(loader().UseList().Count(), 0);
        QCOMPARE(loader().KillList().Count(), 1);
        delete form;
        loader().CollectGarbage();
    }

    void unLoadAllEmptiesBothLists()
    {
        QList<TVrelForm *> forms{loader().Load("1000"), loader().Load("1000"), loader().Load("1010")};
        delete forms.takeLast(); // tr1010.so queued
        for (TVrelForm *form : forms)
            form->SetModuleName(QString());
        QCOMPARE(loader().UseList().Count(), 1);
        QCOMPARE(loader().KillList().Count(), 1);
        qDeleteAll(forms); // no form may outlive its library
        loader().UnLoadAll();
        QCOMPARE(loader().UseList().Count(), 0);
        QCOMPARE(loader().KillList().Count(), 0);
        QVERIFY(!isMapped(sampleModule("tr1000.so")));
        QVERIFY(!isMapped(sampleModule("tr1010.so")));
    }

    // Missing modules and codes that would leave the module directory are
    // refused alike: the message names the file, no list changes.
    void refusedModules_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("missing") << "tr" << "4242" << "tr4242.so";
        QTest::newRow("parent directory") << "" << "../Screen/tr1000" << "../Screen/tr1000.so";
        QTest::newRow("absolute path") << "" << QString(VREL_BIN_DIR "/Screen/tr1000")
                                       << QString(VREL_BIN_DIR "/Screen/tr1000.so");
        QTest::newRow("dot dot in name") << "tr" << "..1000" << "tr..1000.so";
        QTest::newRow("blank") << "tr" << "1000 " << "tr1000 .so";
        QTest::newRow("empty") << "" << "" << ".so";
    }
    void refusedModules()
    {
        QFETCH(QString, prefix);
        QFETCH(QString, code);
        QFETCH(QString, fileName);
        ScriptedPrompter prompter;
        loader().SetPrefix(prefix);
        QVERIFY(!loader().Load(code));
        QCOMPARE(prompter.Messages, QStringList{u"Module %1을(를) 찾을 수 없습니다"_qs.arg(fileName)});
        QCOMPARE(loader().UseList().Count(), 0);
        QCOMPARE(loader().KillList().Count(), 0);
        QVERIFY(!isMapped(sampleModule("tr1000.so")));
        QCOMPARE(loader().OpenModal(code), -1);
    }

    void moduleWithoutItsClassIsGivenBackSilently()
    {
        ScriptedPrompter prompter;
        loader().SetModulePath(VREL_TEST_MODULE_DIR);
        QVERIFY(!loader().Load("9999"));
        QVERIFY(prompter.Messages.isEmpty());
        QCOMPARE(loader().UseList().Count(), 0);
        QCOMPARE(loader().KillList().Count(), 1);
        loader().CollectGarbage();
        QVERIFY(!isMapped(VREL_TEST_MODULE_DIR "tr9999.so"));
    }

    // A form that fails while it is made gives the use back, silently.
    void failingFormConstruction_data()
    {
        QTest::addColumn<bool>("inLoaded");
        QTest::newRow("constructor raises") << false;
        QTest::newRow("Loaded raises") << true;
    }
    void failingFormConstruction()
    {
        QFETCH(bool, inLoaded);
        struct TFailingLoaded : TVrelForm {
            TFailingLoaded() { SetModuleName("tr9999.so"); }
            void Loaded() override { throw EVrelError("Loaded failed"); }
        };
        ScriptedPrompter prompter;
        loader().SetModulePath(VREL_TEST_MODULE_DIR);
        RegisterClass("TVrel9999", inLoaded ? [] () -> TVrelForm * { return new TFailingLoaded; }
                                            : [] () -> TVrelForm * { throw EVrelError("no form"); });
        QVERIFY(!loader().Load("9999"));
        UnRegisterClass("TVrel9999");
        QVERIFY(prompter.Messages.isEmpty());
        QVERIFY(TVrelForm::Forms().isEmpty());
        QCOMPARE(loader().UseList().Count(), 0);
        QCOMPARE(loader().KillList().Count(), 1);
    }

    void unloadableLibraryRaisesAndIsNotListed()
    {
        QTemporaryDir dir;
        QFile bad(dir.filePath("tr8888.so"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("not a library");
        bad.close();
        loader().SetModulePath(dir.path() + u'/');
        QVERIFY_THROWS_EXCEPTION(EPackageError, loader().Load("8888"));
        QCOMPARE(loader().UseList().Count(), 0);
        // An admission taken for it is given back.
        QVERIFY_THROWS_EXCEPTION(EPackageError, loader().Open("8888", 0, 7, nullptr, QString()));
        QCOMPARE(WindowUsageList->Count(), 0);
    }

    void moduleDescriptionWithoutAForm()
    {
        TVrelModuleDescription description;
        QVERIFY(ReadModuleDescription(sampleModule("tr1000.so"), description));
        QCOMPARE(description.Description, u"custlist"_qs);
        QCOMPARE(description.Version, u"1.0.0.0"_qs);
        QVERIFY(ReadModuleDescription(sampleModule("tr1010.so"), description));
        QCOMPARE(description.Description, u"custreg"_qs);
        QVERIFY(TVrelForm::Forms().isEmpty());
        QVERIFY(!IsClassRegistered("TVrel1010"));
        QVERIFY(!isMapped(sampleModule("tr1010.so")));
    }

    // Reading the description of a module in use leaves it loaded.
    void descriptionOfAModuleInUse()
    {
        TVrelForm *form = loader().Load("1000");
        TVrelModuleDescription description;
        QVERIFY(ReadModuleDescription(sampleModule("tr1000.so"), description));
        QVERIFY(isMapped(sampleModule("tr1000.so")));
        QVERIFY(IsClassRegistered("TVrel1000"));
        delete form;
    }

    void windowUsageCounters()
    {
        QVERIFY(AcquireWindowUsage("tr1000.so"));
        WindowUsageList->Objects(0)->IncCount();
        ReleaseWindowUsage("TR1000.SO");
        QCOMPARE(WindowUsageList->Objects(0)->UseCount(), 1);
        ReleaseWindowUsage("tr1000.so");
        QCOMPARE(WindowUsageList->Count(), 0);
        ReleaseWindowUsage("tr1000.so");
        QCOMPARE(WindowUsageList->Count(), 0);

    }
};

QTEST_MAIN(TestModuleLoader)
#include "tst_moduleloader.moc"
