#include "vrelZLib.h"

#include <QIODevice>
#include <vector>
#include <zlib.h>

EZCompressionError EZCompressionError::FromResult(int zlibResult)
{
    return EZCompressionError(QString::fromLatin1(zError(zlibResult)));
}

namespace {

int check(int result)
{
    if (result < 0)
        throw EZCompressionError::FromResult(result);
    return result;
}

int zlibLevel(TCompressionLevel level)
{
    switch (level) {
    case TCompressionLevel::clNone: return Z_NO_COMPRESSION;
    case TCompressionLevel::clFastest: return Z_BEST_SPEED;
    case TCompressionLevel::clDefault: return Z_DEFAULT_COMPRESSION;
    case TCompressionLevel::clMax: return Z_BEST_COMPRESSION;
    }
    return Z_DEFAULT_COMPRESSION;
}

void writeAll(QIODevice &out, const char *data, qint64 size)
{
    if (size > 0 && out.write(data, size) != size)
        throw EZCompressionError::FromResult(Z_ERRNO);
}

// Ends a zlib stream on every path out of the routines below.
template <int (*End)(z_streamp)>
struct StreamGuard {
    z_stream &Stream;
    ~StreamGuard() { End(&Stream); }
};

} // namespace

void CompressStream(QIODevice &in, QIODevice &out, TCompressionLevel level)
{
    std::vector<char> inBuf(kZBlockSize), outBuf(kZBlockSize);
    z_stream z{};
    check(deflateInit2(&z, zlibLevel(level), Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY));
    StreamGuard<deflateEnd> guard{z};

    auto drain = [&](int flush) {
        int result;
        do {
            z.next_out = reinterpret_cast<Bytef *>(outBuf.data());
            z.avail_out = uInt(kZBlockSize);
            result = check(deflate(&z, flush));
            writeAll(out, outBuf.data(), kZBlockSize - z.avail_out);
        } while (flush == Z_FINISH ? result != Z_STREAM_END : (z.avail_in > 0 || z.avail_out == 0));
    };

    for (;;) {
        const qint64 n = in.read(inBuf.data(), kZBlockSize);
        if (n <= 0)
            break;
        z.next_in = reinterpret_cast<Bytef *>(inBuf.data());
        z.avail_in = uInt(n);
        drain(Z_NO_FLUSH);
    }
    z.next_in = nullptr;
    z.avail_in = 0;
    drain(Z_FINISH);
}

void DecompressStream(QIODevice &in, QIODevice &out, qint64 maxOutput)
{
    std::vector<char> inBuf(kZBlockSize), outBuf(kZBlockSize);
    z_stream z{};
    check(inflateInit(&z));
    StreamGuard<inflateEnd> guard{z};
    qint64 produced = 0;

    // Returns true once zlib reports the end of the stream.
    auto drain = [&](int flush) {
        for (;;) {
            z.next_out = reinterpret_cast<Bytef *>(outBuf.data());
            z.avail_out = uInt(kZBlockSize);
            const int result = inflate(&z, flush);
            // With all input used up and the last output block exactly full,
            // zlib reports that it could make no progress: it needs the next
            // input block. Only at the end of the input is that an early end.
            if (result == Z_BUF_ERROR && flush == Z_NO_FLUSH && z.avail_in == 0)
                return false;
            check(result);
            const qint64 n = kZBlockSize - z.avail_out;
            produced += n;
            if (produced > maxOutput)
                throw EZCompressionError(QStringLiteral("decompressed data exceeds %1 bytes").arg(maxOutput));
            writeAll(out, outBuf.data(), n);
            if (result == Z_STREAM_END)
                return true;
            if (result == Z_NEED_DICT)
                throw EZCompressionError::FromResult(Z_NEED_DICT);
            if (z.avail_in == 0 && z.avail_out != 0)
                return false;
        }
    };

    for (;;) {
        const qint64 n = in.read(inBuf.data(), kZBlockSize);
        if (n <= 0)
            break;
        z.next_in = reinterpret_cast<Bytef *>(inBuf.data());
        z.avail_in = uInt(n);
        if (drain(Z_NO_FLUSH)) {
            // Leave whatever follows the stream unread for the caller.
            if (z.avail_in > 0 && !in.isSequential())
                in.seek(in.pos() - z.avail_in);
            return;
        }
    }
    z.next_in = nullptr;
    z.avail_in = 0;
    if (!drain(Z_FINISH))
        throw EZCompressionError::FromResult(Z_BUF_ERROR); // the stream ended early
}
