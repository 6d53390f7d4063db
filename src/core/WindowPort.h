#pragma once

#include <QString>
#include <QStringList>

namespace plenvoy {

struct ErrorDetails;

/// The window's pointer modes. Busy is set and cleared only by the two long loops.
enum class PointerMode { Default, Busy, Custom };

/// The one small interface through which routines reach the main window: boxes,
/// dialogs, the pointer and event processing. The window implements it for real;
/// tests pass a recording fake, so every handler runs without a window.
class WindowPort {
public:
    virtual ~WindowPort();

    /// Information box: the text, an OK button, no icon, the application title as caption.
    virtual void showMessage(const QString &text) = 0;
    /// Question: Yes and No, no icon, the application title as caption. True for Yes.
    virtual bool askYesNo(const QString &text) = 0;
    /// A question whose Yes takes something away: as askYesNo, with No as the answer that
    /// Enter gives.
    virtual bool askYesNoDefaultNo(const QString &text) { return askYesNo(text); }
    /// Input box with a prompt, a default answer, OK and Cancel, the application title as
    /// caption; the typed text (never a null text, even when empty), or a null text on
    /// Cancel, Escape or when the box was closed.
    virtual QString askText(const QString &prompt, const QString &defaultAnswer) = 0;
    /// The information box with an informative text under its text (Qt's informative
    /// text); by default the box of showMessage(text) alone.
    virtual void showMessageWithDetails(const QString &text, const QString &informativeText);
    /// The run's closing box. With canUndo it also offers "Undo Run" (OK stays the default
    /// and Escape); true when that was chosen. By default showMessageWithDetails, and false.
    virtual bool showClosingBox(const QString &text, const QString &informativeText, bool canUndo);
    /// The run's closing box, which also offers to open the folder that the run wrote a copy
    /// into (none when writtenFolder is empty). By default showClosingBox.
    virtual bool showRunClosingBox(const QString &text, const QString &informativeText,
                                   bool canUndo, const QString &writtenFolder);
    /// The error report box: "Application Error", the warning icon, OK.
    virtual void showErrorReport(const QString &text) = 0;
    /// An error report as a value: by default the box of showErrorReport with its text.
    /// Fronts that tell errors their own way (the command line) take the details.
    virtual void reportError(const ErrorDetails &details);

    /// File-open dialog with several files allowed; the chosen paths, empty on Cancel.
    virtual QStringList chooseFiles(const QString &title) = 0;
    /// Folder dialog titled with the prompt, opened at the start folder when it exists;
    /// the chosen folder as the dialog gives it, empty text on Cancel.
    virtual QString chooseFolder(const QString &prompt, const QString &startFolder) = 0;
    /// Shows a folder in the desktop's file manager.
    virtual void openFolder(const QString &path) = 0;

    virtual PointerMode pointer() const = 0;
    virtual void setPointer(PointerMode mode) = 0;

    /// How far the run is: done of total files. Fronts that show progress override it.
    virtual void reportProgress(qint64 done, qint64 total) {
        Q_UNUSED(done);
        Q_UNUSED(total);
    }

    /// How far the copy in hand is: written of size bytes. Asked between two looks at the
    /// window during a long copy.
    virtual void reportBytes(qint64 written, qint64 size) {
        Q_UNUSED(written);
        Q_UNUSED(size);
    }
    /// The user asked the run to stop: it ends after the file in hand, never half-way.
    virtual bool stopRequested() const { return false; }

    /// Lets the window process its pending events; other handlers may run inside.
    virtual void processEvents() = 0;
    /// True once the window has been closed: a long loop stops right after its
    /// processEvents() call, with no further step and no message.
    virtual bool closing() const = 0;
};

} // namespace plenvoy
