#pragma once

#include "core/SilentWindowPort.h"

#include <QCoreApplication>
#include <QStringList>

#include <chrono>

namespace plenvoy::bench {

/// The window as the folder benchmarks meet it: events are processed for real, nothing is
/// shown, the input box answers with `answer` and the folder dialog with `folder`.
class BenchWindow final : public SilentWindowPort {
public:
    QString askText(const QString &, const QString &) override { return answer; }
    void showErrorReport(const QString &text) override { reports.append(text); }
    QString chooseFolder(const QString &, const QString &) override { return folder; }
    /// As the main window's port: the events get their turn at most every 4 ms, however
    /// often the routine asks.
    void processEvents() override {
        if (!processesEvents)
            return;
        const auto now = std::chrono::steady_clock::now();
        if (now - m_lastEvents < std::chrono::milliseconds(4))
            return;
        QCoreApplication::processEvents();
        m_lastEvents = std::chrono::steady_clock::now();
    }

    QString answer;
    QString folder;
    QStringList reports;
    // PLENVOY_BENCH_NO_EVENTS=1 measures without the window's event processing.
    bool processesEvents = !qEnvironmentVariableIsSet("PLENVOY_BENCH_NO_EVENTS");

private:
    std::chrono::steady_clock::time_point m_lastEvents{};
};

} // namespace plenvoy::bench
