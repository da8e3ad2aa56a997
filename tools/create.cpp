// create and export: a new book from a source text, and the source text of a book.
#include "commands.h"

#include "platform/instancelock.h"
#include "store/bookbuilder.h"
#include "store/booksource.h"
#include "store/bytestream.h"
#include "store/cp1252.h"
#include "store/module1.h"
#include "store/recordfile.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

namespace gratinel::booktool {

namespace {

const QStringList kDataFiles = {QStringLiteral("GRTN1.DAT"), QStringLiteral("GRTN2.DAT"),
                                QStringLiteral("GRTN3.DAT"), QStringLiteral("GRTN4.DAT")};

// At most this many problems of a source are listed.
constexpr int kListedProblems = 50;

} // namespace

int create(const QString &dirPath, const QString &sourcePath)
{
    const QDir dir(dirPath);
    for (const QString &name : kDataFiles) {
        if (QFileInfo::exists(dir.filePath(name)))
            return fail(QStringLiteral("%1 existe déjà : le livre en place est conservé.").arg(dir.filePath(name)));
    }
    booksource::Source source;
    const Status read = booksource::readFile(sourcePath, source);
    if (!read.isOk())
        return fail(read.message());
    const QStringList problems = source.allProblems();
    if (!problems.isEmpty()) {
        for (const QString &p : problems.mid(0, kListedProblems))
            fail(QStringLiteral("%1 : %2").arg(sourcePath, p));
        return fail(QStringLiteral("%1 problème(s) dans la source : aucun livre n'est créé.").arg(problems.size()));
    }

    BookBuilder book;
    for (const booksource::Family &f : source.families) {
        const qint32 family = book.addFamily(f.name);
        for (const booksource::Recipe &r : f.recipes)
            book.addStoredRecipe(family, r.title, cp1252::encode(r.text), cp1252::encode(r.imagePath));
    }
    if (!book.streamsFit())
        return fail(QStringLiteral("les textes ou les chemins d'image de la source dépassent 2 Go, la taille "
                                   "que les fichiers du livre peuvent atteindre : aucun livre n'est créé."));
    if (book.inUseFamilies() < kMinFamilies || book.inUseRecipes() < kMinRecipes)
        return fail(QStringLiteral("il faut au moins %1 familles et %2 recettes (source : %3 et %4)")
                        .arg(kMinFamilies)
                        .arg(kMinRecipes)
                        .arg(book.inUseFamilies())
                        .arg(book.inUseRecipes()));

    if (!dir.exists() && !QDir().mkpath(dir.path()))
        return fail(QStringLiteral("impossible de créer le dossier %1").arg(dir.path()));
    InstanceLock lock;
    if (!lockBook(lock, dir.path()))
        return kSomethingWrong;
    // Looked at again under the lock: a book made meanwhile is never written over.
    for (const QString &name : kDataFiles) {
        if (QFileInfo::exists(dir.filePath(name)))
            return fail(QStringLiteral("%1 existe déjà : le livre en place est conservé.").arg(dir.filePath(name)));
    }
    const Status s = book.writeTo(dir.path());
    if (!s.isOk())
        return fail(s.message());
    say(QStringLiteral("Livre créé dans %1 : %2 familles, %3 recettes.")
            .arg(dir.absolutePath())
            .arg(book.inUseFamilies())
            .arg(book.inUseRecipes()));
    return kAllWell;
}

int exportBook(const QString &dirPath, const QString &file)
{
    const QDir dir(dirPath);
    if (QFileInfo::exists(file))
        return fail(QStringLiteral("%1 existe déjà : choisissez un autre nom de fichier.").arg(file));
    RecordFile<FamilyRecord> families;
    RecordFile<RecipeRecord> recipes;
    ByteStream texts;
    ByteStream images;
    Status s = families.openReadOnly(dir.filePath(kDataFiles[0]));
    if (s.isOk())
        s = recipes.openReadOnly(dir.filePath(kDataFiles[1]));
    if (s.isOk())
        s = texts.openReadOnly(dir.filePath(kDataFiles[2]));
    if (s.isOk())
        s = images.openReadOnly(dir.filePath(kDataFiles[3]));
    if (s.code() == Status::Code::NotFound)
        return fail(QStringLiteral("%1 : fichier absent").arg(s.message()));
    if (!s.isOk())
        return fail(s.message());

    // Every whole record counts, whatever the headers say: an export also rescues a book.
    qint64 len = 0;
    std::vector<booksource::Family> out;
    QHash<qint32, size_t> familyAt;
    s = families.file().length(len);
    if (s.isOk())
        s = families.scan(2, qint32(len / FamilyRecord::kSize), [&](qint32 n, const FamilyRecord &r) {
            if (r.state == kInUse) {
                familyAt.insert(n, out.size());
                out.push_back({0, r.nameText(), {}, {}});
            }
            return true;
        });
    int warnings = 0;
    int exported = 0;
    if (s.isOk())
        s = recipes.file().length(len);
    if (s.isOk())
        s = recipes.scan(2, qint32(len / RecipeRecord::kSize), [&](qint32 n, const RecipeRecord &r) {
            if (r.state != kInUse)
                return true;
            if (!familyAt.contains(r.familyRecord)) {
                ++warnings;
                say(QStringLiteral("Avertissement : GRTN2.DAT, enregistrement %1 : la recette « %2 » n'a pas de famille "
                                   "en service, elle n'est pas exportée.")
                        .arg(n)
                        .arg(r.titleText()));
                return true;
            }
            booksource::Recipe recipe;
            recipe.title = r.titleText();
            QByteArray bytes;
            bool outside = false;
            bool damaged = false;
            if (r.textPos >= 1) {
                s = texts.readAvailable(r.textPos, r.textLen, bytes, &outside);
                recipe.text = cp1252::decode(bytes);
                damaged = outside;
            }
            if (s.isOk() && r.imagePos != 0) {
                s = images.readAvailable(r.imagePos, r.imageLen, bytes, &outside);
                recipe.imagePath = cp1252::decode(bytes);
                damaged = damaged || outside;
            }
            if (damaged) {
                ++warnings;
                say(QStringLiteral("Avertissement : GRTN2.DAT, enregistrement %1 : la recette « %2 » est exportée avec "
                                   "ce que le livre garde de son texte et de son image.")
                        .arg(n)
                        .arg(recipe.title));
            }
            out[familyAt.value(r.familyRecord)].recipes.push_back(std::move(recipe));
            ++exported;
            return s.isOk();
        });
    if (!s.isOk())
        return fail(s.message());

    QSaveFile target(file);
    const QByteArray utf8 = booksource::write(out).toUtf8();
    if (!target.open(QIODevice::WriteOnly) || target.write(utf8) != utf8.size() || !target.commit())
        return fail(QStringLiteral("%1 : %2").arg(file, target.errorString()));
    say(QStringLiteral("Livre exporté dans %1 : %2 familles, %3 recettes.").arg(file).arg(out.size()).arg(exported));
    return warnings == 0 ? kAllWell : kSomethingWrong;
}

} // namespace gratinel::booktool
