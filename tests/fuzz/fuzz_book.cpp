// Fuzz target: four data files of arbitrary bytes are opened and browsed as the program does it.
//
// Input: see bookinput.h.
#include "bookfixture.h"
#include "book/frmrecettes.h"
#include "book/recordcombo.h"
#include "book/tabstrip.h"
#include "fakeplatform.h"
#include "mainwin/frmmain.h"
#include "mainwin/launch.h"
#include "store/module1.h"
#include "bookinput.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <cstring>

using namespace gratinel;

namespace {

QTemporaryDir *folder = nullptr;


} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_book";
    static char *argv[] = {name, nullptr};
    new QApplication(argc, argv);
    folder = new QTemporaryDir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (!fuzz::writeBookFiles(folder->path(), data, size))
        return 0;

    FakePlatform platform;
    platform.exeDir = folder->path();
    // Questions are answered Oui: whatever the pages ask goes ahead.
    for (int i = 0; i < 8; ++i)
        platform.answerNext(Platform::Answer::Yes);
    Module1 m(platform, platform);
    m.Main(launchMainWindow);
    auto *frame = qobject_cast<frmMain *>(m.mainWindow);
    if (frame && frame->recettes() && !platform.programEnded()) {
        frmRecettes *book = frame->recettes();
        const int families = std::min(book->ComboFamilles->count(), 6);
        for (int i = 0; i < families && !platform.programEnded(); ++i) {
            choose(book->ComboFamilles, i);
            const int recipes = std::min(book->ComboRecettes->count(), 3);
            for (int j = 0; j < recipes && !platform.programEnded(); ++j)
                choose(book->ComboRecettes, j);
        }
        // Every page prepares itself from what the list page shows.
        for (int page : {2, 3, 4, 1}) {
            if (!platform.programEnded())
                book->TabStrip1->selectTab(page);
        }
    }
    delete m.mainWindow;
    return 0;
}
