#include "paint/random_source.h"

#include <random>

namespace pimoko {

struct SystemRandom::Impl {
    std::mt19937 generator { std::random_device {}() };
};

SystemRandom::SystemRandom()
    : impl_(std::make_unique<Impl>())
{
}

SystemRandom::~SystemRandom() = default;

int SystemRandom::Random(int range)
{
    if (range < 1)
        return 0;
    return std::uniform_int_distribution<int>(0, range - 1)(impl_->generator);
}

} // namespace pimoko
