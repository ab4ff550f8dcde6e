#include "vrelCodePage.h"
#include "vrelMenu.h"
#include "vrelZLib.h"

#include "FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <unistd.h>
#include <zlib.h>

namespace {

QString samplePath()
{
    return QDir::cleanPath(QStringLiteral(VREL_TEST_DATA "/../../examples/sample.dat"));
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<cannot read " + path.toUtf8() + ">";
    return f.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray zlibInflate(const QByteArray &stream)
{
    QByteArray result(1 << 20, Qt::Uninitialized);
    uLongf length = uLongf(result.size());
    if (uncompress(reinterpret_cast<Bytef *>(result.data()), &length,
                   reinterpret_cast<const Bytef *>(stream.constData()), uLong(stream.size())) != Z_OK)
        return "<not a valid stream>";
    result.truncate(qsizetype(length));
    return result;
}

// The worked example: "고객관리" with the screens 1000 and 1010 and a
// separator between them, then the window menu "창"; all entries open to all
// sixteen groups.
void buildWorkedExample(TMenuCollection &c)
{
    const QString customers = u"고객관리"_qs;
    TMenuCollectionItem *top = c.Add();
    top->SetCaption(customers);
    top->SetCount(3);
    auto screen = [&](const QString &caption, const QString &code) {
        TMenuCollectionItem *e = c.Add();
        e->SetCaption(caption);
        e->SetCommand(code);
        e->SetModuleName(code);
    };
    screen(u"[1000] 고객리스트"_qs, u"1000"_qs);
    TMenuCollectionItem *separator = c.Add();
    separator->SetCaption(u"-"_qs);
    separator->SetButtons({});
    separator->SetOptions({});
    screen(u"[1010] 신규고객 등록"_qs, u"1010"_qs);
    TMenuCollectionItem *window = c.Add();
    window->SetCaption(u"창"_qs);
    window->SetMenuStyle(msWindows);
    window->SetRunStyle(rsNone);
    for (qsizetype i = 0; i < c.Count(); ++i) {
        c.Items(i)->SetPermission(65535);
        c.Items(i)->SetTop(i < 4 ? customers : u"창"_qs);
    }
}

// A collection from "caption:count" pairs separated by ",".
void buildList(TMenuCollection &c, const QString &list)
{
    for (const QString &part : list.split(u',', Qt::SkipEmptyParts)) {
        TMenuCollectionItem *e = c.Add();
        e->SetCaption(part.section(u':', 0, 0));
        e->SetCount(part.section(u':', 1, 1).toInt());
    }
}

// The tree decoded from a collection, as "A(A1,A2(A21)),B", and the list error
// the decoding raised, if any.
struct DecodedTree {
    QString Shape;
    QString Error;
};

DecodedTree decodeTree(const TMenuCollection &c)
{
    struct Node {
        QString Caption;
        QList<int> Children;
    };
    std::vector<Node> nodes(1); // node 0 stands for the top level
    DecodedTree result;
    try {
        ReadMenuTree<int>(c, [&](int parent, const TMenuCollectionItem &entry) {
            nodes.push_back(Node{entry.Caption(), {}});
            const int handle = int(nodes.size() - 1);
            nodes[size_t(parent)].Children << handle;
            return handle;
        });
    } catch (const EListError &e) {
        result.Error = e.Message();
    }
    std::function<QString(const QList<int> &)> render = [&](const QList<int> &children) {
        QStringList parts;
        for (int child : children) {
            const Node &n = nodes[size_t(child)];
            parts << (n.Children.isEmpty() ? n.Caption : n.Caption + u'(' + render(n.Children) + u')');
        }
        return parts.join(u',');
    };
    result.Shape = render(nodes[0].Children);
    return result;
}

// The start of the error text for a file that cannot be created; the reason
// follows it.
QString createError(const QString &fileName)
{
    return QStringLiteral("Cannot create file \"%1\". ").arg(fileName);
}

// Entries enough for the plain text to fill `blocks` writer blocks and more;
// every seventh entry's hint holds line breaks of each kind.
void fillBlocks(TMenuCollection &c, int blocks)
{
    while (c.XML().size() <= blocks * TXMLCollectionWriter::kBlockSize) {
        for (int i = 0; i < 200; ++i) {
            TMenuCollectionItem *e = c.Add();
            const qsizetype n = c.Count();
            e->SetCaption(QStringLiteral("[%1] 메뉴 %1").arg(n));
            e->SetCommand(QString::number(1000 + n));
            if (n % 7 == 0)
                e->SetHint(QStringLiteral("a\r\nb\nc\rd %1").arg(n));
        }
    }
}

// The plain file of a text: every line break CR LF, one after the last line.
QByteArray plainFileOf(const QByteArray &text)
{
    QByteArray expected;
    for (QByteArrayView line : SplitLines(text))
        expected += line.toByteArray() + "\r\n";
    return expected;
}

QString listError(int index)
{
    return QStringLiteral("List index out of bounds (%1)").arg(index);
}

// Raises the expected error type from `operation` and returns its text.
template <class Error, class Operation>
QString errorOf(Operation &&operation)
{
    try {
        operation();
    } catch (const Error &e) {
        return e.Message();
    }
    return QStringLiteral("<no error>");
}

} // namespace

class TestMenuFile : public QObject {
    Q_OBJECT
    QTemporaryDir FDir;
    QByteArray FSample;

