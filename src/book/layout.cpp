// Geometry of the recipe book: the designed positions, and the stretching at each resize.
#include "book/frmrecettes.h"

#include "book/recordcombo.h"
#include "book/tabstrip.h"
#include "book/twips.h"
#include "store/module1.h"

#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>

namespace gratinel {

namespace {

// Designed inner area of the window.
constexpr int kDesignWidth = 8145;
constexpr int kDesignHeight = 4965;
constexpr int kMargin = 120;
constexpr int kInputLeft = 2040;

// Sets a width or height only when it is not negative: a window too small for a
// control leaves it as it was.
void setWidthTwips(QWidget *w, int width)
{
    if (width >= 0)
        w->resize(px(width), w->height());
}

void setHeightTwips(QWidget *w, int height)
{
    if (height >= 0)
        w->resize(w->width(), px(height));
}

} // namespace

void frmRecettes::layOutAtCreation()
{
    resize(px(kDesignWidth), px(kDesignHeight));
    place(Picture1, 120, 80, 1095, 1095);
    place(Label1[0], 1320, 0, 2655, 255);
    place(ComboFamilles, 1320, 240, 1815, 315);
    place(Label1[1], 1320, 600, 2655, 255);
    place(ComboRecettes, 1320, 840, 1815, 315);
    place(lblLaRecette, 120, 1200, 1335, 255);
    place(txtRecette, 120, 1440, 7455, 2055);
    place(ComboFamillesAjouter, kInputLeft, 960, 1935, 315);
    place(ComboFamillesModifier, kInputLeft, 960, 2175, 315);
}

void frmRecettes::Form_Resize()
{
    if (isMinimizedInFrame()) {
        DisableBookCommands();
        m_.platform.setPointer(Platform::Pointer::Normal);
        return;
    }

    TabStrip1->setGeometry(0, 0, width(), height());
    const QRect client = TabStrip1->clientRect();
    for (int i = 1; i <= 4; ++i)
        Frame1[i]->setGeometry(client);

    const int W = twips(client.width());
    const int H = twips(client.height());

    setWidthTwips(ComboFamilles, W - (1320 + kMargin));
    setWidthTwips(ComboRecettes, W - (1320 + kMargin));
    setWidthTwips(txtRecette, W - 2 * kMargin);
    setHeightTwips(txtRecette, H - (1440 + kMargin));
    setWidthTwips(ComboFamillesAjouter, W - (kInputLeft + kMargin));
    setWidthTwips(ComboFamillesModifier, W - (kInputLeft + kMargin));

    m_.platform.setPointer(Platform::Pointer::Normal);
}

} // namespace gratinel
