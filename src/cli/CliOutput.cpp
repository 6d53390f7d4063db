#include "CliOutput.h"

#include "core/PathCodec.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace plenvoy::cli {

namespace {

bool g_outputFailed = false;

void writeStderr(const QString &line) {
    const QByteArray bytes = pathToBytes(line + QLatin1Char('\n'));
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

/// The first failure of standard output: said once, and nothing more is printed there.
void outputFailedWith(int errorNumber) {
    g_outputFailed = true;
    writeStderr(QStringLiteral("plenvoy-cli: cannot write to standard output: ") +
                QString::fromLocal8Bit(std::strerror(errorNumber)));
}

/// Flushes standard output, so that standard error follows what it already holds.
void flushOut() {
    if (g_outputFailed)
        return;
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        outputFailedWith(errno != 0 ? errno : EIO);
}

} // namespace

void printOut(const QByteArray &bytes) {
    if (g_outputFailed || bytes.isEmpty())
        return;
    errno = 0;
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size()) ||
        std::ferror(stdout))
        outputFailedWith(errno != 0 ? errno : EIO);
}

void printOutLine(const QByteArray &bytes) {
    if (g_outputFailed)
        return;
    errno = 0;
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size()) ||
        std::fputc('\n', stdout) == EOF || std::ferror(stdout))
        outputFailedWith(errno != 0 ? errno : EIO);
}

void printLine(const QString &text) {
    printOut(pathToBytes(text + QLatin1Char('\n')));
}

void printErrorLine(const QString &text) {
    flushOut();
    writeStderr(text);
}

void printError(const std::optional<QString> &subject, const QString &text) {
    printErrorLine(QStringLiteral("plenvoy-cli: ") +
                   (subject ? *subject + QStringLiteral(": ") : QString()) + text);
}

void printWarning(const QString &text) {
    printError(QStringLiteral("warning"), text);
}

bool finishOutput() {
    flushOut();
    std::fflush(stderr);
    return !g_outputFailed;
}

void RecordWriter::write(int position, const QStringList &fields) {
    QByteArray record;
    if (m_nullSeparated) {
        for (const QString &field : fields)
            record += pathToBytes(field) + '\0';
        printOut(record);
        return;
    }
    for (const QString &field : fields) {
        if (field.contains(QLatin1Char('\n'))) {
            m_lineBreakSeen = true;
            printLine(QString());
            printWarning(QStringLiteral("file %1 of the list: a name holds a line break; "
                                        "printed as an empty line (-0 prints it)")
                             .arg(position));
            return;
        }
    }
    printLine(fields.join(QStringLiteral(" -> ")));
}

} // namespace plenvoy::cli
