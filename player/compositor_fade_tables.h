#pragma once

#include <QtGlobal>

#include <array>
#include <cstddef>

namespace pimoko {

// The step tables of the fade: entry (d, s) for a difference d = 0..255 and a step
// s = 1..100 is d / 100 * s, worked out in extended precision and rounded to the nearest,
// ties to even. The increase table is read where a channel rises, the decrease table where
// it falls; they hold the same values.
class FadeTables {
public:
    static constexpr int kDifferences = 256;
    static constexpr int kSteps = 100;

    FadeTables();

    quint8 Increase(int d, int s) const { return increase_[s - 1][d]; }
    quint8 Decrease(int d, int s) const { return decrease_[s - 1][d]; }

    // One step over `count` bytes: every byte of out moves from the fade source a toward
    // the target b by the table entry for step s (1..100). out may be a or b.
    void BlendStep(const quint8* a, const quint8* b, quint8* out, std::size_t count, int s) const;

    // The same through the tables only, one byte at a time; BlendStep must agree with it.
    void BlendStepByTable(
        const quint8* a, const quint8* b, quint8* out, std::size_t count, int s) const;

    // How BlendStep works: through the tables a byte at a time, with AVX2 arithmetic that
    // reproduces them, or with AVX-512 byte lookups into them. The fastest the machine has
    // is chosen; SetBlendPath is false (and changes nothing) for one it lacks.
    enum class BlendPath { Tables, Avx2, Avx512 };
    BlendPath Path() const { return path_; }
    bool SetBlendPath(BlendPath path);

    // True when step s is blended with vector instructions on the chosen path.
    bool UsesVectorPath(int s) const;

    // Entries that the arithmetic rounding of d * s / 100 gets wrong at a tie, which the
    // AVX2 path corrects one by one.
    static constexpr int kMaxCorrections = 8;
    struct RowCorrections {
        int count = 0; // -1: too many; the row is blended through the tables
        std::array<quint16, kMaxCorrections> difference {};
        std::array<qint16, kMaxCorrections> delta {};
    };
    const RowCorrections& Corrections(int s) const { return corrections_[s - 1]; }

private:
    std::array<std::array<quint8, kDifferences>, kSteps> increase_;
    std::array<std::array<quint8, kDifferences>, kSteps> decrease_;
    std::array<RowCorrections, kSteps> corrections_;
    BlendPath path_ = BlendPath::Tables;
};

// The value of one table entry: d / 100 * s in extended precision, rounded half to even.
int FadeTableEntry(int d, int s);

} // namespace pimoko
