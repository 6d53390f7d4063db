#include "AboutAndHelp.h"

#include "HelpRoute.h"
#include "naming/TakenTime.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <QWidget>

namespace plenvoy {

// The texts keep the main window's translation context, where they were first written.

void showAbout(QWidget &window) {
    const QString text =
        QStringLiteral("<h3>Plenvoy %1</h3><p>%2</p><p>%3</p><p><a href=\"%4\">%4</a></p><p>%5</p>")
            .arg(QStringLiteral(PLENVOY_VERSION),
                 QCoreApplication::translate("plenvoy::MainWindow", "Time-stamped copies of files"),
                 QCoreApplication::translate("plenvoy::MainWindow",
                                             "Released under the MIT License."),
                 QStringLiteral(PLENVOY_HOMEPAGE),
                 QCoreApplication::translate("plenvoy::MainWindow", "Uses Qt %1 and libexiv2 %2.")
                     .arg(QString::fromLatin1(qVersion()), photoLibraryVersion()));
    QMessageBox box(QMessageBox::NoIcon,
                    QCoreApplication::translate("plenvoy::MainWindow", "About Plenvoy"), text,
                    QMessageBox::Ok, &window);
    box.setObjectName(QStringLiteral("AboutBox"));
    box.setTextFormat(Qt::RichText);
    box.setIconPixmap(window.windowIcon().pixmap(64, 64));
    box.exec();
}

void openHelp() {
    const HelpRoute route =
        helpRoute([](const QString &name) { return QStandardPaths::findExecutable(name); },
                  QStringLiteral(PLENVOY_HOMEPAGE));
    if (route.program.isEmpty() || !QProcess::startDetached(route.program, route.arguments))
        QDesktopServices::openUrl(route.url.isEmpty() ? QUrl(QStringLiteral(PLENVOY_HOMEPAGE))
                                                      : route.url);
}

void helpMenu(QWidget &window, const QPoint &globalPosition) {
    QMenu menu(&window);
    QAction *help = menu.addAction(QCoreApplication::translate("plenvoy::MainWindow", "&Help"));
    help->setShortcut(QKeySequence(Qt::Key_F1));
    QAction *about =
        menu.addAction(QCoreApplication::translate("plenvoy::MainWindow", "&About Plenvoy"));
    about->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F1));
    QAction *chosen = menu.exec(globalPosition);
    if (chosen == help)
        openHelp();
    else if (chosen == about)
        showAbout(window);
}

} // namespace plenvoy
