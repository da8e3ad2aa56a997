// Main window creation for start-up.
#include "mainwin/launch.h"

#include "mainwin/frmmain.h"
#include "platform/screenfit.h"
#include "store/module1.h"

namespace gratinel {

QWidget *launchMainWindow(Module1 &m)
{
    auto *frame = new frmMain(m);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->Form_Load();
    if (m.platform.programEnded()) {
        delete frame;
        return nullptr;
    }
    // As large as designed for, when the screen has the room.
    fitToScreen(frame, frame->size());
    frame->show();
    frame->activateBook();
    return frame;
}

} // namespace gratinel
