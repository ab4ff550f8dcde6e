#include "vrelErrors.h"

EVrelError::EVrelError(QString message)
    : FMessage(std::move(message)), FUtf8(FMessage.toUtf8())
{
}

EListError EListError::IndexOutOfBounds(qsizetype index)
{
    return EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
}

EFOpenError::EFOpenError(const QString &fileName, const QString &reason)
    : EStreamError(QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, reason))
{
}

EFCreateError::EFCreateError(const QString &fileName, const QString &reason)
    : EStreamError(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, reason))
{
}

ERangeError::ERangeError() : EVrelError(QStringLiteral("Range check error")) {}

EConvertError EConvertError::CannotAssign(const QString &sourceClass, const QString &targetClass)
{
    return EConvertError(QStringLiteral("Cannot assign a %1 to a %2").arg(sourceClass, targetClass));
}

EInvalidCast::EInvalidCast() : EVrelError(QStringLiteral("Invalid class typecast")) {}
