#include "Appearance.h"

#include "core/Failure.h"
#include "filelist/ListRules.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPixmap>

namespace plenvoy {

namespace {

constexpr int kInvalidPicture = 481;
constexpr qint64 kDirectoryHead = 22; // icon directory plus its first entry

Failure invalidPicture() {
    return Failure(kInvalidPicture,
                   QStringLiteral(QT_TRANSLATE_NOOP("ErrorReport", "Invalid picture")));
}

} // namespace

QCursor LoadPointerImage(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw invalidPicture();
    const QByteArray head = file.read(kDirectoryHead);
    file.seek(0);
    // Qt's reader takes cursor files as icons; the format comes from the content.
    QImageReader reader(&file, "ico");
    const QImage image = reader.read();
    if (image.isNull())
        throw invalidPicture();
    const std::optional<QPoint> hotSpot = pointerHotSpot(head, image.width(), image.height());
    if (!hotSpot)
        throw invalidPicture();
    const int x = qBound(0, hotSpot->x(), image.width() - 1);
    const int y = qBound(0, hotSpot->y(), image.height() - 1);
    return QCursor(QPixmap::fromImage(image), x, y);
}

QIcon programIcon() {
    QIcon icon;
    for (int size : {32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/plenvoy/icons/plenvoy-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace plenvoy
