// The print command: the shown recipe on the default printer.
#include "mainwin/frmmain.h"

#include "mainwin/printwrapped.h"
#include "mainwin/shownrecipe.h"
#include "platform/platform.h"
#include "store/module1.h"

#include <QStringList>

namespace gratinel {

void frmMain::mnuFilePrint_Click()
{
    if (!recettes_)
        return;
    Platform &platform = m_.windows();
    platform.setPointer(Platform::Pointer::Hourglass);

    bool failed = true;
    if (Printer *printer = platform.startPrintJob()) {
        failed = false;
        const QStringList blocks = printBlocks(sheetHeading(platform.today()), shownRecipe(*recettes_), m_.crlf);
        for (const QString &block : blocks) {
            if (!PrintWrapped(*printer, kPrintLeftMargin, block)) {
                failed = true;
                break;
            }
        }
        // The job is sent with what was printed, also after a failure part-way; a job
        // that the system refuses to take is a failure too, not a printed recipe.
        if (!printer->endDoc())
            failed = true;
    }

    platform.setPointer(Platform::Pointer::Normal);
    if (failed) {
        platform.beep();
        platform.msgBox(QStringLiteral("Erreur imprimante"), Platform::Icon::Critical);
    }
}

} // namespace gratinel
