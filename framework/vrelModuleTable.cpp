// The frame-to-module table of the menu runtime (unit vrelMenu).
#include "vrelMenu.h"

#include "vrelCodePage.h"

#include <QFile>

namespace {
bool isModuleLine(const QString &line)
{
    return !line.isEmpty() && line.contains(u'=');
}
} // namespace

void TModuleManager::Clear()
{
    FList.Clear();
}

void TModuleManager::Add(const QString &AData)
{
    const qsizetype eq = AData.indexOf(u'=');
    const QString module = eq < 0 ? QString() : UpperCaseAscii(QStringView(AData).left(eq));
    const QStringView frames = eq < 0 ? QStringView(AData) : QStringView(AData).sliced(eq + 1);
    // "," and the line breaks CR, LF and CR LF all end a frame name; the empty
    // pieces they leave between them are passed over like blank ones.
    qsizetype start = 0;
    for (qsizetype i = 0; i <= frames.size(); ++i) {
        if (i < frames.size() && frames[i] != u',' && frames[i] != u'\r' && frames[i] != u'\n')
            continue;
        const QString key = TrimControl(UpperCaseAscii(frames.sliced(start, i - start)));
        if (!key.isEmpty())
            FList.Add(key, module, nullptr);
        start = i + 1;
    }
}

void TModuleManager::Append(const QString &AFileName)
{
    QFile file(AFileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EFOpenError(AFileName, file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EFOpenError(AFileName, file.errorString());
    // Byte-order marks choose the encoding, code page 949 otherwise; lines end
    // at CR LF, a lone CR or a lone LF.
    const QString text = decodeFileText(bytes);
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        lines.append(text.sliced(start, i - start));
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    lines.append(text.sliced(start));
    LoadFromList(lines);
}

void TModuleManager::LoadFromList(const QStringList &AList)
{
    for (const QString &line : AList)
        if (isModuleLine(line))
            Add(line);
}

QString TModuleManager::Find(const QString &AFrame) const
{
    const QString key = UpperCaseAscii(AFrame);
    TVrelHashLock lock(FList);
    const PHashData p = FList.Search(key);
    return p ? p->Value : QString();
}
