// Large books for the benchmarks, written record by record in the store's own layouts.
#include "maxbook.h"
#include "testpaths.h"
#include "figures.h"

#include "store/cp1252.h"
#include "store/records.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QtEndian>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace gratinel::bench {

namespace {

// A small generator of our own, so that the books are the same on every system.
class Dice {
public:
    explicit Dice(std::uint64_t seed) : state_(seed) {}
    std::uint32_t next()
    {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return std::uint32_t(state_ >> 33);
    }
    int below(int n) { return int(next() % std::uint32_t(n)); }

private:
    std::uint64_t state_;
};

const QStringList kDishes = {
    QStringLiteral("Gratin"), QStringLiteral("Tarte"), QStringLiteral("Velouté"), QStringLiteral("Œufs cocotte"),
    QStringLiteral("Île flottante"), QStringLiteral("Crème brûlée"), QStringLiteral("Blanquette"),
    QStringLiteral("Poêlée"), QStringLiteral("Étuvée"), QStringLiteral("Soufflé"), QStringLiteral("Clafoutis"),
    QStringLiteral("Pâté en croûte"), QStringLiteral("Gâteau"), QStringLiteral("Ragoût"), QStringLiteral("Flan"),
    QStringLiteral("Quiche"), QStringLiteral("Daube"), QStringLiteral("Terrine"), QStringLiteral("Salade tiède"),
    QStringLiteral("Cassolette"), QStringLiteral("éclair"), QStringLiteral("Fricassée"), QStringLiteral("Brandade"),
    QStringLiteral("Pot-au-feu"), QStringLiteral("Charlotte"), QStringLiteral("Bûche"), QStringLiteral("Émincé"),
    QStringLiteral("Aïoli"), QStringLiteral("Navarin"), QStringLiteral("Financier"), QStringLiteral("Croque"),
    QStringLiteral("Feuilleté"),
};
const QStringList kIngredients = {
    QStringLiteral("de courgettes"), QStringLiteral("aux pommes"), QStringLiteral("de potiron"),
    QStringLiteral("au cœur de veau"), QStringLiteral("à la crème fraîche"), QStringLiteral("aux cèpes"),
    QStringLiteral("de bœuf"), QStringLiteral("aux poireaux"), QStringLiteral("de lotte"), QStringLiteral("au comté"),
    QStringLiteral("aux cerises"), QStringLiteral("de canard"), QStringLiteral("à l’oseille"),
    QStringLiteral("aux noix"), QStringLiteral("de saumon"), QStringLiteral("au chèvre frais"),
    QStringLiteral("aux épinards"), QStringLiteral("de céleri"), QStringLiteral("au beurre noisette"),
    QStringLiteral("aux framboises"), QStringLiteral("de pintade"), QStringLiteral("à l’échalote"),
    QStringLiteral("aux œufs de caille"), QStringLiteral("de rhubarbe"), QStringLiteral("au safran"),
};
const QStringList kStyles = {
    QStringLiteral("à l’ancienne"), QStringLiteral("de grand-mère"), QStringLiteral("façon bistrot"),
    QStringLiteral("du dimanche"), QStringLiteral("à la provençale"), QStringLiteral("gratinée"),
    QStringLiteral("express"), QStringLiteral("de Noël"), QStringLiteral("à la lyonnaise"),
    QStringLiteral("maison"), QStringLiteral("d’été"), QStringLiteral("très légère"),
};
const QStringList kCategories = {
    QStringLiteral("Entrées"), QStringLiteral("Soupes et potages"), QStringLiteral("Œufs"),
    QStringLiteral("Poissons"), QStringLiteral("Viandes"), QStringLiteral("Volailles"), QStringLiteral("Légumes"),
    QStringLiteral("Gratins"), QStringLiteral("Pâtes et riz"), QStringLiteral("Sauces"), QStringLiteral("Desserts"),
    QStringLiteral("Pâtisserie"), QStringLiteral("Confitures"), QStringLiteral("Boissons"), QStringLiteral("Apéritifs"),
    QStringLiteral("Fromages"), QStringLiteral("Crêpes"), QStringLiteral("Goûters"), QStringLiteral("Élevage"),
    QStringLiteral("Épicerie"),
};
const QStringList kRegions = {
    QStringLiteral("de Bretagne"), QStringLiteral("d’Alsace"), QStringLiteral("de Provence"),
    QStringLiteral("du Périgord"), QStringLiteral("de Savoie"), QStringLiteral("d’Auvergne"),
    QStringLiteral("de Normandie"), QStringLiteral("du Béarn"), QStringLiteral("de l’Île-de-France"),
    QStringLiteral("des Cévennes"), QStringLiteral("de Corrèze"), QStringLiteral("du Pays basque"),
};
const QStringList kSentences = {
    QStringLiteral("Préchauffez le four à 180 °C (thermostat 6)."),
    QStringLiteral("Faites fondre le beurre à feu doux, sans le laisser colorer."),
    QStringLiteral("Épluchez les légumes, lavez-les et coupez-les en dés réguliers."),
    QStringLiteral("Battez les œufs en omelette avec la crème fraîche, salez et poivrez."),
    QStringLiteral("Versez la préparation dans le plat beurré et parsemez de fromage râpé."),
    QStringLiteral("Laissez mijoter à couvert une heure et quart, en remuant de temps en temps."),
    QStringLiteral("Astuce : une pincée de muscade relève le goût de la béchamel."),
    QStringLiteral("Servez bien chaud, avec une salade verte à l’huile de noix."),
    QStringLiteral("Réservez au frais jusqu’au moment de servir « comme chez mémé »."),
    QStringLiteral("Dégraissez le bouillon, puis filtrez-le à travers une étamine."),
    QStringLiteral("Incorporez délicatement les blancs montés en neige ferme."),
    QStringLiteral("Faites dorer les lardons dans une poêle bien chaude, puis égouttez-les."),
    QStringLiteral("Déglacez au vin blanc sec et laissez réduire de moitié."),
    QStringLiteral("Nappez de sauce, décorez de persil plat ciselé et de quelques câpres."),
    QStringLiteral("Vérifiez la cuisson avec la pointe d’un couteau : elle doit ressortir sèche."),
    QStringLiteral("Démoulez tiède sur une grille et saupoudrez de sucre glace."),
};
const QStringList kHeadings = {
    QStringLiteral("Ingrédients (4 personnes) :"), QStringLiteral("Préparation (20 min) :"),
    QStringLiteral("Cuisson (45 min) :"), QStringLiteral("Variante :"), QStringLiteral("Conseil du chef :"),
};
const QStringList kAmounts = {
    QStringLiteral("- 4 œufs extra-frais"), QStringLiteral("- 50 cl de lait entier"),
    QStringLiteral("- 200 g de crème épaisse"), QStringLiteral("- 1 kg de pommes de terre à chair ferme"),
    QStringLiteral("- 2 échalotes grises"), QStringLiteral("- 125 g de beurre demi-sel"),
    QStringLiteral("- 1 cuillerée à café de cumin"), QStringLiteral("- sel fin, poivre du moulin"),
};

template <class T>
const T &pick(Dice &dice, const QList<T> &list)
{
    return list.at(dice.below(int(list.size())));
}

// Stored bytes (CRLF line ends) long enough to cut every text of the book from.
QByteArray textPool(int atLeast)
{
    Dice dice(1500);
    QString text;
    QByteArray bytes;
    while (bytes.size() < atLeast) {
        text.clear();
        for (int part = 0; part < 64; ++part) {
            text += pick(dice, kHeadings) + u'\n';
            for (int i = 0, n = 2 + dice.below(4); i < n; ++i)
                text += pick(dice, kAmounts) + u'\n';
            for (int i = 0, n = 1 + dice.below(3); i < n; ++i) {
                for (int j = 0, m = 1 + dice.below(3); j < m; ++j)
                    text += pick(dice, kSentences) + u' ';
                text.back() = u'\n';
            }
            text += u'\n';
        }
        bytes += cp1252::encodeText(text);
    }
    return bytes;
}

// Writes a file in large blocks.
class BlockWriter {
public:
    explicit BlockWriter(const QString &path) : file_(path) { ok_ = file_.open(QIODevice::WriteOnly | QIODevice::Truncate); }
    void add(const char *bytes, qsizetype len)
    {
        buffer_.append(bytes, len);
        if (buffer_.size() >= kBlock)
            flush();
    }
    Status finish()
    {
        flush();
        file_.close();
        if (!ok_)
            return Status::ioError(QStringLiteral("%1 : %2").arg(file_.fileName(), file_.errorString()));
        return Status::ok();
    }

private:
    static constexpr qsizetype kBlock = 4 << 20;
    void flush()
    {
        if (ok_ && !buffer_.isEmpty())
            ok_ = file_.write(buffer_) == buffer_.size();
        buffer_.clear();
    }

