// livret: the book, or some of its families, as a printed booklet in a PDF file.
#include "commands.h"

#include "booklet/booklet.h"
#include "booklet/photoreader.h"
#include "store/bookcheck.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace gratinel::booktool {

namespace {

const QString kNothing = QStringLiteral("aucun livret écrit.");

// The share done, on the terminal: one line that moves on, or a line every tenth when the
// output is no terminal.
class TerminalProgress : public BookletProgress {
public:
    bool advance(int done, int total) override
    {
        const int percent = total > 0 ? int(qint64(done) * 100 / total) : 100;
        if (tty_ ? percent != shown_ : percent / 10 != shown_ / 10) {
            shown_ = percent;
            if (tty_)
                std::fprintf(stdout, "\rLivret : %d %%", percent);
            else
                std::fprintf(stdout, "Livret : %d %%\n", percent);
            std::fflush(stdout);
        }
        return !stop_.requested();
    }
    ~TerminalProgress() override
    {
        if (tty_ && shown_ >= 0)
            std::fputs("\n", stdout);
    }

private:
    bool tty_ = isatty(fileno(stdout)) == 1;
    int shown_ = -1;
    StopRequest stop_;
};

// Why the booklet cannot be written at path, or nothing.
QString refusedOutput(const QString &path)
{
    const QFileInfo file(path);
    if (file.suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) != 0)
        return QStringLiteral("le fichier de sortie %1 doit avoir l'extension .pdf").arg(path);
    if (file.isDir())
        return QStringLiteral("%1 est un dossier").arg(path);
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir())
        return QStringLiteral("le dossier %1 n'existe pas").arg(QDir::toNativeSeparators(file.absolutePath()));
    if (file.exists() && !file.isWritable())
        return QStringLiteral("le fichier %1 est protégé en écriture").arg(path);
    if (!folder.isWritable())
        return QStringLiteral("le dossier %1 est protégé en écriture").arg(QDir::toNativeSeparators(file.absolutePath()));
    return {};
}

