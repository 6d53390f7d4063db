#pragma once

#include "records/UndoDialogue.h"

#include <functional>

class QWidget;

namespace plenvoy {

struct RunOutcome;
class WindowPort;

/// The window's side of taking its runs back: "Undo Run" in a run's closing box, and Ctrl+Z,
/// which offers to take back the window's newest run not yet undone.
class WindowUndo final {
public:
    /// Handlers run through `runHandler`, so that the window counts them as running.
    WindowUndo(WindowPort &port, std::function<void(const std::function<void()> &)> runHandler);

    /// Ctrl+Z in `window` offers to take back its newest run, except where the focus is on
    /// `ownUndo`, a box that keeps its own undo.
    void undoOnKey(QWidget &window, const QWidget *ownUndo);
    /// Notes the run's record and, when the user chose "Undo Run" in its closing box, offers
    /// to take it back.
    void runEnded(const RunOutcome &outcome);

private:
    WindowPort &m_port;
    std::function<void(const std::function<void()> &)> m_runHandler;
    /// The runs this window made.
    WindowRuns m_runs;
};

} // namespace plenvoy
