// Generates the benchmark tree in a new folder, for scripts and other benchmarks:
//   plenvoy-bench-tree FOLDER [FILES FOLDERS DEPTH]
#include "BenchTree.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include <exception>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() != 2 && args.size() != 5) {
        err << "usage: plenvoy-bench-tree FOLDER [FILES FOLDERS DEPTH]\n";
        return 2;
    }
    plenvoy::bench::TreeShape shape;
    if (args.size() == 5) {
        shape.files = args.at(2).toInt();
        shape.folders = args.at(3).toInt();
        shape.maxDepth = args.at(4).toInt();
    }
    const QString root = args.at(1);
    if (QDir(root).exists() || !QDir().mkpath(root)) {
        err << "the folder must be new: " << root << '\n';
        return 2;
    }
    try {
        const auto counts = plenvoy::bench::generateTree(root, shape);
        QTextStream(stdout) << counts.folders << " folders, " << counts.files << " files, "
                            << counts.txtFiles << " taken by *.txt\n";
    } catch (const std::exception &failure) {
        err << failure.what() << '\n';
        return 1;
    }
    return 0;
}
