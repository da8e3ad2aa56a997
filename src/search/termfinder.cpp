// The word search: candidates by their first and last byte, many bytes at a time, then a
// byte-by-byte check through the upper-case table.
#include "search/termfinder.h"

#include "store/cp1252.h"

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define GRATINEL_X86_SIMD 1
#include <immintrin.h>
#endif

namespace gratinel {

namespace {

struct Needle {
    const unsigned char *term;
    qint64 len;
    const unsigned char *upper;
    unsigned char first[2];
    unsigned char last[2];

    bool matchesAt(const unsigned char *s) const
    {
        for (qint64 k = 0; k < len; ++k) {
            if (upper[s[k]] != term[k])
                return false;
        }
        return true;
    }
};

qint64 findFrom(const Needle &n, const unsigned char *s, qint64 len, qint64 from)
{
    for (qint64 i = from; i + n.len <= len; ++i) {
        if (n.matchesAt(s + i))
            return i;
    }
    return -1;
}

#ifdef GRATINEL_X86_SIMD

qint64 findSse2(const Needle &n, const unsigned char *s, qint64 len)
{
    const __m128i f0 = _mm_set1_epi8(char(n.first[0])), f1 = _mm_set1_epi8(char(n.first[1]));
    const __m128i l0 = _mm_set1_epi8(char(n.last[0])), l1 = _mm_set1_epi8(char(n.last[1]));
    const qint64 tail = n.len - 1;
    qint64 i = 0;
    for (; i + tail + 16 <= len; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + i + tail));
        const __m128i fa = _mm_or_si128(_mm_cmpeq_epi8(a, f0), _mm_cmpeq_epi8(a, f1));
        const __m128i lb = _mm_or_si128(_mm_cmpeq_epi8(b, l0), _mm_cmpeq_epi8(b, l1));
        unsigned mask = unsigned(_mm_movemask_epi8(_mm_and_si128(fa, lb)));
        while (mask) {
            const int bit = __builtin_ctz(mask);
            if (n.matchesAt(s + i + bit))
                return i + bit;
            mask &= mask - 1;
        }
    }
    return findFrom(n, s, len, i);
}

__attribute__((target("avx2"))) qint64 findAvx2(const Needle &n, const unsigned char *s, qint64 len)
{
    const __m256i f0 = _mm256_set1_epi8(char(n.first[0])), f1 = _mm256_set1_epi8(char(n.first[1]));
    const __m256i l0 = _mm256_set1_epi8(char(n.last[0])), l1 = _mm256_set1_epi8(char(n.last[1]));
    const qint64 tail = n.len - 1;
    qint64 i = 0;
    for (; i + tail + 32 <= len; i += 32) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(s + i));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(s + i + tail));
        const __m256i fa = _mm256_or_si256(_mm256_cmpeq_epi8(a, f0), _mm256_cmpeq_epi8(a, f1));
        const __m256i lb = _mm256_or_si256(_mm256_cmpeq_epi8(b, l0), _mm256_cmpeq_epi8(b, l1));
        unsigned mask = unsigned(_mm256_movemask_epi8(_mm256_and_si256(fa, lb)));
        while (mask) {
            const int bit = __builtin_ctz(mask);
            if (n.matchesAt(s + i + bit))
                return i + bit;
            mask &= mask - 1;
        }
    }
    return findFrom(n, s, len, i);
}

using FindFn = qint64 (*)(const Needle &, const unsigned char *, qint64);

FindFn bestFind()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? findAvx2 : findSse2;
}

#endif

// The stored bytes whose upper case is b: b itself, and its small letter if it has one.
void bytesUpperingTo(unsigned char b, const unsigned char *upper, unsigned char out[2])
{
    out[0] = out[1] = b;
    for (int c = 0; c < 256; ++c) {
        if (c != b && upper[c] == b)
            out[1] = static_cast<unsigned char>(c);
    }
}

} // namespace

TermFinder::TermFinder(const QByteArray &term) : term_(cp1252::toUpper(term))
{
    if (term_.isEmpty())
        return;
    const unsigned char *upper = cp1252::upperTable();
    bytesUpperingTo(static_cast<unsigned char>(term_.front()), upper, first_);
    bytesUpperingTo(static_cast<unsigned char>(term_.back()), upper, last_);
}

qint64 TermFinder::find(const char *data, qint64 len) const
{
    if (term_.isEmpty() || len < term_.size())
        return -1;
    const Needle n{reinterpret_cast<const unsigned char *>(term_.constData()),
                   term_.size(),
                   cp1252::upperTable(),
                   {first_[0], first_[1]},
                   {last_[0], last_[1]}};
    const auto *s = reinterpret_cast<const unsigned char *>(data);
#ifdef GRATINEL_X86_SIMD
    static const FindFn fn = bestFind();
    return fn(n, s, len);
#else
    return findFrom(n, s, len, 0);
#endif
}

} // namespace gratinel
