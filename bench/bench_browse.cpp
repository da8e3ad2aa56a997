// Browsing a book at its limits: 32767 families and 32767 recipes in one family.
// Prints the time of each step (median of several runs); asserts nothing.
#include "book/frmrecettes.h"
#include "book/recordcombo.h"
#include "fakeplatform.h"
#include "mainwin/frmmain.h"
#include "mainwin/launch.h"
#include "store/bookbuilder.h"
#include "store/module1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace gratinel;

namespace {

double medianMs(int runs, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        times.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void report(const char *what, double ms)
{
    std::printf("%-58s %9.1f ms\n", what, ms);
}

} // namespace

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen display's notes about what it cannot do are noise here.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &msg) {
        if (type != QtWarningMsg && type != QtDebugMsg && type != QtInfoMsg)
            std::fprintf(stderr, "%s\n", qPrintable(msg));
    });
    QApplication app(argc, argv);
    QTemporaryDir dir;

    QElapsedTimer t;
    t.start();
    BookBuilder book;
    const int families = 32767;
    const int recipes = 32767;
    for (int i = 0; i < families; ++i)
        book.addFamily(QStringLiteral("Famille n° %1 — Œufs, gâteaux et crèmes").arg(families - i));
    for (int i = 0; i < recipes; ++i)
        book.addRecipe(2, QStringLiteral("Recette %1 : île flottante à la vanille").arg(recipes - i),
                       QStringLiteral("Ingrédients\n- 4 œufs\n- 50 cl de lait\n\nPréparation\nFouetter, cuire."));
    if (!book.writeTo(dir.path()).isOk())
        return 1;
    std::printf("Livre de %d familles et %d recettes (toutes dans une famille) écrit en %.0f ms\n\n", families,
                recipes, t.nsecsElapsed() / 1e6);

    FakePlatform platform;
    platform.exeDir = dir.path();
    Module1 m(platform);
    frmMain *frame = nullptr;
    t.restart();
    m.Main([&](Module1 &mod) {
        QWidget *w = launchMainWindow(mod);
        frame = static_cast<frmMain *>(w);
        return w;
    });
    report("Démarrage (trois listes de 32767 familles, 32767 recettes)", t.nsecsElapsed() / 1e6);
    if (!frame)
        return 1;
    frmRecettes *book1 = frame->recettes();
    QApplication::processEvents();

    // The family holding every recipe sorts last ("Famille n° 32767 ...").
    const int big = book1->ComboFamilles->entries().rowOfRecord(2);
    report("Choix de la famille de 32767 recettes (lecture + tri)", medianMs(5, [&] {
               book1->ComboFamilles->setCurrentIndex(big);
               book1->ComboFamilles_Click();
           }));
    report("Choix d'une famille sans recette (lecture complète)", medianMs(5, [&] {
               book1->ComboFamilles->setCurrentIndex(0);
               book1->ComboFamilles_Click();
           }));
    book1->ComboFamilles->setCurrentIndex(big);
    book1->ComboFamilles_Click();
    report("Choix d'une recette (enregistrement + texte)", medianMs(5, [&] {
               book1->ComboRecettes->setCurrentIndex(book1->ComboRecettes->count() / 2);
               book1->ComboRecettes_Click();
           }));
    report("Ouverture et fermeture de la liste des familles", medianMs(5, [&] {
               book1->ComboFamilles->showPopup();
               QApplication::processEvents();
               book1->ComboFamilles->hidePopup();
           }));
    report("Ouverture et fermeture de la liste des recettes", medianMs(5, [&] {
               book1->ComboRecettes->showPopup();
               QApplication::processEvents();
               book1->ComboRecettes->hidePopup();
           }));
    report("Taille conseillée des deux listes (sizeHint)", medianMs(5, [&] {
               book1->ComboFamilles->updateGeometry();
               (void)book1->ComboFamilles->sizeHint();
               (void)book1->ComboRecettes->sizeHint();
           }));
    frame->close();
    return 0;
}
