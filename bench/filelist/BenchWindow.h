#pragma once

#include "core/WindowPort.h"

#include <QCoreApplication>
#include <QStringList>

namespace plenvoy::bench {

/// The window as the folder benchmarks meet it: events are processed for real, nothing is
/// shown, the input box answers with `answer` and the folder dialog with `folder`.
class BenchWindow final : public WindowPort {
public:
    void showMessage(const QString &) override {}
    bool askYesNo(const QString &) override { return false; }
    QString askText(const QString &, const QString &) override { return answer; }
    void showErrorReport(const QString &text) override { reports.append(text); }
    QStringList chooseFiles(const QString &) override { return QStringList(); }
    QString chooseFolder(const QString &, const QString &) override { return folder; }
    void openFolder(const QString &) override {}
    PointerMode pointer() const override { return m_pointer; }
    void setPointer(PointerMode mode) override { m_pointer = mode; }
    void processEvents() override {
        if (processesEvents)
            QCoreApplication::processEvents();
    }
    bool closing() const override { return false; }

    QString answer;
    QString folder;
    QStringList reports;
    // PLENVOY_BENCH_NO_EVENTS=1 measures without the window's event processing.
    bool processesEvents = !qEnvironmentVariableIsSet("PLENVOY_BENCH_NO_EVENTS");

private:
    PointerMode m_pointer = PointerMode::Default;
};

} // namespace plenvoy::bench
