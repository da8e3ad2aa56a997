// Frames and their payloads, written with QDataStream, texts in UTF-8.
#include "importer/readerwire.h"

#include "importer/limits.h"
#include "store/cp1252.h"

#include <QDataStream>
#include <QIODevice>
#include <QtEndian>

namespace gratinel::importer {

namespace {

constexpr char kMagic[] = "GRTR";
constexpr quint8 kVersion = 1;
constexpr int kHeaderBytes = 8;
// Entries of a list of texts an answer may hold (refusals, remarks, categories, changes).
constexpr quint32 kMaxListEntries = 100'000;

void putText(QDataStream &out, const QString &text)
{
    out << text.toUtf8();
}

QString getText(QDataStream &in)
{
    QByteArray utf8;
    in >> utf8;
    return QString::fromUtf8(utf8);
}

void putList(QDataStream &out, const QStringList &list)
{
    out << quint32(list.size());
    for (const QString &s : list)
        putText(out, s);
}

QStringList getList(QDataStream &in)
{
    quint32 n = 0;
    in >> n;
    QStringList list;
    if (n > kMaxListEntries) {
        in.setStatus(QDataStream::ReadCorruptData);
        return list;
    }
    for (quint32 i = 0; i < n && in.status() == QDataStream::Ok; ++i)
        list << getText(in);
    return list;
}

bool storable(const Recipe &r)
{
    return !r.title.isEmpty() && r.title.size() <= kMaxTitleChars && cp1252::canEncode(r.title)
           && cp1252::canEncode(r.text) && cp1252::encodeText(r.text).size() <= kMaxTextBytes;
}

} // namespace

QByteArray frame(const QByteArray &payload)
{
    QByteArray out(kMagic, 4);
    char size[4];
    qToBigEndian(quint32(payload.size()), size);
    out.append(size, 4);
    return out + payload;
}

FrameState takeFrame(QByteArray &buffer, QByteArray &payload, qint64 maxPayload)
{
    const qsizetype head = std::min<qsizetype>(4, buffer.size());
    if (QByteArrayView(buffer.constData(), head) != QByteArrayView(kMagic, head))
        return FrameState::Broken;
    if (buffer.size() < kHeaderBytes)
        return FrameState::Incomplete;
    const quint32 size = qFromBigEndian<quint32>(buffer.constData() + 4);
    if (qint64(size) > maxPayload)
        return FrameState::Broken;
    if (buffer.size() < kHeaderBytes + qsizetype(size))
        return FrameState::Incomplete;
    payload = buffer.mid(kHeaderBytes, size);
    buffer.remove(0, kHeaderBytes + size);
    return FrameState::Complete;
}

QByteArray readyPayload()
{
    return QByteArrayLiteral("lecteur de pages 1");
}

QByteArray encodeRequest(const ReaderRequest &request)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << kVersion;
    putText(out, request.address);
    out << request.charset << request.content;
    return bytes;
}

std::optional<ReaderRequest> decodeRequest(const QByteArray &payload)
{
    QDataStream in(payload);
    quint8 version = 0;
    in >> version;
    ReaderRequest r;
    r.address = getText(in);
    in >> r.charset >> r.content;
    if (version != kVersion || in.status() != QDataStream::Ok || !in.atEnd())
        return std::nullopt;
    return r;
}

QByteArray encodeAnswer(const ReaderAnswer &answer)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    const ParseResult &r = answer.result;
    out << kVersion;
    putText(out, answer.problem);
    out << quint8(r.format) << qint32(r.recipesFound);
    putList(out, r.refused);
    out << quint32(r.recipes.size());
    for (const Recipe &x : r.recipes) {
        putText(out, x.title);
        putList(out, x.categories);
        putText(out, x.text);
        putText(out, x.imageUrl);
        putText(out, x.source);
        putList(out, x.changes.replaced);
        putList(out, x.changes.removed);
        out << x.shortened;
        putList(out, x.remarks);
    }
    return bytes;
}

std::optional<ReaderAnswer> decodeAnswer(const QByteArray &payload)
{
    QDataStream in(payload);
    quint8 version = 0;
    in >> version;
    ReaderAnswer a;
    a.problem = getText(in);
    quint8 format = 0;
    qint32 found = 0;
    quint32 count = 0;
    in >> format >> found;
    a.result.refused = getList(in);
    in >> count;
    if (version != kVersion || in.status() != QDataStream::Ok || format > quint8(Format::MealMaster)
        || count > quint32(kMaxRecipes) || found < qint32(count))
        return std::nullopt;
    a.result.format = Format(format);
    a.result.recipesFound = found;
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        Recipe x;
        x.title = getText(in);
        x.categories = getList(in);
        x.text = getText(in);
        x.imageUrl = getText(in);
        x.source = getText(in);
        x.changes.replaced = getList(in);
        x.changes.removed = getList(in);
        in >> x.shortened;
        x.remarks = getList(in);
        if (!storable(x))
            return std::nullopt;
        a.result.recipes.push_back(std::move(x));
    }
    if (in.status() != QDataStream::Ok || !in.atEnd())
        return std::nullopt;
    return a;
}

} // namespace gratinel::importer
