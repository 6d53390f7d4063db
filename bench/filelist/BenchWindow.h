#pragma once

#include "core/SilentWindowPort.h"

#include <QCoreApplication>
#include <QStringList>

namespace plenvoy::bench {

/// The window as the folder benchmarks meet it: events are processed for real, nothing is
/// shown, the input box answers with `answer` and the folder dialog with `folder`.
class BenchWindow final : public SilentWindowPort {
public:
    QString askText(const QString &, const QString &) override { return answer; }
    void showErrorReport(const QString &text) override { reports.append(text); }
    QString chooseFolder(const QString &, const QString &) override { return folder; }
    void processEvents() override {
        if (processesEvents)
            QCoreApplication::processEvents();
    }

    QString answer;
    QString folder;
    QStringList reports;
    // PLENVOY_BENCH_NO_EVENTS=1 measures without the window's event processing.
    bool processesEvents = !qEnvironmentVariableIsSet("PLENVOY_BENCH_NO_EVENTS");
};

} // namespace plenvoy::bench
