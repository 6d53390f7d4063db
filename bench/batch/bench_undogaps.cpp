// How long a window goes without processing its events while it takes a run back: the
// real "Start Changing" run with its record copies FILES small files, then the window's
// own way of taking a run back (asking first, then removing, processing its events at most
// every 4 ms as the main window's port does) removes them. A zero timer fires once each
// time the events are processed; the longest time between two firings is the longest the
// window stood still.
// Usage: bench_undogaps [files] [base folder]

#include "BenchSupport.h"

#include "FixedRunInputs.h"
#include "core/PathCodec.h"
#include "records/RunRecord.h"
#include "records/RunUndo.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

using namespace bench;

namespace {

/// The window's answers: yes to taking the run back.
class AnsweringWindow final : public plenvoy::SilentWindowPort {
public:
    bool askYesNo(const QString &) override { return true; }
    void showMessage(const QString &text) override { shown = text; }
    void processEvents() override { m_events.processEvents(); }
    QString shown;

private:
    QuietWindow m_events;
};

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int files = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
    const QString base = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QDir::tempPath();
    QTemporaryDir root(base + QStringLiteral("/plenvoy-bench-XXXXXX"));
    if (!root.isValid())
        return 2;
    qputenv("XDG_STATE_HOME", plenvoy::pathToBytes(root.path() + QStringLiteral("/state")));
    plenvoy::FixedRunInputs inputs(writeSourceFiles(root.path(), files, 16),
                                   freshFolder(root.path(), QStringLiteral("out")), {});
    plenvoy::enableRunRecords(QStringLiteral("window"));
    AnsweringWindow ui;
    plenvoy::WindowRuns runs;
    runs.note(plenvoy::startChanging(inputs, ui).recordId);
    settle();

    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    qint64 rounds = 0;
    QTimer timer;
    timer.setInterval(0);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
        ++rounds;
    });
    clock.start();
    timer.start();
    const plenvoy::UndoResult result = runs.offerUndo(ui);
    timer.stop();
    longest = std::max(longest, clock.nsecsElapsed() - last);
    std::printf("undo of %lld copies: %.0f ms, longest between two event rounds %.1f ms "
                "(%lld rounds; goal <= 50 ms)\n",
                result.removedCount, clock.nsecsElapsed() / 1e6, longest / 1e6, rounds);
    return result.removedCount == files ? 0 : 1;
}
