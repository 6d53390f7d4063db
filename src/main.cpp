#include "app/MainWindow.h"
#include "app/MnemonicStyle.h"
#include "app/Translations.h"
#include "desktop/CommandLinePaths.h"
#include "desktop/HandOver.h"
#include "desktop/LaunchFeedback.h"
#include "records/RecordWriter.h"

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

    plenvoy::HandOverRequest request;
    request.paths = line.paths;
    request.refused = line.refused.mid(0, plenvoy::kRefusedNamed);
    request.refusedCount = static_cast<int>(line.refused.size());
    request.token = plenvoy::StartupToken::fromEnvironment();
    // A window of this session takes the paths; this start then has nothing more to do
    // than to end the launcher's busy feedback when the window could not.
    plenvoy::HandOver handOver;
    const plenvoy::HandOver::Result handedOver = handOver.handOver(request);
    if (handedOver != plenvoy::HandOver::Result::NoWindow) {
        if (handedOver != plenvoy::HandOver::Result::Delivered && !request.token.x11.isEmpty())
            plenvoy::endX11Launch(qgetenv("DISPLAY"), request.token.x11);
        if (handedOver == plenvoy::HandOver::Result::NotAnswering) {
            printLine(stderr, QStringLiteral("Plenvoy is running but not answering"));
            return 1;
        }
        return 0;
    }

    QApplication application(argc, argv);
    // The window speaks the language of LANGUAGE, LC_MESSAGES or LANG; stamps keep to LC_TIME.
    plenvoy::installUserTranslations();
    // One look on every desktop; the skin file, when present, builds on it. The buttons'
    // mnemonic letters show while Alt is held.
    QApplication::setStyle(
        new plenvoy::MnemonicStyle(QStyleFactory::create(QStringLiteral("Fusion"))));
    QGuiApplication::setDesktopFileName(QStringLiteral(PLENVOY_APP_ID));
    plenvoy::enableRunRecords(QStringLiteral("window"));
    plenvoy::MainWindow window;
    plenvoy::SystemWindowActivation activation;
    const auto refusedNotice = [](const QStringList &refused, int count) {
        return count > 0 ? plenvoy::refusedPathsMessage(refused, count) : QString();
    };
    // Later starts are heard before start-up, whose boxes would keep them waiting.
    handOver.listen([&](const plenvoy::HandOverRequest &later) {
        window.openPaths(later.paths, refusedNotice(later.refused, later.refusedCount));
        return activation.activate(window.windowHandle(), later.token);
    });
    window.startUp();
    window.show();
    if (!line.paths.isEmpty() || request.refusedCount > 0)
        window.openPaths(line.paths, refusedNotice(line.refused, request.refusedCount));
    return QApplication::exec();
}