    QString path(const QString &name) const { return FDir.filePath(name); }

private slots:
    void initTestCase()
    {
        QVERIFY(FDir.isValid());
        FSample = readFile(samplePath());
        QCOMPARE(FSample.size(), 3541);
    }

    void workedExampleIsWrittenByteForByte()
    {
        TMenuCollection c;
        buildWorkedExample(c);
        c.SetSaveMode(smText);
        c.SaveToFile(path(u"example.dat"_qs));
        const QByteArray bytes = readFile(path(u"example.dat"_qs));
        QCOMPARE(bytes.size(), 3541);
        QVERIFY(bytes.startsWith(QByteArray::fromHex("3C3F786D6C2076657273696F6E203D2022312E3022203F3E0D0A"
                                                     "3C4D656E752D6C6973743E0D0A20203C4D656E753E")));
        QVERIFY(bytes.contains(QByteArray::fromHex("5B313030305D20B0EDB0B4B8AEBDBAC6AE")));
        QVERIFY(bytes.endsWith("</Menu-list>\r\n"));
        QCOMPARE(bytes, FSample);
    }

    void sampleReadsBackAndSavesToTheSameBytes()
    {
        TMenuCollection c;
        c.SetSaveMode(smText);
        QVERIFY(c.LoadFromFile(samplePath()));
        QCOMPARE(c.Count(), 5);
        QCOMPARE(c.Items(0)->Caption(), u"고객관리"_qs);
        QCOMPARE(c.Items(0)->Count(), 3);
        QCOMPARE(c.Items(1)->Command(), u"1000"_qs);
        QCOMPARE(c.Items(2)->Buttons(), TCaptionButtons{});
        QCOMPARE(c.Items(3)->Caption(), u"[1010] 신규고객 등록"_qs);
        QCOMPARE(c.Items(4)->MenuStyle(), msWindows);
        QCOMPARE(c.Items(4)->RunStyle(), rsNone);
        QCOMPARE(c.Items(4)->Permission(), 65535);
        c.SaveToFile(path(u"again.dat"_qs));
        QCOMPARE(readFile(path(u"again.dat"_qs)), FSample);
    }

    void compressedFormIsTheTextAsOneStream()
    {
        TMenuCollection c;
        buildWorkedExample(c);
        c.SetSaveMode(smBinary);
        c.SaveToFile(path(u"example.z"_qs));
        const QByteArray bytes = readFile(path(u"example.z"_qs));
        QVERIFY(bytes.startsWith(QByteArray::fromHex("789C")));
        QCOMPARE(zlibInflate(bytes), FSample.chopped(2));

        TMenuCollection back;
        QCOMPARE(back.SaveMode(), smBinary);
        QVERIFY(back.LoadFromFile(path(u"example.z"_qs)));
        QCOMPARE(back.XML(), c.XML());
    }

    void archiveHasNoEffect_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("archive");
        QTest::newRow("plain, archive") << int(smText) << true;
        QTest::newRow("compressed, no archive") << int(smBinary) << false;
    }
    void archiveHasNoEffect()
    {
        QFETCH(int, mode);
        QFETCH(bool, archive);
        TMenuCollection c;
        buildWorkedExample(c);
        c.SetSaveMode(TSaveMode(mode));
        c.SaveToFile(path(u"archive.dat"_qs), archive);
        const QByteArray bytes = readFile(path(u"archive.dat"_qs));
        QCOMPARE(bytes == FSample, mode == smText);
        TMenuCollection back;
        back.SetSaveMode(TSaveMode(mode));
        QVERIFY(back.LoadFromFile(path(u"archive.dat"_qs), !archive));
        QCOMPARE(back.XML(), c.XML());
    }

