#include "vrelZLib.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QtTest>
#include <zlib.h>

namespace {

QByteArray compress(const QByteArray &data, TCompressionLevel level = TCompressionLevel::clDefault)
{
    QBuffer in;
    in.setData(data);
    in.open(QIODevice::ReadOnly);
    QByteArray result;
    QBuffer out(&result);
    out.open(QIODevice::WriteOnly);
    CompressStream(in, out, level);
    return result;
}

QByteArray decompress(const QByteArray &stream, qint64 maxOutput = kMaxInflatedSize)
{
    QBuffer in;
    in.setData(stream);
    in.open(QIODevice::ReadOnly);
    QByteArray result;
    QBuffer out(&result);
    out.open(QIODevice::WriteOnly);
    DecompressStream(in, out, maxOutput);
    return result;
}

// zlib's own one-shot routines, as an independent check of the stream format.
QByteArray zlibInflate(const QByteArray &stream, qsizetype size)
{
    QByteArray result(size, Qt::Uninitialized);
    uLongf length = uLongf(size);
    if (uncompress(reinterpret_cast<Bytef *>(result.data()), &length,
                   reinterpret_cast<const Bytef *>(stream.constData()), uLong(stream.size())) != Z_OK)
        return "<not a valid stream>";
    result.truncate(qsizetype(length));
    return result;
}

QByteArray zlibDeflate(const QByteArray &data)
{
    uLongf length = compressBound(uLong(data.size()));
    QByteArray result(qsizetype(length), Qt::Uninitialized);
    compress2(reinterpret_cast<Bytef *>(result.data()), &length,
              reinterpret_cast<const Bytef *>(data.constData()), uLong(data.size()), Z_DEFAULT_COMPRESSION);
    result.truncate(qsizetype(length));
    return result;
}

QByteArray randomBytes(qsizetype size)
{
    QByteArray data(size, Qt::Uninitialized);
    QRandomGenerator generator(4711);
    for (char &c : data)
        c = char(generator.bounded(256));
    return data;
}

QByteArray menuLikeText(qsizetype size)
{
    QByteArray data;
    for (int i = 0; data.size() < size; ++i)
        data += "  <Menu><Caption>[" + QByteArray::number(1000 + i) + "] \xB0\xED\xB0\xB4</Caption></Menu>\r\n";
    data.truncate(size);
    return data;
}

QByteArray bigEndian32(quint32 v)
{
    const char bytes[] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    return QByteArray(bytes, 4);
}

} // namespace

