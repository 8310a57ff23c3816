#include "restorefuzzing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

using namespace Pellwick;

// Replays the restore fuzzer's kept corpus in every build, so that an input that once crashed stays harmless.
class RestoreCorpusTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyKeptInputIsHandledSafely_data();
    void everyKeptInputIsHandledSafely();
};

// Every input is restored and played without a crash or a sanitizer report; the seeds, written by
// pellwick-snapshot-seeds, are snapshots of our own games and must still be accepted.
void RestoreCorpusTest::everyKeptInputIsHandledSafely_data()
{
    QTest::addColumn<QString>("path");
    const QDir corpus(QStringLiteral(PELLWICK_RESTORE_CORPUS));
    const QStringList names = corpus.entryList(QDir::Files, QDir::Name);
    QVERIFY2(names.size() >= 10, qPrintable(corpus.path()));
    for (const QString &name : names)
        QTest::newRow(qPrintable(name)) << corpus.filePath(name);
}

void RestoreCorpusTest::everyKeptInputIsHandledSafely()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const bool accepted = restoreAndPlay(file.readAll());
    if (QFileInfo(path).fileName().startsWith(QLatin1String("seed-")))
        QVERIFY(accepted);
}

QTEST_GUILESS_MAIN(RestoreCorpusTest)
#include "tst_restorecorpus.moc"
