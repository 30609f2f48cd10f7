#include "player/compositor_fade_tables.h"

#include <cfenv>
#include <cmath>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define PIMOKO_FADE_X86 1
#include <immintrin.h>
#endif

namespace pimoko {

int FadeTableEntry(int d, int s)
{
    // Division first, then the product, in long double: at a tie the tiny error of d / 100
    // decides the direction, so this order is part of the values, not an implementation detail.
    const long double value = static_cast<long double>(d) / 100.0L * static_cast<long double>(s);
    return static_cast<int>(std::nearbyintl(value));
}

namespace {

// d * s / 100 rounded half to even, in integers: with z = d * s + 50 it is
// z div 200 + (z + 99) div 200. The vector path computes the same; the table entries that
// differ from it are its corrections.
int RoundedShare(int d, int s)
{
    const int z = d * s + 50;
    return z / 200 + (z + 99) / 200;
}

#ifdef PIMOKO_FADE_X86

// Multipliers for a rounding multiply by s / 100 in 1.15 fixed point, one just below and
// one just above the exact value: they differ by less than 1/32768 per unit of d, so both
// round every d * s / 100 correctly except at the exact ties, which the low one rounds down
// and the high one up.
struct StepMultipliers {
    short low;
    short high;
};

StepMultipliers MultipliersFor(int s)
{
    const long long exact = static_cast<long long>(s) * 32768; // K * 100
    const long long floorK = exact / 100;
    const long long ceilK = (exact + 99) / 100;
    return { static_cast<short>(ceilK - 1), static_cast<short>(floorK + 1) };
}

__attribute__((target("avx2"))) void BlendAvx2(const quint8* a, const quint8* b, quint8* out,
    std::size_t count, int s, const FadeTables::RowCorrections& row, std::size_t* done)
{
    const StepMultipliers k = MultipliersFor(s);
    const __m256i kLow = _mm256_set1_epi16(k.low);
    const __m256i kHigh = _mm256_set1_epi16(k.high);
    const __m256i zero = _mm256_setzero_si256();
    const int fixes = row.count;
    __m256i fixAt[FadeTables::kMaxCorrections];
    __m256i fixBy[FadeTables::kMaxCorrections];
    for (int i = 0; i < fixes; ++i) {
        fixAt[i] = _mm256_set1_epi8(static_cast<char>(row.difference[i]));
        fixBy[i] = _mm256_set1_epi8(static_cast<char>(row.delta[i]));
    }
    std::size_t i = 0;
    for (; i + 32 <= count; i += 32) {
        const __m256i va = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + i));
        const __m256i vb = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + i));
        const __m256i rise = _mm256_subs_epu8(vb, va);
        const __m256i fall = _mm256_subs_epu8(va, vb);
        // One of the two is zero in every byte, so their union is the difference.
        const __m256i diff = _mm256_or_si256(rise, fall);
        const __m256i lo = _mm256_unpacklo_epi8(diff, zero);
        const __m256i hi = _mm256_unpackhi_epi8(diff, zero);
        const __m256i down
            = _mm256_packus_epi16(_mm256_mulhrs_epi16(lo, kLow), _mm256_mulhrs_epi16(hi, kLow));
        const __m256i up
            = _mm256_packus_epi16(_mm256_mulhrs_epi16(lo, kHigh), _mm256_mulhrs_epi16(hi, kHigh));
        // At a tie (up = down + 1) the even one of the two.
        __m256i share = _mm256_add_epi8(down, _mm256_and_si256(_mm256_sub_epi8(up, down), down));
        for (int f = 0; f < fixes; ++f)
            share = _mm256_add_epi8(
                share, _mm256_and_si256(_mm256_cmpeq_epi8(diff, fixAt[f]), fixBy[f]));
        const __m256i toward = _mm256_add_epi8(va, share);
        const __m256i back = _mm256_sub_epi8(va, share);
        const __m256i falling = _mm256_cmpeq_epi8(rise, zero);
        _mm256_storeu_si256(
            reinterpret_cast<__m256i*>(out + i), _mm256_blendv_epi8(toward, back, falling));
    }
    *done = i;
}

