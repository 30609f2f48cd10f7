#include "platform/numbers.h"

#include <cmath>
#include <limits>

namespace pimoko {

EConvertError::EConvertError(const QString& message)
    : std::runtime_error(message.toStdString())
    , message_(message)
{
}

bool TryStrToInt(const QString& text, int* value)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    if (i == n)
        return false;
    long long v = 0;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return false;
        v = v * 10 + (c - u'0');
        if (v > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
            return false;
    }
    if (negative)
        v = -v;
    if (v > std::numeric_limits<int>::max() || v < std::numeric_limits<int>::min())
        return false;
    *value = static_cast<int>(v);
    return true;
}

int StrToInt(const QString& text)
{
    int v = 0;
    if (!TryStrToInt(text, &v))
        throw EConvertError(QStringLiteral("'%1' は整数ではありません。").arg(text));
    return v;
}

long long RoundHalfEven(long double value)
{
    return static_cast<long long>(std::nearbyintl(value));
}

} // namespace pimoko
