#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

// The phone's store accepts an application only if its QML imports nothing beyond QtQuick 2, QtQuick.Window
// 2, QtMultimedia 5, the application's own module and its own files; and the phone's Qt 5.6 has no version
// above QtQuick 2.6, QtQuick.Window 2.2 and QtMultimedia 5.6.
class QmlImportsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyFileUnderQmlImportsOnlyWhatTheStoreAllows_data();
    void everyFileUnderQmlImportsOnlyWhatTheStoreAllows();
};

namespace {

const QString kQmlRoot = QStringLiteral(PELLWICK_QML_DIR);

// The import statements of a page, a script or a qmldir file, each as written after its keyword.
QStringList importStatements(const QString &text)
{
    static const QRegularExpression line(
        QStringLiteral("^[ \\t]*(?:\\.import|import|depends|optional import)[ \\t]+([^;/\\n]+)"),
        QRegularExpression::MultilineOption);
    QStringList statements;
    auto matches = line.globalMatch(text);
    while (matches.hasNext())
        statements.append(matches.next().captured(1).simplified());
    return statements;
}

// Why the store would refuse the statement of a file in `directory`, or nothing when it is allowed.
QString refusal(const QString &statement, const QDir &directory)
{
    if (statement.startsWith(QLatin1Char('"'))) {
        const QString path = statement.section(QLatin1Char('"'), 1, 1);
        const QString target = QDir::cleanPath(directory.absoluteFilePath(path));
        const QString inside = QDir::cleanPath(kQmlRoot) + QLatin1Char('/');
        if (path.contains(QLatin1Char(':')) || !QString(target + QLatin1Char('/')).startsWith(inside))
            return QStringLiteral("reaches outside the game's own files");
        return QFileInfo::exists(target) ? QString() : QStringLiteral("names no file of the game");
    }
    static const QRegularExpression allowed(
        QStringLiteral("^(QtQuick 2\\.[0-6]|QtQuick\\.Window 2\\.[0-2]|QtMultimedia "
                       "5\\.[0-6]|harbour\\.pellwick 1\\.0)( as \\w+)?$"));
    return allowed.match(statement).hasMatch() ? QString() : QStringLiteral("is not allowed");
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

// Every import of every file under qml/ is allowed; the refusals name the statement and the reason. The main
// page's imports are found, so a scan that reads nothing cannot pass unnoticed.
void QmlImportsTest::everyFileUnderQmlImportsOnlyWhatTheStoreAllows()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList statements = importStatements(QString::fromUtf8(file.readAll()));
    if (path.endsWith(QLatin1String("/harbour-pellwick.qml")))
        QVERIFY(statements.contains(QStringLiteral("QtQuick 2.6")));
    QStringList refusals;
    for (const QString &statement : statements) {
        const QString reason = refusal(statement, QFileInfo(path).dir());
        if (!reason.isEmpty())
            refusals.append(statement + QStringLiteral(": ") + reason);
    }
    QCOMPARE(refusals, QStringList());
}

QTEST_GUILESS_MAIN(QmlImportsTest)
#include "tst_qmlimports.moc"
