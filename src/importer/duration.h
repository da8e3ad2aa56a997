// Cooking times as recipe sources write them: ISO 8601 durations, also the loose ones, and
// plain words ("20 minutes", "1 h 30", "1 Std. 30 Min.").
#pragma once

#include <QString>

#include <optional>

namespace gratinel::importer {

// The minutes that text lasts, or no value when it cannot be read. Read: ISO 8601 with or
// without its numbers and time mark ("PT1H15M", "PT0D0H30M", "PTH5M", "P30M" as minutes,
// "P1DT2H"), and words with days, hours, minutes and seconds in French, English, German,
// Spanish, Italian and Dutch ("20 minutes", "1 h 30", "1h30", "2 heures", "45 min", "1:30");
// a bare number is minutes.
std::optional<qint64> durationMinutes(const QString &text);

// minutes in French ("15 min", "1 h 5 min", "26 h", "2 j 3 h"); empty for none.
QString frenchMinutes(qint64 minutes);

} // namespace gratinel::importer
