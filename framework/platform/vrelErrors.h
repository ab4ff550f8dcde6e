// The library's error classes. Every failure of a library operation (file,
// stream, zlib, list index, conversion, range) is raised as one of these; the
// text is the one the user sees in the standard error box.
#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

class EVrelError : public std::exception {
public:
    explicit EVrelError(QString message);
    const QString &Message() const { return FMessage; }
    const char *what() const noexcept override { return FUtf8.constData(); }

private:
    QString FMessage;
    QByteArray FUtf8;
};

// "List index out of bounds (%d)"
class EListError : public EVrelError {
public:
    using EVrelError::EVrelError;
    static EListError IndexOutOfBounds(qsizetype index);
};

// Base of the file errors.
class EStreamError : public EVrelError {
public:
    using EVrelError::EVrelError;
};

// "Cannot open file "%s". %s"
class EFOpenError : public EStreamError {
public:
    EFOpenError(const QString &fileName, const QString &reason);
};

// "Cannot create file "%s". %s"
class EFCreateError : public EStreamError {
public:
    EFCreateError(const QString &fileName, const QString &reason);
};

// "Range check error": a value that does not fit the field it is converted to.
class ERangeError : public EVrelError {
public:
    ERangeError();
    using EVrelError::EVrelError;
};

// Conversion failures, "Cannot assign a %s to a %s" among them.
class EConvertError : public EVrelError {
public:
    using EVrelError::EVrelError;
    static EConvertError CannotAssign(const QString &sourceClass, const QString &targetClass);
};

// "Invalid class typecast"
class EInvalidCast : public EVrelError {
public:
    EInvalidCast();
};
