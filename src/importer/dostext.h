// Text files written on DOS, as many Meal-Master files were: code page 850.
#pragma once

#include <QByteArray>
#include <QString>

namespace gratinel::importer {

// True when bytes are not UTF-8 and hold more of the bytes that DOS code pages give to French
// letters and frames (0x82 "é", 0x85 "à", 0x87 "ç", 0x8A "è", box drawing) than of the bytes
// Windows-1252 gives to accented letters.
bool looksLikeDosText(const QByteArray &bytes);

// bytes read as code page 850.
QString decodeCp850(const QByteArray &bytes);

} // namespace gratinel::importer
