#include "app/MainWindow.h"
#include "batch/RunRecord.h"
#include "desktop/CommandLinePaths.h"
#include "desktop/HandOver.h"

#include <QApplication>
#include <QStyleFactory>

#include <cstdio>

namespace {

void printLine(FILE *stream, const QString &text) {
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
}

} // namespace

int main(int argc, char *argv[]) {
    // Paths are bytes: they are read before Qt decodes the arguments, which would turn
    // bytes that are not UTF-8 into U+FFFD and so name other files.
    QList<QByteArray> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));
    const plenvoy::CommandLine line =
        plenvoy::readCommandLine(arguments, plenvoy::workingFolderBytes());
    if (line.version) {
        printLine(stdout, QStringLiteral("plenvoy " PLENVOY_VERSION));
        return 0;
    }
    if (line.help) {
        printLine(stdout, QStringLiteral("Usage: plenvoy [PATH...]\n"
                                         "       plenvoy --version\n"
                                         "Lists each file given and every file in each folder "
                                         "given, in the running window when there is one."));
        return 0;
    }
    for (const QString &problem : line.problems)
        printLine(stderr, QStringLiteral("plenvoy: ") + problem);

    // A window of this session takes the paths; this start then has nothing more to do.
    plenvoy::HandOver handOver;
    if (handOver.handOver(line.paths))
        return 0;

    QApplication application(argc, argv);
    // One look on every desktop; the skin file, when present, builds on it.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QGuiApplication::setDesktopFileName(QStringLiteral(PLENVOY_APP_ID));
    plenvoy::enableRunRecords(QStringLiteral("window"));
    plenvoy::MainWindow window;
    window.startUp();
    handOver.listen([&window](const QStringList &paths) { window.openPaths(paths); });
    window.show();
    if (!line.paths.isEmpty())
        window.openPaths(line.paths);
    return QApplication::exec();
}
