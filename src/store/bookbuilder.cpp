// New books, written in one go: headers with their counts, the records, the texts and paths.
#include "store/bookbuilder.h"

#include "store/cp1252.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <utility>

namespace gratinel {

qint32 BookBuilder::addFamily(const QString &name, qint16 state)
{
    FamilyRecord r;
    r.state = state;
    r.setName(name);
    families_.push_back(r);
    return qint32(families_.size()) + 1;
}

qint32 BookBuilder::addRecipe(qint32 familyRecord, const QString &title, const QString &text,
                              const QString &imagePath, qint16 state)
{
    return addStoredRecipe(familyRecord, title, cp1252::encodeText(text), cp1252::encode(imagePath), state);
}

qint32 BookBuilder::addStoredRecipe(qint32 familyRecord, const QString &title, const QByteArray &textBytes,
                                    const QByteArray &pathBytes, qint16 state)
{
    RecipeRecord r;
    r.state = state;
    r.familyRecord = familyRecord;
    r.setTitle(title);
    if (!textBytes.isEmpty()) {
        r.textPos = qint32(texts_.size()) + 1;
        r.textLen = qint32(textBytes.size());
        texts_ += textBytes;
    }
    if (!pathBytes.isEmpty()) {
        r.imagePos = qint32(images_.size()) + 1;
        r.imageLen = qint32(pathBytes.size());
        images_ += pathBytes;
    }
    recipes_.push_back(r);
    return qint32(recipes_.size()) + 1;
}

bool BookBuilder::streamsFit(qint64 maxBytes) const
{
    return texts_.size() <= maxBytes && images_.size() <= maxBytes;
}

void BookBuilder::setHeaderFiller(const QByteArray &family, const QByteArray &recipe)
{
    familyFiller_ = family.leftJustified(FamilyRecord::kSize - 2, ' ', true);
    recipeFiller_ = recipe.leftJustified(RecipeRecord::kSize - 2, ' ', true);
}

int BookBuilder::inUseFamilies() const
{
    return int(std::count_if(families_.begin(), families_.end(), [](const auto &r) { return r.state == kInUse; }));
}

int BookBuilder::inUseRecipes() const
{
    return int(std::count_if(recipes_.begin(), recipes_.end(), [](const auto &r) { return r.state == kInUse; }));
}

namespace {

template <class Record>
QByteArray recordBytes(qint16 count, const QByteArray &filler, const std::vector<Record> &records)
{
    QByteArray bytes((records.size() + 1) * Record::kSize, '\0');
    qToLittleEndian<qint16>(count, bytes.data());
    std::copy(filler.begin(), filler.end(), bytes.begin() + 2);
    for (size_t i = 0; i < records.size(); ++i)
        records[i].encodeTo(bytes.data() + (i + 1) * Record::kSize);
    return bytes;
}

Status writeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return Status::ioError(QStringLiteral("%1 : %2").arg(path, file.errorString()));
    return Status::ok();
}

} // namespace

Status BookBuilder::writeTo(const QString &dir) const
{
    // A count cut to 16 bits would make the scans stop long before the last records.
    if (!familyCount_ && inUseFamilies() > kMaxCount)
        return Status::full(
            QStringLiteral("%1 familles : le livre en compte au plus %2").arg(inUseFamilies()).arg(kMaxCount));
    if (!recipeCount_ && inUseRecipes() > kMaxCount)
        return Status::full(
            QStringLiteral("%1 recettes : le livre en compte au plus %2").arg(inUseRecipes()).arg(kMaxCount));
    const QDir d(dir);
    const QByteArray family = recordBytes(familyCount_.value_or(qint16(inUseFamilies())), familyFiller_, families_);
    const QByteArray recipe = recordBytes(recipeCount_.value_or(qint16(inUseRecipes())), recipeFiller_, recipes_);
    const std::array<std::pair<const char *, const QByteArray *>, 4> files = {{
        {"GRTN1.DAT", &family}, {"GRTN2.DAT", &recipe}, {"GRTN3.DAT", &texts_}, {"GRTN4.DAT", &images_}}};
    QStringList written;
    for (const auto &[name, bytes] : files) {
        const QString path = d.filePath(QLatin1String(name));
        const Status s = writeFile(path, *bytes);
        if (!s.isOk()) {
            // No half-made book: without all four files the program would refuse it, and
            // the next try would find the folder taken.
            for (const QString &done : written)
                QFile::remove(done);
            return s;
        }
        written << path;
    }
    return Status::ok();
}

} // namespace gratinel
