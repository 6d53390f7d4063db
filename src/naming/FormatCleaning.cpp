#include "FormatCleaning.h"

#include <QList>
#include <QStringView>

namespace plenvoy {

qsizetype readQuoted(const QString &format, qsizetype i, QString *literal) {
    ++i;
    if (i < format.size() && format.at(i) == QLatin1Char('\'')) {
        if (literal)
            *literal = QStringLiteral("'");
        return i + 1;
    }
    QString text;
    while (i < format.size()) {
        if (format.at(i) == QLatin1Char('\'')) {
            if (i + 1 < format.size() && format.at(i + 1) == QLatin1Char('\'')) {
                text.append(QLatin1Char('\''));
                i += 2;
                continue;
            }
            ++i;
            break;
        }
        text.append(format.at(i++));
    }
    if (literal)
        *literal = text;
    return i;
}

namespace {

/// One piece of a format, as far as dropping the time-zone part needs to know.
struct FormatPiece {
    enum Kind { Quoted, Zone, Framing, Open, Close, Other };
    Kind kind;
    QString text; // as written in the format, quotes included
};

/// Brackets, each opening one at the index of its closing one (full-width and CJK too).
constexpr QStringView kOpenBrackets = u"([{<\uFF08\uFF3B\u3010\u300C\u300E";
constexpr QStringView kCloseBrackets = u")]}>\uFF09\uFF3D\u3011\u300D\u300F";

/// Blanks, invisible direction marks and commas: what sets a zone apart from the time.
bool isFraming(QChar c) {
    return c.isSpace() || c.category() == QChar::Other_Format || c == QLatin1Char(',') ||
           c == QLatin1Char(';') || c == QChar(0x060C) || c == QChar(0x3001) || c == QChar(0xFF0C);
}

QList<FormatPiece> piecesOf(const QString &format) {
    QList<FormatPiece> pieces;
    qsizetype i = 0;
    while (i < format.size()) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) {
            const qsizetype end = readQuoted(format, i, nullptr);
            pieces.append({FormatPiece::Quoted, format.mid(i, end - i)});
            i = end;
        } else if (c == QLatin1Char('t') || c == QLatin1Char('y')) {
            qsizetype end = i;
            while (end < format.size() && format.at(end) == c)
                ++end;
            if (c == QLatin1Char('t'))
                pieces.append({FormatPiece::Zone, format.mid(i, end - i)});
            else
                pieces.append({FormatPiece::Other, QStringLiteral("yyyy")});
            i = end;
        } else {
            FormatPiece::Kind kind = FormatPiece::Other;
            if (isFraming(c))
                kind = FormatPiece::Framing;
            else if (kOpenBrackets.contains(c))
                kind = FormatPiece::Open;
            else if (kCloseBrackets.contains(c))
                kind = FormatPiece::Close;
            pieces.append({kind, QString(c)});
            ++i;
        }
    }
    return pieces;
}

bool closes(const FormatPiece &open, const FormatPiece &close) {
    return open.kind == FormatPiece::Open && close.kind == FormatPiece::Close &&
           kOpenBrackets.indexOf(open.text.at(0)) == kCloseBrackets.indexOf(close.text.at(0));
}

/// Takes out the zone piece at index z together with the brackets that held nothing else
/// and the blanks or commas that only set it apart ("H:mm:ss (t)", "h:mm:ss AP, t",
/// "t HH:mm:ss"); between two pieces of the time one run of them stays.
void dropZone(QList<FormatPiece> &pieces, qsizetype z) {
    pieces.removeAt(z);
    qsizetype left = z - 1; // last piece before the gap
    qsizetype right = z;    // first piece after it
    auto framingBefore = [&pieces](qsizetype i) {
        while (i >= 0 && pieces.at(i).kind == FormatPiece::Framing)
            --i;
        return i;
    };
    auto framingAfter = [&pieces](qsizetype i) {
        while (i < pieces.size() && pieces.at(i).kind == FormatPiece::Framing)
            ++i;
        return i;
    };
    for (;;) {
        const qsizetype open = framingBefore(left);
        const qsizetype close = framingAfter(right);
        if (open < 0 || close >= pieces.size() || !closes(pieces.at(open), pieces.at(close)))
            break;
        pieces.remove(open, close - open + 1);
        left = open - 1;
        right = open;
    }
    const qsizetype leftStart = framingBefore(left) + 1;
    const qsizetype rightEnd = framingAfter(right);
    const bool textBefore = leftStart > 0 && pieces.at(leftStart - 1).kind != FormatPiece::Open;
    const bool textAfter =
        rightEnd < pieces.size() && pieces.at(rightEnd).kind != FormatPiece::Close;
    if (textBefore && textAfter) {
        // Keep one separation between what stood before and after the zone.
        if (leftStart <= left)
            pieces.remove(right, rightEnd - right);
        return;
    }
    pieces.remove(right, rightEnd - right);
    pieces.remove(leftStart, left - leftStart + 1);
}

} // namespace

QString adjustFormat(const QString &format) {
    QList<FormatPiece> pieces = piecesOf(format);
    for (qsizetype z = 0; z < pieces.size();) {
        if (pieces.at(z).kind == FormatPiece::Zone) {
            dropZone(pieces, z);
            z = 0;
        } else {
            ++z;
        }
    }
    QString out;
    out.reserve(format.size() + 2);
    for (const FormatPiece &piece : pieces)
        out.append(piece.text);
    return out.trimmed();
}

} // namespace plenvoy
