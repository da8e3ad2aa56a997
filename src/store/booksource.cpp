// Reading and writing the text form of a book.
#include "store/booksource.h"

#include "store/charactername.h"
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
// The escaped forms of the same lines, and of a text line.
const QString kEscapedFamily = QStringLiteral("@@\\ ");
const QString kEscapedRecipe = QStringLiteral("##\\ ");
const QString kEscapedImage = QStringLiteral("!!\\ ");
const QString kEscapedText = QStringLiteral("%%\\ ");
constexpr QChar kEscape = u'\\';
const QString kLineEnd = QStringLiteral("\r\n");

// A character that a line of the source cannot carry as it is, and that the book holds as the
// byte of the same value, so that "\xHH" gives it back: a line end, a control character
// other than the tab, and the five bytes Windows-1252 leaves undefined (U+0081 is the byte 81).
// The other C1 controls have no byte in the book ("\x89" is "‰", not U+0089): they are
// written as they are, and read back as themselves, refused again.
bool unwritable(QChar c)
{
    const char16_t u = c.unicode();
    return (u < 0x20 && u != u'\t') || u == 0x7F || u == 0x81 || u == 0x8D || u == 0x8F || u == 0x90 || u == 0x9D;
}

bool hexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool needsEscapedForm(const QString &value, bool keepEndSpaces)
{
    if (std::any_of(value.begin(), value.end(), unwritable))
        return true;
    return keepEndSpaces && (value.startsWith(u' ') || value.endsWith(u' '));
}

QString escaped(const QString &value)
{
    QString out;
    out.reserve(value.size() + 8);
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        const bool endSpace = c == u' ' && (i == 0 || i == value.size() - 1);
        if (c == kEscape)
            out += QStringLiteral("\\\\");
        else if (c == u'\r')
            out += QStringLiteral("\\r");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (unwritable(c) || endSpace)
            out += QStringLiteral("\\x") + QStringLiteral("%1").arg(int(c.unicode()), 2, 16, QLatin1Char('0')).toUpper();
        else
            out += c;
    }
    return out;
}

// The value an escaped line stands for; false, with what is wrong, at a sequence it does
// not know.
bool unescaped(QStringView line, QString &value, QString &why)
{
    value.clear();
    value.reserve(line.size());
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c != kEscape) {
            value += c;
            continue;
        }
        const QChar next = i + 1 < line.size() ? line[i + 1] : QChar();
        if (next == kEscape || next == u'r' || next == u'n' || next == u't') {
            value += next == u'r' ? QChar(u'\r') : next == u'n' ? QChar(u'\n') : next == u't' ? QChar(u'\t') : kEscape;
            ++i;
            continue;
        }
        bool ok = false;
        const QStringView hex = line.mid(i + 2, 2);
        const bool twoDigits = hex.size() == 2 && hexDigit(hex[0]) && hexDigit(hex[1]);
        const uint byte = next == u'x' && twoDigits ? hex.toUInt(&ok, 16) : 0;
        if (!ok) {
            why = QStringLiteral("séquence d'échappement inconnue « %1 »").arg(visibleText(line.mid(i, 4).toString()));
            return false;
        }
        value += cp1252::decode(QByteArray(1, char(byte)));
        i += 3;
    }
    return true;
}

// A heading's value: the plain form loses the spaces at either end, the escaped form only
// when trimEscaped (names and titles, which the book stores without them).
bool headingValue(const QString &line, bool escapedForm, bool trimEscaped, QString &value, QString &why)
{
    if (!escapedForm) {
        value = trimSpaces(line.mid(3));
        return true;
    }
    if (!unescaped(QStringView(line).mid(4), value, why))
        return false;
    if (trimEscaped)
        value = trimSpaces(value);
    return true;
}

QString headingLine(const QString &plain, const QString &escapedMarker, const QString &value, bool keepEndSpaces)
{
    return needsEscapedForm(value, keepEndSpaces) ? escapedMarker + escaped(value) : plain + value;
}

// A name or title: one of spaces alone (the book holds such names, though the program never
// makes one) is written in the escaped form, which reads back as such a name.
QString nameLine(const QString &plain, const QString &escapedMarker, const QString &name)
{
    return trimSpaces(name).isEmpty() ? escapedMarker : headingLine(plain, escapedMarker, name, false);
}

