// The run record and the index of copied files, line by line.
//
// A run record, runs/<id>.jsonl, holds one JSON object a line, in this order:
//
//   header  = {"run":ID,"format":2,"start":TIME,"version":TEXT,"front":"window"|"cli",
//              "output":PATH,"dev":INT|null,"ino":INT|null,"option":TEXT,"n":INT|null,
//              "form":TEXT[,"pattern":TEXT],"creation":TEXT[,"shift":TEXT],"layout":TEXT}
//   copy    = {"source":PATH,"destination":PATH,"outcome":OUTCOME,"reason":TEXT,
//              "dev":INT|null,"ino":INT|null,"size":INT|null,"mtime_ns":INT|null,
//              "ctime_ns":INT|null}                                   one per listed file
//   made    = {"made":PATH}                       a folder the run made, before its copies
//   end     = {"end":TIME,"counts":{"copied":INT,"numbered":INT,"replaced":INT,
//              "not-copied":INT,"skipped":INT}}                   once the run has finished
//   undone  = {"undone":TIME,"removed":INT,"left":INT}                once taken back; last
//
//   OUTCOME = "copied" | "numbered" | "replaced" | "not-copied" | "skipped"
//   PATH    = a JSON string of the path's UTF-8 | {"b64":BASE64 of the path's bytes}
//   TIME    = UTC, ISO 8601 with milliseconds
//
// The lines of files not copied before the first copy wait until then: a run that copies
// nothing leaves no record. A copy's identity is its status once it had its name; all null
// for a file not copied. The last line may be cut short when the run was ended while it was
// written.
//
// Format 1 (version 1.1.0) has no "format" and no "skipped" count; a reader of either
// format takes the fields it knows in any order, with blanks and escapes, passes over
// unknown ones and names every other line damaged.
//
// The index of copied files, copied.index beside runs/, holds one line per copy a recorded
// run made, of eleven fields separated by tabs:
//
//   OUTPUT COPY SOURCE SOURCE-SIZE SOURCE-MTIME-NS DEV INO SIZE MTIME-NS CTIME-NS MADE-AT
//
// OUTPUT (the output folder, absolute and clean), COPY (the copy's path below it) and SOURCE
// (the source's path below the folder it was listed through, or its full path) are the
// base64 of their bytes; the rest are decimal, the copy's identity as it was named and
// MADE-AT in seconds since 1970. A line of any other shape is passed over.

#include "RecordFormat.h"

#include "LineWriting.h"

#include "core/JsonLine.h"
#include "core/PathCodec.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace plenvoy {

