// Checking and repairing a book, record by record.
#include "store/bookcheck.h"

#include "store/bytestream.h"
#include "store/cp1252.h"
#include "store/module1.h"
#include "store/recordfile.h"
#include "store/records.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace gratinel::bookcheck {

namespace {

using Kind = Fix::Kind;

const QString kFamilies = QStringLiteral("GRTN1.DAT");
const QString kRecipes = QStringLiteral("GRTN2.DAT");
const QString kTexts = QStringLiteral("GRTN3.DAT");
const QString kImages = QStringLiteral("GRTN4.DAT");

class Checker {
public:
    explicit Checker(const QString &dir) : dir_(dir) {}

    Report run();

private:
    void add(const QString &file, qint32 record, const QString &text, Fix fix = {}, bool error = true)
    {
        report_.findings.push_back({error, file, record, text, fix});
    }
    template <class File>
    bool open(const QString &name, File &file);
    // Length, header, states and padding of a record file; visit(n, record) for each record in use.
    template <class Record, class Visit>
    int scan(const QString &name, RecordFile<Record> &file, const QString &what, qint16 minimum, Kind countFix,
             const QByteArray &(*field)(const Record &), Visit visit);
    void checkRecipe(qint32 n, const RecipeRecord &r);
    void checkName(const QString &file, qint32 n, const QString &what, const QByteArray &bytes);

    QDir dir_;
    Report report_;
    std::vector<bool> familyInUse_;
    ByteStream texts_;
    ByteStream images_;
    qint64 textSize_ = -1;
    qint64 imageSize_ = -1;
};

const QByteArray &familyName(const FamilyRecord &r) { return r.name; }
const QByteArray &recipeTitle(const RecipeRecord &r) { return r.title; }

template <class File>
bool Checker::open(const QString &name, File &file)
{
    const QString path = dir_.filePath(name);
    if (!QFileInfo(path).isFile()) {
        add(name, 0, QStringLiteral("fichier absent"));
        return false;
    }
    const Status s = file.openReadOnly(path);
    if (!s.isOk())
        add(name, 0, QStringLiteral("fichier illisible (%1)").arg(s.message()));
    return s.isOk();
}

template <class Record, class Visit>
int Checker::scan(const QString &name, RecordFile<Record> &file, const QString &what, qint16 minimum,
                  Kind countFix, const QByteArray &(*field)(const Record &), Visit visit)
{
    constexpr int size = Record::kSize;
    qint64 len = 0;
    if (!file.file().length(len).isOk())
        return 0;
    const qint64 whole = len / size;
    if (len % size != 0)
        add(name, qint32(whole + 1),
            QStringLiteral("longueur de %1 octets : pas un nombre entier d'enregistrements de %2 octets "
                           "(%3 octets de trop à la fin ; Gratinel refuse d'ouvrir le livre)")
                .arg(len)
                .arg(size)
                .arg(len % size),
            {Kind::CutFile, whole * size});
    if (whole < 1) {
        add(name, 0, QStringLiteral("pas d'enregistrement d'en-tête"));
        return 0;
    }
    Record header;
    int inUse = 0;
    Status s = file.read(1, header);
    if (s.isOk()) {
        s = file.scan(2, qint32(whole), [&](qint32 n, const Record &r) {
            if (r.state != kInUse && r.state != kDeleted) {
                add(name, n, QStringLiteral("état %1 (ni -1 en service, ni 0 supprimé)").arg(r.state));
                return true;
            }
            if (r.state != kInUse)
                return true;
            ++inUse;
            checkName(name, n, what == QLatin1String("familles") ? QStringLiteral("le nom") : QStringLiteral("le titre"),
                      field(r));
            visit(n, r);
            return true;
        });
    }
    if (!s.isOk()) {
        add(name, 0, QStringLiteral("lecture impossible (%1)").arg(s.message()));
        return inUse;
    }
    if (inUse < minimum)
        add(name, 0, QStringLiteral("%1 %2 en service : Gratinel en demande au moins %3").arg(inUse).arg(what).arg(minimum));
    if (header.state != inUse) {
        Fix fix;
        if (inUse <= kMaxCount)
            fix = {countFix, inUse};
        add(name, 1, QStringLiteral("l'en-tête compte %1 %2, il y en a %3 en service").arg(header.state).arg(what).arg(inUse),
            fix);
    }
    return inUse;
}

// A name or title padded with zero bytes breaks the record's layout (an error); a control
// character inside it, or a name of spaces alone, is only shown oddly by the program, and
// export and create give every byte of it back (warnings).
void Checker::checkName(const QString &file, qint32 n, const QString &what, const QByteArray &bytes)
{
    const auto control = std::find_if(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x20; });
    if (control != bytes.end()) {
        const bool padding = std::all_of(control, bytes.end(), [](char c) { return c == 0; });
        const qsizetype at = control - bytes.begin() + 1;
        if (padding)
            add(file, n, QStringLiteral("%1 n'est pas complété par des espaces (octet 00 en position %2)").arg(what).arg(at));
        else
            add(file, n,
                QStringLiteral("%1 contient le caractère de contrôle U+%2 (position %3)")
                    .arg(what, QStringLiteral("%1").arg(uchar(*control), 4, 16, QLatin1Char('0')).toUpper())
                    .arg(at),
                {}, false);
    }
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == ' '; }))
        add(file, n, QStringLiteral("%1 est vide (rien que des espaces)").arg(what), {}, false);
}

