// Reading schema.org Recipe objects.
#include "importer/schemaorg.h"

#include "importer/htmlpage.h"
#include "importer/limits.h"

#include <QJsonArray>

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
    if (isType(o.value(QLatin1String("@type")), QLatin1StringView("Recipe"))) {
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
        return plainText(v.toString().left(kMaxFieldChars * 4));
    if (v.isDouble())
        return QString::number(v.toDouble());
    if (v.isObject()) {
        const QJsonObject o = v.toObject();
        for (const char *key : {"text", "name", "@value"})
            if (o.value(QLatin1String(key)).isString())
                return text(o.value(QLatin1String(key)));
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

QStringList texts(const QJsonValue &v)
{
    QStringList out;
    if (v.isArray()) {
        for (const QJsonValue &e : v.toArray()) {
            if (out.size() >= kMaxLines)
                break;
            if (const QString t = text(e); !t.isEmpty())
                out << t;
        }
    } else if (const QString t = text(v); !t.isEmpty()) {
        out << t;
    }
    return out;
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
        if (const QString u = imageOf(o.value(QLatin1String(key)), depth + 1); !u.isEmpty())
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
    const QJsonValue type = o.value(QLatin1String("@type"));
    if (isType(type, QLatin1StringView("HowToSection")) || o.contains(QLatin1String("itemListElement"))) {
        const QString name = isType(type, QLatin1StringView("HowToSection")) ? text(o.value(QLatin1String("name"))) : section;
        addSteps(o.value(QLatin1String("itemListElement")), name, steps, depth + 1);
        return;
    }
    QString t = text(o.value(QLatin1String("text")));
    if (t.isEmpty())
        t = text(o.value(QLatin1String("name")));
    if (t.isEmpty())
        t = text(o.value(QLatin1String("description")));
    if (!t.isEmpty())
        steps.push_back({section, t.split(u'\n').join(u' ')});
}

} // namespace

void collectRecipes(const QJsonValue &value, std::vector<QJsonObject> &out, int &found)
{
    collect(value, out, found, 0);
}

RecipeFields fieldsOf(const QJsonObject &r)
{
    RecipeFields f;
    const auto v = [&](const char *key) { return r.value(QLatin1String(key)); };
    f.name = text(v("name")).split(u'\n').join(u' ');
    if (f.name.isEmpty())
        f.name = text(v("headline")).split(u'\n').join(u' ');
    for (const QString &c : texts(v("recipeCategory")))
        for (const QString &part : c.split(u','))
            if (!part.trimmed().isEmpty())
                f.categories << part.trimmed();
    f.yield = firstText(v("recipeYield"));
    if (f.yield.isEmpty())
        f.yield = firstText(v("yield"));
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
    const QString url = firstText(v("url"));
    if (url.startsWith(QLatin1String("http://")) || url.startsWith(QLatin1String("https://")))
        f.url = url;
    return f;
}

} // namespace gratinel::importer
