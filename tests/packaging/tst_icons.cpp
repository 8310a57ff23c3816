#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdlib>

// The launcher icons kept in the tree are the SVG rendered at each size, so that an edited SVG cannot
// ship with stale pictures.
class IconsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keptIconMatchesTheSvg_data();
    void keptIconMatchesTheSvg();
};

void IconsTest::keptIconMatchesTheSvg_data()
{
    QTest::addColumn<int>("size");
    for (int size : { 86, 108, 128, 172 })
        QTest::newRow(qPrintable(QStringLiteral("%1x%1").arg(size))) << size;
}

void IconsTest::keptIconMatchesTheSvg()
{
    QFETCH(int, size);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString rendered = dir.path() + QStringLiteral("/icon.png");
    const QStringList arguments { QStringLiteral("-w"),
                                  QString::number(size),
                                  QStringLiteral("-h"),
                                  QString::number(size),
                                  QStringLiteral("-o"),
                                  rendered,
                                  QStringLiteral(PELLWICK_PACKAGING_DIR "/harbour-pellwick.svg") };
    QCOMPARE(QProcess::execute(QStringLiteral(PELLWICK_RSVG_CONVERT), arguments), 0);

    const QString kept = QStringLiteral(PELLWICK_PACKAGING_DIR "/icons/%1x%1/harbour-pellwick.png").arg(size);
    const QImage expected = QImage(rendered).convertToFormat(QImage::Format_ARGB32);
    const QImage actual = QImage(kept).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(actual.size(), QSize(size, size));
    QCOMPARE(expected.size(), actual.size());
    // Another renderer version may round an edge pixel differently; a changed drawing moves far more.
    int differing = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const QRgb a = expected.pixel(x, y), b = actual.pixel(x, y);
            if (std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b))
                    + std::abs(qAlpha(a) - qAlpha(b))
                > 8)
                ++differing;
        }
    }
    QVERIFY2(differing <= size * size / 200, qPrintable(QStringLiteral("%1 pixels differ").arg(differing)));
}

QTEST_GUILESS_MAIN(IconsTest)
#include "tst_icons.moc"
