#include "WindowRuns.h"

#include "core/WindowPort.h"
#include "records/RunUndo.h"
#include "run/RunOutcome.h"

#include <QShortcut>
#include <QWidget>

namespace plenvoy {

WindowRuns::WindowRuns(WindowPort &port,
                       std::function<void(const std::function<void()> &)> runHandler)
    : m_port(port)
    , m_runHandler(std::move(runHandler)) {}

void WindowRuns::undoOnKey(QWidget &window, const QWidget *ownUndo) {
    QObject::connect(new QShortcut(QKeySequence::Undo, &window), &QShortcut::activated, &window,
                     [this, &window, ownUndo] {
                         if (window.focusWidget() != ownUndo)
                             m_runHandler([this] { offerUndo(); });
                     });
}

void WindowRuns::runEnded(const RunOutcome &outcome) {
    if (!outcome.recordId.isEmpty())
        m_ids.append(outcome.recordId);
    if (outcome.undoAsked)
        offerUndo();
}

UndoResult WindowRuns::offerUndo() {
    return offerUndoOfNewest(m_ids, m_port);
}

} // namespace plenvoy
