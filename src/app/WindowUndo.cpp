#include "WindowUndo.h"

#include "core/WindowPort.h"
#include "run/RunOutcome.h"

#include <QShortcut>
#include <QWidget>

namespace plenvoy {

WindowUndo::WindowUndo(WindowPort &port,
                       std::function<void(const std::function<void()> &)> runHandler)
    : m_port(port)
    , m_runHandler(std::move(runHandler)) {}

void WindowUndo::undoOnKey(QWidget &window, const QWidget *ownUndo) {
    QObject::connect(new QShortcut(QKeySequence::Undo, &window), &QShortcut::activated, &window,
                     [this, &window, ownUndo] {
                         if (window.focusWidget() != ownUndo)
                             m_runHandler([this] { m_runs.offerUndo(m_port); });
                     });
}

void WindowUndo::runEnded(const RunOutcome &outcome) {
    m_runs.note(outcome.recordId);
    if (outcome.undoAsked)
        m_runs.offerUndo(m_port);
}

} // namespace plenvoy