// The whole row of the table for a step as four 64-byte registers: one byte lookup for
// 128 entries at a time, so the bytes come from the table itself.
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) void BlendAvx512(const quint8* a,
    const quint8* b, quint8* out, std::size_t count, const quint8* row, std::size_t* done)
{
    const __m512i t0 = _mm512_loadu_si512(row);
    const __m512i t1 = _mm512_loadu_si512(row + 64);
    const __m512i t2 = _mm512_loadu_si512(row + 128);
    const __m512i t3 = _mm512_loadu_si512(row + 192);
    std::size_t i = 0;
    for (; i + 64 <= count; i += 64) {
        const __m512i va = _mm512_loadu_si512(a + i);
        const __m512i vb = _mm512_loadu_si512(b + i);
        const __m512i diff = _mm512_or_si512(_mm512_subs_epu8(vb, va), _mm512_subs_epu8(va, vb));
        const __m512i low = _mm512_permutex2var_epi8(t0, diff, t1);
        const __m512i high = _mm512_permutex2var_epi8(t2, diff, t3);
        const __m512i share = _mm512_mask_blend_epi8(_mm512_movepi8_mask(diff), low, high);
        const __mmask64 falling = _mm512_cmpgt_epu8_mask(va, vb);
        const __m512i toward = _mm512_add_epi8(va, share);
        _mm512_storeu_si512(out + i, _mm512_mask_sub_epi8(toward, falling, va, share));
    }
    *done = i;
}

bool MachineHas(FadeTables::BlendPath path)
{
    // Tables made by a static constructor may ask before the feature bits are read.
    __builtin_cpu_init();
    switch (path) {
    case FadeTables::BlendPath::Tables:
        return true;
    case FadeTables::BlendPath::Avx2:
        return __builtin_cpu_supports("avx2");
    case FadeTables::BlendPath::Avx512:
        return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw")
            && __builtin_cpu_supports("avx512vbmi");
    }
    return false;
}

#endif

} // namespace

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
    for (BlendPath p : { BlendPath::Avx512, BlendPath::Avx2 }) {
        if (SetBlendPath(p))
            break;
    }
}

bool FadeTables::SetBlendPath(BlendPath path)
{
#ifdef PIMOKO_FADE_X86
    if (!MachineHas(path))
        return false;
    path_ = path;
    return true;
#else
    if (path != BlendPath::Tables)
        return false;
    path_ = path;
    return true;
#endif
}

bool FadeTables::UsesVectorPath(int s) const
{
    if (s < 1 || s > kSteps)
        return false;
    switch (path_) {
    case BlendPath::Tables:
        return false;
    case BlendPath::Avx2:
        // Step 100 copies the target; its multiplier would not fit the fixed-point range.
        return s < kSteps && corrections_[s - 1].count >= 0;
    case BlendPath::Avx512:
        return true;
    }
    return false;
}

void FadeTables::BlendStepByTable(
    const quint8* a, const quint8* b, quint8* out, std::size_t count, int s) const
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

void FadeTables::BlendStep(
    const quint8* a, const quint8* b, quint8* out, std::size_t count, int s) const
{
    std::size_t done = 0;
#ifdef PIMOKO_FADE_X86
    if (UsesVectorPath(s)) {
        // Both tables hold the same row, so one lookup of the difference serves either way.
        if (path_ == BlendPath::Avx512)
            BlendAvx512(a, b, out, count, increase_[s - 1].data(), &done);
        else
            BlendAvx2(a, b, out, count, s, corrections_[s - 1], &done);
    }
#endif
    BlendStepByTable(a + done, b + done, out + done, count - done, s);
}

} // namespace pimoko
