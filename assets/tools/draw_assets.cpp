// Draws the pictures that ship with Plenvoy: the hand pointer HAND-M.CUR, the program icon
// in the sizes that desktops look for, and the sample picture. Run it with the assets
// folder as its argument; the results are committed, so the build never runs it.
//   QT_QPA_PLATFORM=offscreen plenvoy_draw_assets assets

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtEndian>

#include <cstdio>

namespace {

constexpr int kPointerSize = 32;
constexpr QPoint kPointerHotSpot(11, 1); // the tip of the index finger

QPainterPath handOutline() {
    QPainterPath hand;
    hand.addRoundedRect(QRectF(9, 0.5, 5, 17), 2.5, 2.5);      // index finger
    hand.addRoundedRect(QRectF(13.5, 9, 4.5, 10), 2.2, 2.2);   // middle finger
    hand.addRoundedRect(QRectF(17.5, 10, 4.5, 10), 2.2, 2.2);  // ring finger
    hand.addRoundedRect(QRectF(21.5, 11.5, 4.5, 9), 2.2, 2.2); // little finger
    QPainterPath palm;
    palm.addRoundedRect(QRectF(9, 14, 17, 13), 4, 4);
    QPainterPath thumb;
    thumb.moveTo(9.5, 17);
    thumb.lineTo(6.5, 14.2);
    thumb.cubicTo(5, 12.8, 2.6, 14.2, 3.6, 16.4);
    thumb.lineTo(9.5, 25);
    thumb.closeSubpath();
    QPainterPath wrist;
    wrist.addRect(QRectF(11.5, 25, 12.5, 5.5));
    return hand.united(palm).united(thumb).united(wrist).simplified();
}

QImage drawPointer() {
    QImage image(kPointerSize, kPointerSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath outline = handOutline();
    painter.setPen(QPen(QColor(0x1b, 0x1f, 0x24), 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::white);
    painter.drawPath(outline);
    // Creases between the fingers.
    painter.setPen(QPen(QColor(0x1b, 0x1f, 0x24), 1.0));
    painter.drawLine(QPointF(14, 14), QPointF(14, 17.5));
    painter.drawLine(QPointF(18, 14.5), QPointF(18, 18));
    painter.drawLine(QPointF(22, 15.5), QPointF(22, 18.5));
    painter.end();
    return image;
}

void put16(QByteArray &bytes, int value) {
    char raw[2];
    qToLittleEndian<quint16>(static_cast<quint16>(value), raw);
    bytes.append(raw, 2);
}

void put32(QByteArray &bytes, qint64 value) {
    char raw[4];
    qToLittleEndian<quint32>(static_cast<quint32>(value), raw);
    bytes.append(raw, 4);
}

// A Windows cursor file with one 32-bit image: directory, directory entry with the hot
// spot, bitmap header, colour rows bottom-up, then the 1-bit transparency mask.
QByteArray cursorFile(const QImage &image, QPoint hotSpot) {
    const int w = image.width();
    const int h = image.height();
    const int maskStride = ((w + 31) / 32) * 4;
    const int colourBytes = w * h * 4;
    const int maskBytes = maskStride * h;
    const int headerBytes = 40;
    QByteArray bytes;
    put16(bytes, 0); // reserved
    put16(bytes, 2); // type: cursor
    put16(bytes, 1); // one image
    bytes.append(static_cast<char>(w));
    bytes.append(static_cast<char>(h));
    bytes.append('\0'); // colour count
    bytes.append('\0'); // reserved
    put16(bytes, hotSpot.x());
    put16(bytes, hotSpot.y());
    put32(bytes, headerBytes + colourBytes + maskBytes);
    put32(bytes, 22); // image offset
    put32(bytes, headerBytes);
    put32(bytes, w);
    put32(bytes, h * 2); // colour rows and mask rows
    put16(bytes, 1);     // planes
    put16(bytes, 32);    // bits per pixel
    put32(bytes, 0);     // no compression
    put32(bytes, colourBytes + maskBytes);
    put32(bytes, 0);
    put32(bytes, 0);
    put32(bytes, 0);
    put32(bytes, 0);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const QRgb pixel = image.pixel(x, y);
            bytes.append(static_cast<char>(qBlue(pixel)));
            bytes.append(static_cast<char>(qGreen(pixel)));
            bytes.append(static_cast<char>(qRed(pixel)));
            bytes.append(static_cast<char>(qAlpha(pixel)));
        }
    }
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(maskStride, '\0');
        for (int x = 0; x < w; ++x) {
            if (qAlpha(image.pixel(x, y)) == 0)
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        }
        bytes.append(row);
    }
    return bytes;
}

