// Collator set up for French, ignoring case but not accents, and its weights per character.
//
// With case ignored the collator compares at its second strength: first the sequences of
// primary weights of the two texts' collation elements (letters), then, when those are
// equal, the sequences of secondary weights (accents). Each character of Windows-1252 has
// a fixed list of collation elements (several for œ, æ, ß, …), the same wherever it stands,
// except in the few pairs the collator takes as one (l followed by a middle dot), which get
// their own entry; a longer contraction of these characters would make the table unusable,
// which is checked when it is built. So a text's order is that of the run "its primaries, 0, its
// secondaries", with the weights renumbered densely in their order so each fits 16 bits.
#include "book/frenchorder.h"

#include "store/cp1252.h"

#include <unicode/ucol.h>
#include <unicode/ucoleitr.h>
#include <unicode/uset.h>

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <numeric>
#include <string>
#include <string_view>

namespace gratinel {

namespace {

constexpr char kLocale[] = "fr_FR";

// Weights as big-endian 16-bit numbers, so that bytewise comparison orders them.
struct CharWeights {
    std::string primaries;
    std::string secondaries;
};

void appendWeight(std::string &to, char16_t w)
{
    to.push_back(char(w >> 8));
    to.push_back(char(w & 0xFF));
}

class WeightTable {
public:
    WeightTable();
    bool usable() const { return usable_; }
    // Index of the character in the table, or -1 when it is not one of Windows-1252.
    int indexOf(char16_t u) const { return u < slot_.size() ? slot_[u] : -1; }
    const CharWeights &weights(int index) const { return chars_[size_t(index)]; }
    // The weights of the pair a, b when the collator takes it as one, or nullptr.
    const CharWeights *pair(char16_t a, char16_t b) const
    {
        if (a >= pairStart_.size() || !pairStart_[a])
            return nullptr;
        const auto it = pairs_.find((quint32(a) << 16) | b);
        return it == pairs_.end() ? nullptr : &it->second;
    }

private:
    bool usable_ = false;
    std::array<qint16, 0x2200> slot_{};
    std::array<CharWeights, 256> chars_;
    std::map<quint32, CharWeights> pairs_;
    std::array<bool, 0x2200> pairStart_{};
};

WeightTable::WeightTable()
{
    slot_.fill(-1);
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UCollator, decltype(&ucol_close)> coll(ucol_open(kLocale, &status), &ucol_close);
    if (U_FAILURE(status))
        return;
    // The settings QCollator makes for case insensitive, punctuation kept, no numeric mode.
    ucol_setAttribute(coll.get(), UCOL_STRENGTH, UCOL_SECONDARY, &status);
    ucol_setAttribute(coll.get(), UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
    ucol_setAttribute(coll.get(), UCOL_NUMERIC_COLLATION, UCOL_OFF, &status);
    if (U_FAILURE(status) || ucol_getAttribute(coll.get(), UCOL_FRENCH_COLLATION, &status) == UCOL_ON)
        return;

    std::array<char16_t, 256> chars{};
    for (int b = 0; b < 256; ++b) {
        chars[size_t(b)] = cp1252::decode(QByteArray(1, char(b))).at(0).unicode();
        if (chars[size_t(b)] >= slot_.size())
            return;
        slot_[chars[size_t(b)]] = qint16(b);
    }

    // Contractions and contexts made only of these characters: pairs get their own weights.
    std::vector<std::array<UChar, 2>> pairText;
    std::unique_ptr<USet, decltype(&uset_close)> contractions(uset_openEmpty(), &uset_close);
    ucol_getContractionsAndExpansions(coll.get(), contractions.get(), nullptr, true, &status);
    if (U_FAILURE(status))
        return;
    for (int32_t i = 0, n = uset_getItemCount(contractions.get()); i < n; ++i) {
        UChar32 start = 0, end = 0;
        UChar text[64];
        status = U_ZERO_ERROR;
        const int32_t len = uset_getItem(contractions.get(), i, &start, &end, text, 64, &status);
        if (len == 0)
            continue; // a range of single code points
        if (U_FAILURE(status))
            return;
        if (std::all_of(text, text + len, [&](UChar u) { return indexOf(u) >= 0; })) {
            if (len != 2)
                return;
            pairText.push_back({text[0], text[1]});
            pairStart_[text[0]] = true;
        }
    }

    // The 64-bit collation elements of each character, as the iterator hands them out in
    // halves: primary high 16 bits and secondary high byte first, then, when not zero, a
    // continuation (marked 0xC0) with the primary's low 16 bits and the secondary's low byte.
    using Elements = std::vector<std::pair<quint32, quint32>>;
    const auto elementsOf = [&](const UChar *text, int32_t len, Elements &list) {
        status = U_ZERO_ERROR;
        std::unique_ptr<UCollationElements, decltype(&ucol_closeElements)> it(
            ucol_openElements(coll.get(), text, len, &status), &ucol_closeElements);
        if (U_FAILURE(status))
            return false;
        for (;;) {
            const int32_t ce = ucol_next(it.get(), &status);
            if (U_FAILURE(status))
                return false;
            if (ce == UCOL_NULLORDER)
                return true;
            const quint32 half = quint32(ce);
            if ((half & 0xC0) == 0xC0 && !list.empty()) {
                list.back().first |= half >> 16;
                list.back().second |= (half >> 8) & 0xFF;
            } else {
                list.push_back({half & 0xFFFF0000u, ((half >> 8) & 0xFF) << 8});
            }
        }
    };
    std::array<Elements, 256> elements;
    for (int b = 0; b < 256; ++b) {
        if (!elementsOf(&chars[size_t(b)], 1, elements[size_t(b)]))
            return;
    }
    std::vector<Elements> pairElements(pairText.size());
    for (size_t i = 0; i < pairText.size(); ++i) {
        if (!elementsOf(pairText[i].data(), 2, pairElements[i]))
            return;
    }

    // Dense renumbering, order kept; 0 stays free for the separator.
    std::map<quint32, char16_t> primaryRank, secondaryRank;
    const auto count = [&](const Elements &list) {
        for (const auto &[p, s] : list) {
            if (p)
                primaryRank[p];
            if (s)
                secondaryRank[s];
        }
    };
    std::for_each(elements.begin(), elements.end(), count);
    std::for_each(pairElements.begin(), pairElements.end(), count);
    if (primaryRank.size() > 0xFFF0 || secondaryRank.size() > 0xFFF0)
        return;
    char16_t rank = 0;
    for (auto &[w, r] : primaryRank)
        r = ++rank;
    rank = 0;
    for (auto &[w, r] : secondaryRank)
        r = ++rank;
    const auto ranked = [&](const Elements &list, CharWeights &weights) {
        for (const auto &[p, s] : list) {
            if (p)
                appendWeight(weights.primaries, primaryRank[p]);
            if (s)
                appendWeight(weights.secondaries, secondaryRank[s]);
        }
    };
    for (int b = 0; b < 256; ++b)
        ranked(elements[size_t(b)], chars_[size_t(b)]);
    for (size_t i = 0; i < pairText.size(); ++i)
        ranked(pairElements[i], pairs_[(quint32(pairText[i][0]) << 16) | pairText[i][1]]);
    usable_ = true;
}

const WeightTable &weightTable()
{
    static const WeightTable table;
    return table;
}

} // namespace

FrenchOrder::FrenchOrder() : collator_(QLocale(QLocale::French, QLocale::France))
{
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
    collator_.setNumericMode(false);
    collator_.setIgnorePunctuation(false);
}

bool FrenchOrder::appendWeights(const QString &text, std::string &keys) const
{
    const WeightTable &table = weightTable();
    if (!table.usable())
        return false;
    const size_t start = keys.size();
    const qsizetype n = text.size();
    const char16_t *u = reinterpret_cast<const char16_t *>(text.constData());
    for (qsizetype i = 0; i < n; ++i) {
        if (table.indexOf(u[i]) < 0) {
            keys.resize(start);
            return false;
        }
    }
    // Each character, or each pair the collator takes as one, in turn.
    const auto walk = [&](auto part) {
        for (qsizetype i = 0; i < n; ++i) {
            const CharWeights *w = i + 1 < n ? table.pair(u[i], u[i + 1]) : nullptr;
            if (w)
                ++i;
            else
                w = &table.weights(table.indexOf(u[i]));
            keys += part(*w);
        }
    };
    walk([](const CharWeights &w) -> const std::string & { return w.primaries; });
    appendWeight(keys, 0);
    walk([](const CharWeights &w) -> const std::string & { return w.secondaries; });
    return true;
}

std::vector<size_t> FrenchOrder::sorted(const std::vector<QString> &texts, std::vector<bool> *equalNext) const
{
    std::vector<size_t> idx(texts.size());
    std::iota(idx.begin(), idx.end(), size_t(0));
    // One key per text, computed once; the sort then compares keys only.
    std::string weights;
    std::vector<std::pair<size_t, size_t>> runs; // start and length of each text's key
    runs.reserve(texts.size());
    weights.reserve(texts.size() * 96);
    bool tabled = true;
    for (const QString &t : texts) {
        const size_t start = weights.size();
        if (!appendWeights(t, weights)) {
            tabled = false;
            break;
        }
        runs.push_back({start, weights.size() - start});
    }
    std::function<bool(size_t, size_t)> same;
    if (tabled) {
        const auto run = [&](size_t i) { return std::string_view(weights.data() + runs[i].first, runs[i].second); };
        std::stable_sort(idx.begin(), idx.end(), [&](size_t a, size_t b) { return run(a) < run(b); });
        same = [run](size_t a, size_t b) { return run(a) == run(b); };
    } else {
        std::vector<QCollatorSortKey> keys;
        keys.reserve(texts.size());
        for (const QString &t : texts)
            keys.push_back(sortKey(t));
        std::stable_sort(idx.begin(), idx.end(), [&](size_t a, size_t b) { return keys[a].compare(keys[b]) < 0; });
        same = [this, &texts](size_t a, size_t b) { return compare(texts[a], texts[b]) == 0; };
    }
    if (equalNext) {
        equalNext->assign(idx.size(), false);
        for (size_t i = 0; i + 1 < idx.size(); ++i)
            (*equalNext)[i] = same(idx[i], idx[i + 1]);
    }
    return idx;
}

} // namespace gratinel
