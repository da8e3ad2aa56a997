// The booklet's pages as poppler reads them back: contents and index give the real pages,
// a recipe that fits a page is never split, a longer one goes on under « (suite) », photos
// are never enlarged and the missing ones are listed; and the line breaks of French print.
#include "book/frenchorder.h"
#include "booklet/booklet.h"
#include "booklet/charwidths.h"
#include "booklet/photoreader.h"
#include "booklet/textflow.h"
#include "cookbook.h"

#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace gratinel;

namespace {

struct Printed {
    BookletResult result;
    QStringList pages;
};

// The cookbook printed whole or as some of its families, read back page by page.
Printed print(const QTemporaryDir &dir, BookletOptions options)
{
    const Status built = cookbook::build(dir.path()).writeTo(dir.path());
    if (!built.isOk())
        return {};
    RecordFile<FamilyRecord> families;
    RecordFile<RecipeRecord> recipes;
    ByteStream texts, images;
    families.openReadOnly(dir.filePath(QStringLiteral("GRTN1.DAT")));
    recipes.openReadOnly(dir.filePath(QStringLiteral("GRTN2.DAT")));
    texts.openReadOnly(dir.filePath(QStringLiteral("GRTN3.DAT")));
    images.openReadOnly(dir.filePath(QStringLiteral("GRTN4.DAT")));
    BookletSource source(families, recipes, texts, images, dir.path());
    options.date = QDate(2026, 12, 8);
    Booklet booklet(source);
    if (!booklet.load(options).isOk())
        return {};
    const QString pdf = dir.filePath(QStringLiteral("livret.pdf"));
    Printed printed;
    {
        QPdfWriter writer(pdf);
        writer.setPageLayout(Booklet::pageLayout(options.a5));
        PhotoReader photos;
        printed.result = booklet.write(writer, photos, nullptr);
    }
    printed.pages = cookbook::pages(pdf);
    return printed;
}

// The page (1-based) whose lines hold line exactly, from page from on; 0 when none does.
int pageWithLine(const QStringList &pages, const QString &line, int from = 1)
{
    for (int p = from; p <= pages.size(); ++p) {
        if (pages[p - 1].split(u'\n').contains(line))
            return p;
    }
    return 0;
}

QString firstLine(const QString &page)
{
    for (const QString &l : page.split(u'\n')) {
        if (!l.trimmed().isEmpty())
            return l;
    }
    return {};
}

} // namespace

class TestBooklet : public QObject {
    Q_OBJECT

private slots:
    void contentsAndIndexGiveTheRealPages()
    {
        QTemporaryDir dir;
        const Printed printed = print(dir, {});
        QVERIFY(printed.result.written());
        const QStringList &pages = printed.pages;
        QCOMPARE(pages.size(), printed.result.pages);
        QVERIFY(pages[0].contains(QStringLiteral("Mes recettes")));
        QVERIFY(pages[0].contains(QStringLiteral("12 recettes")));
        QVERIFY(pages[0].contains(QStringLiteral("Edition du 8/12/2026")));

        // The contents: the families with recipes, each at the page its chapter opens.
        const auto contents = cookbook::numberedLines(pages[1]);
        QCOMPARE(contents.size(), 2);
        QCOMPARE(contents[0].first, QStringLiteral("Desserts"));
        QCOMPARE(contents[1].first, QStringLiteral("Goûters"));
        for (const auto &[family, numbers] : contents)
            QCOMPARE(firstLine(pages[numbers[0] - 1]), family);
        // The pages of a chapter after its first name the family at their foot, the left-hand ones only.
        for (int p = contents[0].second[0] + 1; p < contents[1].second[0]; ++p)
            QCOMPARE(pages[p - 1].contains(QStringLiteral("Desserts")), p % 2 == 0);

        // The index: every title once, in French order, at each page where a recipe of
        // that title starts (its title line, not a « (suite) »).
        const int indexPage = pageWithLine(pages, QStringLiteral("Index"), 3);
        QVERIFY(indexPage > 0);
        QList<QPair<QString, QList<int>>> index;
        for (int p = indexPage; p <= pages.size(); ++p)
            index += cookbook::numberedLines(pages[p - 1]);
        std::vector<QString> titles;
        for (const auto &[title, numbers] : index) {
            titles.push_back(title);
            for (int n : numbers)
                QVERIFY2(pages[n - 1].split(u'\n').contains(title), qPrintable(title));
            QCOMPARE(numbers.size(), title == QStringLiteral("Tarte aux pommes") ? 2 : 1);
        }
        QCOMPARE(int(titles.size()), 11);
        std::vector<size_t> order = FrenchOrder().sorted(titles);
        for (size_t i = 0; i < order.size(); ++i)
            QCOMPARE(order[i], i);
    }

    void aRecipeThatFitsIsNeverSplitALongerOneGoesOn()
    {
        QTemporaryDir dir;
        const Printed printed = print(dir, {});
        const QStringList &pages = printed.pages;
        QVERIFY(printed.result.written());
        for (const QString &title : cookbook::mediumTitles()) {
            const int at = pageWithLine(pages, title);
            QVERIFY2(at > 0, qPrintable(title));
            QVERIFY2(pages[at - 1].contains(title + QStringLiteral(", ligne 26 :")), qPrintable(title));
            QVERIFY(!pages.join(u'\n').contains(title + QStringLiteral(" (suite)")));
        }
        // The long recipe: every line in order, each page after the first under its title.
        const QString longTitle = cookbook::kLong;
        const int first = pageWithLine(pages, longTitle);
        QVERIFY(first > 0);
        int page = first;
        int continued = 0;
        for (const QString &line : cookbook::longLines()) {
            while (page <= pages.size() && !pages[page - 1].split(u'\n').contains(line)) {
                ++page;
                QCOMPARE(firstLine(pages[page - 1]), longTitle + QStringLiteral(" (suite)"));
                ++continued;
            }
            QVERIFY2(page <= pages.size(), qPrintable(line));
        }
        QVERIFY(continued >= 2);
    }

