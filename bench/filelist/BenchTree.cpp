#include "BenchTree.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QProcess>

#include <algorithm>
#include <random>
#include <stdexcept>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plenvoy::bench {

namespace {

struct Folder {
    QByteArray path;
    int depth;
};

// Extensions by weight: about one file in five is a txt file.
const char *const kExtensions[] = {".txt",  ".txt", ".TXT", ".doc", ".jpg",
                                   ".jpg",  ".log", ".c",   "",     ".txt.bak",
                                   ".docx", ".png", ".Txt", ".pdf", ".h"};

bool takenByTxt(const char *extension) {
    const std::string e(extension);
    return e == ".txt" || e == ".TXT" || e == ".Txt";
}

} // namespace

TreeCounts generateTree(const QString &root, const TreeShape &shape) {
    std::mt19937 random(shape.seed);
    QList<Folder> folders{{QFile::encodeName(root), 0}};
    QList<int> openParents{0}; // folders that may still take a sub-folder
    TreeCounts counts;
    for (int i = 1; i <= shape.folders; ++i) {
        const int pick = std::uniform_int_distribution<int>(0, openParents.size() - 1)(random);
        const Folder &parent = folders.at(openParents.at(pick));
        Folder folder{parent.path + "/d" + QByteArray::number(i), parent.depth + 1};
        if (::mkdir(folder.path.constData(), 0755) != 0)
            throw std::runtime_error("cannot make " + folder.path.toStdString());
        folders.append(folder);
        if (folder.depth < shape.maxDepth)
            openParents.append(folders.size() - 1);
    }
    std::uniform_int_distribution<int> whichFolder(0, folders.size() - 1);
    constexpr int kinds = sizeof(kExtensions) / sizeof(kExtensions[0]);
    std::uniform_int_distribution<int> whichExtension(0, kinds - 1);
    for (int i = 1; i <= shape.files; ++i) {
        const Folder &folder = folders.at(whichFolder(random));
        const char *extension = kExtensions[whichExtension(random)];
        const QByteArray name = (i % 50 == 0 ? "/.f" : "/f") + QByteArray::number(i) + extension;
        const QByteArray path = folder.path + name;
        const int fd = ::open(path.constData(), O_CREAT | O_EXCL | O_WRONLY, 0644);
        if (fd < 0)
            throw std::runtime_error("cannot make " + path.toStdString());
        ::close(fd);
        ++counts.files;
        if (takenByTxt(extension))
            ++counts.txtFiles;
    }
    counts.folders = folders.size();
    return counts;
}

void warmMemory(const QString &folder, qint64 bytes) {
    const QString path = folder + QStringLiteral("/warm-up.bin");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    const QByteArray block(1 << 20, 'w');
    for (qint64 written = 0; written < bytes; written += block.size())
        file.write(block);
    file.close();
    QFile::remove(path);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    if (n == 0)
        return 0.0;
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

qint64 runFindTxt(const QString &root, bool countLines) {
    QProcess find;
    if (!countLines)
        find.setStandardOutputFile(QProcess::nullDevice());
    find.start(QStringLiteral("find"), {root, QStringLiteral("-type"), QStringLiteral("f"),
                                        QStringLiteral("-iname"), QStringLiteral("*.txt")});
    find.waitForFinished(-1);
    return countLines ? find.readAllStandardOutput().count('\n') : 0;
}

} // namespace plenvoy::bench
