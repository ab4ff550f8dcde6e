// vrelmenu as a black box: the built program is run on small menu files and its
// exit code, stdout and stderr are compared with what a user must see.
//
// Fixtures (tests/data/vrelmenu): plain.dat (the editor's form, three levels),
// compressed.dat (plain.dat through `convert --to compressed`), utf8-bom.dat
// (the same definition in UTF-8 with a byte-order mark and only the elements
// that differ from a new entry), count-too-large.dat and findings.dat.
#include "VrelMenuRunner.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString data(const char *name)
{
    return QStringLiteral(VREL_TEST_DATA "/vrelmenu/") + QLatin1StringView(name);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

const QByteArray kPlainTree = "기초정보\n"
                              "  거래처\n"
                              "    [2000] 거래처 등록 [2000]\n"
                              "    [2010] 거래처 조회 [2010]\n"
                              "  -\n"
                              "창\n";

const QByteArray kPlainStat = "entries: 6\ntop-level entries: 2\ngreatest depth: 3\nbytes: ";

} // namespace

class TestVrelMenu : public QObject {
    Q_OBJECT

    QTemporaryDir FTemp;
    QString temp(const char *name) const { return FTemp.filePath(QLatin1StringView(name)); }

private slots:
    void initTestCase()
    {
        QVERIFY(FTemp.isValid());
        QVERIFY(QFile::exists(QStringLiteral(VREL_BIN_DIR "/vrelmenu")));
    }

