// Word wrap and page breaks of the printed recipe.
#include "mainwin/printwrapped.h"

#include "platform/platform.h"

#include <QStringView>

namespace gratinel {

namespace {

// The line about to be printed at the printer's current height goes to a new page when
// it would pass the page's bottom; a page's first line always stays.
bool breakPageIfFull(Printer &printer, int lineHeight)
{
    if (printer.currentY() > 0 && printer.currentY() + lineHeight > printer.printableHeight())
        return printer.newPage();
    return true;
}

} // namespace

bool PrintWrapped(Printer &printer, int leftMargin, const QString &text)
{
    printer.setFontSize(10); // a printer that keeps its own size still prints
    int lineHeight = 0;
    if (!printer.textHeight(QStringLiteral("Ag"), lineHeight))
        return false;

    const QStringView crlf(u"\r\n");
    QStringView remaining(text);
    while (!remaining.isEmpty()) {
        QStringView paragraph;
        const qsizetype end = remaining.indexOf(crlf);
        if (end < 0) {
            paragraph = remaining;
            remaining = {};
        } else {
            paragraph = remaining.left(end);
            remaining = remaining.mid(end + 2);
        }

        // A paragraph's first line is tested against the page like the wrapped ones, so
        // that no line is drawn below the page's bottom.
        if (!paragraph.isEmpty() && !breakPageIfFull(printer, lineHeight))
            return false;
        if (!printer.setCurrentX(leftMargin))
            return false;
        bool lineHasText = false;
        while (!paragraph.isEmpty()) {
            const qsizetype space = paragraph.indexOf(u' ');
            const QString word = (space < 0 ? paragraph : paragraph.left(space + 1)).toString();
            paragraph = space < 0 ? QStringView() : paragraph.mid(space + 1);

            int width = 0;
            if (!printer.textWidth(word, width))
                return false;
            // A word too wide for any line is printed where the line starts, without an
            // empty line before it.
            if (lineHasText && printer.currentX() + width > printer.printableWidth()) {
                if (!printer.endLine() || !breakPageIfFull(printer, lineHeight)
                    || !printer.setCurrentX(leftMargin))
                    return false;
            }
            if (!printer.print(word))
                return false;
            lineHasText = true;
        }
        if (!printer.endLine())
            return false;
    }
    return true;
}

} // namespace gratinel
