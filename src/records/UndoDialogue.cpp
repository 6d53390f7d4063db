#include "UndoDialogue.h"

#include "core/PathCodec.h"
#include "core/Translation.h"
#include "core/WindowPort.h"

#include <QFileInfo>

namespace plenvoy {

namespace {

/// The report names at most this many copies that were left.
constexpr int kMaxLeftNamed = 10;

/// Why a copy was left, as the window shows it: a reason of its own, or "left: " and what
/// changed.
QString shownWhy(const QString &why) {
    const QString whole = shownText("Undo", why);
    const QString prefix = QStringLiteral("left: ");
    if (whole != why || !why.startsWith(prefix))
        return whole;
    return QCoreApplication::translate("Undo", "left: %1")
        .arg(shownText("Undo", why.mid(prefix.size())));
}

} // namespace

void WindowRuns::note(const QString &id) {
    if (!id.isEmpty())
        m_ids.append(id);
}

QString undoQuestion(qint64 copies, const QString &outputFolder) {
    const char *english =
        copies == 1 ? QT_TRANSLATE_NOOP("Undo", "Remove the %1 copy this run made in %2?")
                    : QT_TRANSLATE_NOOP("Undo", "Remove the %1 copies this run made in %2?");
    return shownCount("Undo", english, copies).arg(pathForDisplay(outputFolder));
}

QString undoReport(const UndoResult &result) {
    const qint64 removed = result.removedCount;
    QString text = shownCount("Undo",
                              removed == 1 ? QT_TRANSLATE_NOOP("Undo", "%1 copy was removed.")
                                           : QT_TRANSLATE_NOOP("Undo", "%1 copies were removed."),
                              removed);
    if (result.left.isEmpty())
        return text;
    const qsizetype left = result.left.size();
    text += QStringLiteral("\r\r") +
            shownCount("Undo",
                       left == 1 ? QT_TRANSLATE_NOOP("Undo", "%1 copy was left:")
                                 : QT_TRANSLATE_NOOP("Undo", "%1 copies were left:"),
                       left);
    for (qsizetype i = 0; i < left && i < kMaxLeftNamed; ++i)
        text += QLatin1Char('\r') + pathForDisplay(result.left[i].path) + QStringLiteral(": ") +
                shownWhy(result.left[i].why);
    if (left > kMaxLeftNamed)
        text += QLatin1Char('\r') +
                QCoreApplication::translate("Undo", "and %1 more.").arg(left - kMaxLeftNamed);
    return text;
}

UndoResult WindowRuns::offerUndo(WindowPort &ui) {
    UndoResult result;
    result.status = UndoResult::Status::NoRun;
    const auto answer = [&ui] { ui.processEvents(); };
    for (qsizetype i = m_ids.size() - 1; i >= 0; --i) {
        // Only this window's records are read, each as it is reached, the window answering.
        if (!QFileInfo::exists(runRecordPath(m_ids[i])) || recordUndone(m_ids[i]))
            continue;
        const RunSummary run = readSummary(m_ids[i], nullptr, answer);
        if (!ui.askYesNoDefaultNo(undoQuestion(run.copied, run.output)))
            return result;
        result = undoRun(run.id, false, answer);
        ui.showMessage(undoReport(result));
        return result;
    }
    return result;
}

} // namespace plenvoy
