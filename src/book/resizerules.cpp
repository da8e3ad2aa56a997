// The designed geometry of the recipe book and its resize rules, in twips.
#include "book/resizerules.h"

namespace gratinel {

namespace {

constexpr int kMargin = 120;
// Below a multi-line text box, the gap to the image frame.
constexpr int kTextGap = 20;

// One resize's assignments on the table; an assignment to a control that is not there,
// or a negative size, is skipped and the next one runs.
class Rules {
public:
    explicit Rules(LayoutTable &table) : t_(table) {}

    TwipsRect get(const QString &name) const
    {
        const auto it = t_.find(name);
        return it == t_.end() ? TwipsRect{} : it->second;
    }
    void left(const QString &name, int v)
    {
        if (TwipsRect *r = find(name))
            r->left = v;
    }
    void top(const QString &name, int v)
    {
        if (TwipsRect *r = find(name))
            r->top = v;
    }
    void width(const QString &name, int v)
    {
        if (TwipsRect *r = find(name); r && v >= 0)
            r->width = v;
    }
    void height(const QString &name, int v)
    {
        if (TwipsRect *r = find(name); r && v >= 0)
            r->height = v;
    }
    // The end point of a line is a position: applied even when negative.
    void x2(const QString &name, int v)
    {
        if (TwipsRect *r = find(name))
            r->width = v - r->left;
    }

private:
    TwipsRect *find(const QString &name)
    {
        const auto it = t_.find(name);
        return it == t_.end() ? nullptr : &it->second;
    }

