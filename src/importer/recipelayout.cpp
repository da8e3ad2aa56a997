// French layout of an imported recipe.
#include "importer/recipelayout.h"

#include "importer/duration.h"
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
    // "4", "4 servings", "Serves 4", "6 personnes", "Für 4 Personen": a number of people.
    static const QRegularExpression people(
        QStringLiteral("^(?:serves\\s+|pour\\s+|for\\s+|für\\s+|voor\\s+|per\\s+|para\\s+|dla\\s+)?(\\d+(?:[.,]\\d+)?)(?:\\s*(?:servings?|serves|"
                       "people|persons?|portions?|personnes?|pers\\.?|parts?|portionen|personen|porzion[ei]|porciones|raciones|"
                       "personas|persone|porties|personer|portioner|porsjoner|pessoas|osób|osoby))?\\s*:?$"),
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
    return frenchMinutes(durationMinutes(iso).value_or(0));
}

Recipe layoutRecipe(const RecipeFields &f, const QString &source)
{
    Recipe r;
    r.categories = f.categories;
    r.imageUrl = f.image.trimmed();
    r.source = oneLine(source);
    r.remarks = f.remarks;

    QString title = spelling::storableSpelling(oneLine(f.name), &r.changes);
    if (title.isEmpty())
        title = QStringLiteral("Recette sans titre");
    r.title = title.left(kMaxTitleChars).trimmed();

    QStringList head;
    if (const QString y = yieldLine(f.yield); !y.isEmpty())
        head << y;
    QStringList times;
    // A time that cannot be read is never shown, wrong or raw: the report names it.
    const auto time = [&](const QString &label, const QString &value) {
        const std::optional<qint64> minutes = durationMinutes(value);
        if (!minutes && !oneLine(value).isEmpty())
            r.remarks << QStringLiteral("durée illisible laissée de côté : « %1 »").arg(oneLine(value).left(60));
        if (const QString d = frenchMinutes(minutes.value_or(0)); !d.isEmpty())
            times << label + d;
    };
    time(QStringLiteral("Préparation : "), f.prepTime);
    time(QStringLiteral("Cuisson : "), f.cookTime);
    if (times.isEmpty())
        time(QStringLiteral("Temps total : "), f.totalTime);
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
