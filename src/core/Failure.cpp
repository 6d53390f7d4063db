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
        return QStringLiteral("Invalid procedure call or argument");
    case ErrorNumber::Overflow:
        return QStringLiteral("Overflow");
    case ErrorNumber::SubscriptOutOfRange:
        return QStringLiteral("Subscript out of range");
    case ErrorNumber::TypeMismatch:
        return QStringLiteral("Type mismatch");
    case ErrorNumber::FileNotFound:
        return QStringLiteral("File not found");
    case ErrorNumber::PermissionDenied:
        return QStringLiteral("Permission denied");
    case ErrorNumber::PathNotFound:
        return QStringLiteral("Path not found");
    case ErrorNumber::InvalidPropertyValue:
        return QStringLiteral("Invalid property value");
    default:
        return QStringLiteral("Application-defined or object-defined error");
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
