// Reading and writing the text form of a book.
#include "store/booksource.h"

#include "store/cp1252.h"
#include "store/records.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>

namespace gratinel::booksource {

namespace {

const QString kFamily = QStringLiteral("@@ ");
const QString kRecipe = QStringLiteral("## ");
const QString kImage = QStringLiteral("!! ");
constexpr QChar kEscape = u'\\';

QString nameProblem(const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("nom vide");
    if (name.size() > kFixedTextSize)
        return QStringLiteral("nom de plus de %1 caractères").arg(kFixedTextSize);
    return {};
}

// Names the characters of line that the book cannot store.
QString encodingProblem(const QString &line)
{
    return QStringLiteral("caractères impossibles à enregistrer dans le livre (hors du jeu Windows-1252) : %1")
        .arg(cp1252::unstorable(line).join(u' '));
}

// The text lines of a recipe, with the escape taken off and the blank lines of either end
// dropped; an escaped line is never dropped.
QString joinText(const QStringList &lines, const std::vector<bool> &escaped)
{
    qsizetype begin = 0;
    qsizetype end = lines.size();
    const auto blank = [&](qsizetype i) { return !escaped[size_t(i)] && lines[i].trimmed().isEmpty(); };
    while (begin < end && blank(begin))
        ++begin;
    while (end > begin && blank(end - 1))
        --end;
    return lines.mid(begin, end - begin).join(u'\n');
}

bool needsEscape(const QString &line)
{
    return line.startsWith(kFamily) || line.startsWith(kRecipe) || line.startsWith(kImage)
           || line.startsWith(kEscape);
}

} // namespace

int Source::recipeCount() const
{
    int n = 0;
    for (const Family &f : families)
        n += int(f.recipes.size());
    return n;
}

QStringList Source::allProblems() const
{
    std::vector<LineProblem> all = problems;
    for (const Family &f : families) {
        if (!f.problem.isEmpty())
            all.push_back({f.line, f.problem});
        for (const Recipe &r : f.recipes) {
            if (!r.problem.isEmpty())
                all.push_back({r.line, r.problem});
        }
    }
    std::stable_sort(all.begin(), all.end(), [](const auto &a, const auto &b) { return a.line < b.line; });
    QStringList out;
    for (const LineProblem &p : all)
        out << QStringLiteral("ligne %1 : %2").arg(p.line).arg(p.problem);
    return out;
}

Source parse(const QString &text)
{
    Source source;
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();

    Recipe *recipe = nullptr;
    QStringList textLines;
    std::vector<bool> escaped;
    const auto flush = [&] {
        if (recipe)
            recipe->text = joinText(textLines, escaped);
        recipe = nullptr;
        textLines.clear();
        escaped.clear();
    };
    const auto setProblem = [](QString &problem, const QString &what) {
        if (problem.isEmpty())
            problem = what;
    };

    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        const int lineNo = int(i) + 1;
        const bool encodable = cp1252::canEncode(line);
        if (line.startsWith(kFamily)) {
            flush();
            Family f;
            f.line = lineNo;
            f.name = line.mid(3).trimmed();
            f.problem = nameProblem(f.name);
            if (!encodable)
                setProblem(f.problem, encodingProblem(line));
            source.families.push_back(std::move(f));
        } else if (line.startsWith(kRecipe)) {
            flush();
            Recipe r;
            r.line = lineNo;
            r.title = line.mid(3).trimmed();
            r.problem = nameProblem(r.title);
            if (!encodable)
                setProblem(r.problem, encodingProblem(line));
            if (source.families.empty()) {
                source.problems.push_back({lineNo, QStringLiteral("recette hors de toute famille")});
                continue;
            }
            source.families.back().recipes.push_back(std::move(r));
            recipe = &source.families.back().recipes.back();
        } else if (line.startsWith(kImage)) {
            if (!recipe) {
                source.problems.push_back({lineNo, QStringLiteral("image hors de toute recette")});
                continue;
            }
            const QString path = line.mid(3).trimmed();
            if (path.isEmpty())
                setProblem(recipe->problem, QStringLiteral("ligne %1 : chemin d'image vide").arg(lineNo));
            else if (!recipe->imagePath.isEmpty())
                setProblem(recipe->problem, QStringLiteral("ligne %1 : deuxième image de la recette").arg(lineNo));
            else if (!encodable)
                setProblem(recipe->problem, QStringLiteral("ligne %1 : %2").arg(lineNo).arg(encodingProblem(line)));
            recipe->imagePath = path;
        } else if (recipe) {
            const bool isEscaped = line.startsWith(kEscape);
            textLines << (isEscaped ? line.mid(1) : line);
            escaped.push_back(isEscaped);
            if (!encodable)
                setProblem(recipe->problem, QStringLiteral("ligne %1 : %2").arg(lineNo).arg(encodingProblem(line)));
        } else if (!line.trimmed().isEmpty()) {
            source.problems.push_back({lineNo, QStringLiteral("texte hors de toute recette")});
        }
    }
    flush();
    return source;
}

Status readFile(const QString &path, Source &source)
{
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return Status::ioError(QStringLiteral("impossible de lire %1 (%2)").arg(path, in.errorString()));
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return Status::ioError(QStringLiteral("impossible de lire %1 (%2)").arg(path, in.errorString()));
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    if (utf8.hasError())
        return Status::corrupt(QStringLiteral("%1 n'est pas un texte UTF-8").arg(path));
    source = parse(text);
    return Status::ok();
}

QString write(const std::vector<Family> &families)
{
    QString out;
    for (const Family &f : families) {
        out += kFamily + f.name + u'\n';
        for (const Recipe &r : f.recipes) {
            out += kRecipe + r.title + u'\n';
            if (!r.imagePath.isEmpty())
                out += kImage + r.imagePath + u'\n';
            if (r.text.isEmpty())
                continue;
            const QStringList lines = r.text.split(u'\n');
            for (qsizetype i = 0; i < lines.size(); ++i) {
                const QString &line = lines[i];
                const bool atEnd = i == 0 || i == lines.size() - 1;
                if (needsEscape(line) || (atEnd && line.trimmed().isEmpty()))
                    out += kEscape;
                // Reading takes one CR off a line's end (CRLF sources): a line of the text
                // that ends with a CR of its own gets one more, so that it keeps it.
                out += line + (line.endsWith(u'\r') ? QStringLiteral("\r\n") : QStringLiteral("\n"));
            }
        }
    }
    return out;
}

} // namespace gratinel::booksource
