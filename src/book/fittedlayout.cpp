// Fitting the designed grid to the font: wider captions, taller inputs, rows kept apart.
#include "book/fittedlayout.h"

#include <QStringList>

#include <algorithm>
#include <vector>

namespace gratinel {

namespace {

using Rows = std::vector<QStringList>;

// Each page's controls by rows, top to bottom, in the page frame's coordinates.
std::vector<Rows> pageRows()
{
    const auto edit = [](const QString &option0, const QString &input0, const QString &buttons,
                         const QString &line, const QString &option1, const QString &familyLabel,
                         const QString &family, const QString &titleLabel, const QString &title,
                         const QString &textLabel, const QString &text) {
        return Rows{{option0, input0}, {buttons},           {line},           {option1},
                    {familyLabel, family}, {titleLabel, title}, {textLabel, text}};
    };
    return {
        {{QStringLiteral("Picture1"), QStringLiteral("Label1(0)")},
         {QStringLiteral("ComboFamilles")},
         {QStringLiteral("Label1(1)")},
         {QStringLiteral("ComboRecettes")},
         {QStringLiteral("lblLaRecette")},
         {QStringLiteral("txtRecette")}},
        edit(QStringLiteral("Option1(0)"), QStringLiteral("txtSaisieFamille"),
             QStringLiteral("FramecmdAjouter"), QStringLiteral("Line1(0)"),
             QStringLiteral("Option1(1)"), QStringLiteral("Label2(2)"),
             QStringLiteral("ComboFamillesAjouter"), QStringLiteral("Label2(0)"),
             QStringLiteral("txtSaisieNomRecette"), QStringLiteral("Label2(1)"),
             QStringLiteral("txtSaisieRecetteAjouter")),
        edit(QStringLiteral("Option2(0)"), QStringLiteral("txtSaisieFamilleModifier"),
             QStringLiteral("FramecmdModifier"), QStringLiteral("Line1(1)"),
             QStringLiteral("Option2(1)"), QStringLiteral("Label2(3)"),
             QStringLiteral("ComboFamillesModifier"), QStringLiteral("Label2(4)"),
             QStringLiteral("txtSaisieNomRecetteModifier"), QStringLiteral("Label2(5)"),
             QStringLiteral("txtSaisieRecetteModifier")),
        edit(QStringLiteral("Option3(0)"), QStringLiteral("lblFamilleSupprimer"),
             QStringLiteral("FramecmdSupprimer"), QStringLiteral("Line1(2)"),
             QStringLiteral("Option3(1)"), QStringLiteral("Label2(8)"),
             QStringLiteral("lblFamilleRecetteSupprimer"), QStringLiteral("Label2(9)"),
             QStringLiteral("lblTitreRecetteSupprimer"), QStringLiteral("Label2(10)"),
             QStringLiteral("txtTexteRecetteSupprimer")),
        // Inside the image frames.
        {{QStringLiteral("Label2(6)"), QStringLiteral("cmdImageAjouter"),
          QStringLiteral("txtImageAjouter")}},
        {{QStringLiteral("Label2(7)"), QStringLiteral("cmdImageModifier"),
          QStringLiteral("txtImageModifier")}},
    };
}

// Captions on the left of the add, modify and delete pages' rows.
const QStringList &leftCaptions()
{
    static const QStringList names = {
        QStringLiteral("Option1(0)"), QStringLiteral("Option1(1)"), QStringLiteral("Label2(2)"),
        QStringLiteral("Label2(0)"),  QStringLiteral("Label2(1)"),  QStringLiteral("Option2(0)"),
        QStringLiteral("Option2(1)"), QStringLiteral("Label2(3)"),  QStringLiteral("Label2(4)"),
        QStringLiteral("Label2(5)"),  QStringLiteral("Option3(0)"), QStringLiteral("Option3(1)"),
        QStringLiteral("Label2(8)"),  QStringLiteral("Label2(9)"),  QStringLiteral("Label2(10)"),
    };
    return names;
}

// Inputs of the column, and the controls inside the image frames that line up with it.
const QStringList &columnInputs()
{
    static const QStringList names = {
        QStringLiteral("txtSaisieFamille"),
        QStringLiteral("ComboFamillesAjouter"),
        QStringLiteral("txtSaisieNomRecette"),
        QStringLiteral("txtSaisieRecetteAjouter"),
        QStringLiteral("txtSaisieFamilleModifier"),
        QStringLiteral("ComboFamillesModifier"),
        QStringLiteral("txtSaisieNomRecetteModifier"),
        QStringLiteral("txtSaisieRecetteModifier"),
        QStringLiteral("lblFamilleSupprimer"),
        QStringLiteral("lblFamilleRecetteSupprimer"),
        QStringLiteral("lblTitreRecetteSupprimer"),
        QStringLiteral("txtTexteRecetteSupprimer"),
    };
    return names;
}

const QStringList &imageFrameControls()
{
    static const QStringList names = {
        QStringLiteral("cmdImageAjouter"), QStringLiteral("txtImageAjouter"),
        QStringLiteral("cmdImageModifier"), QStringLiteral("txtImageModifier")};
    return names;
}

bool isLine(const QString &name) { return name.startsWith(QLatin1String("Line")); }

// Horizontal extent of a control; a line's width may run leftwards.
std::pair<int, int> span(const QString &name, const TwipsRect &r)
{
    if (isLine(name))
        return {std::min(r.left, r.right()), std::max(r.left, r.right())};
    return {r.left, r.right()};
}

void moveColumn(LayoutTable &t, const ContentNeeds &needs)
{
    // Where the captions' texts end: a caption's box may be wider than what it shows.
    int widest = 0;
    for (const QString &name : leftCaptions()) {
        const auto it = t.find(name);
        const auto need = needs.find(name);
        if (it != t.end() && need != needs.end())
            widest = std::max(widest, it->second.left + need->second.width);
    }
    const int shift = std::max(kDesignInputLeft, widest + kCaptionGap) - kDesignInputLeft;
    if (shift == 0)
        return;
    for (const QString &name : columnInputs()) {
        if (const auto it = t.find(name); it != t.end()) {
            it->second.left += shift;
            it->second.width = std::max(0, it->second.width - shift);
        }
    }
    for (const QString &name : imageFrameControls()) {
        if (const auto it = t.find(name); it != t.end())
            it->second.left += shift;
    }
}

// Bottom of what a control shows: a caption taller than its text only shows the text.
int contentBottom(const QString &name, const TwipsRect &r, const ContentNeeds &needs)
{
    const auto it = needs.find(name);
    if (it == needs.end() || it->second.height <= 0)
        return r.bottom();
    return r.top + std::min(r.height, it->second.height);
}

void separateRows(LayoutTable &t, const Rows &rows, const ContentNeeds &needs)
{
    for (size_t i = 1; i < rows.size(); ++i) {
        int push = 0;
        for (const QString &name : rows[i]) {
            const auto c = t.find(name);
            if (c == t.end())
                continue;
            const auto [cl, cr] = span(name, c->second);
            for (size_t j = 0; j < i; ++j) {
                for (const QString &above : rows[j]) {
                    const auto p = t.find(above);
                    if (p == t.end())
                        continue;
                    const auto [pl, pr] = span(above, p->second);
                    if (pl < cr && cl < pr)
                        push = std::max(push, contentBottom(above, p->second, needs) - c->second.top);
                }
            }
        }
        if (push <= 0)
            continue;
        for (size_t k = i; k < rows.size(); ++k) {
            for (const QString &name : rows[k]) {
                if (const auto it = t.find(name); it != t.end())
                    it->second.top += push;
            }
        }
    }
}

// The frame a control sits in, when not directly on its page.
QString holderOf(const QString &name)
{
    static const std::map<QString, QString> holders = {
        {QStringLiteral("Label2(6)"), QStringLiteral("FrameImageAjouter")},
        {QStringLiteral("cmdImageAjouter"), QStringLiteral("FrameImageAjouter")},
        {QStringLiteral("txtImageAjouter"), QStringLiteral("FrameImageAjouter")},
        {QStringLiteral("Label2(7)"), QStringLiteral("FrameImageModifier")},
        {QStringLiteral("cmdImageModifier"), QStringLiteral("FrameImageModifier")},
        {QStringLiteral("txtImageModifier"), QStringLiteral("FrameImageModifier")},
        {QStringLiteral("cmdValideAjouter"), QStringLiteral("FramecmdAjouter")},
        {QStringLiteral("cmdEffacerAjouter"), QStringLiteral("FramecmdAjouter")},
        {QStringLiteral("cmdAideAjouter"), QStringLiteral("FramecmdAjouter")},
        {QStringLiteral("cmdValideModifier"), QStringLiteral("FramecmdModifier")},
        {QStringLiteral("cmdEffacerModifier"), QStringLiteral("FramecmdModifier")},
        {QStringLiteral("cmdAideModifier"), QStringLiteral("FramecmdModifier")},
        {QStringLiteral("cmdSupprimer"), QStringLiteral("FramecmdSupprimer")},
        {QStringLiteral("cmdAideSupprimer"), QStringLiteral("FramecmdSupprimer")},
    };
    const auto it = holders.find(name);
    return it == holders.end() ? QString() : it->second;
}

bool isStretchedInput(const QString &name)
{
    return columnInputs().contains(name) || name == u"ComboFamilles" || name == u"ComboRecettes"
        || name == u"txtRecette" || name == u"txtImageAjouter" || name == u"txtImageModifier";
}

bool isTextBox(const QString &name)
{
    return name == u"txtRecette" || name == u"txtSaisieRecetteAjouter"
        || name == u"txtSaisieRecetteModifier" || name == u"txtTexteRecetteSupprimer";
}

// Whether the pages, laid out for a client area of W x H, show every control whole.
bool showsAll(const LayoutTable &fitted, int W, int H)
{
    const LayoutTable t = resizedLayout(fitted, LayoutInput{W, H, TwipsRect{0, 0, W, H}});
    for (const auto &[name, r] : t) {
        if (isLine(name) || name == u"TabStrip1" || name.startsWith(QLatin1String("Frame1(")))
            continue;
        const QString holder = holderOf(name);
        const auto h = holder.isEmpty() ? t.end() : t.find(holder);
        const int right = h == t.end() ? W - kCaptionGap : h->second.width;
        const int bottom = h == t.end() ? H - kCaptionGap : h->second.height;
        if (r.left < 0 || r.top < 0 || r.right() > right || r.bottom() > bottom)
            return false;
        if (isStretchedInput(name) && r.width < kLeastInputWidth)
            return false;
        if (isTextBox(name) && r.height < kLeastTextHeight)
            return false;
    }
    return true;
}

// The least value from which fits holds, by halving, between 0 and a value where it holds.
template <typename Fits>
int leastFitting(Fits fits)
{
    int high = 1 << 16;
    if (!fits(high))
        return high;
    int low = 0;
    while (high - low > 1) {
        const int mid = (low + high) / 2;
        (fits(mid) ? high : low) = mid;
    }
    return high;
}

} // namespace

TwipsSize leastClientSize(const LayoutTable &fitted)
{
    constexpr int kRoomy = 1 << 16;
    const int width = leastFitting([&](int W) { return showsAll(fitted, W, kRoomy); });
    const int height = leastFitting([&](int H) { return showsAll(fitted, width, H); });
    return {width, height};
}

LayoutTable fittedLayout(LayoutTable table, const ContentNeeds &needs)
{
    for (const auto &[name, need] : needs) {
        const auto it = table.find(name);
        if (it == table.end() || isLine(name))
            continue;
        it->second.width = std::max(it->second.width, need.width);
        it->second.height = std::max(it->second.height, need.height);
    }
    moveColumn(table, needs);
    for (const Rows &rows : pageRows())
        separateRows(table, rows, needs);
    return table;
}

int inputColumn(const LayoutTable &table)
{
    const auto it = table.find(QStringLiteral("txtSaisieFamille"));
    return it == table.end() ? kDesignInputLeft : it->second.left;
}

} // namespace gratinel
