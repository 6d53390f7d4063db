#pragma once

#include <QString>

#include <exception>

namespace plenvoy {

/// Error numbers that the program's routines raise and test.
namespace ErrorNumber {
constexpr int InvalidProcedureCall = 5;
constexpr int Overflow = 6;
constexpr int SubscriptOutOfRange = 9;
constexpr int TypeMismatch = 13;
constexpr int FileNotFound = 53;
constexpr int PermissionDenied = 70;
constexpr int PathNotFound = 76;
constexpr int InvalidPropertyValue = 380;
constexpr int Other = 1000;
} // namespace ErrorNumber

/// A failure raised by a step of a routine; the error trap catches it and reports its
/// description. Failures never cross a slot or a window event.
class Failure final : public std::exception {
public:
    Failure(int number, QString description);

    /// The standard failure for one of the numbers above, with its usual description.
    static Failure of(int number);
    /// The failure for a system error number (errno): 70 for EACCES and EPERM, 76 for
    /// ENOENT and ENOTDIR, another number otherwise; the description is the system's.
    static Failure fromErrno(int errnoValue);

    int number() const { return m_number; }
    const QString &description() const { return m_description; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    int m_number;
    QString m_description;
    QByteArray m_utf8;
};

/// Standard descriptions, as the user sees them in the error report.
QString failureDescription(int number);

[[noreturn]] void throwFailure(int number);

} // namespace plenvoy
