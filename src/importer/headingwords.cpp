// The words of recipe headings in the languages of the book's users, and the class names of
// recipe plug-ins.
#include "importer/headingwords.h"

#include "importer/htmlpage.h"

#include <QRegularExpression>

#include <cstring>

namespace gratinel::importer {

namespace {

// A heading's text as compared: lower case, no colon or spaces at the end, no article first.
QString labelKey(const QString &text)
{
    QString t = collapseSpaces(text).toLower();
    while (!t.isEmpty() && (t.endsWith(u':') || t.endsWith(u'：') || t.endsWith(u' ') || t.endsWith(u'.')))
        t.chop(1);
    for (const char *article : {"les ", "the ", "die ", "de ", "gli ", "i ", "los ", "las ", "os ", "as ", "le ", "la "})
        if (t.startsWith(QLatin1StringView(article)))
            return t.mid(qsizetype(std::strlen(article)));
    return t;
}

const QStringList &ingredientWords()
{
    static const QStringList words = {
        QStringLiteral("ingrédients"), QStringLiteral("ingredients"), QStringLiteral("ingrédient"), QStringLiteral("ingredient"),
        QStringLiteral("zutaten"), QStringLiteral("ingrediënten"), QStringLiteral("ingredienten"), QStringLiteral("ingredienti"),
        QStringLiteral("ingredientes"), QStringLiteral("ingredienser"), QStringLiteral("ainekset"), QStringLiteral("składniki"),
        QStringLiteral("suroviny"), QStringLiteral("přísady"), QStringLiteral("hozzávalók"), QStringLiteral("malzemeler"),
        QStringLiteral("sastojci"), QStringLiteral("ingrediente"), QStringLiteral("benodigdheden"),
        QStringLiteral("what you need"), QStringLiteral("you will need"), QStringLiteral("il vous faut")};
    return words;
}

const QStringList &stepWords()
{
    static const QStringList words = {
        QStringLiteral("préparation"), QStringLiteral("preparation"), QStringLiteral("instructions"), QStringLiteral("instruction"),
        QStringLiteral("method"), QStringLiteral("méthode"), QStringLiteral("directions"), QStringLiteral("zubereitung"),
        QStringLiteral("bereiding"), QStringLiteral("bereidingswijze"), QStringLiteral("werkwijze"), QStringLiteral("preparazione"),
        QStringLiteral("procedimento"), QStringLiteral("elaboración"), QStringLiteral("preparación"), QStringLiteral("modo de preparo"),
        QStringLiteral("modo de preparação"), QStringLiteral("étapes"), QStringLiteral("steps"), QStringLiteral("how to make it"),
        QStringLiteral("anleitung"), QStringLiteral("réalisation"), QStringLiteral("tilberedning"), QStringLiteral("fremgangsmåde"),
        QStringLiteral("tillagning"), QStringLiteral("gör så här"), QStringLiteral("valmistus"), QStringLiteral("przygotowanie"),
        QStringLiteral("postup"), QStringLiteral("příprava"), QStringLiteral("elkészítés"), QStringLiteral("hazırlanışı"),
        QStringLiteral("yapılışı"), QStringLiteral("mod de preparare"), QStringLiteral("priprema")};
    return words;
}

// Headings after which a recipe's steps are over.
const QStringList &endWords()
{
    static const QStringList words = {
        QStringLiteral("notes"), QStringLiteral("note"), QStringLiteral("conseils"), QStringLiteral("astuces"), QStringLiteral("tips"),
        QStringLiteral("nutrition"), QStringLiteral("commentaires"), QStringLiteral("comments"), QStringLiteral("kommentare"),
        QStringLiteral("tipps"), QStringLiteral("consigli"), QStringLiteral("consejos"), QStringLiteral("tags"),
        QStringLiteral("partager"), QStringLiteral("share"), QStringLiteral("à propos"), QStringLiteral("about")};
    return words;
}

} // namespace

HeadingRole headingRole(const QString &text, bool loose)
{
    if (text.size() > 80)
        return HeadingRole::None;
    const QString key = labelKey(text);
    if (key.isEmpty() || key.size() > 60)
        return HeadingRole::None;
    const auto startsWithWord = [&](const QStringList &words, QString *rest) {
        for (const QString &w : words) {
            if (key == w) {
                rest->clear();
                return true;
            }
            if (key.startsWith(w) && key.size() > w.size() && !key.at(w.size()).isLetterOrNumber()) {
                *rest = key.mid(w.size()).trimmed();
                return true;
            }
        }
        return false;
    };
    QString rest;
    if (startsWithWord(ingredientWords(), &rest)) {
        if (rest.isEmpty())
            return HeadingRole::Ingredients;
        // Only the people or dish it is for: "pour 4 personnes", "(6 parts)", "for the cake".
        static const QRegularExpression forWhom(QStringLiteral(
            "^(?:[(:\\-–—]|\\d|pour |for |für |per |para |voor |til |för |na |dla |do )"));
        return loose && forWhom.match(rest).hasMatch() ? HeadingRole::Ingredients : HeadingRole::None;
    }
    if (startsWithWord(stepWords(), &rest)) {
        // "Préparation : 15 min" is a time, not a heading.
        static const QRegularExpression digit(QStringLiteral("\\d"));
        if (rest.isEmpty() || (loose && !rest.contains(digit)))
            return HeadingRole::Steps;
        return HeadingRole::None;
    }
    if (loose && startsWithWord(endWords(), &rest) && rest.size() < 20)
        return HeadingRole::End;
    return HeadingRole::None;
}

HeadingRole containerRole(const QString &classes)
{
    static const QRegularExpression re(QStringLiteral(
        "^(?:[a-z-]*recipes?[a-z-]*?-?|wprm-|tasty-|mv-create-|ers|cooked-)?"
        "(ingredients|instructions|directions|method|steps|preparation)"
        "(?:-?(?:list|container|section|wrap|wrapper|box|body|group))?$"));
    for (const QString &token : classes.toLower().split(u' ', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch m = re.match(token);
        if (m.hasMatch())
            return m.captured(1) == QLatin1String("ingredients") ? HeadingRole::Ingredients : HeadingRole::Steps;
    }
    return HeadingRole::None;
}

bool isPluginTitle(const QString &classes)
{
    static const QRegularExpression re(QStringLiteral(
        "^(?:[a-z-]*recipes?-(?:name|title)|mv-create-title|zlrecipe-title|ersname|recipe-card-title)$"));
    for (const QString &token : classes.toLower().split(u' ', Qt::SkipEmptyParts))
        if (re.match(token).hasMatch())
            return true;
    return false;
}

} // namespace gratinel::importer
