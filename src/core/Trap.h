#pragma once

#include "ErrorReport.h"
#include "Failure.h"

#include <QString>

#include <exception>
#include <new>
#include <optional>
#include <utility>

namespace plenvoy {

class WindowPort;

/// The error trap of one routine. Each numbered step runs guarded: a failure shows the
/// error report with the routine's tag and the step's number, and the routine goes on
/// with its next step. A value that the failing step should have produced keeps what it
/// held before, so steps assign their results only on success.
class Trap final {
public:
    Trap(QString tag, WindowPort &ui)
        : m_tag(std::move(tag))
        , m_ui(ui) {}

    /// Runs one step. True when it completed, false when it failed and was reported.
    template <typename F> bool step(qint32 line, F &&body) {
        try {
            std::forward<F>(body)();
            return true;
        } catch (const Failure &failure) {
            report(line, failure.number(), failure.description());
        } catch (const std::bad_alloc &) {
            report(line, kOutOfMemory,
                   QStringLiteral(QT_TRANSLATE_NOOP("ErrorReport", "Out of memory")));
        } catch (const std::exception &other) {
            report(line, ErrorNumber::Other, QString::fromLocal8Bit(other.what()));
        }
        return false;
    }

    /// Runs the test of a conditional. A failing test is reported and counts as passed,
    /// so the conditional's body runs.
    template <typename F> bool test(qint32 line, F &&condition) {
        bool result = true;
        step(line, [&] { result = static_cast<bool>(std::forward<F>(condition)()); });
        return result;
    }

    /// Shows the report for a failure of the given step.
    void report(qint32 line, const QString &description) {
        report(line, ErrorNumber::Other, description);
    }
    void report(qint32 line, int number, const QString &description);

    /// The list entry the next steps concern (named in their reports); nullopt for none.
    void setEntry(std::optional<QString> entry) { m_entry = std::move(entry); }

    const QString &tag() const { return m_tag; }
    /// The last failure reported; nullopt before any.
    const std::optional<ErrorDetails> &lastReported() const { return m_lastReported; }
    WindowPort &ui() const { return m_ui; }

private:
    /// The number of the out-of-memory failure.
    static constexpr int kOutOfMemory = 7;

    QString m_tag;
    WindowPort &m_ui;
    std::optional<QString> m_entry;
    std::optional<ErrorDetails> m_lastReported;
};

} // namespace plenvoy
