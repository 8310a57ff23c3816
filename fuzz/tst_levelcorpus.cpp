#include "levelfuzzing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

using namespace Pellwick;

// Replays the level fuzzer's kept corpus in every build, so that an input that once crashed stays harmless.
class LevelCorpusTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyKeptInputIsHandledSafely_data();
    void everyKeptInputIsHandledSafely();
};

// Every input is read, and when accepted written back and played, without a crash or a sanitizer report;
// the seeds are levels and must still be accepted.
void LevelCorpusTest::everyKeptInputIsHandledSafely_data()
{
    QTest::addColumn<QString>("path");
    const QDir corpus(QStringLiteral(PELLWICK_LEVEL_CORPUS));
    const QStringList names = corpus.entryList(QDir::Files, QDir::Name);
    QVERIFY2(names.size() >= 5, qPrintable(corpus.path()));
    for (const QString &name : names)
        QTest::newRow(qPrintable(name)) << corpus.filePath(name);
}

void LevelCorpusTest::everyKeptInputIsHandledSafely()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const bool accepted = readAndPlayLevel(file.readAll());
    QCOMPARE(accepted, QFileInfo(path).fileName().startsWith(QLatin1String("seed-")));
}

QTEST_GUILESS_MAIN(LevelCorpusTest)
#include "tst_levelcorpus.moc"
