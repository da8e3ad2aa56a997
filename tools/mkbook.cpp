// gratinel-mkbook: makes a new recipe book (GRTN1.DAT to GRTN4.DAT) from a text source.
//
// Source format (UTF-8): a line "@@ name" starts a family, a line "## title" starts a
// recipe of that family, every other line is text of the current recipe (blank lines at
// the start and end of a text are dropped). An existing book is never overwritten.
#include "store/bookbuilder.h"
#include "store/cp1252.h"
#include "store/module1.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

using namespace gratinel;

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "gratinel-mkbook : %s\n", qPrintable(message));
    return 1;
}

QString joinText(QStringList lines)
{
    while (!lines.isEmpty() && lines.first().trimmed().isEmpty())
        lines.removeFirst();
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    return lines.join(u'\n');
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3)
        return fail(QStringLiteral("usage : gratinel-mkbook SOURCE.txt DOSSIER"));

    const QString source = args.at(1);
    const QDir dir(args.at(2));
    for (const char *name : {"GRTN1.DAT", "GRTN2.DAT", "GRTN3.DAT", "GRTN4.DAT"}) {
        if (QFileInfo::exists(dir.filePath(QLatin1String(name))))
            return fail(QStringLiteral("%1 existe déjà : le livre en place est conservé.")
                            .arg(dir.filePath(QLatin1String(name))));
    }

    QFile in(source);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text))
        return fail(QStringLiteral("impossible de lire %1").arg(source));
    QTextStream stream(&in);
    stream.setEncoding(QStringConverter::Utf8);

    BookBuilder book;
    qint32 family = 0;
    QString title;
    QStringList text;
    bool inRecipe = false;
    int lineNo = 0;
    const auto flush = [&] {
        if (inRecipe)
            book.addRecipe(family, title, joinText(text));
        inRecipe = false;
        text.clear();
    };
    while (!stream.atEnd()) {
        const QString line = stream.readLine();
        ++lineNo;
        const QString name = line.mid(3).trimmed();
        const bool heading = line.startsWith(QStringLiteral("@@ ")) || line.startsWith(QStringLiteral("## "));
        if (heading && (name.isEmpty() || name.size() > kFixedTextSize))
            return fail(QStringLiteral("ligne %1 : nom vide ou de plus de %2 caractères").arg(lineNo).arg(kFixedTextSize));
        if (line.startsWith(QStringLiteral("@@ "))) {
            flush();
            family = book.addFamily(name);
        } else if (line.startsWith(QStringLiteral("## "))) {
            flush();
            if (family == 0)
                return fail(QStringLiteral("ligne %1 : recette hors de toute famille").arg(lineNo));
            title = name;
            inRecipe = true;
        } else if (inRecipe) {
            text << line;
        } else if (!line.trimmed().isEmpty()) {
            return fail(QStringLiteral("ligne %1 : texte hors de toute recette").arg(lineNo));
        }
        if (!cp1252::canEncode(line))
            return fail(QStringLiteral("ligne %1 : caractère impossible à enregistrer").arg(lineNo));
    }
    flush();

    if (book.inUseFamilies() < kMinFamilies || book.inUseRecipes() < kMinRecipes)
        return fail(QStringLiteral("il faut au moins %1 familles et %2 recettes (source : %3 et %4)")
                        .arg(kMinFamilies)
                        .arg(kMinRecipes)
                        .arg(book.inUseFamilies())
                        .arg(book.inUseRecipes()));

    if (!dir.exists() && !QDir().mkpath(dir.path()))
        return fail(QStringLiteral("impossible de créer le dossier %1").arg(dir.path()));
    const Status s = book.writeTo(dir.path());
    if (!s.isOk())
        return fail(s.message());
    std::printf("Livre créé dans %s : %d familles, %d recettes.\n", qPrintable(dir.absolutePath()),
                int(book.inUseFamilies()), int(book.inUseRecipes()));
    return 0;
}
