#include "qmlimports.h"

#include <QDirIterator>
#include <QFile>
#include <QtTest>

// The phone's store accepts an application only if its QML imports nothing beyond QtQuick 2.x,
// QtQuick.Window, QtQuick.Layouts and the application's own module and files.
class QmlImportsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyFileUnderQmlImportsOnlyWhatTheStoreAllows_data();
    void everyFileUnderQmlImportsOnlyWhatTheStoreAllows();
    void theScanReadsTheMainPage();
};

namespace {

const QString kQmlRoot = QStringLiteral(PELLWICK_QML_DIR);

QString contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

void QmlImportsTest::everyFileUnderQmlImportsOnlyWhatTheStoreAllows_data()
{
    QTest::addColumn<QString>("path");
    QDirIterator files(kQmlRoot, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        QTest::newRow(qPrintable(QDir(kQmlRoot).relativeFilePath(path))) << path;
    }
}

void QmlImportsTest::everyFileUnderQmlImportsOnlyWhatTheStoreAllows()
{
    // Every import of every file under qml/ is allowed; the refusals name the statement and the reason.
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QFileInfo info(path);
    QStringList refusals;
    const QStringList statements = importStatements(info.fileName(), QString::fromUtf8(file.readAll()));
    for (const QString &statement : statements) {
        const QString refusal = importRefusal(statement, info.dir(), QDir(kQmlRoot));
        if (!refusal.isEmpty())
            refusals.append(statement + QStringLiteral(": ") + refusal);
    }
    QCOMPARE(refusals, QStringList());
}

void QmlImportsTest::theScanReadsTheMainPage()
{
    // Each line of the main page that starts with an import is found, so a scan that reads nothing
    // cannot pass the check above unnoticed.
    const QString main = kQmlRoot + QStringLiteral("/harbour-pellwick.qml");
    const QString text = contentsOf(main);
    static const QRegularExpression importLine(QStringLiteral("^import[ \\t]+([^;/\\n]+)"),
                                               QRegularExpression::MultilineOption);
    QStringList lineStarts;
    auto matches = importLine.globalMatch(text);
    while (matches.hasNext())
        lineStarts.append(matches.next().captured(1).simplified());
    QVERIFY(!lineStarts.isEmpty());
    const QStringList statements = importStatements(QFileInfo(main).fileName(), text);
    for (const QString &statement : qAsConst(lineStarts))
        QVERIFY(statements.contains(statement));
}

QTEST_GUILESS_MAIN(QmlImportsTest)
#include "tst_qmlimports.moc"