    LayoutTable &t_;
};

// The add and modify pages share their rules, on their own controls.
struct EditPage {
    const char *buttons;
    const char *familyName;
    const char *line;
    const char *title;
    const char *familyList;
    const char *imageFrame;
    const char *imagePath;
    const char *text;
};

void stretchEditPage(Rules &r, const EditPage &p, int W, int H)
{
    const auto n = [](const char *s) { return QString::fromLatin1(s); };
    const QString buttons = n(p.buttons), imageFrame = n(p.imageFrame), text = n(p.text);

    r.left(buttons, W - (r.get(buttons).width + kMargin));
    r.width(n(p.familyName), W - (r.get(n(p.familyName)).left + kMargin));
    // The separator stops a margin before the buttons.
    r.x2(n(p.line), W - (2 * r.get(n(p.line)).left + r.get(buttons).width));
    r.width(n(p.title), W - (r.get(n(p.title)).left + kMargin));
    r.width(n(p.familyList), W - (r.get(n(p.familyList)).left + kMargin));
    r.top(imageFrame, H - (r.get(imageFrame).height + kMargin));
    r.width(imageFrame, W - (r.get(imageFrame).left + kMargin));
    r.width(n(p.imagePath), r.get(imageFrame).width - r.get(n(p.imagePath)).left);
    r.width(text, W - (r.get(text).left + kMargin));
    r.height(text, H - (r.get(text).top + r.get(imageFrame).height + kMargin + kTextGap));
}

} // namespace

LayoutTable designedLayout()
{
    LayoutTable t;
    const auto put = [&t](const QString &name, int left, int top, int width, int height) {
        t[name] = TwipsRect{left, top, width, height};
    };
    put(QStringLiteral("TabStrip1"), 0, 0, kDesignWidth, kDesignHeight);
    for (int i = 1; i <= 4; ++i)
        put(QStringLiteral("Frame1(%1)").arg(i), 0, 0, kDesignWidth, kDesignHeight);

    put(QStringLiteral("Picture1"), 120, 80, 1095, 1095);
    put(QStringLiteral("Label1(0)"), 1320, 0, 2655, 255);
    put(QStringLiteral("ComboFamilles"), 1320, 240, 1815, 315);
    put(QStringLiteral("Label1(1)"), 1320, 600, 2655, 255);
    put(QStringLiteral("ComboRecettes"), 1320, 840, 1815, 315);
    put(QStringLiteral("lblLaRecette"), 120, 1200, 1335, 255);
    put(QStringLiteral("txtRecette"), 120, 1440, 7455, 2055);

    // The three other pages share one grid: a caption on the left of each row, its input
    // from 2040 on the right.
    struct Page {
        const char *option0, *input0, *buttons, *line, *option1, *familyLabel, *family,
            *titleLabel, *title, *textLabel, *text;
        int option0Width, input0Width, buttonsLeft, buttonsWidth, option1Width, familyWidth,
            familyHeight, titleLabelTop, titleWidth;
    };
    const Page pages[] = {
        {"Option1(0)", "txtSaisieFamille", "FramecmdAjouter", "Line1(0)", "Option1(1)",
         "Label2(2)", "ComboFamillesAjouter", "Label2(0)", "txtSaisieNomRecette", "Label2(1)",
         "txtSaisieRecetteAjouter", 1935, 1935, 4080, 1335, 1215, 1935, 315, 1320, 3495},
        {"Option2(0)", "txtSaisieFamilleModifier", "FramecmdModifier", "Line1(1)", "Option2(1)",
         "Label2(3)", "ComboFamillesModifier", "Label2(4)", "txtSaisieNomRecetteModifier",
         "Label2(5)", "txtSaisieRecetteModifier", 1695, 1935, 6360, 1335, 1095, 2175, 315, 1335,
         3495},
        {"Option3(0)", "lblFamilleSupprimer", "FramecmdSupprimer", "Line1(2)", "Option3(1)",
         "Label2(8)", "lblFamilleRecetteSupprimer", "Label2(9)", "lblTitreRecetteSupprimer",
         "Label2(10)", "txtTexteRecetteSupprimer", 1815, 2175, 4080, 855, 1095, 2175, 285, 1320,
         2175},
    };
    for (const Page &p : pages) {
        const auto n = [](const char *s) { return QString::fromLatin1(s); };
        put(n(p.option0), 120, 120, p.option0Width, 375);
        put(n(p.input0), 2040, 160, p.input0Width, 285);
        put(n(p.buttons), p.buttonsLeft, 520, p.buttonsWidth, 375);
        put(n(p.line), 120, 690, 3960 - 120, 0);
        put(n(p.option1), 120, 720, p.option1Width, 255);
        put(n(p.familyLabel), 480, 1000, 975, 255);
        put(n(p.family), 2040, 960, p.familyWidth, p.familyHeight);
        put(n(p.titleLabel), 480, p.titleLabelTop, 975, 255);
        put(n(p.title), 2040, 1320, p.titleWidth, 285);
        put(n(p.textLabel), 480, 1680, 855, 255);
        put(n(p.text), 2040, 1680, 3495, 975);
    }

    // The buttons inside their frames.
    const char *buttonRows[][3] = {
        {"cmdValideAjouter", "cmdEffacerAjouter", "cmdAideAjouter"},
        {"cmdValideModifier", "cmdEffacerModifier", "cmdAideModifier"},
        {"cmdSupprimer", "cmdAideSupprimer", nullptr},
    };
    for (const auto &row : buttonRows) {
        for (int i = 0; i < 3 && row[i]; ++i)
            put(QString::fromLatin1(row[i]), 480 * i, 0, 375, 375);
    }

    // The image frames of the add and modify pages and what they hold.
    put(QStringLiteral("FrameImageAjouter"), 360, 3240, 5175, 375);
    put(QStringLiteral("FrameImageModifier"), 360, 3480, 4335, 375);
    put(QStringLiteral("Label2(6)"), 120, 80, 855, 255);
    put(QStringLiteral("Label2(7)"), 120, 80, 855, 255);
    put(QStringLiteral("cmdImageAjouter"), 1200, 0, 375, 375);
    put(QStringLiteral("cmdImageModifier"), 1200, 0, 375, 375);
    put(QStringLiteral("txtImageAjouter"), 1680, 40, 2295, 285);
    put(QStringLiteral("txtImageModifier"), 1680, 40, 2295, 285);
    return t;
}

LayoutTable resizedLayout(LayoutTable table, const LayoutInput &in)
{
    Rules r(table);
    const QString tabStrip = QStringLiteral("TabStrip1");
    r.height(tabStrip, in.innerHeight);
    r.width(tabStrip, in.innerWidth);
    for (int i = 1; i <= 4; ++i) {
        const QString frame = QStringLiteral("Frame1(%1)").arg(i);
        r.left(frame, in.client.left);
        r.top(frame, in.client.top);
        r.width(frame, in.client.width);
        r.height(frame, in.client.height);
    }

    const int W = in.client.width;
    const int H = in.client.height;

    // List page.
    for (const char *combo : {"ComboFamilles", "ComboRecettes"}) {
        const QString name = QString::fromLatin1(combo);
        r.width(name, W - (r.get(name).left + kMargin));
    }
    const QString text = QStringLiteral("txtRecette");
    r.width(text, W - 2 * r.get(text).left);
    r.height(text, H - (r.get(text).top + r.get(text).left));

    stretchEditPage(r,
                    {"FramecmdAjouter", "txtSaisieFamille", "Line1(0)", "txtSaisieNomRecette",
                     "ComboFamillesAjouter", "FrameImageAjouter", "txtImageAjouter",
                     "txtSaisieRecetteAjouter"},
                    W, H);
    stretchEditPage(r,
                    {"FramecmdModifier", "txtSaisieFamilleModifier", "Line1(1)",
                     "txtSaisieNomRecetteModifier", "ComboFamillesModifier", "FrameImageModifier",
                     "txtImageModifier", "txtSaisieRecetteModifier"},
                    W, H);

    // Delete page: no image frame, so its text reaches down to the bottom margin.
    const QString buttons = QStringLiteral("FramecmdSupprimer");
    const QString line = QStringLiteral("Line1(2)");
    r.left(buttons, W - (r.get(buttons).width + kMargin));
    r.x2(line, W - (2 * r.get(line).left + r.get(buttons).width));
    for (const char *input : {"lblFamilleSupprimer", "lblFamilleRecetteSupprimer",
                              "lblTitreRecetteSupprimer", "txtTexteRecetteSupprimer"}) {
        const QString name = QString::fromLatin1(input);
        r.width(name, W - (r.get(name).left + kMargin));
    }
    const QString deleteText = QStringLiteral("txtTexteRecetteSupprimer");
    r.height(deleteText, H - (r.get(deleteText).top + kMargin + kTextGap));
    return table;
}

} // namespace gratinel
