#include "app/core/window_registry.h"

namespace pimoko {

int WindowOrderIndex(const QString& className)
{
    for (size_t i = 0; i < kWindowOrder.size(); ++i) {
        if (className == QLatin1String(kWindowOrder[i].className))
            return static_cast<int>(i);
    }
    return -1;
}

bool WindowRegistry::Register(const QString& className, Maker maker)
{
    const int i = WindowOrderIndex(className);
    if (i < 0 || makers_[i] || !maker)
        return false;
    makers_[i] = std::move(maker);
    return true;
}

void WindowRegistry::CreateAll()
{
    if (created_)
        return;
    created_ = true;
    for (size_t i = 0; i < kWindowOrder.size(); ++i) {
        if (makers_[i])
            instances_[i] = makers_[i]();
        else if (fallback_)
            instances_[i] = fallback_(kWindowOrder[i]);
        log_.push_back(QString::fromLatin1(kWindowOrder[i].className));
    }
}

QObject* WindowRegistry::Instance(const QString& className) const
{
    const int i = WindowOrderIndex(className);
    return i < 0 ? nullptr : instances_[i];
}

} // namespace pimoko