// An empty name is a mistake in the plain form; the escaped form says it on purpose.
QString nameProblem(const QString &name, bool escapedForm)
{
    if (name.isEmpty() && !escapedForm)
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
    return lines.mid(begin, end - begin).join(kLineEnd);
}

bool needsEscape(const QString &line)
{
    for (const QString *marker : {&kFamily, &kRecipe, &kImage, &kEscapedFamily, &kEscapedRecipe, &kEscapedImage,
                                  &kEscapedText}) {
        if (line.startsWith(*marker))
            return true;
    }
    return line.startsWith(kEscape);
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
    std::vector<bool> escapedLines;
    const auto flush = [&] {
        if (recipe)
            recipe->text = joinText(textLines, escapedLines);
        recipe = nullptr;
        textLines.clear();
        escapedLines.clear();
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
        const bool escapedFamily = line.startsWith(kEscapedFamily);
        const bool escapedRecipe = line.startsWith(kEscapedRecipe);
        const bool escapedImage = line.startsWith(kEscapedImage);
        QString why;
        if (escapedFamily || line.startsWith(kFamily)) {
            flush();
            Family f;
            f.line = lineNo;
            if (!headingValue(line, escapedFamily, true, f.name, why))
                f.problem = why;
            setProblem(f.problem, nameProblem(f.name, escapedFamily));
            if (!encodable)
                setProblem(f.problem, encodingProblem(line));
            source.families.push_back(std::move(f));
        } else if (escapedRecipe || line.startsWith(kRecipe)) {
            flush();
            Recipe r;
            r.line = lineNo;
            if (!headingValue(line, escapedRecipe, true, r.title, why))
                r.problem = why;
            setProblem(r.problem, nameProblem(r.title, escapedRecipe));
            if (!encodable)
                setProblem(r.problem, encodingProblem(line));
            if (source.families.empty()) {
                source.problems.push_back({lineNo, QStringLiteral("recette hors de toute famille")});
                continue;
            }
            source.families.back().recipes.push_back(std::move(r));
            recipe = &source.families.back().recipes.back();
        } else if (escapedImage || line.startsWith(kImage)) {
            if (!recipe) {
                source.problems.push_back({lineNo, QStringLiteral("image hors de toute recette")});
                continue;
            }
            QString path;
            if (!headingValue(line, escapedImage, false, path, why))
                setProblem(recipe->problem, QStringLiteral("ligne %1 : %2").arg(lineNo).arg(why));
            else if (path.isEmpty())
                setProblem(recipe->problem, QStringLiteral("ligne %1 : chemin d'image vide").arg(lineNo));
            else if (!recipe->imagePath.isEmpty())
                setProblem(recipe->problem, QStringLiteral("ligne %1 : deuxième image de la recette").arg(lineNo));
            else if (!encodable)
                setProblem(recipe->problem, QStringLiteral("ligne %1 : %2").arg(lineNo).arg(encodingProblem(line)));
            recipe->imagePath = path;
        } else if (recipe) {
            QString value;
            const bool escapedText = line.startsWith(kEscapedText);
            if (escapedText) {
                if (!unescaped(QStringView(line).mid(kEscapedText.size()), value, why))
                    setProblem(recipe->problem, QStringLiteral("ligne %1 : %2").arg(lineNo).arg(why));
            } else {
                value = line.startsWith(kEscape) ? line.mid(1) : line;
            }
            textLines << value;
            escapedLines.push_back(escapedText || line.startsWith(kEscape));
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
        out += nameLine(kFamily, kEscapedFamily, f.name) + u'\n';
        for (const Recipe &r : f.recipes) {
            out += nameLine(kRecipe, kEscapedRecipe, r.title) + u'\n';
            if (!r.imagePath.isEmpty())
                out += headingLine(kImage, kEscapedImage, r.imagePath, true) + u'\n';
            if (r.text.isEmpty())
                continue;
            const QStringList lines = r.text.split(kLineEnd);
            for (qsizetype i = 0; i < lines.size(); ++i) {
                const QString &line = lines[i];
                const bool atEnd = i == 0 || i == lines.size() - 1;
                if (needsEscapedForm(line, false))
                    out += kEscapedText + escaped(line);
                else if (needsEscape(line) || (atEnd && line.trimmed().isEmpty()))
                    out += kEscape + line;
                else
                    out += line;
                out += u'\n';
            }
        }
    }
    return out;
}

} // namespace gratinel::booksource