    void photosNeverEnlargedMissingOnesListed()
    {
        QTemporaryDir dir;
        const Printed printed = print(dir, {});
        QVERIFY(printed.result.written());
        QCOMPARE(printed.result.leftOut.size(), size_t(1));
        QCOMPARE(printed.result.leftOut[0].title, QStringLiteral("Flan"));
        QCOMPARE(printed.result.leftOut[0].reason, QStringLiteral("fichier absent"));
        // One picture, on the Soufflé's page, printed at its own size: 96 pixels an inch.
        const QStringList rows = cookbook::imageList(dir.filePath(QStringLiteral("livret.pdf")))
                                     .split(u'\n', Qt::SkipEmptyParts).mid(2);
        QCOMPARE(rows.size(), 1);
        const QStringList fields = rows[0].split(u' ', Qt::SkipEmptyParts);
        QCOMPARE(fields[0].toInt(), pageWithLine(printed.pages, QStringLiteral("Soufflé")));
        QCOMPARE(fields[3] + u'x' + fields[4], QStringLiteral("60x40"));
        QCOMPARE(fields[12].toInt(), 96);

        BookletOptions without;
        without.photos = false;
        QTemporaryDir other;
        const Printed plain = print(other, without);
        QVERIFY(plain.result.leftOut.empty());
        QCOMPARE(cookbook::imageList(other.filePath(QStringLiteral("livret.pdf"))).count(u'\n'), 2);
    }

    void oneFamilyOnA5ListsItsRecipes()
    {
        QTemporaryDir dir;
        BookletOptions options;
        options.families = {3}; // Goûters
        options.a5 = true;
        const Printed printed = print(dir, options);
        QVERIFY(printed.result.written());
        QVERIFY(cookbook::info(dir.filePath(QStringLiteral("livret.pdf"))).contains(QStringLiteral("(A5)")));
        QVERIFY(printed.pages[0].contains(QStringLiteral("Goûters")));
        QVERIFY(printed.pages[0].contains(QStringLiteral("2 recettes")));
        const auto contents = cookbook::numberedLines(printed.pages[1]);
        QCOMPARE(contents.size(), 2);
        QCOMPARE(contents[0].first, QStringLiteral("Cookies"));
        QCOMPARE(contents[1].first, QStringLiteral("Tarte aux pommes"));
        for (const auto &[title, numbers] : contents)
            QVERIFY(printed.pages[numbers[0] - 1].split(u'\n').contains(title));
    }

    void linesBreakAsFrenchPrintDoes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qreal>("width");
        // Pieces that must stay on one line, and the indent of lines after the first.
        QTest::addColumn<QStringList>("whole");
        QTest::addColumn<bool>("hanging");

        const QString steps = QStringLiteral("Préparation : mélangez la farine et le sucre ; ajoutez 200 g de beurre "
                                             "fondu à 180 °C, puis « doucement » les œufs ! Servez-vous ? Oui.");
        for (int width : {90, 110, 150, 200, 260}) {
            QTest::addRow("ponctuation %d", width) << steps << qreal(width)
                                                   << QStringList{QStringLiteral("Préparation :"), QStringLiteral("sucre ;"),
                                                                  QStringLiteral("200 g"), QStringLiteral("180 °C,"),
                                                                  QStringLiteral("« doucement »"), QStringLiteral("œufs !"),
                                                                  QStringLiteral("Servez-vous ?")}
                                                   << false;
        }
        QTest::addRow("liste") << QStringLiteral("- 6 gros oignons jaunes, pelés et émincés très finement") << qreal(120)
                               << QStringList{QStringLiteral("- 6")} << true;
        QTest::addRow("mot trop long") << QStringLiteral("https://exemple.fr/recettes/une-tres-longue-adresse-sans-espace")
                                       << qreal(90) << QStringList() << false;
    }

    void linesBreakAsFrenchPrintDoes()
    {
        QFETCH(QString, text);
        QFETCH(qreal, width);
        QFETCH(QStringList, whole);
        QFETCH(bool, hanging);
        QPdfWriter device(QStringLiteral("/dev/null"));
        QFont font;
        font.setPointSizeF(11);
        CharWidths widths(font, &device);
        std::vector<FlowLine> lines;
        flowText(text, width, widths, lines);
        QString joined;
        for (const FlowLine &l : lines) {
            // No line runs past the column.
            QVERIFY2(l.indent + widths.width(l.text) <= width + 0.02, qPrintable(l.text));
            joined += l.text;
        }
        // Every character as typed, only the spaces at the breaks gone.
        QCOMPARE(QString(joined).remove(u' '), QString(text).remove(u' '));
        for (const QString &piece : whole) {
            bool found = false;
            for (const FlowLine &l : lines)
                found = found || l.text.contains(piece);
            QVERIFY2(found, qPrintable(piece));
        }
        QVERIFY(lines.size() > 1);
        QCOMPARE(lines[1].indent > 0, hanging);
    }
};

QTEST_MAIN(TestBooklet)
#include "tst_booklet.moc"