namespace {

constexpr const char *kOutcomeNames[kRecordOutcomes] = {"copied", "numbered", "replaced",
                                                        "not-copied", "skipped"};

/// Appends the path's bytes as the record writes them. Bytes that are not valid UTF-8 are
/// what the path codec makes of escaped bytes, and only of them.
template <typename Out> void appendPath(Out &out, const QByteArray &bytes) {
    if (bytes.isValidUtf8()) {
        appendJsonString(out, bytes);
        return;
    }
    const QByteArray encoded = bytes.toBase64();
    out += "{\"b64\":\"";
    out.append(encoded.constData(), encoded.size());
    out += "\"}";
}

/// Appends the path as the record writes it. A path of plain ASCII, the common case, goes
/// straight from its text into the line.
void appendPathText(std::string &out, const QString &path) {
    if (!appendPlainAscii(out, path))
        appendPath(out, pathToBytes(path));
}

QByteArray numberOrNull(qint64 value, bool known) {
    return known ? QByteArray::number(value) : QByteArrayLiteral("null");
}

RecordOutcome outcomeNamed(QByteArrayView name) {
    for (int i = 0; i < kRecordOutcomes; ++i)
        if (name == kOutcomeNames[i])
            return RecordOutcome(i);
    // An outcome this version does not know is taken as a copy, so undo looks at it.
    return RecordOutcome::Copied;
}

/// A path: a string, or {"b64": "..."} of its bytes.
bool readPath(JsonLine &json, QByteArray &bytes, QByteArray &scratch) {
    if (json.next('"'))
        return json.string(&bytes);
    if (!json.take('{'))
        return false;
    json.skipBlanks();
    QByteArrayView key;
    QByteArray encoded;
    if (!json.text(key, scratch) || key != "b64")
        return false;
    json.skipBlanks();
    if (!json.take(':'))
        return false;
    json.skipBlanks();
    if (!json.string(&encoded))
        return false;
    json.skipBlanks();
    if (!json.take('}'))
        return false;
    const auto decoded =
        QByteArray::fromBase64Encoding(encoded, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return false;
    bytes = *decoded;
    return true;
}

RecordHeader headerFrom(const QJsonObject &object) {
    const auto text = [&object](const char *key) { return object[QLatin1String(key)].toString(); };
    RecordHeader header;
    header.id = text("run");
    header.start = text("start");
    header.version = text("version");
    header.front = text("front");
    header.output = recordPathFrom(object[QLatin1String("output")]);
    header.outputDevice = object[QLatin1String("dev")].toInteger(-1);
    header.outputInode = object[QLatin1String("ino")].toInteger(-1);
    header.option = text("option");
    const QJsonValue n = object[QLatin1String("n")];
    if (n.isDouble())
        header.nthValue = qint16(n.toInteger());
    header.form = text("form");
    header.pattern = text("pattern");
    header.creation = text("creation");
    header.shift = text("shift");
    header.layout = text("layout");
    header.format = int(std::max<qint64>(1, object[QLatin1String("format")].toInteger(1)));
    return header;
}

} // namespace

QString runRecordFolder() {
    QString state = pathFromBytes(qgetenv("XDG_STATE_HOME"));
    if (!state.startsWith(QLatin1Char('/')))
        state = pathFromBytes(qgetenv("HOME")) + QStringLiteral("/.local/state");
    return state + QStringLiteral("/plenvoy/runs");
}

bool makeRunRecordFolder() {
    const QByteArray runs = pathToBytes(runRecordFolder());
    const QByteArray plenvoy = runs.left(runs.lastIndexOf('/'));
    if (!QDir().mkpath(pathFromBytes(plenvoy.left(plenvoy.lastIndexOf('/')))))
        return false;
    if (::mkdir(plenvoy.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    return ::mkdir(runs.constData(), 0700) == 0 || errno == EEXIST;
}

QString runRecordPath(const QString &id) {
    return runRecordFolder() + QLatin1Char('/') + id + QStringLiteral(".jsonl");
}

QString copiedIndexPath() {
    // Beside the folder of the records, which holds nothing but records.
    const QString runs = runRecordFolder();
    return runs.left(runs.lastIndexOf(QLatin1Char('/'))) + QStringLiteral("/copied.index");
}

QByteArray headerLine(const RecordHeader &header) {
    const bool folderKnown = header.outputDevice >= 0 && header.outputInode >= 0;
    QByteArray line = "{\"run\":" + recordStringJson(header.id) +
                      ",\"format\":" + QByteArray::number(header.format) +
                      ",\"start\":" + recordStringJson(header.start) +
                      ",\"version\":" + recordStringJson(header.version) +
                      ",\"front\":" + recordStringJson(header.front) +
                      ",\"output\":" + recordPathJson(header.output);
    // The output folder's identity: undo removes names only inside that same folder.
    line += ",\"dev\":" + numberOrNull(header.outputDevice, folderKnown) +
            ",\"ino\":" + numberOrNull(header.outputInode, folderKnown);
    line += ",\"option\":" + recordStringJson(header.option) +
            ",\"n\":" + numberOrNull(header.nthValue.value_or(0), header.nthValue.has_value()) +
            ",\"form\":" + recordStringJson(header.form);
    if (!header.pattern.isEmpty())
        line += ",\"pattern\":" + recordStringJson(header.pattern);
    line += ",\"creation\":" + recordStringJson(header.creation);
    if (!header.shift.isEmpty())
        line += ",\"shift\":" + recordStringJson(header.shift);
    line += ",\"layout\":" + recordStringJson(header.layout) + "}\n";
    return line;
}

void appendCopyLine(std::string &line, const QString &source, const QString &destination,
                    RecordOutcome outcome, const QString &reason, const FileIdentity *identity) {
    line += "{\"source\":";
    appendPathText(line, source);
    line += ",\"destination\":";
    appendPathText(line, destination);
    line += ",\"outcome\":\"";
    line += kOutcomeNames[int(outcome)];
    line += "\",\"reason\":";
    if (reason.isEmpty())
        line += "\"\"";
    else
        appendJsonString(line, reason.toUtf8());
    if (!identity) {
        line += ",\"dev\":null,\"ino\":null,\"size\":null,\"mtime_ns\":null,\"ctime_ns\":null}\n";
        return;
    }
    // The identity's fields are made in one piece.
    char fields[160];
    char *p = fields;
    const auto field = [&p](const char *name, size_t length, qint64 value) {
        std::memcpy(p, name, length);
        p = writeDecimal(p + length, value);
    };
    field(",\"dev\":", 7, identity->device);
    field(",\"ino\":", 7, identity->inode);
    field(",\"size\":", 8, identity->size);
    field(",\"mtime_ns\":", 12, identity->mtimeNs);
    field(",\"ctime_ns\":", 12, identity->ctimeNs);
    *p++ = '}';
    *p++ = '\n';
    line.append(fields, size_t(p - fields));
}

QByteArray madeLine(const QString &folder) {
    QByteArray line = "{\"made\":";
    appendPath(line, pathToBytes(folder));
    line += "}\n";
    return line;
}

QByteArray endLine(const RecordEnd &end) {
    QByteArray line = "{\"end\":" + recordStringJson(end.at) + ",\"counts\":{";
    for (int i = 0; i < kRecordOutcomes; ++i)
        line += (i == 0 ? "\"" : ",\"") + QByteArray(kOutcomeNames[i]) +
                "\":" + QByteArray::number(end.counts[i]);
    return line + "}}\n";
}

QByteArray undoneLine(const RecordUndone &undone) {
    return "{\"undone\":" + recordStringJson(undone.at) +
           ",\"removed\":" + QByteArray::number(undone.removed) +
           ",\"left\":" + QByteArray::number(undone.left) + "}\n";
}

bool isUndoneLine(QByteArrayView line) {
    return line.startsWith("{\"undone\":") &&
           QJsonDocument::fromJson(line.toByteArray()).isObject();
}

RecordLine RecordLineReader::read(const char *begin, const char *end, RecordedCopy &copy) {
    if (begin == end)
        return RecordLine::Blank;
    // The copy lines begin with their source; the rest are few and read as documents.
    static constexpr char kCopyLine[] = "{\"source\":";
    const size_t prefix = sizeof kCopyLine - 1;
    if (size_t(end - begin) > prefix && std::memcmp(begin, kCopyLine, prefix) == 0)
        return readCopyAsWritten(begin, end, copy) || readCopy(begin, end, copy)
                   ? RecordLine::Copy
                   : RecordLine::Damaged;
    const RecordLine kind = readDocument(begin, end);
    if (kind == RecordLine::Copy && !readCopy(begin, end, copy))
        return RecordLine::Damaged;
    return kind;
}

RecordLine RecordLineReader::readDocument(const char *begin, const char *end) {
    QJsonParseError error{};
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromRawData(begin, end - begin), &error);
    const QJsonObject object = document.object();
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return RecordLine::Damaged;
    if (object.contains(QLatin1String("run"))) {
        header = headerFrom(object);
        return RecordLine::Header;
    }
    if (object.contains(QLatin1String("end"))) {
        closing = RecordEnd();
        closing.at = object[QLatin1String("end")].toString();
        const QJsonObject counts = object[QLatin1String("counts")].toObject();
        for (int i = 0; i < kRecordOutcomes; ++i)
            closing.counts[i] = counts[QLatin1String(kOutcomeNames[i])].toInteger();
        return RecordLine::End;
    }
    if (object.contains(QLatin1String("undone"))) {
        undone.at = object[QLatin1String("undone")].toString();
        undone.removed = object[QLatin1String("removed")].toInteger();
        undone.left = object[QLatin1String("left")].toInteger();
        return RecordLine::Undone;
    }
    if (object.contains(QLatin1String("made"))) {
        made = recordPathFrom(object[QLatin1String("made")]);
        return RecordLine::Made;
    }
    return object.contains(QLatin1String("outcome")) ? RecordLine::Copy : RecordLine::Damaged;
}

bool RecordLineReader::readCopyAsWritten(const char *begin, const char *end, RecordedCopy &copy) {
    JsonLine json(begin, end);
    QByteArrayView source;
    QByteArrayView destination;
    QByteArrayView outcome;
    QByteArrayView reason;
    if (!json.word("{\"source\":\"") || !json.plainText(&source) ||
        !json.word(",\"destination\":\"") || !json.plainText(&destination) ||
        !json.word(",\"outcome\":\"") || !json.plainText(&outcome) ||
        !json.word(",\"reason\":\"") || !json.plainText(&reason))
        return false;
    qint64 fields[5] = {};
    static constexpr const char *kFields[5] = {
        ",\"dev\":", ",\"ino\":", ",\"size\":", ",\"mtime_ns\":", ",\"ctime_ns\":"};
    static constexpr size_t kFieldLengths[5] = {7, 7, 8, 12, 12};
    for (int i = 0; i < 5; ++i)
        if (!json.word(kFields[i], kFieldLengths[i]) || !json.numberOrNull(fields[i]))
            return false;
    if (!json.word("}") || !json.atEnd())
        return false;
    copy = RecordedCopy();
    copy.destination = destination.toByteArray();
    copy.outcome = outcomeNamed(outcome);
    if (m_all) {
        copy.source = source.toByteArray();
        copy.reason = QString::fromUtf8(reason);
    }
    copy.identity = {fields[0], fields[1], fields[2], fields[3], fields[4]};
    return true;
}

bool RecordLineReader::readCopy(const char *begin, const char *end, RecordedCopy &copy) {
    JsonLine json(begin, end);
    copy = RecordedCopy();
    bool sawOutcome = false;
    json.skipBlanks();
    if (!json.take('{'))
        return false;
    json.skipBlanks();
    if (json.take('}'))
        return false;
    for (;;) {
        json.skipBlanks();
        QByteArrayView key;
        if (!json.text(key, m_key))
            return false;
        json.skipBlanks();
        if (!json.take(':'))
            return false;
        json.skipBlanks();
        if (key == "destination") {
            if (!readPath(json, copy.destination, m_outcome))
                return false;
        } else if (key == "source" && m_all) {
            if (!readPath(json, copy.source, m_outcome))
                return false;
        } else if (key == "reason" && m_all) {
            QByteArray reason;
            if (!json.string(&reason))
                return false;
            copy.reason = QString::fromUtf8(reason);
        } else if (key == "outcome") {
            QByteArrayView outcome;
            if (!json.text(outcome, m_outcome))
                return false;
            sawOutcome = true;
            copy.outcome = outcomeNamed(outcome);
        } else if (qint64 *const field = key == "dev"        ? &copy.identity.device
                                         : key == "ino"      ? &copy.identity.inode
                                         : key == "size"     ? &copy.identity.size
                                         : key == "mtime_ns" ? &copy.identity.mtimeNs
                                         : key == "ctime_ns" ? &copy.identity.ctimeNs
                                                             : nullptr) {
            if (!json.numberOrNull(*field))
                return false;
        } else if (!json.skipValue()) {
            return false;
        }
        json.skipBlanks();
        if (json.take('}'))
            break;
        if (!json.take(','))
            return false;
    }
    json.skipBlanks();
    return json.atEnd() && sawOutcome;
}

QString recordPathFrom(const QJsonValue &value) {
    if (value.isObject())
        return pathFromBytes(
            QByteArray::fromBase64(value[QLatin1String("b64")].toString().toLatin1()));
    return value.toString();
}

QByteArray recordStringJson(const QString &text) {
    QByteArray out;
    appendJsonString(out, text.toUtf8());
    return out;
}

QByteArray recordPathJson(const QString &path) {
    QByteArray out;
    appendPath(out, pathToBytes(path));
    return out;
}

namespace {

constexpr int kIndexFields = 11;

QString decodedField(QByteArrayView field) {
    return pathFromBytes(QByteArray::fromBase64(field.toByteArray()));
}

} // namespace

QByteArray indexOutputField(const QString &output) {
    return pathToBytes(output).toBase64();
}

qsizetype indexLineBound(qsizetype outputFieldBytes, qsizetype copyCharacters,
                         qsizetype keyCharacters) {
    return outputFieldBytes + encodedPathBound(copyCharacters) + encodedPathBound(keyCharacters) +
           kIndexFields * 24;
}

char *writeIndexLine(char *p, QByteArrayView outputField, QStringView copy, QStringView sourceKey,
                     qint64 sourceSize, qint64 sourceMtimeNs, const FileIdentity &identity,
                     qint64 madeAt) {
    std::memcpy(p, outputField.data(), size_t(outputField.size()));
    p += outputField.size();
    *p++ = '\t';
    p = writeEncodedPath(p, copy);
    *p++ = '\t';
    p = writeEncodedPath(p, sourceKey);
    for (const qint64 value : {sourceSize, sourceMtimeNs, identity.device, identity.inode,
                               identity.size, identity.mtimeNs, identity.ctimeNs, madeAt}) {
        *p++ = '\t';
        p = writeDecimal(p, value);
    }
    *p++ = '\n';
    return p;
}

QByteArray indexLine(const IndexLine &line) {
    const QByteArray outputField = indexOutputField(line.output);
    QByteArray out(indexLineBound(outputField.size(), line.copy.size(), line.sourceKey.size()),
                   Qt::Uninitialized);
    char *const end =
        writeIndexLine(out.data(), outputField, line.copy, line.sourceKey, line.sourceSize,
                       line.sourceMtimeNs, line.identity, line.madeAt);
    out.truncate(end - out.constData());
    return out;
}

bool readIndexLine(QByteArrayView line, IndexLine &out) {
    QByteArrayView fields[kIndexFields];
    int count = 0;
    qsizetype from = 0;
    for (;;) {
        const qsizetype tab = line.indexOf('\t', from);
        if (count == kIndexFields)
            return false;
        fields[count++] = line.sliced(from, (tab < 0 ? line.size() : tab) - from);
        if (tab < 0)
            break;
        from = tab + 1;
    }
    if (count != kIndexFields)
        return false;
    out.output = decodedField(fields[0]);
    out.copy = decodedField(fields[1]);
    out.sourceKey = decodedField(fields[2]);
    out.sourceSize = fields[3].toLongLong();
    out.sourceMtimeNs = fields[4].toLongLong();
    out.identity = {fields[5].toLongLong(), fields[6].toLongLong(), fields[7].toLongLong(),
                    fields[8].toLongLong(), fields[9].toLongLong()};
    out.madeAt = fields[10].toLongLong();
    return true;
}

} // namespace plenvoy
