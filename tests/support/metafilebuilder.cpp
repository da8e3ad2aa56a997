// Writes the few metafile records the image tests need, in the files' little-endian layout.
#include "metafilebuilder.h"

#include <QtEndian>

#include <algorithm>
#include <functional>
#include <initializer_list>

namespace gratinel::metafilebuilder {

namespace {

constexpr int kTwipsPerPixel = 15; // 1440 units per inch over 96 dots per inch

void put16(QByteArray &b, int v)
{
    const quint16 x = qToLittleEndian(quint16(v));
    b.append(reinterpret_cast<const char *>(&x), 2);
}

void put32(QByteArray &b, qint64 v)
{
    const quint32 x = qToLittleEndian(quint32(v));
    b.append(reinterpret_cast<const char *>(&x), 4);
}

quint32 colorRef(QColor c)
{
    return quint32(c.red()) | quint32(c.green()) << 8 | quint32(c.blue()) << 16;
}

// One WMF record: size in 16-bit words, function number, parameters.
void wmfRecord(QByteArray &b, int function, std::initializer_list<int> words)
{
    put32(b, 3 + qint64(words.size()));
    put16(b, function);
    for (int w : words)
        put16(b, w);
}

qint64 largestRecordWords(const QByteArray &records)
{
    qint64 largest = 0;
    for (qsizetype at = 0; at + 4 <= records.size();) {
        const qint64 words = qFromLittleEndian<quint32>(records.constData() + at);
        largest = std::max(largest, words);
        at += words * 2;
    }
    return largest;
}

QByteArray wmf(QSize size, QColor fill, const std::function<void(QByteArray &)> &shape)
{
    const int w = size.width() * kTwipsPerPixel;
    const int h = size.height() * kTwipsPerPixel;
    QByteArray records;
    wmfRecord(records, 0x020B, {0, 0});            // SetWindowOrg(y, x)
    wmfRecord(records, 0x020C, {h, w});            // SetWindowExt(y, x)
    const quint32 c = colorRef(fill);
    wmfRecord(records, 0x02FC, {0, int(c & 0xFFFF), int(c >> 16), 0}); // solid brush
    wmfRecord(records, 0x02FA, {5, 0, 0, 0, 0});   // null pen
    wmfRecord(records, 0x012D, {0});               // select brush
    wmfRecord(records, 0x012D, {1});               // select pen
    shape(records);
    wmfRecord(records, 0x0000, {});                // end of file

    QByteArray b;
    // Placeable header, then its checksum: the XOR of its first ten words.
    put32(b, 0x9AC6CDD7);
    put16(b, 0);
    put16(b, 0);
    put16(b, 0);
    put16(b, w);
    put16(b, h);
    put16(b, 1440);
    put32(b, 0);
    quint16 sum = 0;
    for (int i = 0; i < 20; i += 2)
        sum ^= quint16(quint8(b[i]) | quint8(b[i + 1]) << 8);
    put16(b, sum);
    // Standard header: disk metafile, nine words, version 3.
    put16(b, 2);
    put16(b, 9);
    put16(b, 0x0300);
    put32(b, 9 + records.size() / 2);
    put16(b, 2);
    put32(b, largestRecordWords(records));
    put16(b, 0);
    return b + records;
}

} // namespace

QByteArray wmfWithRectangle(QSize size, QRect box, QColor fill)
{
    return wmf(size, fill, [&](QByteArray &r) {
        // Rectangle(bottom, right, top, left), the right and bottom edges excluded.
        wmfRecord(r, 0x041B, {(box.bottom() + 1) * kTwipsPerPixel, (box.right() + 1) * kTwipsPerPixel,
                              box.top() * kTwipsPerPixel, box.left() * kTwipsPerPixel});
    });
}

QByteArray wmfWithPolygon(QSize size, QRect box, QColor fill)
{
    return wmf(size, fill, [&](QByteArray &r) {
        const int l = box.left() * kTwipsPerPixel, t = box.top() * kTwipsPerPixel;
        const int rt = (box.right() + 1) * kTwipsPerPixel, b = (box.bottom() + 1) * kTwipsPerPixel;
        wmfRecord(r, 0x0324, {4, l, t, rt, t, rt, b, l, b});
    });
}

QByteArray emfWithRectangle(QSize size, QRect box, QColor fill)
{
    QByteArray records;
    auto record = [&records](int type, std::initializer_list<qint64> values) {
        put32(records, type);
        put32(records, 8 + 4 * qint64(values.size()));
        for (qint64 v : values)
            put32(records, v);
    };
    record(39, {1, 0, colorRef(fill), 0});  // CreateBrushIndirect: handle 1, solid
    record(37, {1});                         // SelectObject(brush)
    record(37, {0x80000008});                // SelectObject(NULL_PEN)
    record(43, {box.left(), box.top(), box.right() + 1, box.bottom() + 1}); // Rectangle
    record(14, {0, 16, 20});                 // EOF

    QByteArray b;
    constexpr int kHeaderBytes = 88;
    put32(b, 1);                             // EMR_HEADER
    put32(b, kHeaderBytes);
    for (int v : {0, 0, size.width() - 1, size.height() - 1}) // bounds, inclusive pixels
        put32(b, v);
    // Frame in 1/100 mm, inclusive: 96 dots per inch is 2540/96 hundredths per pixel.
    for (int v : {0, 0, size.width() * 2540 / 96 - 1, size.height() * 2540 / 96 - 1})
        put32(b, v);
    put32(b, 0x464D4520);                    // " EMF"
    put32(b, 0x10000);
    put32(b, kHeaderBytes + records.size());
    put32(b, 6);                             // records, header included
    put16(b, 2);                             // handles
    put16(b, 0);
    put32(b, 0);                             // no description
    put32(b, 0);
    put32(b, 0);                             // no palette
    put32(b, 960);                           // reference device: 960 pixels on 254 mm
    put32(b, 960);
    put32(b, 254);
    put32(b, 254);
    return b + records;
}

} // namespace gratinel::metafilebuilder
