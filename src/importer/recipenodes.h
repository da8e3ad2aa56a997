// The Recipe nodes of one source, the nodes of the same recipe merged into one.
#pragma once

#include <QHash>
#include <QJsonObject>
#include <QJsonValue>

#include <vector>

namespace gratinel::importer {

// Gathers the schema.org Recipe nodes of every script of a page (or of a JSON file, or of its
// microdata items). A page often gives one recipe several times: in full and as a stub under a
// review's itemReviewed, or in a second script with the same @id that only adds a rating.
class RecipeNodes {
public:
    // Adds the Recipe nodes found in value, up to kMaxDepth levels down; past kMaxRecipes nodes
    // they are only counted.
    void add(const QJsonValue &value);

    // The recipes, in the order their first node came: nodes with the same @id merged, and nodes
    // without @id with the same name (each field from the first node that has it); a node
    // reached only through a review dropped when another recipe is there; a recipe with neither
    // ingredients nor instructions dropped. At most kMaxRecipes. An image given as an @id becomes the object of that @id, or
    // none when the source has no such object.
    std::vector<QJsonObject> recipes() const;

    // How many recipes the source holds: recipes().size(), with the nodes past the limit.
    int found() const;

private:
    struct Node {
        QJsonObject object;
        bool viaReview;
    };
    void collect(const QJsonValue &value, bool viaReview, int depth);
    std::vector<Node> merged() const;

    std::vector<Node> nodes_;
    QHash<QString, QJsonObject> images_; // objects with an @id and an address, by @id
    int overflow_ = 0;
};

} // namespace gratinel::importer
