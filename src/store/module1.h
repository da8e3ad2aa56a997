// The state every window shares (open data files, record buffers, flags) and the start-up procedure.
#pragma once

#include "platform/system.h"
#include "store/bookchanges.h"
#include "store/bytestream.h"
#include "store/recordfile.h"
#include "store/records.h"

#include <QString>

#include <functional>
#include <memory>

class QWidget;

namespace gratinel {

class Platform;
struct RecipeSheet;

// Start-up limits: a book must hold at least this many families and recipes in use.
constexpr qint16 kMinFamilies = 16;
constexpr qint16 kMinRecipes = 300;

class Module1 {
public:
    // The book alone, with the system services only: the book tool and the store's tests.
    explicit Module1(System &system);
    // The program: windows is the same object as system, seen with its window services.
    Module1(System &system, Platform &windows);
    // A Platform is always given as the window services too.
    explicit Module1(Platform &platform) = delete;
    Module1(const Module1 &) = delete;
    Module1 &operator=(const Module1 &) = delete;

    // Start-up: one instance only, not from a floppy, the four data files opened and
    // validated, then the main window made by createMainWindow. Returns false when the
    // program was ended instead (its message has been shown).
    bool Main(const std::function<QWidget *(Module1 &)> &createMainWindow);

    // Opens and validates the four data files of the folder dir as start-up does, with no
    // message and no instance check: for the book tool. The first refusal names its file.
    Status openBook(const QString &dir);

    // True when fileName exists as an ordinary file in the program directory; otherwise
    // shows the missing-file message and returns false.
    bool CheckDataFile(const QString &fileName);

    // Shows the fatal-error message and ends the program. The caller returns at once.
    void ShowFatalError();

    // Writes the recipe sheet as "recette." + extension in the program directory, dated
    // today (recipesheet.cpp). Returns the ok flag: false when it was not written completely.
    bool WriteRecipeSheet(const QString &extension, const RecipeSheet &sheet);

    // Full path of a file of the program directory.
    QString pathOf(const QString &fileName) const { return programDir + fileName; }

    Status rewriteFamilyHeader() { return familyFile.write(1, familyHeader); }
    Status rewriteRecipeHeader() { return recipeFile.write(1, recipeHeader); }
    qint16 familyCount() const { return familyHeader.state; }
    qint16 recipeCount() const { return recipeHeader.state; }

    // The window services; only for a module made with them.
    Platform &windows() const
    {
        Q_ASSERT(windows_ != nullptr);
        return *windows_;
    }

    System &platform;
    QString programDir;
    QString crlf;
    QString helpFile;
    RecordFile<FamilyRecord> familyFile;
    RecordFile<RecipeRecord> recipeFile;
    ByteStream textFile;
    ByteStream imageFile;
    FamilyRecord familyHeader;
    FamilyRecord familyWork;
    RecipeRecord recipeHeader;
    RecipeRecord recipeWork;
    qint16 fatalError = 0;
    QWidget *mainWindow = nullptr;
    qint16 pageCode = 0;
    // Every write to the four open files is marked here, for a copy made on another thread
    // (which shares it, so that it outlives the module if need be).
    const std::shared_ptr<BookChanges> changes = std::make_shared<BookChanges>();

private:
    Platform *windows_ = nullptr;

    enum class Opened { Ok, Ended, Failed };
    template <class Record>
    Opened openRecordFile(const QString &name, RecordFile<Record> &file, Record &header, qint16 minimum);
    Opened openByteStream(const QString &name, ByteStream &file);
    void watchChanges();
};

} // namespace gratinel
