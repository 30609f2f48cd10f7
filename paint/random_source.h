#pragma once

#include <memory>

namespace pimoko {

// Where the graphic editor's random stamp sizes and scatter come from; tests hand in a
// scripted source so a painted picture can be checked pixel by pixel.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    // A number 0 .. range - 1; 0 when range is below 1.
    virtual int Random(int range) = 0;
};

// Numbers from a generator seeded once from the system.
class SystemRandom : public RandomSource {
public:
    SystemRandom();
    ~SystemRandom() override;
    int Random(int range) override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace pimoko
