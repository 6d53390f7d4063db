#pragma once

#include <QString>

#include <vector>

namespace plenvoy::bench {

/// The shape of a generated tree of files for the folder benchmarks.
struct TreeShape {
    int files = 100000;
    int folders = 5000; // besides the root
    int maxDepth = 8;
    unsigned seed = 20260831;
};

/// What a generated tree holds.
struct TreeCounts {
    int folders = 0; // the root included
    int files = 0;
    int txtFiles = 0; // names that "*.txt" takes, in any case
};

/// Fills an empty folder with a reproducible tree: folders nested up to maxDepth levels
/// below the root, files of mixed extensions (lower- and upper-case txt, doc, jpg, log,
/// c, no extension, hidden names) spread over every folder. Files are empty. Throws
/// std::runtime_error when a folder or file cannot be made.
TreeCounts generateTree(const QString &root, const TreeShape &shape = TreeShape());

/// Writes and deletes a throw-away file of the given size in the folder, so that the
/// memory the timed runs use has been touched once.
void warmMemory(const QString &folder, qint64 bytes = 384LL << 20);

/// The median of a set of timings.
double median(std::vector<double> values);

/// Runs `find ROOT -type f -iname '*.txt'`, the standard the folder benchmarks compare
/// with; with countLines, the number of files it lists, otherwise 0 (its output is dropped).
qint64 runFindTxt(const QString &root, bool countLines);

} // namespace plenvoy::bench
