// Reading schema.org Recipe objects.
#include "importer/schemaorg.h"

#include "importer/htmlpage.h"
#include "importer/limits.h"

#include <QJsonArray>
#include <QRegularExpression>

namespace gratinel::importer {

namespace {

bool isType(const QJsonValue &type, QLatin1StringView wanted)
{
    const auto one = [&](const QJsonValue &v) {
        const QString t = v.toString();
        return t.section(u'/', -1).section(u':', -1).compare(wanted, Qt::CaseInsensitive) == 0;
    };
    if (type.isArray()) {
        const QJsonArray a = type.toArray();
        return std::any_of(a.begin(), a.end(), one);
    }
    return one(type);
}

// The value under key, or under the same key in another case ("Name", "RecipeYield").
QJsonValue field(const QJsonObject &o, QLatin1StringView key)
{
    if (const auto it = o.constFind(key); it != o.constEnd())
        return it.value();
    for (auto it = o.constBegin(); it != o.constEnd(); ++it)
        if (it.key().compare(key, Qt::CaseInsensitive) == 0)
            return it.value();
    return QJsonValue(QJsonValue::Undefined);
}

QJsonValue field(const QJsonObject &o, const char *key)
{
    return field(o, QLatin1StringView(key));
}

// A character reference left in the text after one decoding ("&amp;amp;" gives "&amp;").
bool hasReference(const QString &t)
{
    static const QRegularExpression re(QStringLiteral("&(?:#\\d{1,7}|#[xX][0-9a-fA-F]{1,6}|[a-zA-Z][a-zA-Z0-9]{1,31});"));
    return t.contains(u'&') && re.match(t).hasMatch();
}

// Text of a JSON string: tags removed, character references decoded until none is left
// (sites encode twice or three times).
QString decoded(const QString &raw)
{
    QString t = plainText(raw.left(kMaxFieldChars * 4));
    for (int round = 0; round < 4 && hasReference(t); ++round)
        t = plainText(t);
    return t;
}

void collect(const QJsonValue &value, std::vector<QJsonObject> &out, int &found, int depth)
{
    if (depth > kMaxDepth)
        return;
    if (value.isArray()) {
        for (const QJsonValue &v : value.toArray())
            collect(v, out, found, depth + 1);
        return;
    }
    if (!value.isObject())
        return;
    const QJsonObject o = value.toObject();
    if (isType(field(o, "@type"), QLatin1StringView("Recipe"))) {
        ++found;
        if (int(out.size()) < kMaxRecipes)
            out.push_back(o);
        return;
    }
    for (auto it = o.begin(); it != o.end(); ++it)
        if (it.value().isObject() || it.value().isArray())
            collect(it.value(), out, found, depth + 1);
}

QString text(const QJsonValue &v)
{
    if (v.isString())
        return decoded(v.toString());
    if (v.isDouble())
        return QString::number(v.toDouble());
    if (v.isObject()) {
        const QJsonObject o = v.toObject();
        for (const char *key : {"text", "name", "@value"})
            if (field(o, key).isString())
                return text(field(o, key));
    }
    return {};
}

// A single text, or the first of a list.
QString firstText(const QJsonValue &v)
{
    if (v.isArray()) {
        for (const QJsonValue &e : v.toArray())
            if (const QString t = text(e); !t.isEmpty())
                return t;
        return {};
    }
    return text(v);
}

// The texts of a value, lists in lists flattened.
void addTexts(const QJsonValue &v, QStringList &out, int depth)
{
    if (depth > kMaxDepth || out.size() >= kMaxLines)
        return;
    if (v.isArray()) {
        for (const QJsonValue &e : v.toArray())
            addTexts(e, out, depth + 1);
    } else if (const QString t = text(v); !t.isEmpty()) {
        out << t;
    }
}

QStringList texts(const QJsonValue &v)
{
    QStringList out;
    addTexts(v, out, 0);
    return out;
}

// The yield: of a list, the first entry that says more than a number ("2 cups" before "2");
// a QuantitativeValue as its value and unit ("IE", each, says nothing).
QString yieldOf(const QJsonValue &v)
{
    if (v.isObject()) {
        const QJsonObject o = v.toObject();
        const QString value = text(field(o, "value"));
        if (!value.isEmpty()) {
            QString unit = text(field(o, "unitText"));
            if (unit.isEmpty() && text(field(o, "unitCode")).compare(QLatin1String("IE"), Qt::CaseInsensitive) != 0)
                unit = text(field(o, "unitCode"));
            return unit.isEmpty() ? value : value + u' ' + unit;
        }
        return text(v);
    }
    if (!v.isArray())
        return text(v);
    static const QRegularExpression bare(QStringLiteral("^\\s*\\d+(?:[.,]\\d+)?\\s*$"));
    QString first;
    for (const QJsonValue &e : v.toArray()) {
        const QString t = yieldOf(e);
        if (t.trimmed().isEmpty())
            continue;
        if (!bare.match(t).hasMatch())
            return t;
        if (first.isEmpty())
            first = t;
    }
    return first;
}

// "Step 1", "Étape 2": a step name that says nothing of its own.
bool isNumberedName(const QString &name)
{
    static const QRegularExpression re(
        QStringLiteral("^(?:step|[ée]tape|schritt|paso|passo|passaggio|stap|krok|adım|lépés|pas)?\\s*\\d+\\s*[.:)]?$"),
        QRegularExpression::CaseInsensitiveOption);
    return re.match(name.trimmed()).hasMatch();
}

// Letters and digits only, in lower case: what two texts are compared on.
QString core(const QString &t)
{
    QString out;
    for (const QChar c : t)
        if (c.isLetterOrNumber())
            out += c.toLower();
    return out;
}

// A step's text, with its name before it when the name says more than the text's start
// ("Préparation de la rhubarbe : Éplucher...").
QString stepText(const QString &name, const QString &body)
{
    if (body.isEmpty())
        return name;
    QString n = name.trimmed();
    while (n.endsWith(u'…') || n.endsWith(u'.') || n.endsWith(u':'))
        n.chop(1);
    if (n.isEmpty() || isNumberedName(n) || core(body).startsWith(core(n)) || core(n).startsWith(core(body)))
        return body;
    return n.trimmed() + QStringLiteral(" : ") + body;
}

QString imageOf(const QJsonValue &v, int depth = 0)
{
    if (depth > 4)
        return {};
    if (v.isString())
        return v.toString().trimmed();
    if (v.isArray()) {
        for (const QJsonValue &e : v.toArray())
            if (const QString u = imageOf(e, depth + 1); !u.isEmpty())
                return u;
        return {};
    }
    const QJsonObject o = v.toObject();
    for (const char *key : {"url", "contentUrl", "@id"})
        if (const QString u = imageOf(field(o, key), depth + 1); !u.isEmpty())
            return u;
    return {};
}

void addSteps(const QJsonValue &v, const QString &section, std::vector<RecipeFields::Step> &steps, int depth)
{
    if (depth > kMaxDepth || int(steps.size()) >= kMaxLines)
        return;
    if (v.isString()) {
        // Plain text: one step per line.
        for (const QString &line : plainText(v.toString().left(kMaxFieldChars * 4)).split(u'\n'))
            if (!line.trimmed().isEmpty() && int(steps.size()) < kMaxLines)
                steps.push_back({section, line});
        return;
    }
    if (v.isArray()) {
        for (const QJsonValue &e : v.toArray())
            addSteps(e, section, steps, depth + 1);
        return;
    }
    if (!v.isObject())
        return;
    const QJsonObject o = v.toObject();
    const QJsonValue type = field(o, "@type");
    const QJsonValue elements = field(o, "itemListElement");
    if (isType(type, QLatin1StringView("HowToSection")) || !elements.isUndefined()) {
        QString name = section;
        if (isType(type, QLatin1StringView("HowToSection")))
            if (const QString own = text(field(o, "name")).split(u'\n').join(u' '); !own.isEmpty())
                name = own;
        addSteps(elements.isUndefined() ? field(o, "steps") : elements, name, steps, depth + 1);
        return;
    }
    QString t = text(field(o, "text"));
    if (t.isEmpty())
        t = text(field(o, "description"));
    t = stepText(text(field(o, "name")).split(u'\n').join(u' '), t.split(u'\n').join(u' '));
    if (!t.isEmpty())
        steps.push_back({section, t});
}

} // namespace

void describedNonRecipes(const QJsonValue &value, NonRecipes &out, int depth)
{
    if (depth > 3)
        return;
    if (value.isArray()) {
        for (const QJsonValue &v : value.toArray())
            describedNonRecipes(v, out, depth + 1);
        return;
    }
    const QJsonObject o = value.toObject();
    const QJsonValue type = field(o, QLatin1StringView("@type"));
    for (const char *t : {"Product", "ProductGroup", "Offer", "AggregateOffer"})
        if (isType(type, QLatin1StringView(t)) && out.products.size() < 100)
            out.products << text(field(o, "name")).simplified();
    for (const char *t : {"ItemList", "CollectionPage", "SearchResultsPage"})
        out.list = out.list || isType(type, QLatin1StringView(t));
    describedNonRecipes(field(o, QLatin1StringView("@graph")), out, depth + 1);
    describedNonRecipes(field(o, QLatin1StringView("mainEntity")), out, depth + 1);
}

void collectRecipes(const QJsonValue &value, std::vector<QJsonObject> &out, int &found)
{
    collect(value, out, found, 0);
}

RecipeFields fieldsOf(const QJsonObject &r)
{
    RecipeFields f;
    const auto v = [&](const char *key) { return field(r, key); };
    f.name = text(v("name")).split(u'\n').join(u' ');
    if (f.name.isEmpty())
        f.name = text(v("headline")).split(u'\n').join(u' ');
    for (const QString &c : texts(v("recipeCategory")))
        for (const QString &part : c.split(u','))
            if (!part.trimmed().isEmpty())
                f.categories << part.trimmed();
    f.yield = yieldOf(v("recipeYield"));
    if (f.yield.isEmpty())
        f.yield = yieldOf(v("yield"));
    f.prepTime = firstText(v("prepTime"));
    f.cookTime = firstText(v("cookTime"));
    f.totalTime = firstText(v("totalTime"));
    // An ingredient given as one text with line breaks is one per line.
    for (const QString &i : texts(r.contains(QLatin1String("recipeIngredient")) ? v("recipeIngredient") : v("ingredients")))
        for (const QString &line : i.split(u'\n', Qt::SkipEmptyParts))
            if (f.ingredients.size() < size_t(kMaxLines))
                f.ingredients.push_back({line});
    addSteps(v("recipeInstructions"), QString(), f.steps, 0);
    f.image = imageOf(v("image"));
    // An address is never decoded as HTML: "&section=2" is no "§ion=2".
    const QJsonValue urlValue = v("url").isArray() ? v("url").toArray().at(0) : v("url");
    const QString url = urlValue.toString().trimmed();
    if (url.startsWith(QLatin1String("http://")) || url.startsWith(QLatin1String("https://")))
        f.url = url;
    return f;
}

} // namespace gratinel::importer
