#pragma once

#include <QString>

#include <stdexcept>

namespace pimoko {

// The string-to-number conversion error: a text that should hold an integer does not.
// It carries the message the user sees ("'abc' は整数ではありません。"). An action that
// meets it stops there; the application's event boundary shows the message.
class EConvertError : public std::runtime_error {
public:
    explicit EConvertError(const QString& message);
    const QString& message() const { return message_; }

private:
    QString message_;
};

// Signed decimal as the program's files and edit fields hold it: optional spaces
// before, an optional sign, digits, within 32 bits. Anything else throws EConvertError.
int StrToInt(const QString& text);

// The same, returning false instead of throwing.
bool TryStrToInt(const QString& text, int* value);

// Booleans are "T" and "F" in the files; only "T" reads as true.
inline bool StrToBool(const QString& text)
{
    return text == QLatin1String("T");
}
inline QString BoolToStr(bool value)
{
    return value ? QStringLiteral("T") : QStringLiteral("F");
}

inline QString IntToStr(int value)
{
    return QString::number(value);
}

// Rounds to the nearest integer, ties to even, as every fractional value the program converts.
long long RoundHalfEven(long double value);

} // namespace pimoko
