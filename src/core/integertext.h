#ifndef PELLWICK_INTEGERTEXT_H
#define PELLWICK_INTEGERTEXT_H

#include <QByteArray>
#include <QtGlobal>

namespace Pellwick {

// A whole number from min to max in our text files: digits with an optional minus sign, nothing else (no
// spaces, no plus, no hexadecimal), so that a number reads the same on every machine.
inline bool parseInteger(const QByteArray &field, qint64 min, qint64 max, qint32 *value)
{
    const int start = field.startsWith('-') ? 1 : 0;
    if (field.size() == start || field.size() > start + 10)
        return false;
    qint64 magnitude = 0;
    for (int i = start; i < field.size(); ++i) {
        if (field[i] < '0' || field[i] > '9')
            return false;
        magnitude = magnitude * 10 + (field[i] - '0');
    }
    const qint64 number = start ? -magnitude : magnitude;
    if (number < min || number > max)
        return false;
    *value = qint32(number);
    return true;
}

} // namespace Pellwick

#endif // PELLWICK_INTEGERTEXT_H
