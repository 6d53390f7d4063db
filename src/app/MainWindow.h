#pragma once

#include "ControlPlacement.h"
#include "HandedPaths.h"
#include "MainWindowPort.h"
#include "WindowUndo.h"
#include "copying/FilePlacement.h"
#include "filelist/FileList.h"
#include "settings/SettingsStore.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QShortcut;

namespace plenvoy {

class FileListView;
class NewNamePreview;
class RunInputs;
class RunProgress;
class RunProgressBar;

/// The main window: the file list, the six buttons, the option drop-down and the output
/// folder. startUp prepares it before it is first shown; closing it ends the program.
class MainWindow final : public QWidget {
    Q_OBJECT

public:
    /// The optional files (pointer, skin, samples) are looked for in programFolder; empty
    /// text means the folder that holds the executable.
    explicit MainWindow(const QString &programFolder = QString(), QWidget *parent = nullptr);
    ~MainWindow() override;

    /// The start-up steps, trapped with kTagFormLoad: a failing step is reported and the
    /// next one runs.
    void startUp();
    /// Places the window in the middle of its screen.
    void centreOnScreen();

    /// Paths from the command line or a later start: files are appended at once, as a drop
    /// appends them; folders are walked as "Add All Files In Folder" walks them with every
    /// extension, when the window is idle. The window then asks to come to the front. A
    /// notice is told in a box once they are listed.
    void openPaths(const QStringList &paths, const QString &notice = QString());
    /// No handler is running and no box is open.
    bool idle() const;
    /// Folders given but not yet walked.
    const QStringList &pendingFolders() const { return m_handedPaths.pendingFolders(); }

    /// A run is going on: "Start Changing" reads "Stop" and the progress bar shows.
    bool running() const { return m_running; }
    /// Given to every copy of the window's runs (a test slows a copy down, or acts half-way
    /// through one).
    void setCopyHooks(const CopyHooks &hooks) { m_copyHooks = hooks; }

    FileList &fileList() { return m_fileList; }
    MainWindowPort &port() { return m_port; }
    NewNamePreview &preview() { return *m_preview; }
    SettingsStore &settings() { return m_settings; }
    const QString &programFolder() const { return m_programFolder; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void buildControls();
    /// How each control below the list follows the window as it grows.
    void placeForGrowth();
    void connectControls();
    /// The list shows the files through the preview, which follows the option and the folder.
    void attachPreview();
    void addShortcuts();
    void describeControls();
    /// "Start Changing" starts a run; during a run it is the Stop button.
    void startOrStop();
    void showRunFace(bool shown);
    /// "Stop after the current file?"; Yes ends the run after the file in hand.
    void askToStop();
    void placeControls();
    QPushButton *makeButton(const QString &name, const QString &caption, QWidget *parent,
                            const QRect &twips);
    void storeChosenOption();
    void storeOutputFolder(const QString &text);
    void browseOutputFolder();
    void openStampSettings();
    /// Sets the window's pointer for the mouse moving over a control, unless busy.
    void pointerOver(PointerMode mode);
    /// Runs a button's handler, counted so that idle() knows.
    void runHandler(const std::function<void()> &handler);
    /// The preview column: shown or hidden, and the widths of both columns.
    void showNewNames(bool shown);
    void newNamesMenu(const QPoint &position);
    /// Writes n as the run converted it, when it is one the preview can use.
    void rememberN(std::optional<qint16> n);

    QString m_programFolder;
    SettingsStore m_settings;
    FileList m_fileList;
    MainWindowPort m_port;

    FileListView *m_fileListView = nullptr;
    NewNamePreview *m_preview = nullptr;
    /// The controls, placed for the window's smallest size.
    ControlPlacement m_placement;
    bool m_userResized = false;
    QPushButton *m_addFilesButton = nullptr;
    QPushButton *m_startChangingButton = nullptr;
    QPushButton *m_addFolderButton = nullptr;
    QPushButton *m_clearListButton = nullptr;
    QPushButton *m_loadSamplesButton = nullptr;
    QPushButton *m_browseButton = nullptr;
    QPushButton *m_stampSettingsButton = nullptr;
    QGroupBox *m_optionsBox = nullptr;
    QGroupBox *m_outputFolderBox = nullptr;
    QComboBox *m_optionCombo = nullptr;
    QLineEdit *m_outputFolderEdit = nullptr;
    QList<QPushButton *> m_buttons;
    std::unique_ptr<RunInputs> m_runInputs;
    /// Undo Run and Ctrl+Z: the runs this window made, taken back.
    WindowUndo m_undo;
    std::unique_ptr<RunProgress> m_progress;
    RunProgressBar *m_runProgressBar = nullptr;
    QShortcut *m_stopShortcut = nullptr;
    bool m_running = false;
    CopyHooks m_copyHooks;
    HandedPaths m_handedPaths;
    int m_handlersRunning = 0;
};

} // namespace plenvoy
