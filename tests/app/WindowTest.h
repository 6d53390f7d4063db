#pragma once

#include "TestFiles.h"
#include "app/MainWindow.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <memory>

namespace plenvoy::test {

/// What the tests of the real main window share: a settings folder, a home with a Desktop
/// and a program folder of their own for each test, and the window started on them.
class WindowTest : public QObject {
protected:
    /// Makes the folders and points XDG_CONFIG_HOME and HOME at them; false when it could not.
    bool makeWindowFolders() {
        m_config = std::make_unique<QTemporaryDir>();
        m_home = std::make_unique<QTemporaryDir>();
        m_program = std::make_unique<QTemporaryDir>();
        if (!QDir(m_home->path()).mkdir(QStringLiteral("Desktop")))
            return false;
        m_savedHome = qgetenv("HOME");
        qputenv("XDG_CONFIG_HOME", m_config->path().toLocal8Bit());
        qputenv("HOME", m_home->path().toLocal8Bit());
        return true;
    }
    void restoreWindowEnvironment() {
        qApp->setStyleSheet(QString());
        qputenv("HOME", m_savedHome);
    }
    /// The window started with the settings file holding `ini` (none when empty).
    std::unique_ptr<MainWindow> startForm(const QByteArray &ini = QByteArray()) {
        if (!ini.isEmpty())
            writeFile(iniPath(), ini);
        auto form = std::make_unique<MainWindow>(m_program->path());
        form->startUp();
        return form;
    }
    QString iniPath() const { return m_config->filePath(QStringLiteral("Marnoval.ini")); }
    QString stored(const QString &key) const {
        return SettingsStore(iniPath()).readSetting(key, QStringLiteral("<absent>"));
    }

    std::unique_ptr<QTemporaryDir> m_config;
    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<QTemporaryDir> m_program;
    QByteArray m_savedHome;
};

} // namespace plenvoy::test
