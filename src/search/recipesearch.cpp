// The recipe scan: record blocks of GRTN2.DAT, titles tested in place, texts through large
// blocks of GRTN3.DAT.
#include "search/recipesearch.h"

#include "store/cp1252.h"
#include "store/module1.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <limits>

namespace gratinel {

namespace {

// Field offsets inside a 150-byte recipe record.
constexpr int kStateAt = 0;
constexpr int kTitleAt = 6;
constexpr int kTextPosAt = 134;
constexpr int kTextLenAt = 138;

qint16 int16At(const char *p)
{
    return qFromLittleEndian<qint16>(p);
}

qint32 int32At(const char *p)
{
    return qFromLittleEndian<qint32>(p);
}

} // namespace

RecipeSearch::RecipeSearch(Module1 &m, qint64 textBlockBytes) : m_(m), texts_(m.textFile.file(), textBlockBytes)
{
}

void RecipeSearch::start(const QString &word)
{
    matchable_ = !word.isEmpty() && cp1252::canEncode(word);
    finder_ = TermFinder(cp1252::encode(word));
    searchTerm = matchable_ ? cp1252::decode(finder_.term()) : word;
    // A block holds at least two lengths of the word, so that blocks overlapping by
    // the word's length still move on.
    texts_.setMinimumBlockBytes(2 * finder_.length());
    searchFound = 0;
    searchSeen = 0;
    searchRecordNo = 1;
    searchRecipe = RecipeRecord();
}

Status RecipeSearch::lastRecord(qint32 &last) const
{
    qint64 len = 0;
    Status s = m_.recipeFile.file().length(len);
    if (!s.isOk())
        return s;
    // Only whole records count: a cut last record is never read.
    last = qint32(std::min<qint64>(len / RecipeRecord::kSize, std::numeric_limits<qint32>::max()));
    return Status::ok();
}

Status RecipeSearch::canContinue(bool &more) const
{
    qint32 last = 0;
    Status s = lastRecord(last);
    more = s.isOk() && searchRecordNo < last && searchSeen != m_.recipeCount();
    return s;
}

Status RecipeSearch::textMatches(qint64 start, qint64 end, bool &found)
{
    found = false;
    const qint64 m = finder_.length();
    if (end - start < m)
        return Status::ok();
    // A text longer than a block is tested block by block; consecutive blocks share the
    // word's length less one byte, so that no occurrence straddling two is missed.
    const qint64 step = texts_.blockBytes() - (m - 1);
    for (qint64 at = start;; at += step) {
        const qint64 n = std::min(texts_.blockBytes(), end - at);
        const char *data = nullptr;
        Status s = texts_.view(at, n, data);
        if (!s.isOk())
            return s;
        if (finder_.find(data, n) >= 0) {
            found = true;
            return Status::ok();
        }
        if (at + n >= end)
            return Status::ok();
    }
}

Status RecipeSearch::scanOn(Match &match)
{
    match = Match::None;
    qint32 last = 0;
    Status s = lastRecord(last);
    qint64 textSize = 0;
    if (s.isOk())
        s = m_.textFile.length(textSize);
    if (!s.isOk())
        return s;
    texts_.setFileSize(textSize);

    const qint32 count = m_.recipeCount();
    DataFile &file = m_.recipeFile.file();
    while (searchRecordNo < last && searchSeen != count) {
        const qint32 first = searchRecordNo + 1;
        const qint64 n = std::min<qint64>(kRecordBlock, qint64(last) - first + 1);
        records_.resize(n * RecipeRecord::kSize);
        s = file.read((qint64(first) - 1) * RecipeRecord::kSize, records_.size(), records_.data());
        if (!s.isOk())
            return s;
        for (qint64 i = 0; i < n; ++i) {
            const char *rec = records_.constData() + i * RecipeRecord::kSize;
            searchRecordNo = qint32(first + i);
            if (int16At(rec + kStateAt) != kInUse)
                continue;
            ++searchSeen;
            if (matchable_) {
                // The padding spaces of the title cannot take part in a match, as the
                // word has none at its ends: the whole field is tested as it is.
                if (finder_.find(rec + kTitleAt, kFixedTextSize) >= 0) {
                    match = Match::Title;
                } else {
                    const qint32 textPos = int32At(rec + kTextPosAt);
                    const qint32 textLen = int32At(rec + kTextLenAt);
                    if (textLen > 0 && textPos >= 1) {
                        const qint64 start = qint64(textPos) - 1;
                        bool found = false;
                        s = textMatches(start, std::min(start + textLen, textSize), found);
                        if (!s.isOk())
                            return s;
                        if (found)
                            match = Match::Text;
                    }
                }
            }
            if (match != Match::None) {
                searchFound = 1;
                searchRecipe = RecipeRecord::decode(rec);
                return Status::ok();
            }
            if (searchSeen == count)
                break;
        }
    }
    return Status::ok();
}

Status RecipeSearch::recipeText(QByteArray &bytes)
{
    bytes.clear();
    const RecipeRecord &r = searchRecipe;
    if (r.textLen <= 0 || r.textPos < 1)
        return Status::ok();
    qint64 size = 0;
    Status s = m_.textFile.length(size);
    if (!s.isOk())
        return s;
    texts_.setFileSize(size);
    const qint64 start = qint64(r.textPos) - 1;
    const qint64 n = std::min({start + r.textLen, size, start + kMaxShownBytes}) - start;
    if (n <= 0)
        return Status::ok();
    if (n <= texts_.blockBytes()) {
        const char *data = nullptr;
        s = texts_.view(start, n, data);
        if (s.isOk())
            bytes = QByteArray(data, n);
        return s;
    }
    bytes.resize(n);
    s = m_.textFile.file().read(start, n, bytes.data());
    if (!s.isOk())
        bytes.clear();
    return s;
}

qint64 RecipeSearch::FindTerm(const QByteArray &text) const
{
    if (!matchable_)
        return 0;
    return finder_.find(text) + 1;
}

} // namespace gratinel
