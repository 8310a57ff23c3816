// The few Qt Test and endian helpers of Qt 5.7 to 5.9 that our tests and benchmarks use, for the
// phone's Qt 5.6. CMake force-includes this header only when building against a Qt that lacks them.
#pragma once
#pragma GCC system_header // addRow passes its caller's format on, as Qt's own does

#include <QString>
#include <QStringList>
#include <QtEndian>
#include <QtTest/qtest.h>

namespace QTest {

// A data row named by a printf format; newRow copies the name.
template<typename... Args> QTestData &addRow(const char *format, Args... args)
{
    return newRow(QString::asprintf(format, args...).toUtf8().constData());
}

// Comparisons that Qt 5.6 leaves undefined because the two sides have different types.
template<typename A, typename B>
inline bool qCompare(const QString &actual, const QStringBuilder<A, B> &expected, const char *actualText,
                     const char *expectedText, const char *file, int line)
{
    return qCompare(actual, QString(expected), actualText, expectedText, file, line);
}

inline bool qCompare(const QList<QString> &actual, const QStringList &expected, const char *actualText,
                     const char *expectedText, const char *file, int line)
{
    return qCompare(QStringList(actual), expected, actualText, expectedText, file, line);
}

} // namespace QTest

template<typename T> inline T qFromBigEndian(const void *source)
{
    return qFromBigEndian<T>(static_cast<const uchar *>(source));
}

template<typename T> inline void qToBigEndian(T value, void *destination)
{
    qToBigEndian<T>(value, static_cast<uchar *>(destination));
}
