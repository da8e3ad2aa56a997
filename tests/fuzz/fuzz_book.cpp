// Fuzz target: four data files of arbitrary bytes are opened and browsed as the program does it.
//
// Input: three little-endian 32-bit lengths, then the bytes of GRTN1.DAT, GRTN2.DAT and
// GRTN3.DAT of those lengths (cut to what the input holds), and GRTN4.DAT from the rest.
#include "bookfixture.h"
#include "book/frmrecettes.h"
#include "book/recordcombo.h"
#include "book/tabstrip.h"
#include "fakeplatform.h"
#include "mainwin/frmmain.h"
#include "mainwin/launch.h"
#include "store/module1.h"

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

bool writeFile(const QString &name, const char *bytes, size_t len)
{
    QFile f(QDir(folder->path()).filePath(name));
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes, qint64(len)) == qint64(len);
}

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
    if (size < 12)
        return 0;
    const char *bytes = reinterpret_cast<const char *>(data);
    size_t at = 12;
    const char *names[] = {"GRTN1.DAT", "GRTN2.DAT", "GRTN3.DAT"};
    for (int i = 0; i < 3; ++i) {
        quint32 len = 0;
        std::memcpy(&len, bytes + 4 * i, 4);
        const size_t take = std::min<size_t>(len, size - at);
        if (!writeFile(QString::fromLatin1(names[i]), bytes + at, take))
            return 0;
        at += take;
    }
    if (!writeFile(QStringLiteral("GRTN4.DAT"), bytes + at, size - at))
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