class TestZLib : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("level");
        const struct {
            const char *name;
            QByteArray data;
        } inputs[] = {
            {"empty", QByteArray()},
            {"one byte", QByteArray("x")},
            {"one block less one", randomBytes(kZBlockSize - 1)},
            {"one block", randomBytes(kZBlockSize)},
            {"one block and one", randomBytes(kZBlockSize + 1)},
            {"random, seven blocks and a bit", randomBytes(7 * kZBlockSize + 123)},
            {"menu text, 300000 bytes", menuLikeText(300000)},
            {"zeros, 40 blocks", QByteArray(40 * kZBlockSize, '\0')},
        };
        const struct {
            const char *name;
            TCompressionLevel level;
        } levels[] = {{"none", TCompressionLevel::clNone},
                      {"fastest", TCompressionLevel::clFastest},
                      {"default", TCompressionLevel::clDefault},
                      {"max", TCompressionLevel::clMax}};
        for (const auto &input : inputs)
            for (const auto &level : levels)
                QTest::addRow("%s, %s", input.name, level.name) << input.data << int(level.level);
    }
    void roundTrip()
    {
        QFETCH(QByteArray, data);
        QFETCH(int, level);
        const QByteArray stream = compress(data, TCompressionLevel(level));
        QCOMPARE(zlibInflate(stream, data.size()), data);
        QCOMPARE(decompress(stream), data);
    }

    void headerFollowsTheLevel_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QByteArray>("header");
        QTest::newRow("none") << int(TCompressionLevel::clNone) << QByteArray::fromHex("7801");
        QTest::newRow("fastest") << int(TCompressionLevel::clFastest) << QByteArray::fromHex("7801");
        QTest::newRow("default") << int(TCompressionLevel::clDefault) << QByteArray::fromHex("789C");
        QTest::newRow("max") << int(TCompressionLevel::clMax) << QByteArray::fromHex("78DA");
    }
    void headerFollowsTheLevel()
    {
        QFETCH(int, level);
        QFETCH(QByteArray, header);
        QCOMPARE(compress(menuLikeText(1000), TCompressionLevel(level)).left(2), header);
    }

    void readsAnyValidStream()
    {
        const QByteArray data = menuLikeText(100000);
        QCOMPARE(decompress(zlibDeflate(data)), data);
    }

    void bothDirectionsStartAtTheCurrentPosition()
    {
        const QByteArray data = "prefix:" + menuLikeText(5000);
        QBuffer in;
        in.setData(data);
        in.open(QIODevice::ReadOnly);
        in.seek(7);
        QByteArray stream;
        QBuffer out(&stream);
        out.open(QIODevice::WriteOnly);
        CompressStream(in, out, TCompressionLevel::clDefault);
        QCOMPARE(zlibInflate(stream, data.size()), data.mid(7));

        QBuffer packed;
        packed.setData("junk" + stream);
        packed.open(QIODevice::ReadOnly);
        packed.seek(4);
        QByteArray text;
        QBuffer unpacked(&text);
        unpacked.open(QIODevice::WriteOnly);
        DecompressStream(packed, unpacked);
        QCOMPARE(text, data.mid(7));
    }

    // A valid stream in which an input block ends exactly where an output block
    // is full, with nothing more to give until the next input block: zlib then
    // reports that it could make no progress, which is not an error.
    void inputAndOutputBlocksEndTogether()
    {
        // 17 zero bytes, deflated and sync-flushed: 10 bytes, so that the header
        // (2), these 10 bytes and the next block's header (5) come to 17 too.
        const QByteArray zeros = QByteArray::fromHex("6260400300000000ffff");
        const quint16 storedLength = 40000;
        const QByteArray stored = randomBytes(storedLength);
        QByteArray stream = QByteArray::fromHex("7801") + zeros;
        stream += char(0x01); // final stored block
        stream += char(storedLength & 0xFF);
        stream += char(storedLength >> 8);
        stream += char(~storedLength & 0xFF);
        stream += char((~storedLength >> 8) & 0xFF);
        stream += stored;
        const QByteArray expected = QByteArray(17, '\0') + stored;
        stream += bigEndian32(quint32(adler32(1, reinterpret_cast<const Bytef *>(expected.constData()),
                                              uInt(expected.size()))));
        QCOMPARE(zlibInflate(stream, expected.size()), expected);
        QCOMPARE(decompress(stream), expected);
    }

    void errorsCarryZLibsMessages_data()
    {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<QString>("message");
        const QByteArray valid = compress(menuLikeText(100000));
        QByteArray badCheck = valid;
        badCheck[badCheck.size() - 1] = char(badCheck.back() ^ 1);
        QTest::newRow("plain text") << QByteArray("<?xml version = \"1.0\" ?>\r\n<Menu-list>\r\n")
                                    << "data error";
        QTest::newRow("empty") << QByteArray() << "buffer error";
        QTest::newRow("header only") << valid.left(2) << "buffer error";
        QTest::newRow("cut in the middle") << valid.left(valid.size() / 2) << "buffer error";
        QTest::newRow("trailer missing") << valid.chopped(4) << "buffer error";
        QTest::newRow("wrong check value") << badCheck << "data error";
        // Header asking for a preset dictionary (id 1), then some data.
        QTest::newRow("preset dictionary") << QByteArray::fromHex("78BB00000001") + valid.mid(2)
                                           << "need dictionary";
    }
    void errorsCarryZLibsMessages()
    {
        QFETCH(QByteArray, stream);
        QFETCH(QString, message);
        try {
            decompress(stream);
            QFAIL("no error raised");
        } catch (const EZCompressionError &e) {
            QCOMPARE(e.Message(), message);
        }
    }

    void inflatedSizeIsCapped_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<qint64>("maxOutput");
        QTest::addColumn<bool>("fits");
        QTest::newRow("exactly the cap") << qint64(100000) << qint64(100000) << true;
        QTest::newRow("one byte over") << qint64(100000) << qint64(99999) << false;
        QTest::newRow("small stream, 64 MiB of zeros") << (qint64(64) << 20) << (qint64(1) << 20) << false;
    }
    void inflatedSizeIsCapped()
    {
        QFETCH(qint64, size);
        QFETCH(qint64, maxOutput);
        QFETCH(bool, fits);
        const QByteArray stream = compress(QByteArray(size, 'a'), TCompressionLevel::clMax);
        QBuffer in;
        in.setData(stream);
        in.open(QIODevice::ReadOnly);
        QByteArray result;
        QBuffer out(&result);
        out.open(QIODevice::WriteOnly);
        try {
            DecompressStream(in, out, maxOutput);
            QVERIFY(fits);
            QCOMPARE(result.size(), size);
        } catch (const EZCompressionError &) {
            QVERIFY(!fits);
            QVERIFY(result.size() <= maxOutput);
        }
    }

    void stopsAtTheEndOfTheStream_data()
    {
        QTest::addColumn<QByteArray>("trailing");
        QTest::newRow("a few bytes") << QByteArray("garbage");
        QTest::newRow("a second stream") << compress("second");
        QTest::newRow("more than a block") << randomBytes(3 * kZBlockSize);
    }
    void stopsAtTheEndOfTheStream()
    {
        QFETCH(QByteArray, trailing);
        const QByteArray data = menuLikeText(50000);
        const QByteArray stream = compress(data);
        QBuffer in;
        in.setData(stream + trailing);
        in.open(QIODevice::ReadOnly);
        QByteArray result;
        QBuffer out(&result);
        out.open(QIODevice::WriteOnly);
        DecompressStream(in, out);
        QCOMPARE(result, data);
        QCOMPARE(in.pos(), stream.size());
    }

    void outputThatCannotBeWrittenIsAFileError()
    {
        QBuffer in;
        in.setData("text");
        in.open(QIODevice::ReadOnly);
        QByteArray target;
        QBuffer out(&target);
        out.open(QIODevice::ReadOnly);
        QTest::ignoreMessage(QtWarningMsg, "QIODevice::write (QBuffer): ReadOnly device");
        try {
            CompressStream(in, out, TCompressionLevel::clDefault);
            QFAIL("no error raised");
        } catch (const EZCompressionError &e) {
            QCOMPARE(e.Message(), u"file error"_qs);
        }
    }
};

QTEST_GUILESS_MAIN(TestZLib)
#include "tst_zlib.moc"