    void helpForEveryCommand_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("usage");
        QTest::newRow("overview") << QStringList{"--help"} << QByteArray("Usage: vrelmenu COMMAND");
        QTest::newRow("dump") << QStringList{"dump", "--help"} << QByteArray("Usage: vrelmenu dump FILE\n");
        QTest::newRow("tree") << QStringList{"tree", "--help"} << QByteArray("Usage: vrelmenu tree FILE [--json]\n");
        QTest::newRow("convert") << QStringList{"convert", "--help"}
                                 << QByteArray("Usage: vrelmenu convert IN OUT --to plain|compressed\n");
        QTest::newRow("check") << QStringList{"check", "--help"} << QByteArray("Usage: vrelmenu check FILE\n");
        QTest::newRow("stat") << QStringList{"stat", "--help"} << QByteArray("Usage: vrelmenu stat FILE\n");
        QTest::newRow("help wins over missing arguments")
            << QStringList{"convert", "x", "--help"} << QByteArray("Usage: vrelmenu convert");
    }
    void helpForEveryCommand()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, usage);
        const VrelMenuResult r = vrelmenu(args);
        QCOMPARE(r.Code, 0);
        QVERIFY2(r.Out.startsWith(usage), r.Out.constData());
        QVERIFY(r.Out.size() > usage.size() + 20); // a description follows
        QCOMPARE(r.Err, QByteArray());
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("error");
        const QString plain = data("plain.dat");
        QTest::newRow("no command") << QStringList{} << QByteArray("vrelmenu: no command given\n");
        QTest::newRow("unknown command") << QStringList{"frob", plain} << QByteArray("vrelmenu: unknown command frob");
        QTest::newRow("missing file") << QStringList{"dump"} << QByteArray("vrelmenu: expected FILE, got 0 argument(s)\n");
        QTest::newRow("extra file") << QStringList{"stat", plain, plain}
                                    << QByteArray("vrelmenu: expected FILE, got 2 argument(s)\n");
        QTest::newRow("unknown option") << QStringList{"tree", plain, "--xml"}
                                        << QByteArray("vrelmenu: unknown option --xml\n");
        QTest::newRow("flag of another command") << QStringList{"stat", plain, "--json"}
                                                 << QByteArray("vrelmenu: unknown option --json\n");
        QTest::newRow("convert without --to") << QStringList{"convert", plain, temp("out.dat")}
                                              << QByteArray("vrelmenu: --to plain|compressed is required\n");
        QTest::newRow("convert to an unknown form") << QStringList{"convert", plain, temp("out.dat"), "--to", "xml"}
                                                    << QByteArray("vrelmenu: --to must be plain or compressed, not xml\n");
        QTest::newRow("--to without a value") << QStringList{"convert", plain, temp("out.dat"), "--to"}
                                              << QByteArray("vrelmenu: option --to needs a value\n");
    }
    void usageErrors()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, error);
        const VrelMenuResult r = vrelmenu(args);
        QCOMPARE(r.Code, 1);
        QVERIFY2(r.Err.startsWith(error), r.Err.constData());
        QCOMPARE(r.Out, QByteArray());
        QVERIFY(!QFile::exists(temp("out.dat")));
    }

    // Every command that reads a menu file reports a file it cannot read on
    // stderr and prints nothing else.
    void unreadableFiles_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("error");
        const QString missing = temp("missing.dat");
        const QString broken = temp("broken.dat");   // zlib header, then no valid deflate block
        const QString truncated = temp("truncated.dat");
        writeFile(broken, QByteArray::fromHex("789CFFFFFFFF"));
        const QByteArray compressed = readFile(data("compressed.dat"));
        writeFile(truncated, compressed.left(compressed.size() / 2));
        const struct {
            const char *label;
            QString path;
            QByteArray error;
        } files[] = {
            {"missing", missing, "vrelmenu: Cannot open file \"" + missing.toUtf8() + "\". No such file or directory\n"},
            {"directory", FTemp.path(), "vrelmenu: Cannot open file \"" + FTemp.path().toUtf8() + "\". Is a directory\n"},
            {"not a zlib stream", broken, "vrelmenu: data error\n"},
            {"stream ends early", truncated, "vrelmenu: buffer error\n"},
        };
        const QList<QStringList> commands{{"dump"}, {"tree"}, {"tree", "--json"}, {"check"}, {"stat"}};
        for (const auto &file : files) {
            for (const QStringList &command : commands)
                QTest::addRow("%s %s", qPrintable(command.join(' ')), file.label)
                    << QStringList{command[0], file.path} + command.mid(1) << file.error;
            QTest::addRow("convert %s", file.label)
                << QStringList{"convert", file.path, temp("out.dat"), "--to", "plain"} << file.error;
        }
    }
    void unreadableFiles()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, error);
        const VrelMenuResult r = vrelmenu(args);
        QCOMPARE(r.Code, 1);
        QCOMPARE(r.Err, error);
        QCOMPARE(r.Out, QByteArray());
        QVERIFY(!QFile::exists(temp("out.dat")));
    }

    void dumpShowsEveryStoredProperty_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("plain") << data("plain.dat");
        QTest::newRow("compressed") << data("compressed.dat");
        QTest::newRow("utf-8 with byte-order mark") << data("utf8-bom.dat");
    }
    void dumpShowsEveryStoredProperty()
    {
        QFETCH(QString, file);
        const VrelMenuResult r = vrelmenu({"dump", file});
        QCOMPARE(r.Code, 0);
        QCOMPARE(r.Err, QByteArray());
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(r.Out, &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        const QJsonArray entries = doc.object().value("entries").toArray();
        QCOMPARE(entries.size(), 6);
        const QStringList names{"Buttons", "Cache", "Caption", "Checked", "Command", "Count", "Enabled", "Group",
                                "GroupIndex", "Hidden", "Hint", "HotKey", "ImageIndex", "MenuStyle", "ModuleName",
                                "Options", "Parameters", "Path", "Permission", "RunStyle", "ScreenStyle", "Search",
                                "ShortCaption", "TabIndex", "Tag", "Toogle", "Top", "UnLoad", "Visible"};
        for (const QJsonValue &e : entries) {
            QCOMPARE(e.toObject().keys(), names);
            for (const QJsonValue &v : e.toObject())
                QVERIFY(v.isString());
        }
        const QJsonObject folder = entries[1].toObject();
        QCOMPARE(folder.value("Caption").toString(), u"거래처"_qs);
        QCOMPARE(folder.value("Count").toString(), u"2"_qs);
        QCOMPARE(folder.value("RunStyle").toString(), u"rsNone"_qs);
        QCOMPARE(folder.value("Top").toString(), u"기초정보"_qs);
        const QJsonObject screen = entries[2].toObject();
        QCOMPARE(screen.value("Caption").toString(), u"[2000] 거래처 등록"_qs);
        QCOMPARE(screen.value("Command").toString(), u"2000"_qs);
        QCOMPARE(screen.value("Buttons").toString(), u"[coShare,coSDI,coZoom,coLock,coHelp]"_qs);
        QCOMPARE(screen.value("Options").toString(), u"[soMulti,soTab]"_qs);
        QCOMPARE(screen.value("ImageIndex").toString(), u"-1"_qs);
        QCOMPARE(screen.value("Permission").toString(), u"65535"_qs);
        const QJsonObject separator = entries[4].toObject();
        QCOMPARE(separator.value("Buttons").toString(), u"[]"_qs);
        QCOMPARE(separator.value("Options").toString(), u"[]"_qs);
        QCOMPARE(entries[5].toObject().value("MenuStyle").toString(), u"msWindows"_qs);
    }

    void dumpOfAnEmptyDefinition()
    {
        writeFile(temp("empty.dat"), "<?xml version = \"1.0\" ?>\r\n<Menu-list>\r\n</Menu-list>\r\n");
        const VrelMenuResult r = vrelmenu({"dump", temp("empty.dat")});
        QCOMPARE(r.Code, 0);
        QCOMPARE(QJsonDocument::fromJson(r.Out).object(), QJsonObject({{"entries", QJsonArray()}}));
    }

    void treeAsText_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("plain") << data("plain.dat");
        QTest::newRow("compressed") << data("compressed.dat");
        QTest::newRow("utf-8 with byte-order mark") << data("utf8-bom.dat");
    }
    void treeAsText()
    {
        QFETCH(QString, file);
        const VrelMenuResult r = vrelmenu({"tree", file});
        QCOMPARE(r.Code, 0);
        QCOMPARE(r.Out, kPlainTree);
        QCOMPARE(r.Err, QByteArray());
    }

    void treeAsJson()
    {
        const VrelMenuResult r = vrelmenu({"tree", data("compressed.dat"), "--json"});
        QCOMPARE(r.Code, 0);
        auto node = [](const char16_t *caption, const char16_t *command, QJsonArray children = {}) {
            return QJsonObject{{"caption", QString::fromUtf16(caption)},
                               {"command", QString::fromUtf16(command)},
                               {"children", children}};
        };
        const QJsonArray expected{
            node(u"기초정보", u"",
                 {node(u"거래처", u"", {node(u"[2000] 거래처 등록", u"2000"), node(u"[2010] 거래처 조회", u"2010")}),
                  node(u"-", u"")}),
            node(u"창", u""),
        };
        QCOMPARE(QJsonDocument::fromJson(r.Out).array(), expected);
    }

    // A Count that asks past the end: the tree read so far, then the list error.
    void treeWithCountTooLarge_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("out");
        QTest::newRow("text") << QStringList{} << QByteArray("메뉴\n  하위\n    [1] 항목 [1]\n");
        QTest::newRow("json") << QStringList{"--json"}
                              << QJsonDocument(QJsonArray{QJsonObject{
                                                   {"caption", u"메뉴"_qs},
                                                   {"command", ""},
                                                   {"children", QJsonArray{QJsonObject{
                                                                    {"caption", u"하위"_qs},
                                                                    {"command", ""},
                                                                    {"children", QJsonArray{QJsonObject{
                                                                                     {"caption", u"[1] 항목"_qs},
                                                                                     {"command", "1"},
                                                                                     {"children", QJsonArray()}}}}}}}}})
                                     .toJson();
    }
    void treeWithCountTooLarge()
    {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, out);
        const VrelMenuResult r = vrelmenu(QStringList{"tree", data("count-too-large.dat")} + options);
        QCOMPARE(r.Code, 1);
        QCOMPARE(r.Out, out);
        QCOMPARE(r.Err, QByteArray("vrelmenu: List index out of bounds (3)\n"));
    }

    // A chain of entries each holding the next: stat reads it, tree refuses
    // to print it rather than writing output that grows with its square.
    void deepChain()
    {
        QByteArray text = "<?xml version = \"1.0\" ?>\r\n<Menu-list>\r\n";
        for (int i = 0; i < 300; ++i)
            text += "  <Menu><Caption>" + QByteArray::number(i) + "</Caption><Count>1</Count></Menu>\r\n";
        text += "  <Menu><Caption>leaf</Caption></Menu>\r\n</Menu-list>\r\n";
        writeFile(temp("chain.dat"), text);
        const VrelMenuResult stat = vrelmenu({"stat", temp("chain.dat")});
        QCOMPARE(stat.Code, 0);
        QVERIFY(stat.Out.contains("greatest depth: 301\n"));
        const VrelMenuResult tree = vrelmenu({"tree", temp("chain.dat")});
        QCOMPARE(tree.Code, 1);
        QCOMPARE(tree.Out, QByteArray());
        QCOMPARE(tree.Err, QByteArray("vrelmenu: the tree is 301 levels deep; tree shows at most 256\n"));
    }

    // Every form converts to the editor's plain form byte for byte.
    void convertToPlain_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("plain") << data("plain.dat");
        QTest::newRow("compressed") << data("compressed.dat");
        QTest::newRow("utf-8 with byte-order mark") << data("utf8-bom.dat");
    }
    void convertToPlain()
    {
        QFETCH(QString, file);
        const QString out = temp("converted.dat");
        const VrelMenuResult r = vrelmenu({"convert", file, out, "--to", "plain"});
        QCOMPARE(r.Code, 0);
        QCOMPARE(r.Out, QByteArray());
        QCOMPARE(r.Err, QByteArray());
        QCOMPARE(readFile(out), readFile(data("plain.dat")));
    }

    void convertRoundTrip()
    {
        const QString packed = temp("packed.dat"), unpacked = temp("unpacked.dat");
        QCOMPARE(vrelmenu({"convert", data("plain.dat"), packed, "--to", "compressed"}).Code, 0);
        const QByteArray bytes = readFile(packed);
        QVERIFY(bytes.startsWith("\x78\x9C"));
        QVERIFY(bytes.size() < readFile(data("plain.dat")).size());
        QCOMPARE(vrelmenu({"tree", packed}).Out, kPlainTree);
        QCOMPARE(vrelmenu({"convert", packed, unpacked, "--to", "plain"}).Code, 0);
        QCOMPARE(readFile(unpacked), readFile(data("plain.dat")));
        // Converting a file onto itself replaces it safely.
        QCOMPARE(vrelmenu({"convert", unpacked, unpacked, "--to", "compressed"}).Code, 0);
        QCOMPARE(readFile(unpacked), bytes);
    }

    void convertCannotCreate()
    {
        const QString out = temp("no-such-dir/out.dat");
        const VrelMenuResult r = vrelmenu({"convert", data("plain.dat"), out, "--to", "plain"});
        QCOMPARE(r.Code, 1);
        QVERIFY2(r.Err.startsWith("vrelmenu: Cannot create file \"" + out.toUtf8() + "\". "), r.Err.constData());
        QCOMPARE(r.Out, QByteArray());
    }

    // A plain file whose first byte happens to be 0x78 without a zlib check
    // value is still plain.
    void formIsToldFromTheContent()
    {
        QByteArray text = readFile(data("plain.dat"));
        text.replace(0, 2, "x<"); // 0x78 0x3C: (0x78 * 256 + 0x3C) % 31 is 28
        writeFile(temp("x.dat"), text);
        QCOMPARE(vrelmenu({"tree", temp("x.dat")}).Out, kPlainTree);
    }

    // After "--" every argument is a file name, even one that looks like an option.
    void fileNamedLikeAnOption()
    {
        QVERIFY(QFile::copy(data("plain.dat"), temp("--help")));
        const VrelMenuResult r = vrelmenu({"tree", "--", "--help"}, FTemp.path());
        QCOMPARE(r.Code, 0);
        QCOMPARE(r.Out, kPlainTree);
        QCOMPARE(r.Err, QByteArray());
    }

    void check_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("out");
        QTest::newRow("plain, nothing to report") << data("plain.dat") << 0 << QByteArray();
        QTest::newRow("compressed, nothing to report") << data("compressed.dat") << 0 << QByteArray();
        QTest::newRow("count too large") << data("count-too-large.dat") << 1
                                         << QByteArray("line 4: Count 3 is too large: List index out of bounds (3)\n");
        QTest::newRow("findings") << data("findings.dat") << 1
                                  << QByteArray("line 3: Permission 70000 is outside 0..65535\n"
                                                "line 4: GroupIndex 300 is outside 0..255\n"
                                                "line 5: read as a top-level entry, but its Top is \"설정\": "
                                                "a Count before it may be too small\n"
                                                "line 5: GroupIndex -1 is outside 0..255\n"
                                                "line 6: Buttons would not read back the same after a save\n"
                                                "line 7: Count -1 is negative\n");
    }
    void check()
    {
        QFETCH(QString, file);
        QFETCH(int, code);
        QFETCH(QByteArray, out);
        const VrelMenuResult r = vrelmenu({"check", file});
        QCOMPARE(r.Code, code);
        QCOMPARE(r.Out, out);
        QCOMPARE(r.Err, QByteArray());
    }

    void stat_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        const auto size = [](const QString &f) { return QByteArray::number(QFileInfo(f).size()) + '\n'; };
        QTest::newRow("plain") << data("plain.dat") << 0 << kPlainStat + size(data("plain.dat")) << QByteArray();
        QTest::newRow("compressed") << data("compressed.dat") << 0 << kPlainStat + size(data("compressed.dat"))
                                    << QByteArray();
        QTest::newRow("count too large")
            << data("count-too-large.dat") << 1
            << "entries: 3\ntop-level entries: 1\ngreatest depth: 3\nbytes: " + size(data("count-too-large.dat"))
            << QByteArray("vrelmenu: List index out of bounds (3)\n");
    }
    void stat()
    {
        QFETCH(QString, file);
        QFETCH(int, code);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        const VrelMenuResult r = vrelmenu({"stat", file});
        QCOMPARE(r.Code, code);
        QCOMPARE(r.Out, out);
        QCOMPARE(r.Err, err);
    }
};

QTEST_GUILESS_MAIN(TestVrelMenu)
#include "tst_vrelmenu.moc"
