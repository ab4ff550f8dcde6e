// Menu files are read a block at a time, plain ones as they are read and
// compressed ones as they inflate: a file far larger than a block must give
// exactly the entries that assigning its whole text gives, whatever line break
// falls on a block's edge, and a file that breaks off part-way must leave the
// collection and its owner as they were.
#include "vrelMenu.h"
#include "vrelZLib.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray entities(const TMenuCollection &items)
{
    QByteArray all;
    for (qsizetype i = 0; i < items.Count(); ++i)
        all += items.Items(i)->Entity() + '\n';
    return all;
}

// About 1.25 MiB of entry lines with mixed line ends; `brk` is put so that its
// first byte stands at offset `at`.
QByteArray bigText(qsizetype at, const QByteArray &brk, const QByteArray &ending)
{
    const QByteArray ends[] = {"\r\n", "\n", "\r"};
    QByteArray text = "<?xml version = \"1.0\" ?>\r\n<Menu-list>\r\n";
    for (int i = 0; text.size() < (1 << 20) + (1 << 18); ++i) {
        const QByteArray line = "  <Menu><Caption>" + QByteArray::number(i) + "</Caption><Count>0</Count><Hint>"
                              + QByteArray(i % 97, 'h') + "</Hint></Menu>";
        if (text.size() < at && text.size() + line.size() + 2 >= at) {
            text += QByteArray(at - text.size(), 'x'); // a line of its own, ending at `at`
            text += brk;
        }
        text += line + ends[i % 3];
    }
    return text + "</Menu-list>" + ending;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray compress(const QByteArray &text)
{
    QBuffer in;
    in.setData(text);
    in.open(QIODevice::ReadOnly);
    QByteArray stream;
    QBuffer out(&stream);
    out.open(QIODevice::WriteOnly);
    CompressStream(in, out, TCompressionLevel::clDefault);
    return stream;
}

// Counts what the collection tells its owner.
struct TCountingOwner : TMenuCollectionOwner {
    int Registered = 0;
    int Unregistered = 0;
    void RegisterItem(TMenuCollectionItem &) override { ++Registered; }
    void UnregisterItem(TMenuCollectionItem &) override { ++Unregistered; }
};

} // namespace

class TestBlockRead : public QObject {
    Q_OBJECT
private slots:
    void largeFileReadsAsItsWholeText_data()
    {
        QTest::addColumn<bool>("compressed");
        QTest::addColumn<qsizetype>("at");
        QTest::addColumn<QByteArray>("brk");
        QTest::addColumn<QByteArray>("ending");
        for (bool compressed : {false, true}) {
            const char *form = compressed ? "compressed" : "plain";
            // Plain text arrives as 3 bytes, then blocks of 1 MiB; inflated text
            // in blocks of 32 KiB. The first offset is the last byte of a piece.
            const qsizetype edge = compressed ? kZBlockSize - 1 : (1 << 20) + 2;
            for (qsizetype at : {edge, edge + 1}) {
                QTest::addRow("%s, CR LF at %lld", form, qlonglong(at))
                    << compressed << at << QByteArray("\r\n") << QByteArray("\r\n");
                QTest::addRow("%s, lone CR at %lld", form, qlonglong(at))
                    << compressed << at << QByteArray("\r") << QByteArray("\r\n");
                QTest::addRow("%s, LF at %lld", form, qlonglong(at))
                    << compressed << at << QByteArray("\n") << QByteArray("\r\n");
            }
            QTest::addRow("%s, no final line break", form) << compressed << qsizetype(1000) << QByteArray("\r\n")
                                                           << QByteArray();
            QTest::addRow("%s, final lone CR", form) << compressed << qsizetype(1000) << QByteArray("\r\n")
                                                     << QByteArray("\r");
            QTest::addRow("%s, final empty line", form) << compressed << qsizetype(1000) << QByteArray("\r\n")
                                                        << QByteArray("\r\n\r\n");
        }
    }
    void largeFileReadsAsItsWholeText()
    {
        QFETCH(bool, compressed);
        QFETCH(qsizetype, at);
        QFETCH(QByteArray, brk);
        QFETCH(QByteArray, ending);
        const QByteArray text = bigText(at, brk, ending);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("big.dat"));
        writeFile(path, compressed ? compress(text) : text);

        TMenuCollection whole;
        whole.SetXML(text);
        TMenuCollection read;
        read.Add(); // replaced by the file's entries
        read.SetSaveMode(compressed ? smBinary : smText);
        QVERIFY(read.LoadFromFile(path));
        QVERIFY(whole.Count() > 10000);
        QCOMPARE(read.Count(), whole.Count());
        QCOMPARE(entities(read), entities(whole));
    }

    // The entries read before the stream broke off are dropped: the collection
    // keeps its entries and the owner hears of nothing.
    void brokenOffStreamLeavesCollectionAndOwner()
    {
        const QByteArray stream = compress(bigText(1000, "\r\n", "\r\n"));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("broken.dat"));
        writeFile(path, stream.left(stream.size() / 2));
        TCountingOwner owner;
        TMenuCollection items(&owner);
        items.Add()->SetCaption(QStringLiteral("kept"));
        QVERIFY_THROWS_EXCEPTION(EZCompressionError, items.LoadFromFile(path));
        QCOMPARE(items.Count(), 1);
        QCOMPARE(items.Items(0)->Caption(), QStringLiteral("kept"));
        QCOMPARE(owner.Registered, 0);
        QCOMPARE(owner.Unregistered, 0);
    }

    // Once the whole text is in, the old entries leave and every new one is
    // handed to the owner, in list order, from its place in the collection.
    void ownerHearsOfEveryEntryRead()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("menu.dat"));
        writeFile(path, "<?xml version = \"1.0\" ?>\r\n<Menu-list>\r\n  <Menu><Caption>a</Caption></Menu>\r\n"
                        "  <Menu><Caption>b</Caption></Menu>\r\n</Menu-list>\r\n");
        struct TOrderOwner : TMenuCollectionOwner {
            QStringList Seen;
            void RegisterItem(TMenuCollectionItem &item) override
            {
                const bool placed = item.MenuCollection() && item.MenuCollection()->Owner() == this;
                Seen += QStringLiteral("%1@%2%3").arg(item.Caption()).arg(item.Index()).arg(placed ? "" : "?");
            }
            void UnregisterItem(TMenuCollectionItem &item) override { Seen += QStringLiteral("-") + item.Caption(); }
        } owner;
        TMenuCollection items(&owner);
        items.Add()->SetCaption(QStringLiteral("old"));
        items.SetSaveMode(smText);
        QVERIFY(items.LoadFromFile(path));
        QCOMPARE(owner.Seen, QStringList({"-old", "a@0", "b@1"}));
    }
};

QTEST_GUILESS_MAIN(TestBlockRead)
#include "tst_blockread.moc"
