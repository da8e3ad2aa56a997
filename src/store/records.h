// The two fixed-length record layouts of the book: families (130 bytes) and recipes (150 bytes).
//
// FamilyRecord, GRTN1.DAT, little-endian, packed:
//   offset 0    int16    state        -1 in use, 0 deleted (record 1: familyCount)
//   offset 2    128 B    name         Windows-1252, space padded, no terminator
//
// RecipeRecord, GRTN2.DAT, little-endian, packed:
//   offset 0    int16    state        -1 in use, 0 deleted (record 1: recipeCount)
//   offset 2    int32    familyRecord record number of the family in GRTN1.DAT
//   offset 6    128 B    title        Windows-1252, space padded
//   offset 134  int32    textPos      1-based position in GRTN3.DAT, 0 = no text
//   offset 138  int32    textLen      bytes
//   offset 142  int32    imagePos     1-based position in GRTN4.DAT, 0 = no image
//   offset 146  int32    imageLen     bytes
//
// The text fields are kept as their raw bytes, so that a header record read and
// written back keeps every byte it had.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtEndian>
#include <QtGlobal>

namespace gratinel {

constexpr qint16 kInUse = -1;
constexpr qint16 kDeleted = 0;
constexpr int kFixedTextSize = 128;
constexpr qint16 kMaxCount = 32767;

// The fixed text field for text: encoded, cut to size bytes, padded with spaces.
QByteArray fixedText(const QString &text, int size = kFixedTextSize);
// A fixed text field as shown: decoded, leading and trailing spaces removed.
QString fieldText(const QByteArray &field);
QString fieldText(const char *field, int size = kFixedTextSize);
// Leading and trailing spaces removed (spaces only, as the stored fields are padded with them).
QString trimSpaces(const QString &text);

struct FamilyRecord {
    static constexpr int kSize = 130;

    qint16 state = kDeleted;
    QByteArray name = QByteArray(kFixedTextSize, ' ');

    static FamilyRecord decode(const char *bytes);
    void encodeTo(char *bytes) const;

    QString nameText() const { return fieldText(name); }
    // Fields read straight from a record's bytes, without decoding the rest.
    static qint16 stateIn(const char *bytes) { return qFromLittleEndian<qint16>(bytes); }
    static QString nameTextIn(const char *bytes) { return fieldText(bytes + 2); }
    void setName(const QString &text) { name = fixedText(text); }
};

struct RecipeRecord {
    static constexpr int kSize = 150;

    qint16 state = kDeleted;
    qint32 familyRecord = 0;
    QByteArray title = QByteArray(kFixedTextSize, ' ');
    qint32 textPos = 0;
    qint32 textLen = 0;
    qint32 imagePos = 0;
    qint32 imageLen = 0;

    static RecipeRecord decode(const char *bytes);
    void encodeTo(char *bytes) const;

    QString titleText() const { return fieldText(title); }
    // Fields read straight from a record's bytes, without decoding the rest.
    static qint16 stateIn(const char *bytes) { return qFromLittleEndian<qint16>(bytes); }
    static qint32 familyRecordIn(const char *bytes) { return qFromLittleEndian<qint32>(bytes + 2); }
    static QString titleTextIn(const char *bytes) { return fieldText(bytes + 6); }
    void setTitle(const QString &text) { title = fixedText(text); }
};

} // namespace gratinel
