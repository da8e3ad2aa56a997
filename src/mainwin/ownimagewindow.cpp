// The command that shows the shown recipe's image in the program's own window.
#include "mainwin/frmmain.h"

#include "book/frmrecettes.h"
#include "book/recordcombo.h"
#include "platform/platform.h"
#include "store/module1.h"
#include "viewer/frmimage.h"

namespace gratinel {

void frmMain::mnuViewImageVisuInterne_Click(QWidget *owner)
{
    if (!recettes_)
        return;
    m_.platform.setPointer(Platform::Pointer::Hourglass);
    // Read now: opening the window takes the activation from the book, which then leaves
    // its list page's code behind, and the window must still know where the user was.
    frmImage image(m_.windows(), recettes_->ComboRecettes->currentText(), recettes_->imagePath(), m_.pageCode, owner);
    execOwnWindow(image);
}

} // namespace gratinel
