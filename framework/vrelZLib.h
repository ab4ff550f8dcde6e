// zlib streams (RFC 1950) for the compressed form of menu files.
#pragma once

#include "vrelErrors.h"

#include <QtGlobal>

class QIODevice;

// Any zlib failure; the text is zlib's own message for the result code
// ("data error", "buffer error", ...).
class EZLibError : public EVrelError {
public:
    using EVrelError::EVrelError;
};

class EZCompressionError : public EZLibError {
public:
    using EZLibError::EZLibError;
    static EZCompressionError FromResult(int zlibResult);
};

enum class TCompressionLevel { clNone, clFastest, clDefault, clMax };

// Size of the input and output blocks that both directions stream through.
inline constexpr qint64 kZBlockSize = 32768;
// Largest output DecompressStream produces unless told otherwise: a small
// hostile stream must not exhaust memory.
inline constexpr qint64 kMaxInflatedSize = qint64(1) << 30;

// Deflates everything from the current position of `in` to its end into `out`
// (window bits 15, memory level 8, default strategy).
void CompressStream(QIODevice &in, QIODevice &out, TCompressionLevel level);

// Inflates the zlib stream that starts at the current position of `in` into
// `out`. Bytes after the end of the stream are left unread. A stream that asks
// for a preset dictionary, one that ends early, and one whose output would pass
// `maxOutput` bytes raise EZCompressionError.
void DecompressStream(QIODevice &in, QIODevice &out, qint64 maxOutput = kMaxInflatedSize);
