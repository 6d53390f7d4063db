#pragma once

#include "RunUndo.h"

#include <QString>
#include <QStringList>

namespace plenvoy {

class WindowPort;

/// The runs one window made, so that Ctrl+Z there takes back its newest one not yet undone.
/// It asks and reports through the window's seam only.
class WindowRuns final {
public:
    /// Notes the record of a run that the window made (an empty id, of a run that wrote no
    /// copy, is ignored).
    void note(const QString &id);
    /// Asks first, naming the count and the output folder ("Remove the 1,234 copies this run
    /// made in /home/ana/stamped?"), then takes the run back, letting the window answer
    /// meanwhile, and tells how many were removed and which were left and why. Nothing
    /// happens when no run of this window is left to take back. Returns what undo did.
    UndoResult offerUndo(WindowPort &ui);

private:
    QStringList m_ids;
};

/// The question asked before a run is taken back.
QString undoQuestion(qint64 copies, const QString &outputFolder);
/// The report after: how many were removed, and the copies left with why (at most ten).
QString undoReport(const UndoResult &result);

} // namespace plenvoy
