// Reading cooking times.
#include "importer/duration.h"

#include <QRegularExpression>
#include <QStringList>

namespace gratinel::importer {

namespace {

constexpr qint64 kMaxMinutes = qint64(366) * 24 * 60;

std::optional<qint64> fromIso(const QString &t)
{
    // Each part's number may be missing ("PTH5M"); days may follow the T ("PT0D0H30M"); with
    // no T, M after days or alone is minutes, as recipe sites mean it ("P30M").
    static const QRegularExpression re(QStringLiteral(
        "^P(?:(\\d{0,4})D)?T?(?:(\\d{0,4})D)?(?:(\\d{0,5})H)?(?:(\\d{0,6})M)?(?:(\\d{0,7})(?:[.,]\\d+)?S)?$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(t);
    if (!m.hasMatch() || t.size() < 3)
        return std::nullopt;
    // Something must be counted: "PT" or "P" alone is no duration.
    bool any = false;
    for (int i = 1; i <= 5; ++i)
        any = any || m.capturedLength(i) > 0 || m.capturedStart(i) >= 0;
    if (!any)
        return std::nullopt;
    return (m.captured(1).toLongLong() + m.captured(2).toLongLong()) * 24 * 60 + m.captured(3).toLongLong() * 60
           + m.captured(4).toLongLong() + (m.captured(5).toLongLong() + 59) / 60;
}

// The unit a word names, in minutes, or 0.
qint64 unitMinutes(const QString &word)
{
    static const QRegularExpression day(QStringLiteral("^(j|jours?|d|days?|tage?n?|d[ií]as?|giorn[oi]|dag(en)?)$"));
    static const QRegularExpression hour(QStringLiteral(
        "^(h|hrs?|hours?|heures?|std|stunden?|horas?|or[ae]|uur|u)$"));
    static const QRegularExpression minute(QStringLiteral(
        "^(m|mn|mins?|minutes?|minuten?|minutos?|minut[oi]|min\\.)$"));
    static const QRegularExpression second(QStringLiteral("^(s|secs?|secondes?|seconds?|sekunden?|segundos?|second[oi]|seconden)$"));
    QString w = word.toLower();
    if (w.endsWith(u'.'))
        w.chop(1);
    if (day.match(w).hasMatch())
        return 24 * 60;
    if (hour.match(w).hasMatch())
        return 60;
    if (minute.match(w).hasMatch())
        return 1;
    if (second.match(w).hasMatch())
        return -1; // seconds: rounded up to minutes by the caller
    return 0;
}

std::optional<qint64> fromWords(const QString &text)
{
    QString t = text.toLower();
    // "1:30" as hours and minutes.
    static const QRegularExpression clock(QStringLiteral("^(\\d{1,3}):(\\d{2})$"));
    if (const QRegularExpressionMatch m = clock.match(t); m.hasMatch())
        return m.captured(1).toLongLong() * 60 + m.captured(2).toLongLong();
    // Numbers and words apart: "1h30" reads as "1 h 30".
    static const QRegularExpression split(QStringLiteral("(\\d+(?:[.,]\\d+)?)"));
    t.replace(split, QStringLiteral(" \\1 "));
    t.replace(QRegularExpression(QStringLiteral("\\b(and|et|und|y|e|en|environ|about|ca|approx)\\b")), QStringLiteral(" "));
    t.replace(QRegularExpression(QStringLiteral("[,;+]")), QStringLiteral(" "));
    const QStringList words = t.split(u' ', Qt::SkipEmptyParts);
    if (words.isEmpty() || words.size() > 12)
        return std::nullopt;
    double total = 0;
    qint64 seconds = 0;
    double pending = 0;
    bool hasPending = false;
    qint64 lastUnit = 0;
    for (const QString &w : words) {
        bool isNumber = false;
        const double n = QString(w).replace(u',', u'.').toDouble(&isNumber);
        if (isNumber) {
            if (hasPending)
                return std::nullopt; // two numbers in a row
            pending = n;
            hasPending = true;
            continue;
        }
        const qint64 unit = unitMinutes(w);
        if (unit == 0 || !hasPending)
            return std::nullopt;
        if (unit < 0)
            seconds += qint64(pending);
        else
            total += pending * double(unit);
        lastUnit = unit;
        hasPending = false;
    }
    if (hasPending) {
        // "1 h 30": the number after hours is minutes; a number alone is minutes.
        if (lastUnit == 60 || lastUnit == 0)
            total += pending;
        else if (lastUnit == 24 * 60)
            total += pending * 60;
        else
            return std::nullopt;
    }
    return qint64(total + 0.5) + (seconds + 59) / 60;
}

} // namespace

std::optional<qint64> durationMinutes(const QString &text)
{
    const QString t = text.simplified();
    if (t.isEmpty() || t.size() > 60)
        return std::nullopt;
    std::optional<qint64> minutes = t.startsWith(u'P', Qt::CaseInsensitive) ? fromIso(t) : std::nullopt;
    if (!minutes)
        minutes = fromWords(t);
    if (minutes && (*minutes < 0 || *minutes > kMaxMinutes))
        return std::nullopt;
    return minutes;
}

QString frenchMinutes(qint64 minutes)
{
    if (minutes <= 0)
        return {};
    const qint64 days = minutes / (24 * 60);
    // Less than two days reads better in hours ("36 h").
    QStringList parts;
    if (days >= 2) {
        parts << QStringLiteral("%1 j").arg(days);
        minutes -= days * 24 * 60;
    }
    if (minutes >= 60)
        parts << QStringLiteral("%1 h").arg(minutes / 60);
    if (minutes % 60 != 0)
        parts << QStringLiteral("%1 min").arg(minutes % 60);
    return parts.join(u' ');
}

} // namespace gratinel::importer
