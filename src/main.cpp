#include "app/MainWindow.h"

#include <QApplication>
#include <QStyleFactory>

int main(int argc, char *argv[]) {
    QApplication application(argc, argv);
    // One look on every desktop; the skin file, when present, builds on it.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    plenvoy::MainWindow window;
    window.startUp();
    window.show();
    return QApplication::exec();
}
