#pragma once

#include "MainWindowPort.h"
#include "SettingsStore.h"
#include "filelist/FileList.h"

#include <QWidget>

#include <memory>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace plenvoy {

class ListView1;
class RunInputs;

/// The main window: the file list, the six buttons, the option drop-down and the output
/// folder. Form_Load prepares it before it is first shown; closing it ends the program.
class Form1 final : public QWidget {
    Q_OBJECT

public:
    /// The optional files (pointer, skin, samples) are looked for in programFolder; empty
    /// text means the folder that holds the executable.
    explicit Form1(const QString &programFolder = QString(), QWidget *parent = nullptr);
    ~Form1() override;

    /// The start-up steps, trapped with kTagFormLoad, lines 100 to 210.
    void Form_Load();
    /// Places the window in the middle of its screen.
    void centreOnScreen();

    FileList &fileList() { return m_fileList; }
    MainWindowPort &port() { return m_port; }
    SettingsStore &settings() { return m_settings; }
    const QString &programFolder() const { return m_programFolder; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    QPushButton *makeButton(const QString &name, const QString &caption, QWidget *parent,
                            const QRect &twips);
    void Combo1_Click();
    void Text1_Change(const QString &text);
    void PushButton6_Click();
    /// Sets the window's pointer for the mouse moving over a control, unless busy.
    void pointerOver(PointerMode mode);

    QString m_programFolder;
    SettingsStore m_settings;
    FileList m_fileList;
    MainWindowPort m_port;

    ListView1 *m_listView1 = nullptr;
    QPushButton *m_pushButton1 = nullptr;
    QPushButton *m_pushButton2 = nullptr;
    QPushButton *m_pushButton3 = nullptr;
    QPushButton *m_pushButton4 = nullptr;
    QPushButton *m_pushButton5 = nullptr;
    QPushButton *m_pushButton6 = nullptr;
    QGroupBox *m_frame1 = nullptr;
    QGroupBox *m_frame2 = nullptr;
    QComboBox *m_combo1 = nullptr;
    QLineEdit *m_text1 = nullptr;
    QList<QPushButton *> m_buttons;
    std::unique_ptr<RunInputs> m_runInputs;
};

} // namespace plenvoy
