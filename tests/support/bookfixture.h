// A book written into a temporary folder and the program started over it, for the window tests.
#pragma once

#include "fakeplatform.h"
#include "store/bookbuilder.h"

#include <QPointer>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class QComboBox;

namespace gratinel {

class Module1;
class frmMain;
class frmRecettes;

class BookFixture {
public:
    // The program runs over platform (a plain FakePlatform when none is given); its
    // executable directory is the fixture's folder.
    explicit BookFixture(std::unique_ptr<FakePlatform> platform = {});
    ~BookFixture();
    BookFixture(const BookFixture &) = delete;
    BookFixture &operator=(const BookFixture &) = delete;

    // Writes the four data files of book into the folder.
    bool write(const BookBuilder &book);
    // Start-up as the program does it, with the real main window. True when the main
    // window is up; false when start-up or the recipe book's load ended the program.
    bool start();
    // write, then start.
    bool start(const BookBuilder &book);
    // Closes the program and starts it again over the same folder, on a fresh platform,
    // as a user does after the program ended.
    bool restart();

    // Full path of a file of the folder, as the program names it in its messages.
    QString path(const QString &fileName) const;
    QByteArray bytes(const QString &fileName) const;

    // Fields of recipe record n (from 2) as they are on disk now.
    qint16 recipeStateOnDisk(int n) const;
    qint32 recipeFieldOnDisk(int n, int offset) const;
    qint16 recipeCountOnDisk() const;
    // Fields of family record n (from 2) and the family count, as they are on disk now.
    qint16 familyStateOnDisk(int n) const;
    qint16 familyCountOnDisk() const;
    // The four data files end to end, to see that nothing was written.
    QByteArray dataFiles() const;

    FakePlatform &platform() { return *platform_; }
    Module1 &m() { return *m_; }
    frmMain *frame() const { return frame_; }
    frmRecettes *book() const;

private:
    QTemporaryDir dir_;
    std::unique_ptr<FakePlatform> platform_;
    std::unique_ptr<Module1> m_;
    QPointer<frmMain> frame_;
};

// The one message of a fatal error.
inline const QString kFatal = QStringLiteral("Erreur fatale. Impossibilité de continuer.");

// Selects an entry of a list as the user does: the list's activation runs its handler.
void choose(QComboBox *combo, int row);
// The entries of a list, in their order.
QStringList texts(const QComboBox *combo);

// The program over a book, for the tests of one page of the book window (tab).
struct PageFixture {
    explicit PageFixture(int tab) : tab(tab) {}
    BookFixture fx;
    const int tab;

    frmRecettes *b() const { return fx.book(); }
    // The family and recipe of these records chosen on the list page, then the page.
    void openOn(int family, int recipe = 0);
    QByteArray files() const { return fx.dataFiles(); }
};

// Enabled state of every command the book switches, as "mnuEditCut=off", "Camera=on", in
// a fixed order: the menu item of each command, then its toolbar buttons.
QStringList bookCommandStates(const frmMain *frame);
// The same list when exactly the commands named in on are enabled: "print", "cut",
// "copy", "paste", "selectAll", "search", "send", "image".
QStringList bookCommandStates(const QStringList &on);

// Offsets of the fields of a recipe record.
namespace recipefield {
constexpr int familyRecord = 2;
constexpr int textPos = 134;
constexpr int textLen = 138;
constexpr int imagePos = 142;
constexpr int imageLen = 146;
} // namespace recipefield

} // namespace gratinel