void Checker::checkRecipe(qint32 n, const RecipeRecord &r)
{
    if (r.familyRecord < 0 || size_t(r.familyRecord) >= familyInUse_.size() || !familyInUse_[size_t(r.familyRecord)])
        add(kRecipes, n, QStringLiteral("la recette « %1 » appartient à la famille %2, qui n'est pas en service")
                             .arg(r.titleText())
                             .arg(r.familyRecord));
    if (textSize_ >= 0 && !ByteStream::rangeInside(r.textPos, r.textLen, textSize_)) {
        // A text that begins inside the file keeps what the file still holds of it, as the
        // program shows it; only a range that starts nowhere loses the text.
        const bool partly = r.textPos >= 1 && r.textLen > 0 && r.textPos <= textSize_;
        add(kRecipes, n,
            QStringLiteral("le texte de « %1 » (position %2, longueur %3) sort de %4 (%5 octets)")
                .arg(r.titleText())
                .arg(r.textPos)
                .arg(r.textLen)
                .arg(kTexts)
                .arg(textSize_),
            partly ? Fix{Kind::ShortenText, textSize_ - (qint64(r.textPos) - 1)} : Fix{Kind::ClearText, n});
    }
    if (imageSize_ < 0)
        return;
    if (!ByteStream::rangeInside(r.imagePos, r.imageLen, imageSize_)) {
        add(kRecipes, n,
            QStringLiteral("le chemin d'image de « %1 » (position %2, longueur %3) sort de %4 (%5 octets)")
                .arg(r.titleText())
                .arg(r.imagePos)
                .arg(r.imageLen)
                .arg(kImages)
                .arg(imageSize_),
            {Kind::ClearImage, n});
        return;
    }
    if (r.imagePos == 0)
        return;
    QByteArray bytes;
    if (!images_.readAvailable(r.imagePos, r.imageLen, bytes).isOk())
        return;
    const QString path = cp1252::decode(bytes);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        add(kRecipes, n, QStringLiteral("l'image « %1 » de « %2 » n'existe pas").arg(path, r.titleText()), {}, false);
}

Report Checker::run()
{
    // The sizes of the byte files first: the recipe scan checks its ranges against them.
    if (open(kTexts, texts_))
        texts_.length(textSize_);
    if (open(kImages, images_))
        images_.length(imageSize_);

    RecordFile<FamilyRecord> families;
    if (open(kFamilies, families)) {
        report_.families = scan(kFamilies, families, QStringLiteral("familles"), kMinFamilies, Kind::FamilyCount,
                                &familyName, [&](qint32 n, const FamilyRecord &) {
                                    if (familyInUse_.size() <= size_t(n))
                                        familyInUse_.resize(size_t(n) + 1, false);
                                    familyInUse_[size_t(n)] = true;
                                });
    }
    RecordFile<RecipeRecord> recipes;
    if (open(kRecipes, recipes)) {
        report_.recipes = scan(kRecipes, recipes, QStringLiteral("recettes"), kMinRecipes, Kind::RecipeCount,
                               &recipeTitle, [&](qint32 n, const RecipeRecord &r) { checkRecipe(n, r); });
    }
    // File order, then record order, so that each file's findings read together.
    const auto rank = [](const QString &file) { return QStringList{kFamilies, kRecipes, kTexts, kImages}.indexOf(file); };
    std::stable_sort(report_.findings.begin(), report_.findings.end(), [&](const Finding &a, const Finding &b) {
        return std::make_pair(rank(a.file), a.record) < std::make_pair(rank(b.file), b.record);
    });
    return report_;
}

