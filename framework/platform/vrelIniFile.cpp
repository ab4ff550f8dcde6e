#include "vrelIniFile.h"

#include "vrelCodePage.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

namespace {

constexpr qsizetype kMaxValueLength = 2047;

bool isSectionLine(QStringView line)
{
    const QStringView t = line.trimmed();
    return t.startsWith(u'[') && t.contains(u']');
}

QStringView sectionName(QStringView line)
{
    const QStringView t = line.trimmed();
    return t.sliced(1, t.indexOf(u']') - 1).trimmed();
}

} // namespace

TVrelIniFile::TVrelIniFile(const QString &fileName) : FFileName(fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    FUtf8 = bytes.startsWith("\xEF\xBB\xBF");
    const QString text = FUtf8 ? QString::fromUtf8(bytes.sliced(3)) : fromCodePage(bytes);
    FLines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    if (!FLines.isEmpty() && FLines.constLast().isEmpty())
        FLines.removeLast();
}

qsizetype TVrelIniFile::findSection(const QString &section) const
{
    for (qsizetype i = 0; i < FLines.size(); ++i)
        if (isSectionLine(FLines[i]) && sectionName(FLines[i]).compare(section, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

qsizetype TVrelIniFile::sectionEnd(qsizetype header) const
{
    qsizetype i = header + 1;
    while (i < FLines.size() && !isSectionLine(FLines[i]))
        ++i;
    return i;
}

qsizetype TVrelIniFile::findKey(qsizetype header, const QString &key) const
{
    const qsizetype end = sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const QStringView line = FLines[i];
        const qsizetype eq = line.indexOf(u'=');
        if (eq > 0 && line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool TVrelIniFile::SectionExists(const QString &section) const
{
    return findSection(section) >= 0;
}

bool TVrelIniFile::ValueExists(const QString &section, const QString &key) const
{
    const qsizetype header = findSection(section);
    return header >= 0 && findKey(header, key) >= 0;
}

QString TVrelIniFile::ReadString(const QString &section, const QString &key,
                                 const QString &defaultValue) const
{
    const qsizetype header = findSection(section);
    const qsizetype line = header < 0 ? -1 : findKey(header, key);
    if (line < 0)
        return defaultValue;
    const QString &text = FLines[line];
    return text.mid(text.indexOf(u'=') + 1).trimmed().left(kMaxValueLength);
}

bool TVrelIniFile::ParseInteger(QStringView text, qint64 &value)
{
    QStringView t = text.trimmed();
    bool negative = false;
    if (t.startsWith(u'-') || t.startsWith(u'+')) {
        negative = t.front() == u'-';
        t = t.sliced(1);
    }
    int base = 10;
    if (t.startsWith(u'$')) {
        base = 16;
        t = t.sliced(1);
    } else if (t.startsWith(QLatin1StringView("0x"), Qt::CaseInsensitive)) {
        base = 16;
        t = t.sliced(2);
    }
    if (t.isEmpty() || t.front() == u'+' || t.front() == u'-')
        return false;
    bool ok = false;
    const qint64 v = t.toLongLong(&ok, base);
    if (!ok || v > 0xFFFFFFFFLL)
        return false;
    value = negative ? -v : v;
    return true;
}

qint64 TVrelIniFile::ReadInteger(const QString &section, const QString &key, qint64 defaultValue) const
{
    qint64 value = 0;
    return ParseInteger(ReadString(section, key, QString()), value) ? value : defaultValue;
}

void TVrelIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    const QString line = key + u'=' + value;
    qsizetype header = findSection(section);
    if (header < 0) {
        FLines.append(u'[' + section + u']');
        FLines.append(line);
        return;
    }
    const qsizetype existing = findKey(header, key);
    if (existing >= 0) {
        FLines[existing] = line;
        return;
    }
    // After the last non-empty line of the section, so blank separators stay last.
    qsizetype at = sectionEnd(header);
    while (at > header + 1 && FLines[at - 1].trimmed().isEmpty())
        --at;
    FLines.insert(at, line);
}

void TVrelIniFile::WriteInteger(const QString &section, const QString &key, qint64 value)
{
    WriteString(section, key, QString::number(value));
}

void TVrelIniFile::UpdateFile() const
{
    QString text;
    for (const QString &line : FLines) {
        text += line;
        text += QLatin1StringView("\r\n");
    }
    const QByteArray bytes = FUtf8 ? QByteArray("\xEF\xBB\xBF") + text.toUtf8() : toCodePage(text);
    // Unbuffered, so that a write cut short (disk full) shows in the count
    // instead of being committed as a truncated file.
    QSaveFile file(FFileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(bytes) != bytes.size()
        || !file.commit())
        throw EIniFileException(QStringLiteral("Unable to write to %1").arg(FFileName));
}
