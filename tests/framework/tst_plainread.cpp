// Plain menu files are read a block at a time: a file far larger than a block
// must give exactly the entries that assigning its whole text gives, whatever
// line break falls on a block's edge.
#include "vrelMenu.h"

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

} // namespace

class TestPlainRead : public QObject {
    Q_OBJECT
private slots:
    void largeFileReadsAsItsWholeText_data()
    {
        QTest::addColumn<qsizetype>("at");
        QTest::addColumn<QByteArray>("brk");
        QTest::addColumn<QByteArray>("ending");
        for (qsizetype at : {qsizetype(1 << 20) - 1, qsizetype(1 << 20), qsizetype(1 << 20) + 2, qsizetype(1 << 20) + 3}) {
            QTest::addRow("CR LF at %lld", qlonglong(at)) << at << QByteArray("\r\n") << QByteArray("\r\n");
            QTest::addRow("lone CR at %lld", qlonglong(at)) << at << QByteArray("\r") << QByteArray("\r\n");
            QTest::addRow("LF at %lld", qlonglong(at)) << at << QByteArray("\n") << QByteArray("\r\n");
        }
        QTest::newRow("no final line break") << qsizetype(1000) << QByteArray("\r\n") << QByteArray();
        QTest::newRow("final lone CR") << qsizetype(1000) << QByteArray("\r\n") << QByteArray("\r");
        QTest::newRow("final empty line") << qsizetype(1000) << QByteArray("\r\n") << QByteArray("\r\n\r\n");
    }
    void largeFileReadsAsItsWholeText()
    {
        QFETCH(qsizetype, at);
        QFETCH(QByteArray, brk);
        QFETCH(QByteArray, ending);
        const QByteArray text = bigText(at, brk, ending);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("big.dat"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(text), text.size());
        file.close();

        TMenuCollection whole;
        whole.SetXML(text);
        TMenuCollection read;
        read.Add(); // replaced by the file's entries
        read.SetSaveMode(smText);
        QVERIFY(read.LoadFromFile(path));
        QVERIFY(whole.Count() > 10000);
        QCOMPARE(read.Count(), whole.Count());
        QCOMPARE(entities(read), entities(whole));
    }
};

QTEST_GUILESS_MAIN(TestPlainRead)
#include "tst_plainread.moc"
