// Geometry of the recipe book: the designed places fitted to the font, and the stretching
// at each resize, applied to the controls by their names.
#include "book/frmrecettes.h"

#include "book/fittedlayout.h"
#include "book/limitedtextedit.h"
#include "book/recordcombo.h"
#include "book/tabstrip.h"
#include "store/module1.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QtMath>

namespace gratinel {

namespace {

bool isLine(const QString &name) { return name.startsWith(QLatin1String("Line")); }

} // namespace

double frmRecettes::twipsPerPixel() const
{
    const int dpi = logicalDpiX();
    return dpi > 0 ? 1440.0 / dpi : 15.0;
}

QRect frmRecettes::pixelRect(const QString &name, const TwipsRect &r) const
{
    const double t = twipsPerPixel();
    const auto px = [t](int twips) { return qRound(twips / t); };
    if (isLine(name)) {
        // A line from X1 to X2, one pixel high, whichever way it runs.
        const int x1 = px(r.left), x2 = px(r.right());
        return QRect(qMin(x1, x2), px(r.top), qAbs(x2 - x1) + 1, 1);
    }
    return QRect(px(r.left), px(r.top), px(r.width), px(r.height));
}

QWidget *frmRecettes::laidOutControl(const QString &name) const
{
    if (name == QLatin1String("TabStrip1"))
        return TabStrip1;
    return findChild<QWidget *>(name);
}

ContentNeeds frmRecettes::contentNeeds() const
{
    const double t = twipsPerPixel();
    const auto twips = [t](int pixels) { return qCeil(pixels * t); };
    ContentNeeds needs;
    for (const auto &[name, rect] : layout_) {
        QWidget *w = laidOutControl(name);
        if (!w)
            continue;
        const QSize hint = w->sizeHint();
        if (qobject_cast<QLineEdit *>(w) || qobject_cast<QComboBox *>(w)) {
            // The width is the layout's; a text line needs its whole height.
            needs[name] = {0, twips(hint.height())};
        } else if (auto *label = qobject_cast<QLabel *>(w); label && label->pixmap().isNull()) {
            // Captions need their text; the boxed values of the delete page get their width
            // from the layout and only need the height of a line.
            const bool boxed = label->frameShape() != QFrame::NoFrame;
            needs[name] = {boxed ? 0 : twips(hint.width()), twips(hint.height())};
        } else if (auto *button = qobject_cast<QAbstractButton *>(w); button && !button->text().isEmpty()) {
            needs[name] = {twips(hint.width()), twips(hint.height())};
        }
    }
    return needs;
}

void frmRecettes::applyLayout()
{
    for (const auto &[name, rect] : layout_) {
        if (QWidget *w = laidOutControl(name))
            w->setGeometry(pixelRect(name, rect));
    }
}

void frmRecettes::setTabOrders()
{
    // Tab runs from the tabs through each page top to bottom, left to right: a row's
    // option, then its input; the page's buttons sit on the band below the first row.
    // Hidden pages and disabled controls are passed over by Qt itself.
    const QList<QWidget *> chain = {
        TabStrip1->bar(),
        ComboFamilles, ComboRecettes, txtRecette,
        Option1[0], txtSaisieFamille, cmdValideAjouter, cmdEffacerAjouter, cmdAideAjouter,
        Option1[1], ComboFamillesAjouter, txtSaisieNomRecette, txtSaisieRecetteAjouter,
        cmdImageAjouter, txtImageAjouter,
        Option2[0], txtSaisieFamilleModifier, cmdValideModifier, cmdEffacerModifier, cmdAideModifier,
        Option2[1], ComboFamillesModifier, txtSaisieNomRecetteModifier, txtSaisieRecetteModifier,
        cmdImageModifier, txtImageModifier,
        Option3[0], cmdSupprimer, cmdAideSupprimer, Option3[1], txtTexteRecetteSupprimer,
    };
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

void frmRecettes::layOutAtCreation()
{
    const double t = twipsPerPixel();
    resize(qRound(kDesignWidth / t), qRound(kDesignHeight / t));
    layout_ = designedLayout();
    layout_ = fittedLayout(layout_, contentNeeds());
    applyLayout();
    setTabOrders();

    // Below this size a control would leave its page: the frame's area scrolls instead.
    TabStrip1->setGeometry(rect());
    const QRect client = TabStrip1->clientRect();
    const TwipsSize least = leastClientSize(layout_);
    setMinimumSize(qCeil(least.width / t) + width() - client.width(),
                   qCeil(least.height / t) + height() - client.height());
}

void frmRecettes::Form_Resize()
{
    if (isMinimizedInFrame()) {
        DisableBookCommands();
        m_.platform.setPointer(Platform::Pointer::Normal);
        return;
    }

    // The tab strip first: its client area follows from its size.
    TabStrip1->setGeometry(0, 0, width(), height());
    const QRect client = TabStrip1->clientRect();
    const double t = twipsPerPixel();
    const auto twips = [t](int pixels) { return qRound(pixels * t); };
    const LayoutInput in{twips(width()), twips(height()),
                         TwipsRect{twips(client.left()), twips(client.top()), twips(client.width()),
                                   twips(client.height())}};
    layout_ = resizedLayout(layout_, in);
    applyLayout();

    m_.platform.setPointer(Platform::Pointer::Normal);
}

} // namespace gratinel
