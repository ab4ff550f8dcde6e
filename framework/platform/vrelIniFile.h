// Profile (INI) files: "[SECTION]" lines and "key=value" lines. Section and key
// names are matched without regard to letter case. Changes are made in memory
// and written by UpdateFile, which keeps every line it did not change and
// replaces the file atomically. Text is code page 949 unless the file starts
// with a UTF-8 byte-order mark; a file is written back in the encoding it was
// read in.
#pragma once

#include "vrelErrors.h"

#include <QString>
#include <QStringList>

// "Unable to write to %s"
class EIniFileException : public EVrelError {
public:
    using EVrelError::EVrelError;
};

class TVrelIniFile {
public:
    // Reads the file; a missing or unreadable file reads as empty.
    explicit TVrelIniFile(const QString &fileName);

    const QString &FileName() const { return FFileName; }
    bool IsUtf8() const { return FUtf8; }

    bool SectionExists(const QString &section) const;
    bool ValueExists(const QString &section, const QString &key) const;

    // The value, at most 2047 characters, or `defaultValue` when the key is absent.
    QString ReadString(const QString &section, const QString &key, const QString &defaultValue) const;
    // Decimal, or hexadecimal after "0x", "0X" or "$"; text that is not an
    // integer counts as absent.
    qint64 ReadInteger(const QString &section, const QString &key, qint64 defaultValue) const;

    void WriteString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, qint64 value);

    // Writes the lines to the file (created when missing) through a temporary
    // file beside it; raises EIniFileException "Unable to write to %s".
    void UpdateFile() const;

    // Reads an integer text as profile files store it; false when it is none.
    static bool ParseInteger(QStringView text, qint64 &value);

private:
    // Line index of the section header, or -1.
    qsizetype findSection(const QString &section) const;
    // Line index of the key inside the section starting at `header`, or -1.
    qsizetype findKey(qsizetype header, const QString &key) const;
    qsizetype sectionEnd(qsizetype header) const;

    QString FFileName;
    QStringList FLines;
    bool FUtf8 = false;
};
