#pragma once

#include <QStringList>

#include <functional>

class QWidget;

namespace plenvoy {

struct RunOutcome;
struct UndoResult;
class WindowPort;

/// Taking back the runs one window made: "Undo Run" in a run's closing box, and Ctrl+Z,
/// which offers to take back the window's newest run not yet undone.
class WindowRuns final {
public:
    /// Handlers run through `runHandler`, so that the window counts them as running.
    WindowRuns(WindowPort &port, std::function<void(const std::function<void()> &)> runHandler);

    /// Ctrl+Z in `window` offers to take back its newest run, except where the focus is on
    /// `ownUndo`, a box that keeps its own undo.
    void undoOnKey(QWidget &window, const QWidget *ownUndo);
    /// Notes the run's record and, when the user chose "Undo Run" in its closing box, offers
    /// to take it back.
    void runEnded(const RunOutcome &outcome);
    /// Asks, then takes back the newest run of this window not yet undone, if one is left.
    UndoResult offerUndo();

private:
    WindowPort &m_port;
    std::function<void(const std::function<void()> &)> m_runHandler;
    /// The records of this window's runs, oldest first; a run that wrote no copy has none.
    QStringList m_ids;
};

} // namespace plenvoy
