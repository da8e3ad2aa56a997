// French layout of an imported recipe.
#include "importer/recipelayout.h"

#include "importer/htmlpage.h"
#include "importer/limits.h"
#include "store/cp1252.h"

#include <QRegularExpression>

namespace gratinel::importer {

namespace {

QString oneLine(const QString &text)
{
    return collapseSpaces(text);
}

// Stored bytes of lines joined by CRLF.
qsizetype storedBytes(const QStringList &lines)
{
    qsizetype n = 0;
    for (const QString &l : lines)
        n += l.size() + 2;
    return lines.isEmpty() ? 0 : n - 2;
}

QString yieldLine(const QString &yield)
{
    const QString y = oneLine(yield);
    if (y.isEmpty())
        return {};
    // "4", "4 servings", "Serves 4", "6 personnes": a number of people.
    static const QRegularExpression people(
        QStringLiteral("^(?:serves\\s+|pour\\s+)?(\\d+(?:[.,]\\d+)?)(?:\\s*(?:servings?|serves|people|persons?|"
                       "portions?|personnes?|pers\\.?|parts?))?$"),
        QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch m = people.match(y); m.hasMatch()) {
        const QString n = m.captured(1);
        return QStringLiteral("Pour %1 personne%2").arg(n, n == QLatin1String("1") ? QString() : QStringLiteral("s"));
    }
    if (y.at(0).isDigit())
        return QStringLiteral("Pour ") + y;
    return QStringLiteral("Quantité : ") + y;
}

} // namespace

QString frenchDuration(const QString &iso)
{
    static const QRegularExpression re(QStringLiteral(
        "^P(?:(\\d{1,4})D)?(?:T(?:(\\d{1,5})H)?(?:(\\d{1,6})M)?(?:(\\d{1,7})(?:\\.\\d+)?S)?)?$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(iso.trimmed());
    if (!m.hasMatch())
        return {};
    qint64 minutes = m.captured(1).toLongLong() * 24 * 60 + m.captured(2).toLongLong() * 60
                     + m.captured(3).toLongLong() + (m.captured(4).toLongLong() + 59) / 60;
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

Recipe layoutRecipe(const RecipeFields &f, const QString &source)
{
    Recipe r;
    r.categories = f.categories;
    r.imageUrl = f.image.trimmed();
    r.source = oneLine(source);

    QString title = spelling::storableSpelling(oneLine(f.name), &r.changes);
    if (title.isEmpty())
        title = QStringLiteral("Recette sans titre");
    r.title = title.left(kMaxTitleChars).trimmed();

    QStringList head;
    if (const QString y = yieldLine(f.yield); !y.isEmpty())
        head << y;
    QStringList times;
    if (const QString d = frenchDuration(f.prepTime); !d.isEmpty())
        times << QStringLiteral("Préparation : ") + d;
    if (const QString d = frenchDuration(f.cookTime); !d.isEmpty())
        times << QStringLiteral("Cuisson : ") + d;
    if (times.isEmpty())
        if (const QString d = frenchDuration(f.totalTime); !d.isEmpty())
            times << QStringLiteral("Temps total : ") + d;
    if (!times.isEmpty())
        head << times.join(QStringLiteral(" – "));

    QStringList body;
    QStringList ingredients;
    for (const IngredientLine &i : f.ingredients) {
        if (const QString line = oneLine(i.text); !line.isEmpty())
            ingredients << (i.heading ? line + QStringLiteral(" :") : QStringLiteral("- ") + line);
    }
    if (!ingredients.isEmpty()) {
        if (!head.isEmpty())
            body << QString();
        body << QStringLiteral("Ingrédients :") << ingredients;
    }
    QStringList steps;
    int number = 0;
    QString section;
    for (const RecipeFields::Step &s : f.steps) {
        const QString text = oneLine(s.text);
        if (text.isEmpty())
            continue;
        if (oneLine(s.section) != section) {
            section = oneLine(s.section);
            if (!section.isEmpty()) {
                if (!steps.isEmpty())
                    steps << QString();
                steps << section + QStringLiteral(" :");
            }
            number = 0;
        }
        steps << QStringLiteral("%1. %2").arg(++number).arg(text);
    }
    if (!steps.isEmpty()) {
        if (!head.isEmpty() || !body.isEmpty())
            body << QString();
        body << QStringLiteral("Préparation :") << steps;
    }

    QStringList lines = head + body;
    // A removed character leaves no double space behind.
    for (QString &l : lines)
        l = oneLine(spelling::storableSpelling(l, &r.changes)).replace(QStringLiteral(" ."), QStringLiteral("."));
    QStringList tail;
    if (!r.source.isEmpty()) {
        tail << QString() << QStringLiteral("Source : ") + spelling::storableSpelling(r.source, &r.changes);
        if (lines.isEmpty())
            tail.removeFirst();
    }
    // A replacement may have brought line ends: the text is counted by its final lines.
    lines = lines.join(u'\n').split(u'\n');
    if (lines.size() == 1 && lines.first().isEmpty())
        lines.clear();
    const qsizetype room = kMaxTextBytes - storedBytes(tail) - (tail.isEmpty() ? 0 : 2);
    if (storedBytes(lines) > room) {
        r.shortened = true;
        const QString cut = QStringLiteral("[…]");
        while (!lines.isEmpty() && storedBytes(lines) + 2 + cut.size() > room) {
            // The last line is cut rather than dropped when its beginning fits.
            const qsizetype before = lines.size() > 1 ? storedBytes(lines.mid(0, lines.size() - 1)) + 2 : 0;
            const qsizetype left = room - 2 - cut.size() - before;
            if (left > 0 && left < lines.last().size()) {
                lines.last().truncate(left);
                break;
            }
            lines.removeLast();
        }
        lines << cut;
    }
    r.text = (lines + tail).join(u'\n');
    return r;
}

} // namespace gratinel::importer
