// Additions, changes and deletions of families and recipes on the open book.
#include "store/bookedits.h"

#include "store/cp1252.h"
#include "store/module1.h"

#include <algorithm>
#include <limits>

namespace gratinel::bookedits {

namespace {

// The record number the next append will get must stay a signed 32-bit number.
template <class Record>
Status checkAppendable(RecordFile<Record> &file)
{
    qint32 last = 0;
    Status s = file.lastRecord(last);
    if (s.isOk() && last >= std::numeric_limits<qint32>::max())
        return Status::full(QStringLiteral("Le fichier %1 est plein : impossible d'y ajouter un enregistrement.")
                                .arg(file.file().path()));
    return s;
}

Status fullFile(const QString &path)
{
    return Status::full(QStringLiteral("Le fichier %1 est plein (2 Go) : impossible d'y ajouter du texte.").arg(path));
}

template <class Record>
Status markDeleted(RecordFile<Record> &file, qint32 record, Record &work)
{
    Status s = file.read(record, work);
    if (!s.isOk())
        return s;
    work.state = kDeleted;
    return file.write(record, work);
}

Status checkBytes(ByteStream &file, qint64 len)
{
    const Status s = file.canAppend(len);
    return s.code() == Status::Code::Full ? fullFile(file.file().path()) : s;
}

// The records of these numbers as they are on disk, sorted by number. They are read in large
// blocks over the span they cover, not one system call each: a family may hold thousands.
Status readRecipes(RecordFile<RecipeRecord> &file, std::vector<qint32> numbers,
                   std::vector<std::pair<qint32, RecipeRecord>> &records)
{
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    records.clear();
    if (numbers.empty())
        return Status::ok();
    if (numbers.front() < 1)
        return Status::corrupt(QStringLiteral("%1 : enregistrement %2 invalide").arg(file.file().path()).arg(numbers.front()));
    records.reserve(numbers.size());
    size_t next = 0;
    return file.scan(numbers.front(), numbers.back(), [&](qint32 n, const RecipeRecord &r) {
        if (n == numbers[next]) {
            records.emplace_back(n, r);
            ++next;
        }
        return next < numbers.size();
    });
}

} // namespace

// An operation of several writes is marked as one change (ChangeMark): a copy of the open
// book made meanwhile on another thread holds all of its writes or none.

Status addFamily(Module1 &m, const QString &name, qint32 &record)
{
    const ChangeMark mark(m.changes.get());
    if (m.familyHeader.state >= kMaxCount)
        return Status::full(QStringLiteral("Le livre contient déjà %1 familles de recettes : "
                                           "impossible d'en ajouter une autre.")
                                .arg(kMaxCount));
    Status s = checkAppendable(m.familyFile);
    if (!s.isOk())
        return s;
    m.familyWork.state = kInUse;
    m.familyWork.setName(name);
    s = m.familyFile.append(m.familyWork, record);
    if (!s.isOk())
        return s;
    ++m.familyHeader.state;
    return m.rewriteFamilyHeader();
}

Status addRecipe(Module1 &m, qint32 familyRecord, const QString &title, const QString &text,
                 const QString &imagePath, qint32 &record)
{
    const ChangeMark mark(m.changes.get());
    if (m.recipeHeader.state >= kMaxCount)
        return Status::full(QStringLiteral("Le livre contient déjà %1 recettes : impossible d'en ajouter une autre.")
                                .arg(kMaxCount));
    const QByteArray textBytes = cp1252::encodeText(text);
    const QByteArray pathBytes = cp1252::encode(imagePath);
    Status s = checkAppendable(m.recipeFile);
    if (s.isOk())
        s = checkBytes(m.textFile, textBytes.size());
    if (s.isOk())
        s = checkBytes(m.imageFile, pathBytes.size());
    if (!s.isOk())
        return s;

    RecipeRecord &r = m.recipeWork;
    r.state = kInUse;
    r.familyRecord = familyRecord;
    r.setTitle(title);
    r.textPos = r.textLen = 0;
    r.imagePos = r.imageLen = 0;
    if (!textBytes.isEmpty()) {
        s = m.textFile.append(textBytes, r.textPos);
        r.textLen = qint32(textBytes.size());
    }
    if (s.isOk() && !pathBytes.isEmpty()) {
        s = m.imageFile.append(pathBytes, r.imagePos);
        r.imageLen = qint32(pathBytes.size());
    }
    if (s.isOk())
        s = m.recipeFile.append(r, record);
    if (!s.isOk())
        return s;
    ++m.recipeHeader.state;
    return m.rewriteRecipeHeader();
}

Status changeFamily(Module1 &m, qint32 record, const QString &name)
{
    m.familyWork.state = kInUse;
    m.familyWork.setName(name);
    return m.familyFile.write(record, m.familyWork);
}

Status changeRecipe(Module1 &m, qint32 record, qint32 familyRecord, const QString &title,
                    const std::optional<QString> &text, const std::optional<QString> &imagePath)
{
    const ChangeMark mark(m.changes.get());
    RecipeRecord &r = m.recipeWork;
    const QByteArray textBytes = text ? cp1252::encodeText(*text) : QByteArray();
    const QByteArray pathBytes = imagePath ? cp1252::encode(*imagePath) : QByteArray();
    // The new text goes over the stored one only when that writes the bytes already there
    // (the same text, or the stored one cut short): a record still pointing at the old text
    // when the change is cut short then reads the old text whole. Any other text is
    // appended, so that neither version is ever half overwritten.
    bool appendText = !textBytes.isEmpty() && (r.textLen < textBytes.size() || r.textPos < 1);
    if (!textBytes.isEmpty() && !appendText) {
        QByteArray stored;
        appendText = !m.textFile.read(r.textPos, qint32(textBytes.size()), stored).isOk() || stored != textBytes;
    }
    Status s = checkBytes(m.textFile, appendText ? textBytes.size() : 0);
    if (s.isOk())
        s = checkBytes(m.imageFile, pathBytes.size());
    if (!s.isOk())
        return s;

    r.state = kInUse;
    r.familyRecord = familyRecord;
    r.setTitle(title);
    if (!text) {
        // The stored text stays where it is.
    } else if (textBytes.isEmpty()) {
        r.textPos = r.textLen = 0;
    } else if (appendText) {
        s = m.textFile.append(textBytes, r.textPos);
        r.textLen = qint32(textBytes.size());
    } else {
        s = m.textFile.write(r.textPos, textBytes);
        r.textLen = qint32(textBytes.size());
    }
    if (s.isOk() && imagePath) {
        if (pathBytes.isEmpty()) {
            r.imagePos = r.imageLen = 0;
        } else {
            s = m.imageFile.append(pathBytes, r.imagePos);
            r.imageLen = qint32(pathBytes.size());
        }
    }
    if (!s.isOk())
        return s;
    return m.recipeFile.write(record, r);
}

Status changeImagePath(Module1 &m, qint32 record, const QString &imagePath)
{
    const ChangeMark mark(m.changes.get());
    const QByteArray pathBytes = cp1252::encode(imagePath);
    RecipeRecord r;
    Status s = checkBytes(m.imageFile, pathBytes.size());
    if (s.isOk())
        s = m.recipeFile.read(record, r);
    if (!s.isOk())
        return s;
    if (pathBytes.isEmpty()) {
        r.imagePos = r.imageLen = 0;
    } else {
        s = m.imageFile.append(pathBytes, r.imagePos);
        r.imageLen = qint32(pathBytes.size());
    }
    return s.isOk() ? m.recipeFile.write(record, r) : s;
}

Status deleteRecipe(Module1 &m, qint32 record)
{
    const ChangeMark mark(m.changes.get());
    Status s = markDeleted(m.recipeFile, record, m.recipeWork);
    if (!s.isOk())
        return s;
    --m.recipeHeader.state;
    return m.rewriteRecipeHeader();
}

Status deleteFamily(Module1 &m, qint32 record, const std::vector<qint32> &listedRecipes)
{
    const ChangeMark mark(m.changes.get());
    Status s;
    {
        // The recipes go under one sync: their order among themselves does not matter to
        // a crash, but all of them are on disk before the header says they are gone. A
        // failure half-way still syncs the ones marked before it; the count left too high
        // is healed by the next scan.
        // Each record is read before it is written back with its state cleared, so that
        // every other field stays as it is on disk.
        std::vector<std::pair<qint32, RecipeRecord>> onDisk;
        s = readRecipes(m.recipeFile, listedRecipes, onDisk);
        if (!s.isOk())
            return s;
        const auto onDiskAs = [&](qint32 n) {
            const auto found = std::lower_bound(onDisk.begin(), onDisk.end(), n,
                                                [](const auto &entry, qint32 number) { return entry.first < number; });
            return found != onDisk.end() && found->first == n ? &found->second : nullptr;
        };
        for (qint32 n : listedRecipes) {
            if (!onDiskAs(n))
                return Status::corrupt(QStringLiteral("%1 : enregistrement %2 absent").arg(m.recipeFile.file().path()).arg(n));
        }
        // Records that follow each other on disk are written back in one system call.
        SyncBatch batch(m.recipeFile.file());
        std::vector<RecipeRecord> run;
        for (size_t i = 0; i < onDisk.size() && s.isOk();) {
            run.clear();
            const qint32 first = onDisk[i].first;
            do {
                run.push_back(onDisk[i].second);
                run.back().state = kDeleted;
                ++i;
            } while (i < onDisk.size() && onDisk[i].first == onDisk[i - 1].first + 1);
            s = m.recipeFile.writeRun(first, run.data(), qsizetype(run.size()));
        }
        if (!s.isOk())
            return s;
        if (!listedRecipes.empty()) {
            // The working record ends as the last one listed, as when they were written one by one.
            m.recipeWork = *onDiskAs(listedRecipes.back());
            m.recipeWork.state = kDeleted;
        }
        s = batch.finish();
        if (!s.isOk())
            return s;
    }
    if (!listedRecipes.empty()) {
        m.recipeHeader.state = qint16(m.recipeHeader.state - qint16(listedRecipes.size()));
        s = m.rewriteRecipeHeader();
        if (!s.isOk())
            return s;
    }
    s = markDeleted(m.familyFile, record, m.familyWork);
    if (!s.isOk())
        return s;
    --m.familyHeader.state;
    return m.rewriteFamilyHeader();
}

} // namespace gratinel::bookedits