QImage drawIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);

    // Tile.
    QLinearGradient tile(0, 16, 0, 240);
    tile.setColorAt(0, QColor(0x4a, 0x8f, 0xd4));
    tile.setColorAt(1, QColor(0x27, 0x5a, 0x9c));
    p.setPen(Qt::NoPen);
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(16, 16, 224, 224), 48, 48);

    // Two sheets: the source behind, its stamped copy in front.
    auto sheet = [&p](QRectF r, QColor fill, QColor fold) {
        const qreal f = 34;
        QPainterPath page;
        page.moveTo(r.left(), r.top());
        page.lineTo(r.right() - f, r.top());
        page.lineTo(r.right(), r.top() + f);
        page.lineTo(r.right(), r.bottom());
        page.lineTo(r.left(), r.bottom());
        page.closeSubpath();
        p.setBrush(fill);
        p.drawPath(page);
        QPainterPath corner;
        corner.moveTo(r.right() - f, r.top());
        corner.lineTo(r.right() - f, r.top() + f);
        corner.lineTo(r.right(), r.top() + f);
        corner.closeSubpath();
        p.setBrush(fold);
        p.drawPath(corner);
    };
    sheet(QRectF(52, 44, 110, 140), QColor(0xc9, 0xdc, 0xf0), QColor(0x9f, 0xbd, 0xdf));
    sheet(QRectF(84, 70, 116, 148), QColor(0xff, 0xff, 0xff), QColor(0xd3, 0xe0, 0xee));
    p.setBrush(QColor(0xb4, 0xc6, 0xda));
    for (int i = 0; i < 4; ++i)
        p.drawRoundedRect(QRectF(100, 120 + i * 20, i == 3 ? 48 : 72, 8), 4, 4);

    // The stamp: a clock face.
    const QPointF centre(178, 182);
    p.setBrush(QColor(0x1d, 0x3f, 0x6e, 70));
    p.drawEllipse(centre + QPointF(0, 4), 50, 50);
    QRadialGradient face(centre - QPointF(12, 14), 64);
    face.setColorAt(0, QColor(0xff, 0xc8, 0x57));
    face.setColorAt(1, QColor(0xf0, 0x9a, 0x1f));
    p.setBrush(face);
    p.drawEllipse(centre, 48, 48);
    p.setBrush(Qt::white);
    p.drawEllipse(centre, 36, 36);
    QPen hand(QColor(0x2b, 0x3a, 0x4d), 8, Qt::SolidLine, Qt::RoundCap);
    p.setPen(hand);
    p.drawLine(centre, centre + QPointF(0, -24));
    p.drawLine(centre, centre + QPointF(18, 8));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2b, 0x3a, 0x4d));
    p.drawEllipse(centre, 6, 6);
    p.end();
    return image;
}

QImage drawHarbour() {
    const int w = 320;
    const int h = 200;
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 120);
    sky.setColorAt(0, QColor(0x8e, 0xc1, 0xea));
    sky.setColorAt(1, QColor(0xf4, 0xe3, 0xc8));
    p.fillRect(0, 0, w, 122, sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xd0, 0x6b));
    p.drawEllipse(QPointF(232, 78), 26, 26);
    QPainterPath hills;
    hills.moveTo(0, 122);
    hills.cubicTo(60, 70, 120, 90, 170, 108);
    hills.cubicTo(210, 96, 260, 92, 320, 112);
    hills.lineTo(320, 122);
    hills.closeSubpath();
    p.setBrush(QColor(0x5d, 0x8c, 0x5a));
    p.drawPath(hills);
    QLinearGradient sea(0, 122, 0, h);
    sea.setColorAt(0, QColor(0x3a, 0x7c, 0xb3));
    sea.setColorAt(1, QColor(0x1b, 0x47, 0x73));
    p.fillRect(0, 122, w, h - 122, sea);
    p.setPen(QPen(QColor(255, 255, 255, 90), 2, Qt::SolidLine, Qt::RoundCap));
    for (int row = 0; row < 5; ++row)
        for (int x = (row % 2) * 20; x < w; x += 46)
            p.drawLine(QPointF(x, 136 + row * 13), QPointF(x + 18, 136 + row * 13));
    p.setPen(Qt::NoPen);
    QPainterPath hull;
    hull.moveTo(92, 150);
    hull.lineTo(168, 150);
    hull.lineTo(156, 164);
    hull.lineTo(102, 164);
    hull.closeSubpath();
    p.setBrush(QColor(0x7a, 0x4a, 0x2c));
    p.drawPath(hull);
    p.setBrush(QColor(0x3b, 0x2a, 0x1e));
    p.drawRect(QRectF(128, 74, 3, 76));
    QPainterPath sail;
    sail.moveTo(132, 78);
    sail.lineTo(132, 144);
    sail.lineTo(170, 144);
    sail.closeSubpath();
    p.setBrush(QColor(0xfb, 0xfb, 0xf7));
    p.drawPath(sail);
    QPainterPath jib;
    jib.moveTo(126, 86);
    jib.lineTo(126, 144);
    jib.lineTo(98, 144);
    jib.closeSubpath();
    p.setBrush(QColor(0xe9, 0x6d, 0x4b));
    p.drawPath(jib);
    p.end();
    return image;
}

// The drop-down arrow of the skin, at twice its size for sharp edges on dense screens.
QImage drawArrow(int scale) {
    QImage image(10 * scale, 6 * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    p.setPen(QPen(QColor(0x5a, 0x6b, 0x80), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(1.5, 1.5), QPointF(5, 4.8), QPointF(8.5, 1.5)}));
    p.end();
    return image;
}

bool writeFile(const QString &path, const QByteArray &bytes) {
    QDir().mkpath(path.left(path.lastIndexOf(QLatin1Char('/'))));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool saveImage(const QImage &image, const QString &path) {
    QDir().mkpath(path.left(path.lastIndexOf(QLatin1Char('/'))));
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[]) {
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s ASSETS-FOLDER\n", argv[0]);
        return 2;
    }
    const QString assets = QString::fromLocal8Bit(argv[1]);
    bool ok = writeFile(assets + QStringLiteral("/HAND-M.CUR"),
                        cursorFile(drawPointer(), kPointerHotSpot));
    for (int size : {32, 48, 64, 128, 256}) {
        ok =
            saveImage(drawIcon(size),
                      assets + QStringLiteral("/icons/hicolor/%1x%1/apps/plenvoy.png").arg(size)) &&
            ok;
    }
    ok = saveImage(drawArrow(1), assets + QStringLiteral("/x/arrow-down.png")) && ok;
    ok = saveImage(drawArrow(2), assets + QStringLiteral("/x/arrow-down@2x.png")) && ok;
    ok = saveImage(drawHarbour(), assets + QStringLiteral("/Samples/Harbour.png")) && ok;
    return ok ? 0 : 1;
}
