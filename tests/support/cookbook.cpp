// The booklet tests' book and the poppler tools that read their PDFs.
#include "cookbook.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>

namespace gratinel::cookbook {

namespace {

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

QStringList mediumTitles()
{
    return {QStringLiteral("Clafoutis"), QStringLiteral("Far breton"), QStringLiteral("Île flottante"),
            QStringLiteral("Mousse au chocolat"), QStringLiteral("Œufs à la neige")};
}

QStringList longLines()
{
    QStringList lines;
    for (int i = 1; i <= 130; ++i)
        lines << QStringLiteral("Étape %1 : fouettez les œufs et le sucre à 180 °C, « doucement ».").arg(i);
    return lines;
}

BookBuilder build(const QString &photoDir)
{
    QImage photo(60, 40, QImage::Format_RGB32);
    photo.fill(QColor(200, 120, 40));
    const QString photoFile = QDir(photoDir).filePath(QStringLiteral("souffle.png"));
    photo.save(photoFile);

    BookBuilder b;
    const qint32 desserts = b.addFamily(QStringLiteral("Desserts"));
    const qint32 gouters = b.addFamily(QStringLiteral("Goûters"));
    b.addFamily(QStringLiteral("Vide"));
    b.addRecipe(desserts, QStringLiteral("Tarte aux pommes"), QStringLiteral("Pâte brisée, pommes.\nCuire 30 min."));
    b.addRecipe(desserts, QStringLiteral("Soufflé"), QStringLiteral("Blancs en neige."), photoFile);
    for (const QString &title : mediumTitles()) {
        QStringList text;
        for (int i = 1; i <= 26; ++i)
            text << QStringLiteral("%1, ligne %2 : crème, sucre, œufs.").arg(title).arg(i);
        b.addRecipe(desserts, title, text.join(u'\n'));
    }
    b.addRecipe(desserts, kLong, longLines().join(u'\n'));
    b.addRecipe(desserts, QStringLiteral("Flan"), QStringLiteral("Lait, œufs, vanille."), QStringLiteral("/nulle/part/flan.jpg"));
    b.addRecipe(desserts, QStringLiteral("Crème brûlée"), QStringLiteral("Crème, jaunes d'œufs, sucre roux."));
    b.addRecipe(gouters, QStringLiteral("Cookies"), QStringLiteral("Beurre, sucre, pépites."));
    b.addRecipe(gouters, QStringLiteral("Tarte aux pommes"), QStringLiteral("La version du goûter."));
    return b;
}

QStringList pages(const QString &pdf)
{
    QStringList all = run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).split(u'\f');
    if (!all.isEmpty() && all.back().trimmed().isEmpty())
        all.removeLast();
    return all;
}

QString info(const QString &pdf)
{
    return run(QStringLiteral("pdfinfo"), {pdf});
}

QString imageList(const QString &pdf)
{
    return run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
}

QList<QPair<QString, QList<int>>> numberedLines(const QString &page)
{
    static const QRegularExpression line(QStringLiteral("^(.*?\\S) ?\\.{2,} ?(\\d+(, \\d+)*)$"));
    QList<QPair<QString, QList<int>>> out;
    for (const QString &l : page.split(u'\n')) {
        const QRegularExpressionMatch m = line.match(l);
        if (!m.hasMatch())
            continue;
        QList<int> numbers;
        for (const QString &n : m.captured(2).split(QStringLiteral(", ")))
            numbers << n.toInt();
        out.append({m.captured(1), numbers});
    }
    return out;
}

} // namespace gratinel::cookbook