    void emptyDefinitionIsTheThreeFrameLines()
    {
        TMenuCollection c;
        c.SetSaveMode(smText);
        c.SaveToFile(path(u"empty.dat"_qs));
        QCOMPARE(readFile(path(u"empty.dat"_qs)),
                 QByteArray("<?xml version = \"1.0\" ?>\r\n<Menu-list>\r\n</Menu-list>\r\n"));
        TMenuCollection other;
        other.SetSaveMode(smText);
        other.Add();
        QVERIFY(other.LoadFromFile(path(u"empty.dat"_qs)));
        QCOMPARE(other.Count(), 0);
    }

    void plainFileForms_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QString text = fromCodePage(FSample);
        QTest::newRow("code page") << FSample;
        QTest::newRow("utf-8 with mark") << "\xEF\xBB\xBF" + text.toUtf8();
        QStringEncoder le(QStringConverter::Utf16LE), be(QStringConverter::Utf16BE);
        QTest::newRow("utf-16le with mark") << QByteArray("\xFF\xFE") + QByteArray(le.encode(text));
        QTest::newRow("utf-16be with mark") << QByteArray("\xFE\xFF") + QByteArray(be.encode(text));
        QTest::newRow("lone LF") << QByteArray(FSample).replace("\r\n", "\n");
        QTest::newRow("lone CR") << QByteArray(FSample).replace("\r\n", "\r");
        QTest::newRow("no final break") << FSample.chopped(2);
    }
    void plainFileForms()
    {
        QFETCH(QByteArray, bytes);
        writeFile(path(u"form.dat"_qs), bytes);
        TMenuCollection c;
        c.SetSaveMode(smText);
        QVERIFY(c.LoadFromFile(path(u"form.dat"_qs)));
        QCOMPARE(c.XML(), FSample.chopped(2));
    }

    void missingFileLeavesTheCollection_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("plain") << int(smText);
        QTest::newRow("compressed") << int(smBinary);
    }
    void missingFileLeavesTheCollection()
    {
        QFETCH(int, mode);
        TMenuCollection c;
        c.SetSaveMode(TSaveMode(mode));
        c.Add()->SetCaption(u"kept"_qs);
        QVERIFY(!c.LoadFromFile(path(u"no such file.dat"_qs)));
        QVERIFY(!c.LoadFromFile(FDir.path()));
        QCOMPARE(c.Count(), 1);
        QCOMPARE(c.Items(0)->Caption(), u"kept"_qs);
    }

    void brokenCompressedFileLeavesTheCollection_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QByteArray stream;
        {
            TMenuCollection c;
            buildWorkedExample(c);
            c.SaveToFile(path(u"whole.z"_qs));
            stream = readFile(path(u"whole.z"_qs));
        }
        QTest::newRow("plain file") << FSample << "data error";
        QTest::newRow("empty file") << QByteArray() << "buffer error";
        QTest::newRow("truncated") << stream.left(stream.size() - 10) << "buffer error";
    }
    void brokenCompressedFileLeavesTheCollection()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        writeFile(path(u"broken.z"_qs), bytes);
        TMenuCollection c;
        c.Add()->SetCaption(u"kept"_qs);
        QCOMPARE(errorOf<EZCompressionError>([&] { c.LoadFromFile(path(u"broken.z"_qs)); }), message);
        QCOMPARE(c.Count(), 1);
        QCOMPARE(c.Items(0)->Caption(), u"kept"_qs);
    }

    void bytesAfterTheCompressedStreamAreIgnored()
    {
        TMenuCollection c;
        buildWorkedExample(c);
        c.SaveToFile(path(u"trailing.z"_qs));
        writeFile(path(u"trailing.z"_qs), readFile(path(u"trailing.z"_qs)) + "trailing bytes\r\n");
        TMenuCollection back;
        QVERIFY(back.LoadFromFile(path(u"trailing.z"_qs)));
        QCOMPARE(back.XML(), c.XML());
    }

    void savingReplacesTheWholeFile()
    {
        const QString target = path(u"replace.dat"_qs);
        writeFile(target, QByteArray(10000, 'x'));
        const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        QVERIFY(QFile::setPermissions(target, permissions));
        TMenuCollection c;
        c.SetSaveMode(smText);
        c.SaveToFile(target);
        QCOMPARE(readFile(target), QByteArray("<?xml version = \"1.0\" ?>\r\n<Menu-list>\r\n</Menu-list>\r\n"));
        QCOMPARE(QFile::permissions(target) & ~(QFile::ReadUser | QFile::WriteUser), permissions);
    }

    void saveThatCannotCreateTheFileFails_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("missing directory") << path(u"missing/menu.dat"_qs);
        QTest::newRow("directory as target") << FDir.path();
    }
    void saveThatCannotCreateTheFileFails()
    {
        QFETCH(QString, target);
        TMenuCollection c;
        buildWorkedExample(c);
        c.SetSaveMode(smText);
        const QString message = errorOf<EFCreateError>([&] { c.SaveToFile(target); });
        QVERIFY2(message.startsWith(createError(target)), qPrintable(message));
        QVERIFY(message.size() > target.size() + 22); // the reason follows
    }

    // The file system refuses the write half-way: the old file stays as it was
    // and nothing is left beside it.
    void failureHalfWayKeepsTheOldFile()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath(u"menu.dat"_qs);
        writeFile(target, "old contents\r\n");
        TMenuCollection c;
        buildWorkedExample(c);
        c.SetSaveMode(smText);

        QString message;
        {
            FileSizeLimit limit(1000);
            QVERIFY(limit.IsActive());
            message = errorOf<EFCreateError>([&] { c.SaveToFile(target); });
        }

        QVERIFY2(message.startsWith(createError(target)), qPrintable(message));
        QCOMPARE(readFile(target), QByteArray("old contents\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"menu.dat"_qs});
    }

    // A text of several blocks goes out piece by piece with the bytes of the
    // whole text, line breaks inside values included.
    void textOfSeveralBlocksIsWrittenWhole()
    {
        TMenuCollection c;
        fillBlocks(c, 3);
        c.SetSaveMode(smText);
        const QString target = path(u"blocks.dat"_qs);
        c.SaveToFile(target);
        QCOMPARE(readFile(target), plainFileOf(c.XML()));
    }

    // The file system refuses a write after the first block has gone out:
    // the old file stays as it was and nothing is left beside it.
    void failureAfterTheFirstBlockKeepsTheOldFile()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath(u"menu.dat"_qs);
        writeFile(target, "old contents\r\n");
        TMenuCollection c;
        fillBlocks(c, 3);
        c.SetSaveMode(smText);

        QString message;
        {
            FileSizeLimit limit(TXMLCollectionWriter::kBlockSize * 3 / 2);
            QVERIFY(limit.IsActive());
            message = errorOf<EFCreateError>([&] { c.SaveToFile(target); });
        }

        QVERIFY2(message.startsWith(createError(target)), qPrintable(message));
        QVERIFY(message.size() > createError(target).size()); // the reason follows
        QCOMPARE(readFile(target), QByteArray("old contents\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"menu.dat"_qs});
    }

    // A writer given up before Commit, its first blocks written, changes nothing.
    void uncommittedWriterLeavesNoTrace()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath(u"menu.dat"_qs);
        writeFile(target, "old contents\r\n");
        TMenuCollection c;
        fillBlocks(c, 2);
        {
            TXMLCollectionWriter writer(target, c.DTDName(), smText);
            for (qsizetype i = 0; i < c.Count(); ++i)
                writer.Add(*c.Items(i));
        }
        QCOMPARE(readFile(target), QByteArray("old contents\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"menu.dat"_qs});
    }

    void readOnlyDirectoryKeepsTheOldFile()
    {
        if (geteuid() == 0)
            QSKIP("the super-user may write into read-only directories");
        QTemporaryDir dir;
        const QString target = dir.filePath(u"menu.dat"_qs);
        writeFile(target, "old contents\r\n");
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        TMenuCollection c;
        c.SetSaveMode(smText);
        const QString message = errorOf<EFCreateError>([&] { c.SaveToFile(target); });
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY2(message.startsWith(createError(target)), qPrintable(message));
        QCOMPARE(readFile(target), QByteArray("old contents\r\n"));
    }

    void unreadableFileFailsToOpen()
    {
        if (geteuid() == 0)
            QSKIP("the super-user may read every file");
        const QString target = path(u"unreadable.dat"_qs);
        writeFile(target, FSample);
        QFile::setPermissions(target, QFile::WriteOwner);
        TMenuCollection c;
        c.SetSaveMode(smText);
        c.Add();
        const QString message = errorOf<EFOpenError>([&] { c.LoadFromFile(target); });
        QVERIFY2(message.startsWith(QStringLiteral("Cannot open file \"%1\". ").arg(target)), qPrintable(message));
        QCOMPARE(c.Count(), 1);
    }

    void treeOfTheWorkedExample()
    {
        TMenuCollection c;
        c.SetSaveMode(smText);
        QVERIFY(c.LoadFromFile(samplePath()));
        const DecodedTree tree = decodeTree(c);
        QCOMPARE(tree.Shape, u"고객관리([1000] 고객리스트,-,[1010] 신규고객 등록),창"_qs);
        QCOMPARE(tree.Error, QString());
    }

    void readMenuTree_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("shape");
        QTest::addColumn<QString>("error");
        QTest::newRow("empty") << "" << "" << "";
        QTest::newRow("flat") << "A:0,B:0,C:0" << "A,B,C" << "";
        QTest::newRow("nested") << "A:2,A1:0,A2:1,A21:0,B:0" << "A(A1,A2(A21)),B" << "";
        QTest::newRow("count too large") << "A:2,A1:0" << "A(A1)" << listError(2);
        QTest::newRow("count too large, deeper") << "A:1,B:3,C:0,D:0" << "A(B(C,D))" << listError(4);
        QTest::newRow("count too large, last entry") << "A:0,B:1" << "A,B" << listError(2);
        QTest::newRow("count too small, to the top") << "A:1,A1:0,A2:0,B:0" << "A(A1),A2,B" << "";
        QTest::newRow("count too small, to a parent") << "A:2,B:1,C:0,D:0,E:0" << "A(B(C),D),E" << "";
        QTest::newRow("count zero and negative") << "A:-1,B:-5,C:2,D:0,E:0" << "A,B,C(D,E)" << "";
        QTest::newRow("separators are entries") << "A:3,x:0,-:0,y:0" << "A(x,-,y)" << "";
    }
    void readMenuTree()
    {
        QFETCH(QString, list);
        QFETCH(QString, shape);
        QFETCH(QString, error);
        TMenuCollection c;
        buildList(c, list);
        const DecodedTree tree = decodeTree(c);
        QCOMPARE(tree.Shape, shape);
        QCOMPARE(tree.Error, error);
    }

    void veryDeepChainDoesNotRecurse()
    {
        constexpr int depth = 200000;
        TMenuCollection c;
        for (int i = 0; i < depth; ++i)
            c.Add()->SetCount(i + 1 < depth ? 1 : 0);
        c.Add()->SetCaption(u"next top"_qs);
        std::vector<int> level{-1}; // level of each handle; handle 0 is the top level
        ReadMenuTree<int>(c, [&](int parent, const TMenuCollectionItem &) {
            level.push_back(level[size_t(parent)] + 1);
            return int(level.size() - 1);
        });
        QCOMPARE(level.size(), size_t(depth + 2));
        QCOMPARE(level[depth], depth - 1);
        QCOMPARE(level[depth + 1], 0);
    }

    // A value holding a line break is written as it stands, and every line of
    // the plain file, the value's pieces included, ends in CR LF.
    void lineBreakInAValueEndsItsLineWithCrLf_data()
    {
        QTest::addColumn<QString>("hint");
        QTest::newRow("CR LF") << u"a\r\nb"_qs;
        QTest::newRow("lone LF") << u"a\nb"_qs;
        QTest::newRow("lone CR") << u"a\rb"_qs;
        QTest::newRow("CR CR LF") << u"a\r\r\nb"_qs;
    }
    void lineBreakInAValueEndsItsLineWithCrLf()
    {
        QFETCH(QString, hint);
        TMenuCollection c;
        c.SetSaveMode(smText);
        c.Add()->SetHint(hint);
        c.SaveToFile(path(u"break.dat"_qs));
        const QByteArray bytes = readFile(path(u"break.dat"_qs));
        const QByteArray text = c.XML();
        QByteArray expected;
        for (QByteArrayView line : SplitLines(text))
            expected += line.toByteArray() + "\r\n";
        QCOMPARE(bytes, expected);
        QCOMPARE(bytes.count('\r'), bytes.count('\n'));
        QCOMPARE(bytes.count("\r\n"), bytes.count('\n'));
    }
};

QTEST_GUILESS_MAIN(TestMenuFile)
#include "tst_menufile.moc"
