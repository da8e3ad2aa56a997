// The lists' fast sort keys against the collator itself, over the whole character set of the files.
#include "book/frenchorder.h"
#include "book/recordlistmodel.h"
#include "store/cp1252.h"

#include <QTest>

#include <algorithm>
#include <numeric>
#include <random>
#include <string_view>

using namespace gratinel;

class TestFrenchOrder : public QObject {
    Q_OBJECT

private:
    // Sorts texts by their weights, then checks every neighbour pair with the collator:
    // equal keys for texts it finds equal, a smaller key for a text it puts first.
    void checkAgreement(const QStringList &texts)
    {
        FrenchOrder order;
        std::string weights;
        std::vector<std::pair<size_t, size_t>> runs;
        for (const QString &t : texts) {
            const size_t start = weights.size();
            QVERIFY2(order.appendWeights(t, weights), qPrintable(t));
            runs.push_back({start, weights.size() - start});
        }
        const auto run = [&](size_t i) { return std::string_view(weights.data() + runs[i].first, runs[i].second); };
        std::vector<size_t> idx(texts.size());
        std::iota(idx.begin(), idx.end(), size_t(0));
        std::sort(idx.begin(), idx.end(), [&](size_t a, size_t b) { return run(a) < run(b); });
        for (size_t i = 0; i + 1 < idx.size(); ++i) {
            const QString &a = texts[qsizetype(idx[i])];
            const QString &b = texts[qsizetype(idx[i + 1])];
            const int expected = run(idx[i]) == run(idx[i + 1]) ? 0 : -1;
            const int got = std::clamp(order.compare(a, b), -1, 1);
            if (got != expected)
                QFAIL(qPrintable(QStringLiteral("« %1 » / « %2 » : %3 au lieu de %4").arg(a, b).arg(got).arg(expected)));
        }
    }

    static QString charOf(int byte) { return cp1252::decode(QByteArray(1, char(byte))); }

private slots:
    void everyPairOfCharactersInCollatorOrder()
    {
        QStringList texts;
        for (int a = 0; a < 256; ++a) {
            texts << charOf(a);
            for (int b = 0; b < 256; ++b)
                texts << charOf(a) + charOf(b);
        }
        checkAgreement(texts);
    }

    void namesAndTitlesInCollatorOrder()
    {
        // Words that differ by accent, case, ligature, digit or punctuation only.
        const QStringList parts = {QStringLiteral("œuf"), QStringLiteral("Oeuf"), QStringLiteral("oeufs"),
                                   QStringLiteral("élan"), QStringLiteral("Elan"), QStringLiteral("cote"),
                                   QStringLiteral("côte"), QStringLiteral("coté"), QStringLiteral("côté"),
                                   QStringLiteral("Straße"), QStringLiteral("strasse"), QStringLiteral("n° 2"),
                                   QStringLiteral("n°10"), QStringLiteral("l’île"), QStringLiteral("l'ile"),
                                   QStringLiteral("«"), QStringLiteral(" "), QStringLiteral("-"),
                                   QStringLiteral("Æ"), QStringLiteral("col·legi"), QStringLiteral("L·l"), QStringLiteral("ÿ"), QStringLiteral("Ÿ"), QStringLiteral("…")};
        std::mt19937 dice(1252);
        QStringList texts;
        for (int i = 0; i < 20000; ++i) {
            QString t;
            for (int n = 1 + int(dice() % 4); n > 0; --n)
                t += parts[qsizetype(dice() % parts.size())];
            if (dice() % 3 == 0)
                t += charOf(int(dice() % 256));
            texts << t;
        }
        checkAgreement(texts);
    }

    void textOutsideTheFilesCharactersStillSorted()
    {
        FrenchOrder order;
        std::string weights = "7";
        QVERIFY(!order.appendWeights(QStringLiteral("Ĉapelo"), weights));
        QCOMPARE(weights, std::string("7"));

        RecordListModel model(order);
        model.addEntries({{QStringLiteral("zeste"), 2}, {QStringLiteral("Ĉapelo"), 3}, {QStringLiteral("Île"), 4},
                          {QStringLiteral("abricot"), 5}});
        QStringList shown;
        for (int i = 0; i < model.count(); ++i)
            shown << model.at(i).text;
        QCOMPARE(shown, (QStringList{QStringLiteral("abricot"), QStringLiteral("Ĉapelo"), QStringLiteral("Île"),
                                     QStringLiteral("zeste")}));
    }
};

QTEST_GUILESS_MAIN(TestFrenchOrder)
#include "tst_frenchorder.moc"