    QFile file_;
    QByteArray buffer_;
    bool ok_ = false;
};

template <class Record>
void addHeader(BlockWriter &out, qint16 count)
{
    char bytes[Record::kSize];
    std::fill(bytes, bytes + Record::kSize, ' ');
    qToLittleEndian<qint16>(count, bytes);
    out.add(bytes, Record::kSize);
}

} // namespace

Status writeMaxBook(const QString &dir, const MaxBookShape &shape, MaxBookInfo *info)
{
    if (shape.recipes > kMaxCount || shape.families > kMaxCount || shape.families < 2 ||
        shape.bigFamilyRecipes > shape.recipes || shape.textBytes < 1 || shape.textSpread < 0 ||
        shape.textSpread >= shape.textBytes || shape.textBytes + shape.textSpread > 30000)
        return Status::full(QStringLiteral("livre impossible à écrire"));
    const QDir d(dir);
    Dice dice(32767);

    // Families: the big one sits in the middle of the file, past the protected records.
    const qint32 bigFamily = 2 + shape.families / 2;
    BlockWriter families(d.filePath(QStringLiteral("GRTN1.DAT")));
    addHeader<FamilyRecord>(families, qint16(shape.families));
    QString bigName;
    for (int k = 0; k < shape.families; ++k) {
        const qint32 record = 2 + k;
        FamilyRecord r;
        r.state = kInUse;
        const QString name = record == bigFamily
                                 ? QStringLiteral("Entremets et gâteaux de fête")
                                 : QStringLiteral("%1 %2 n° %3")
                                       .arg(kCategories.at(k % kCategories.size()),
                                            kRegions.at((k / kCategories.size()) % kRegions.size()))
                                       .arg(k + 1);
        if (record == bigFamily)
            bigName = name;
        r.setName(name);
        char bytes[FamilyRecord::kSize];
        r.encodeTo(bytes);
        families.add(bytes, sizeof bytes);
    }
    Status s = families.finish();
    if (!s.isOk())
        return s;

    // Which family each recipe belongs to, spread over the file.
    std::vector<qint32> familyOf;
    familyOf.reserve(shape.recipes);
    familyOf.insert(familyOf.end(), shape.bigFamilyRecipes, bigFamily);
    for (int i = 0; familyOf.size() < size_t(shape.recipes); ++i) {
        const qint32 record = 2 + i % (shape.families - 1);
        familyOf.push_back(record >= bigFamily ? record + 1 : record);
    }
    for (size_t i = familyOf.size(); i > 1; --i)
        std::swap(familyOf[i - 1], familyOf[dice.below(int(i))]);

    const QByteArray pool = textPool(std::max(1 << 17, 4 * (shape.textBytes + shape.textSpread)));
    BlockWriter recipes(d.filePath(QStringLiteral("GRTN2.DAT")));
    BlockWriter texts(d.filePath(QStringLiteral("GRTN3.DAT")));
    addHeader<RecipeRecord>(recipes, qint16(shape.recipes));
    qint64 textPos = 1;
    for (int i = 0; i < shape.recipes; ++i) {
        RecipeRecord r;
        r.state = kInUse;
        r.familyRecord = familyOf[i];
        r.setTitle(QStringLiteral("%1 %2 %3 n° %4")
                       .arg(pick(dice, kDishes), pick(dice, kIngredients), pick(dice, kStyles))
                       .arg(1 + dice.below(99999)));
        const int len = shape.textBytes - shape.textSpread + dice.below(2 * shape.textSpread + 1);
        // Never cut a line end in two.
        qsizetype from = dice.below(int(pool.size() - len - 8));
        while (pool.at(from) == '\n' || pool.at(from + len - 1) == '\r')
            ++from;
        r.textPos = qint32(textPos);
        r.textLen = len;
        texts.add(pool.constData() + from, len);
        textPos += len;
        char bytes[RecipeRecord::kSize];
        r.encodeTo(bytes);
        recipes.add(bytes, sizeof bytes);
    }
    s = recipes.finish();
    const Status t = texts.finish();
    if (s.isOk())
        s = t;
    if (s.isOk())
        s = BlockWriter(d.filePath(QStringLiteral("GRTN4.DAT"))).finish();
    if (s.isOk() && info) {
        info->bigFamilyRecord = bigFamily;
        info->bigFamilyName = bigName;
        info->textFileBytes = textPos - 1;
    }
    return s;
}

Status writeHugeBook(const QString &dir, int textBytes, MaxBookInfo *info)
{
    MaxBookShape shape;
    shape.textBytes = textBytes;
    shape.textSpread = 0;
    return writeMaxBook(dir, shape, info);
}

bool makeStarterBook(const QString &dir, QString *error)
{
    QProcess maker;
    maker.start(testpaths::bookTool(), {QStringLiteral("create"), dir, testpaths::starterSource()});
    const bool done = maker.waitForFinished(60000);
    if (!done || maker.exitStatus() != QProcess::NormalExit || maker.exitCode() != 0) {
        if (error)
            *error = QString::fromUtf8(maker.readAllStandardError()).trimmed();
        return false;
    }
    // The book must hold every family and recipe of the source, one heading each.
    QFile source(testpaths::starterSource());
    const QByteArray text = source.open(QIODevice::ReadOnly) ? "\n" + source.readAll() : QByteArray();
    if (bookHolds(dir, int(text.count("\n@@ ")), int(text.count("\n## "))))
        return true;
    if (error)
        *error = QStringLiteral("le livre de départ ne compte pas ce que sa source contient");
    return false;
}

} // namespace gratinel::bench
