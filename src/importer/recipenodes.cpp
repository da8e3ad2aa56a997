// Recipe nodes gathered and merged.
#include "importer/recipenodes.h"

#include "importer/limits.h"

#include <QHash>
#include <QJsonArray>

namespace gratinel::importer {

namespace {

bool isRecipe(const QJsonValue &type)
{
    const auto one = [](const QJsonValue &v) {
        return v.toString().section(u'/', -1).section(u':', -1).compare(QLatin1String("Recipe"), Qt::CaseInsensitive) == 0;
    };
    if (type.isArray()) {
        const QJsonArray a = type.toArray();
        return std::any_of(a.begin(), a.end(), one);
    }
    return one(type);
}

bool isEmptyValue(const QJsonValue &v)
{
    return v.isUndefined() || v.isNull() || (v.isString() && v.toString().trimmed().isEmpty())
           || (v.isArray() && v.toArray().isEmpty()) || (v.isObject() && v.toObject().isEmpty());
}

bool has(const QJsonObject &o, const char *key)
{
    return !isEmptyValue(o.value(QLatin1String(key)));
}

QString nameKey(const QJsonObject &o)
{
    const QJsonValue name = o.value(QLatin1String("name"));
    return name.isString() ? name.toString().simplified().toCaseFolded() : QString();
}

} // namespace

void RecipeNodes::add(const QJsonValue &value)
{
    collect(value, false, 0);
}

void RecipeNodes::collect(const QJsonValue &value, bool viaReview, int depth)
{
    if (depth > kMaxDepth)
        return;
    if (value.isArray()) {
        for (const QJsonValue &v : value.toArray())
            collect(v, viaReview, depth + 1);
        return;
    }
    if (!value.isObject())
        return;
    const QJsonObject o = value.toObject();
    // Photos given once in the graph and named elsewhere by their @id.
    if (const QString id = o.value(QLatin1String("@id")).toString(); !id.isEmpty()
        && (o.contains(QLatin1String("url")) || o.contains(QLatin1String("contentUrl"))) && images_.size() < kMaxRecipes)
        images_.insert(id, o);
    if (isRecipe(o.value(QLatin1String("@type")))) {
        if (int(nodes_.size()) < kMaxRecipes)
            nodes_.push_back({o, viaReview});
        else
            ++overflow_;
        return;
    }
    for (auto it = o.begin(); it != o.end(); ++it) {
        if (!it.value().isObject() && !it.value().isArray())
            continue;
        const bool review = viaReview || it.key() == QLatin1String("review") || it.key() == QLatin1String("reviews")
                            || it.key() == QLatin1String("itemReviewed");
        collect(it.value(), review, depth + 1);
    }
}

std::vector<RecipeNodes::Node> RecipeNodes::merged() const
{
    std::vector<Node> out;
    // Nodes with an @id merge by it; nodes without one by name, with each other only: two
    // recipes of the same name that the page tells apart by their @id stay two.
    QHash<QString, size_t> byId;
    QHash<QString, size_t> byName;
    for (const Node &n : nodes_) {
        const QString id = n.object.value(QLatin1String("@id")).toString().trimmed();
        const QString name = nameKey(n.object);
        size_t at = out.size();
        if (!id.isEmpty())
            at = byId.value(id, out.size());
        else if (!name.isEmpty())
            at = byName.value(name, out.size());
        if (at == out.size()) {
            out.push_back(n);
            if (!id.isEmpty())
                byId.insert(id, at);
            else if (!name.isEmpty())
                byName.insert(name, at);
            continue;
        }
        Node &into = out[at];
        for (auto it = n.object.begin(); it != n.object.end(); ++it)
            if (!has(into.object, it.key().toUtf8().constData()) && !isEmptyValue(it.value()))
                into.object.insert(it.key(), it.value());
        into.viaReview = into.viaReview && n.viaReview;
    }
    std::vector<Node> kept;
    for (const Node &n : out)
        if (has(n.object, "recipeIngredient") || has(n.object, "ingredients") || has(n.object, "recipeInstructions"))
            kept.push_back(n);
    const bool anyDirect = std::any_of(kept.begin(), kept.end(), [](const Node &n) { return !n.viaReview; });
    if (anyDirect)
        kept.erase(std::remove_if(kept.begin(), kept.end(), [](const Node &n) { return n.viaReview; }), kept.end());
    return kept;
}

std::vector<QJsonObject> RecipeNodes::recipes() const
{
    std::vector<QJsonObject> out;
    for (const Node &n : merged()) {
        QJsonObject o = n.object;
        // An image that only names an @id ("…/#primaryimage") is the ImageObject of that @id.
        const QJsonValue image = o.value(QLatin1String("image"));
        const QString ref = image.isObject() && !image.toObject().contains(QLatin1String("url"))
                                    && !image.toObject().contains(QLatin1String("contentUrl"))
                                ? image.toObject().value(QLatin1String("@id")).toString()
                                : image.toString();
        if (!ref.isEmpty() && images_.contains(ref))
            o.insert(QLatin1String("image"), images_.value(ref));
        else if (image.isObject() && !ref.isEmpty())
            o.remove(QLatin1String("image")); // never the page itself again
        out.push_back(o);
    }
    return out;
}

int RecipeNodes::found() const
{
    return int(merged().size()) + overflow_;
}

} // namespace gratinel::importer