int livret(const QString &dir, const QString &output, const QStringList &names, bool photos, bool a5, bool twoSided)
{
    const QString refused = refusedOutput(output);
    if (!refused.isEmpty())
        return fail(refused + QStringLiteral(" : ") + kNothing);
    if (!QDir(dir).exists())
        return fail(QStringLiteral("le dossier %1 n'existe pas : ").arg(dir) + kNothing);
    // The booklet trusts the counts and ranges of the files, as the program does once repaired.
    const bookcheck::Report report = bookcheck::check(dir);
    if (report.fixable() > 0)
        return fail(QStringLiteral("le livre a des erreurs que « gratinel-book repair %1 » répare : lancez-le d'abord, ")
                        .arg(dir)
                    + kNothing);

    RecordFile<FamilyRecord> familyFile;
    RecordFile<RecipeRecord> recipeFile;
    ByteStream textFile, imageFile;
    const QDir d(dir);
    Status s = familyFile.openReadOnly(d.filePath(QStringLiteral("GRTN1.DAT")));
    if (s.isOk())
        s = recipeFile.openReadOnly(d.filePath(QStringLiteral("GRTN2.DAT")));
    if (s.isOk())
        s = textFile.openReadOnly(d.filePath(QStringLiteral("GRTN3.DAT")));
    if (s.isOk())
        s = imageFile.openReadOnly(d.filePath(QStringLiteral("GRTN4.DAT")));
    if (!s.isOk())
        return fail((s.code() == Status::Code::NotFound ? QStringLiteral("%1 : fichier absent").arg(s.message())
                                                        : s.message())
                    + QStringLiteral(" : ") + kNothing);
    BookletSource source(familyFile, recipeFile, textFile, imageFile, dir);

    BookletOptions options;
    options.photos = photos;
    options.a5 = a5;
    options.twoSided = twoSided;
    options.date = QDate::currentDate();
    if (!names.isEmpty()) {
        std::vector<BookletFamily> all;
        s = source.families(all);
        if (!s.isOk())
            return fail(s.message() + QStringLiteral(" : ") + kNothing);
        for (const QString &name : names) {
            // Names compare as the program compares them: trimmed, letter case ignored.
            const auto it = std::find_if(all.begin(), all.end(), [&](const BookletFamily &f) {
                return f.name.trimmed().toUpper() == name.trimmed().toUpper();
            });
            if (it == all.end())
                return fail(QStringLiteral("famille inconnue : « %1 » : ").arg(name) + kNothing);
            options.families.push_back(it->record);
        }
    }
    Booklet booklet(source);
    s = booklet.load(options);
    if (!s.isOk())
        return fail(s.message() + QStringLiteral(" : ") + kNothing);
    if (booklet.recipeCount() == 0)
        return fail((names.size() == 1 ? QStringLiteral("la famille « %1 » n'a aucune recette : ").arg(names.front())
                                       : QStringLiteral("aucune recette à imprimer : "))
                    + kNothing);

    // Written beside its place and put there whole, or not at all.
    QSaveFile file(output);
    if (!file.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("%1 : %2 : ").arg(output, file.errorString()) + kNothing);
    BookletResult result;
    {
        QPdfWriter writer(&file);
        writer.setPageLayout(Booklet::pageLayout(a5));
        writer.setTitle(booklet.title());
        writer.setCreator(QStringLiteral("Gratinel \"Free\""));
        PhotoReader reader;
        TerminalProgress progress;
        result = booklet.write(writer, reader, &progress);
    }
    if (!result.status.isOk()) {
        file.cancelWriting();
        return fail(result.status.message() + QStringLiteral(" : ") + kNothing);
    }
    if (result.stopped) {
        file.cancelWriting();
        return fail(QStringLiteral("interrompu : ") + kNothing);
    }
    if (result.deviceFailed || !file.commit())
        return fail(QStringLiteral("%1 : %2 : ").arg(output, file.errorString()) + kNothing);

    for (const LeftOutPhoto &p : result.leftOut)
        say(QStringLiteral("Photo laissée de côté : « %1 » (%2) : %3 (%4)").arg(p.title, p.family, p.path, p.reason));
    say(QStringLiteral("Livret écrit dans %1 : %2 pages, %3 recette(s)%4.")
            .arg(QDir::toNativeSeparators(QFileInfo(output).absoluteFilePath()))
            .arg(result.pages)
            .arg(result.recipes)
            .arg(result.leftOut.empty() ? QString()
                                        : QStringLiteral(", %1 photo(s) laissée(s) de côté").arg(result.leftOut.size())));
    return kAllWell;
}

} // namespace

std::unique_ptr<QCoreApplication> application(int &argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], "livret") == 0) {
        // Fonts and painting need a GUI application; the tool needs no display for it.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QGuiApplication>(argc, argv);
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

int livretCommand(const QStringList &args, const std::function<int(const QString &)> &usage)
{
    QStringList positional, names;
    bool photos = true, a5 = false, twoSided = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == QLatin1String("--famille")) {
            if (i + 1 >= args.size() || args.at(i + 1).trimmed().isEmpty())
                return usage(QStringLiteral("il manque le nom de la famille après --famille"));
            names << args.at(++i);
        } else if (a == QLatin1String("--sans-images")) {
            photos = false;
        } else if (a == QLatin1String("--a5")) {
            a5 = true;
        } else if (a == QLatin1String("--recto-verso")) {
            twoSided = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            return usage(QStringLiteral("option inconnue pour livret : %1").arg(a));
        } else {
            positional << a;
        }
    }
    if (positional.size() != 2)
        return usage(QStringLiteral("livret demande un DOSSIER et un fichier SORTIE.pdf"));
    return livret(positional.at(0), positional.at(1), names, photos, a5, twoSided);
}

} // namespace gratinel::booktool
