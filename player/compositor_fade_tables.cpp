#include "player/compositor_fade_tables.h"

#include <cfenv>
#include <cmath>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define PIMOKO_FADE_AVX2 1
#include <immintrin.h>
#endif

namespace pimoko {

int FadeTableEntry(int d, int s)
{
    // Division first, then the product, in long double: at the ties the tiny error of d / 100
    // decides the direction, and stored books were tuned on pictures faded with exactly these
    // values.
    const long double value = static_cast<long double>(d) / 100.0L * static_cast<long double>(s);
    return static_cast<int>(std::nearbyintl(value));
}

namespace {

// d * s / 100 rounded half to even, in integers: with z = d * s + 50 it is
// z div 200 + (z + 99) div 200. The vector path computes the same.
int RoundedShare(int d, int s)
{
    const int z = d * s + 50;
    return z / 200 + (z + 99) / 200;
}

#ifdef PIMOKO_FADE_AVX2

// floor(v / 200) for 16-bit v below 43690: 5243 / 2^20 is 1/200 plus less than 1/(200 v).
__attribute__((target("avx2"))) inline __m256i Div200(__m256i v)
{
    return _mm256_srli_epi16(_mm256_mulhi_epu16(v, _mm256_set1_epi16(5243)), 4);
}

__attribute__((target("avx2"))) inline __m256i Share16(__m256i d, __m256i s, int corrections,
                                                       const FadeTables::RowCorrections& row)
{
    const __m256i z = _mm256_add_epi16(_mm256_mullo_epi16(d, s), _mm256_set1_epi16(50));
    __m256i q = _mm256_add_epi16(Div200(z), Div200(_mm256_add_epi16(z, _mm256_set1_epi16(99))));
    for (int i = 0; i < corrections; ++i) {
        const __m256i hit = _mm256_cmpeq_epi16(d, _mm256_set1_epi16(static_cast<short>(row.difference[i])));
        q = _mm256_add_epi16(q, _mm256_and_si256(hit, _mm256_set1_epi16(row.delta[i])));
    }
    return q;
}

__attribute__((target("avx2"))) void BlendAvx2(const quint8* a, const quint8* b, quint8* out,
                                               std::size_t count, int s,
                                               const FadeTables::RowCorrections& row,
                                               std::size_t* done)
{
    const __m256i step = _mm256_set1_epi16(static_cast<short>(s));
    const __m256i zero = _mm256_setzero_si256();
    std::size_t i = 0;
    for (; i + 32 <= count; i += 32) {
        const __m256i va = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + i));
        const __m256i vb = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + i));
        const __m256i rise = _mm256_subs_epu8(vb, va);
        const __m256i fall = _mm256_subs_epu8(va, vb);
        // One of the two is zero in every byte, so their union is the difference.
        const __m256i diff = _mm256_or_si256(rise, fall);
        const __m256i lo = Share16(_mm256_unpacklo_epi8(diff, zero), step, row.count, row);
        const __m256i hi = Share16(_mm256_unpackhi_epi8(diff, zero), step, row.count, row);
        const __m256i share = _mm256_packus_epi16(lo, hi);
        const __m256i up = _mm256_add_epi8(va, share);
        const __m256i down = _mm256_sub_epi8(va, share);
        const __m256i falling = _mm256_cmpeq_epi8(rise, zero);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i),
                            _mm256_blendv_epi8(up, down, falling));
    }
    *done = i;
}

bool MachineHasAvx2()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

#endif

}  // namespace

FadeTables::FadeTables()
{
    const int oldRounding = std::fegetround();
    std::fesetround(FE_TONEAREST);
    for (int s = 1; s <= kSteps; ++s) {
        RowCorrections& row = corrections_[s - 1];
        for (int d = 0; d < kDifferences; ++d) {
            const int v = FadeTableEntry(d, s);
            increase_[s - 1][d] = static_cast<quint8>(v);
            decrease_[s - 1][d] = static_cast<quint8>(v);
            const int delta = v - RoundedShare(d, s);
            if (delta != 0 && row.count >= 0) {
                if (row.count == kMaxCorrections || (delta != 1 && delta != -1)) {
                    row.count = -1;
                } else {
                    row.difference[row.count] = static_cast<quint16>(d);
                    row.delta[row.count] = static_cast<qint16>(delta);
                    ++row.count;
                }
            }
        }
    }
    std::fesetround(oldRounding);
#ifdef PIMOKO_FADE_AVX2
    vector_ = MachineHasAvx2();
#endif
}

bool FadeTables::UsesVectorPath(int s) const
{
    return vector_ && s >= 1 && s <= kSteps && corrections_[s - 1].count >= 0;
}

void FadeTables::BlendStepByTable(const quint8* a, const quint8* b, quint8* out,
                                  std::size_t count, int s) const
{
    const quint8* inc = increase_[s - 1].data();
    const quint8* dec = decrease_[s - 1].data();
    for (std::size_t i = 0; i < count; ++i) {
        const int va = a[i];
        const int vb = b[i];
        if (va == vb)
            out[i] = static_cast<quint8>(vb);
        else if (va < vb)
            out[i] = static_cast<quint8>(va + inc[vb - va]);
        else
            out[i] = static_cast<quint8>(va - dec[va - vb]);
    }
}

void FadeTables::BlendStep(const quint8* a, const quint8* b, quint8* out, std::size_t count,
                           int s) const
{
    std::size_t done = 0;
#ifdef PIMOKO_FADE_AVX2
    if (UsesVectorPath(s))
        BlendAvx2(a, b, out, count, s, corrections_[s - 1], &done);
#endif
    BlendStepByTable(a + done, b + done, out + done, count - done, s);
}

}  // namespace pimoko
