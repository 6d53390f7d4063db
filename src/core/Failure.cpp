#include "Failure.h"

#include <cerrno>
#include <cstring>

namespace plenvoy {

Failure::Failure(int number, QString description)
    : m_number(number)
    , m_description(std::move(description))
    , m_utf8(m_description.toUtf8()) {}

QString failureDescription(int number) {
    switch (number) {
    case ErrorNumber::InvalidProcedureCall:
        return QStringLiteral(
            QT_TRANSLATE_NOOP("ErrorReport", "Invalid procedure call or argument"));
    case ErrorNumber::Overflow:
        return QStringLiteral(QT_TRANSLATE_NOOP("ErrorReport", "Overflow"));
    case ErrorNumber::SubscriptOutOfRange:
        return QStringLiteral(QT_TRANSLATE_NOOP("ErrorReport", "Subscript out of range"));
    case ErrorNumber::TypeMismatch:
        return QStringLiteral(QT_TRANSLATE_NOOP("ErrorReport", "Type mismatch"));
    case ErrorNumber::FileNotFound:
        return QStringLiteral(QT_TRANSLATE_NOOP("ErrorReport", "File not found"));
    case ErrorNumber::PermissionDenied:
        return QStringLiteral(QT_TRANSLATE_NOOP("ErrorReport", "Permission denied"));
    case ErrorNumber::PathNotFound:
        return QStringLiteral(QT_TRANSLATE_NOOP("ErrorReport", "Path not found"));
    case ErrorNumber::InvalidPropertyValue:
        return QStringLiteral(QT_TRANSLATE_NOOP("ErrorReport", "Invalid property value"));
    default:
        return QStringLiteral(
            QT_TRANSLATE_NOOP("ErrorReport", "Application-defined or object-defined error"));
    }
}

Failure Failure::of(int number) {
    return Failure(number, failureDescription(number));
}

Failure Failure::fromErrno(int errnoValue) {
    int number = ErrorNumber::Other;
    switch (errnoValue) {
    case EACCES:
    case EPERM:
        number = ErrorNumber::PermissionDenied;
        break;
    case ENOENT:
    case ENOTDIR:
        number = ErrorNumber::PathNotFound;
        break;
    default:
        break;
    }
    return Failure(number, QString::fromLocal8Bit(std::strerror(errnoValue)));
}

void throwFailure(int number) {
    throw Failure::of(number);
}

} // namespace plenvoy
