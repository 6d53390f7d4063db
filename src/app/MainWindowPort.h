#pragma once

#include "core/WindowPort.h"

#include <QCursor>

#include <chrono>
#include <functional>
#include <optional>

class QFont;
class QUrl;
class QWidget;

namespace plenvoy {

/// The text of a box as it is drawn: a carriage return that no line feed follows becomes a
/// line break (the composed texts keep their carriage returns).
QString displayText(const QString &text);

/// The narrowest a box may be: wide enough that a title bar shows the whole title, in a
/// title font up to a fifth larger and bold, beside the bar's own icon and buttons.
int boxMinimumWidth(const QString &title, const QFont &font);

/// The path on the disk that a file dialog's answer names. The dialogs decode names that
/// are not UTF-8 with U+FFFD in place of each such byte; each component that holds U+FFFD
/// is looked up in its folder and replaced by the one entry that shows as it does. When no
/// entry or several do, the text stays as it came. Text without U+FFFD is returned as is.
QString pathFromDialog(const QString &path);

/// A local-file URL that carries the path's bytes, escaped bytes included.
QUrl localFileUrl(const QString &path);

/// The main window's side of WindowPort: real message boxes, input boxes and file dialogs
/// owned by the window, the window's pointer, event processing and the closing flag.
class MainWindowPort final : public WindowPort {
public:
    explicit MainWindowPort(QWidget &window);

    void showMessage(const QString &text) override;
    void showMessageWithDetails(const QString &text, const QString &informativeText) override;
    bool showClosingBox(const QString &text, const QString &informativeText, bool canUndo) override;
    /// Puts the window's run face away first (the title and the progress bar), then shows
    /// [Undo Run] [Open Folder] [OK]; "Open Folder" opens writtenFolder in the file manager.
    bool showRunClosingBox(const QString &text, const QString &informativeText, bool canUndo,
                           const QString &writtenFolder) override;
    bool askYesNo(const QString &text) override;
    bool askYesNoDefaultNo(const QString &text) override;
    QString askText(const QString &prompt, const QString &defaultAnswer) override;
    void showErrorReport(const QString &text) override;
    QStringList chooseFiles(const QString &title) override;
    QString chooseFolder(const QString &prompt, const QString &startFolder) override;
    void openFolder(const QString &path) override;
    PointerMode pointer() const override { return m_mode; }
    void setPointer(PointerMode mode) override;
    /// Lets the window process its pending events, unless it did so less than
    /// kEventInterval ago: the walk and the run call it at every step, and a million steps
    /// would spend their time there. The window still answers within a few milliseconds.
    void processEvents() override;
    bool closing() const override { return m_closing; }
    /// How many calls of processEvents() let the window process its events.
    qint64 eventRounds() const { return m_eventRounds; }
    static constexpr std::chrono::milliseconds kEventInterval{4};
    void reportProgress(qint64 done, qint64 total) override {
        if (m_progress)
            m_progress(done, total);
    }
    /// Where the run's progress goes (the window's title and the task bar).
    void setProgressHandler(std::function<void(qint64, qint64)> handler) {
        m_progress = std::move(handler);
    }
    void reportBytes(qint64 written, qint64 size) override {
        if (m_bytes)
            m_bytes(written, size);
    }
    /// Where the bytes of the copy in hand go.
    void setBytesHandler(std::function<void(qint64, qint64)> handler) {
        m_bytes = std::move(handler);
    }
    /// Called when a run ends, before its closing box shows.
    void setRunEndHandler(std::function<void()> handler) { m_runEnd = std::move(handler); }
    bool stopRequested() const override { return m_stopRequested; }
    /// The run in progress ends after the file in hand; a new run clears the request.
    void requestStop(bool stop = true) { m_stopRequested = stop; }

    /// The image that the custom mode shows; without one it shows the arrow.
    void setCustomPointer(const QCursor &cursor);
    bool hasCustomPointer() const { return m_custom.has_value(); }
    /// The window was closed: loops stop at their next processEvents() and no further box
    /// is shown.
    void markClosing() { m_closing = true; }

private:
    void applyPointer();

    QWidget &m_window;
    PointerMode m_mode = PointerMode::Default;
    std::optional<QCursor> m_custom;
    bool m_closing = false;
    qint64 m_eventRounds = 0;
    std::chrono::steady_clock::time_point m_lastEvents{};
    std::function<void(qint64, qint64)> m_progress;
    std::function<void(qint64, qint64)> m_bytes;
    std::function<void()> m_runEnd;
    bool m_stopRequested = false;
};

} // namespace plenvoy