template <class Record>
Status setCount(RecordFile<Record> &file, qint16 count)
{
    Record header;
    Status s = file.read(1, header);
    if (!s.isOk())
        return s;
    header.state = count;
    return file.write(1, header);
}

// Rewrites recipe n with what change makes of it; title receives its title.
template <class Change>
Status changeRecipe(RecordFile<RecipeRecord> &file, qint32 n, QString &title, Change change)
{
    RecipeRecord r;
    Status s = file.read(n, r);
    if (!s.isOk())
        return s;
    title = r.titleText();
    change(r);
    return file.write(n, r);
}

} // namespace

QString Finding::describe() const
{
    QString where = file;
    if (record > 0)
        where += QStringLiteral(", enregistrement %1").arg(record);
    return where + QStringLiteral(" : ") + text;
}

int Report::errors() const
{
    return int(std::count_if(findings.begin(), findings.end(), [](const Finding &f) { return f.error; }));
}

int Report::warnings() const
{
    return int(findings.size()) - errors();
}

int Report::fixable() const
{
    return int(std::count_if(findings.begin(), findings.end(),
                             [](const Finding &f) { return f.fix.kind != Kind::None; }));
}

Report check(const QString &dir)
{
    return Checker(dir).run();
}

Status repair(const QString &dir, const Report &report, QStringList &done)
{
    const QDir d(dir);
    RecordFile<FamilyRecord> families;
    RecordFile<RecipeRecord> recipes;
    const auto ensureOpen = [&](auto &file, const QString &name) {
        return file.file().isOpen() ? Status::ok() : file.open(d.filePath(name));
    };
    for (const Finding &f : report.findings) {
        Status s;
        QString title;
        switch (f.fix.kind) {
        case Kind::None:
            continue;
        case Kind::CutFile: {
            DataFile file;
            s = file.open(d.filePath(f.file));
            qint64 len = 0;
            if (s.isOk())
                s = file.length(len);
            if (s.isOk())
                s = file.resize(f.fix.value);
            if (s.isOk())
                done << QStringLiteral("%1 : %2 octets coupés à la fin (un enregistrement incomplet)")
                            .arg(f.file)
                            .arg(len - f.fix.value);
            break;
        }
        case Kind::FamilyCount:
            s = ensureOpen(families, kFamilies);
            if (s.isOk())
                s = setCount(families, qint16(f.fix.value));
            if (s.isOk())
                done << QStringLiteral("%1 : l'en-tête compte maintenant %2 familles").arg(f.file).arg(f.fix.value);
            break;
        case Kind::RecipeCount:
            s = ensureOpen(recipes, kRecipes);
            if (s.isOk())
                s = setCount(recipes, qint16(f.fix.value));
            if (s.isOk())
                done << QStringLiteral("%1 : l'en-tête compte maintenant %2 recettes").arg(f.file).arg(f.fix.value);
            break;
        case Kind::ClearText:
        case Kind::ClearImage: {
            const bool text = f.fix.kind == Kind::ClearText;
            s = ensureOpen(recipes, kRecipes);
            if (s.isOk())
                s = changeRecipe(recipes, qint32(f.fix.value), title, [&](RecipeRecord &r) {
                    if (text)
                        r.textPos = r.textLen = 0;
                    else
                        r.imagePos = r.imageLen = 0;
                });
            if (s.isOk())
                done << QStringLiteral("%1, enregistrement %2 : la recette « %3 » perd %4")
                            .arg(f.file)
                            .arg(f.fix.value)
                            .arg(title, text ? QStringLiteral("son texte") : QStringLiteral("son image"));
            break;
        }
        case Kind::ShortenText:
            s = ensureOpen(recipes, kRecipes);
            if (s.isOk())
                s = changeRecipe(recipes, f.record, title, [&](RecipeRecord &r) { r.textLen = qint32(f.fix.value); });
            if (s.isOk())
                done << QStringLiteral("%1, enregistrement %2 : la recette « %3 » garde les %4 premiers octets de son "
                                       "texte, ceux que %5 contient encore")
                            .arg(f.file)
                            .arg(f.record)
                            .arg(title)
                            .arg(f.fix.value)
                            .arg(kTexts);
            break;
        }
        if (!s.isOk())
            return s;
    }
    return Status::ok();
}

} // namespace gratinel::bookcheck
