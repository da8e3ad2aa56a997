// Laying out a 30000-byte recipe on the PDF printer, as the print command does; median of several runs.
// Prints "figure: print_30000_ms MEDIAN ms"; exits 1 when a layout fails or leaves no PDF.
#include "mainwin/printwrapped.h"
#include "platform/qtprinter.h"
#include "figures.h"

#include <QApplication>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>


using namespace gratinel;

namespace {

// A long recipe in the book's stored form: paragraphs of French words, CRLF between them,
// 30000 characters in all.
QString recipeText()
{
    const QStringList words = {QStringLiteral("Faire"), QStringLiteral("fondre"), QStringLiteral("le"),
                               QStringLiteral("beurre"), QStringLiteral("à"), QStringLiteral("feu"),
                               QStringLiteral("doux,"), QStringLiteral("ajouter"), QStringLiteral("la"),
                               QStringLiteral("crème"), QStringLiteral("fraîche"), QStringLiteral("et"),
                               QStringLiteral("les"), QStringLiteral("œufs"), QStringLiteral("battus.")};
    QString text;
    int n = 0;
    while (text.size() < 30000) {
        text += words[n % words.size()];
        ++n;
        text += n % 60 == 0 ? QStringLiteral("\r\n") : QStringLiteral(" ");
    }
    text.truncate(30000);
    return text;
}

} // namespace

int main(int argc, char *argv[])
{
    bench::prepareDisplay();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString text = recipeText();

    int run = 0;
    bool ok = true;
    const double ms = bench::medianMs(9, [&] {
        QtPrinter printer(dir.filePath(QStringLiteral("recette%1.pdf").arg(++run)));
        ok = PrintWrapped(printer, kPrintLeftMargin, text) && printer.endDoc() && ok;
    });
    // Every run left a PDF document of its own.
    for (int i = 1; i <= run && ok; ++i) {
        QFile pdf(dir.filePath(QStringLiteral("recette%1.pdf").arg(i)));
        ok = pdf.open(QIODevice::ReadOnly) && pdf.read(5) == "%PDF-" && pdf.size() > 1000;
    }
    if (!ok) {
        bench::note(QStringLiteral("impression PDF en échec"));
        return 1;
    }
    bench::note(QStringLiteral("Recette de %1 caractères mise en page sur PDF (A4)").arg(text.size()));
    bench::figure("print_30000_ms", ms, "ms");
    return 0;
}
