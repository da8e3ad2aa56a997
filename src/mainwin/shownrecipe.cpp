// The shown recipe read from the recipe book's controls.
#include "mainwin/shownrecipe.h"

#include "book/exacttext.h"
#include "book/frmrecettes.h"
#include "book/recordcombo.h"

#include <QPlainTextEdit>
#include <QStringList>

namespace gratinel {

RecipeSheet shownRecipe(const frmRecettes &book)
{
    return {book.ComboFamilles->currentText(), book.ComboRecettes->currentText(), exactText(book.txtRecette)};
}

QStringList printBlocks(const QString &heading, const RecipeSheet &sheet, const QString &crlf)
{
    QStringList blocks{heading, crlf + QStringLiteral("Famille de recettes : ") + sheet.family,
                       crlf + QStringLiteral("Recette : ") + sheet.recipe};
    if (!sheet.text.isEmpty()) {
        // The box separates its lines with '\n'; the printout's paragraphs end with crlf.
        QString text = sheet.text;
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(u'\n', crlf);
        blocks << crlf + text;
    }
    return blocks;
}

} // namespace gratinel
