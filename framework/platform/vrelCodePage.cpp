#include "vrelCodePage.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <memory>
#include <mutex>

namespace {

// ICU knows the Windows code page as "windows-949"; "cp949" would be IBM-949.
constexpr const char *kCodePageName = "windows-949";

// Menu files are mostly ASCII with short Korean texts; converting every value
// through ICU costs more than parsing the whole file. Both directions therefore
// use tables of the code page's double-byte characters, taken from ICU once,
// and fall back to ICU itself for anything the tables do not cover (lone lead
// bytes, unmapped pairs, characters outside the code page), so the result is
// always exactly ICU's.
struct Tables {
    std::array<char16_t, 0x10000> Decode{}; // lead << 8 | trail -> UTF-16, 0 = not a pair
    std::array<quint16, 0x10000> Encode{};  // UTF-16 -> lead << 8 | trail, 0 = not a pair
};

const Tables &tables()
{
    static std::unique_ptr<Tables> instance;
    static std::once_flag once;
    std::call_once(once, [] {
        auto t = std::make_unique<Tables>();
        QStringDecoder decoder(kCodePageName);
        Q_ASSERT(decoder.isValid());
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            for (int trail = 0x41; trail <= 0xFE; ++trail) {
                const char pair[2] = {char(lead), char(trail)};
                decoder.resetState();
                const QString s = decoder.decode(QByteArrayView(pair, 2));
                if (s.size() != 1 || s[0] == QChar::ReplacementCharacter || s[0].unicode() < 0x80)
                    continue;
                const quint16 code = quint16(lead << 8 | trail);
                t->Decode[code] = s[0].unicode();
                if (t->Encode[s[0].unicode()] == 0)
                    t->Encode[s[0].unicode()] = code;
            }
        }
        instance = std::move(t);
    });
    return *instance;
}

QByteArray encodeWithIcu(QStringView text)
{
    QStringEncoder encoder(kCodePageName);
    Q_ASSERT(encoder.isValid());
    return encoder.encode(text);
}

QString decodeWithIcu(QByteArrayView bytes)
{
    QStringDecoder decoder(kCodePageName);
    Q_ASSERT(decoder.isValid());
    return decoder.decode(bytes);
}

} // namespace

QByteArray toCodePage(QStringView text)
{
    QByteArray out(text.size() * 2, Qt::Uninitialized);
    char *p = out.data();
    const Tables *t = nullptr;
    for (QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c < 0x80) {
            *p++ = char(c);
            continue;
        }
        if (!t)
            t = &tables();
        const quint16 code = t->Encode[c];
        if (code == 0)
            return encodeWithIcu(text);
        *p++ = char(code >> 8);
        *p++ = char(code & 0xFF);
    }
    out.truncate(p - out.constData());
    return out;
}

QString fromCodePage(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    char16_t *p = reinterpret_cast<char16_t *>(out.data());
    const Tables *t = nullptr;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            *p++ = b;
            continue;
        }
        if (!t)
            t = &tables();
        if (i + 1 >= bytes.size())
            return decodeWithIcu(bytes);
        const auto trail = static_cast<unsigned char>(bytes[i + 1]);
        const char16_t c = t->Decode[quint16(b << 8 | trail)];
        if (c == 0)
            return decodeWithIcu(bytes);
        *p++ = c;
        ++i;
    }
    out.truncate(p - reinterpret_cast<const char16_t *>(out.constData()));
    return out;
}

QString decodeFileText(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.sliced(3));
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE
                                                            : QStringConverter::Utf16BE);
        return decoder.decode(bytes.sliced(2));
    }
    return fromCodePage(bytes);
}
