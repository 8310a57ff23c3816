#include "qmlimports.h"

#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <utility>

// The phone's store accepts an application only if its QML imports nothing beyond the phone's Qt 5.6
// modules (QtQuick 2.6, QtQuick.Window 2.2, QtMultimedia 5.6) and the application's own module and files.
class QmlImportsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyFileUnderQmlImportsOnlyWhatTheStoreAllows_data();
    void everyFileUnderQmlImportsOnlyWhatTheStoreAllows();
    void theScanReadsTheMainPage();
    void importsAreFoundWhereverTheHeaderHoldsThem_data();
    void importsAreFoundWhereverTheHeaderHoldsThem();
    void onlyTheAllowedModulesAndOurOwnFilesPass_data();
    void onlyTheAllowedModulesAndOurOwnFilesPass();
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
    for (const QString &statement : std::as_const(lineStarts))
        QVERIFY(statements.contains(statement));
}

void QmlImportsTest::importsAreFoundWhereverTheHeaderHoldsThem_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("one a line") << "Page.qml"
                                << "import QtQuick 2.6\nimport \"pages\"\n\nItem {}\n"
                                << QStringList { "QtQuick 2.6", "\"pages\"" };
    QTest::newRow("several on a line") << "Page.qml"
                                       << "import QtQuick 2.6; import  Sailfish.Silica   1.0;Item {}"
                                       << QStringList { "QtQuick 2.6", "Sailfish.Silica 1.0" };
    QTest::newRow("after a pragma and a licence comment")
        << "Style.qml"
        << "/* Pellwick\n * import Commented.Out 1.0\n */\npragma Singleton\nimport QtQuick 2.6\nQtObject {}"
        << QStringList { "QtQuick 2.6" };
    QTest::newRow("commented out") << "Page.qml"
                                   << "// import Sailfish.Silica 1.0\nimport QtQuick 2.6\nItem {}"
                                   << QStringList { "QtQuick 2.6" };
    QTest::newRow("trailing comment and qualifier")
        << "Page.qml"
        << "import QtQuick.Window 2.2 as W // the window\nimport QtQuick 2.6/* x */\nItem {}"
        << QStringList { "QtQuick.Window 2.2 as W", "QtQuick 2.6" };
    QTest::newRow("a path with slashes")
        << "Page.qml"
        << "import \"http://example.invalid/x\"\nItem {}" << QStringList { "\"http://example.invalid/x\"" };
    QTest::newRow("the word import inside the page is no import")
        << "Page.qml"
        << "import QtQuick 2.6\nText { text: \"import Sailfish.Silica 1.0\"\n import: 1 }"
        << QStringList { "QtQuick 2.6" };
    QTest::newRow("javascript") << "logic.js"
                                << ".pragma library\n.import QtQuick.LocalStorage 2.0 as Sql\nvar a = 1;"
                                << QStringList { "QtQuick.LocalStorage 2.0 as Sql" };
    QTest::newRow("qmldir") << "qmldir"
                            << "module pages\nsingleton Style 1.0 Style.qml\ndepends QtQuick.Controls 2.0\n"
                               "import QtQuick 2.6\noptional import Sailfish.Silica 1.0\n"
                            << QStringList { "QtQuick.Controls 2.0", "QtQuick 2.6", "Sailfish.Silica 1.0" };
    QTest::newRow("an image") << "icon.svg"
                              << "<svg>import Sailfish.Silica 1.0</svg>" << QStringList();
}

void QmlImportsTest::importsAreFoundWhereverTheHeaderHoldsThem()
{
    // Every import statement of a file is found, including several on one line, and nothing that only
    // looks like one (in a comment, a string or after the header) counts.
    QFETCH(QString, fileName);
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    QCOMPARE(importStatements(fileName, text), expected);
}

void QmlImportsTest::onlyTheAllowedModulesAndOurOwnFilesPass_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<bool>("allowed");

    QTest::newRow("QtQuick 2.6") << "QtQuick 2.6" << true;
    QTest::newRow("QtQuick 2.0") << "QtQuick 2.0" << true;
    QTest::newRow("QtQuick 2.7, newer than the phone's") << "QtQuick 2.7" << false;
    QTest::newRow("QtQuick 2.15") << "QtQuick 2.15" << false;
    QTest::newRow("QtQuick 1.1") << "QtQuick 1.1" << false;
    QTest::newRow("QtQuick without a version") << "QtQuick" << false;
    QTest::newRow("QtQuick.Window") << "QtQuick.Window 2.2 as Window" << true;
    QTest::newRow("QtQuick.Window 2.3") << "QtQuick.Window 2.3" << false;
    QTest::newRow("QtMultimedia 5.6") << "QtMultimedia 5.6" << true;
    QTest::newRow("QtMultimedia 5.8") << "QtMultimedia 5.8" << false;
    QTest::newRow("QtQuick.Layouts, absent on the phone") << "QtQuick.Layouts 1.3" << false;
    QTest::newRow("our module") << "harbour.pellwick 1.0" << true;
    QTest::newRow("the phone's component set") << "Sailfish.Silica 1.0" << false;
    QTest::newRow("a module that only starts like an allowed one") << "QtQuick.Particles 2.0" << false;
    QTest::newRow("a longer name with an allowed start") << "QtQuick.Window.Extra 2.0" << false;
    QTest::newRow("our folder") << "\"../pages\"" << true;
    QTest::newRow("our script") << "\"../logic.js\" as Logic" << true;
    QTest::newRow("the folder itself") << "\".\"" << true;
    QTest::newRow("a missing folder") << "\"missing\"" << false;
    QTest::newRow("a folder outside") << "\"../../outside\"" << false;
    QTest::newRow("an absolute path") << "\"/usr/lib/qt5/qml/Sailfish/Silica\"" << false;
    QTest::newRow("a resource") << "\"qrc:/pages\"" << false;
    QTest::newRow("a network folder") << "\"http://example.invalid/pages\"" << false;
}

void QmlImportsTest::onlyTheAllowedModulesAndOurOwnFilesPass()
{
    // Modules pass only from the allowed list, at most at the phone's version; paths only when they name
    // something of ours inside the qml folder.
    QFETCH(QString, statement);
    QFETCH(bool, allowed);
    QTemporaryDir base;
    QVERIFY(base.isValid());
    const QDir root(base.path() + QStringLiteral("/qml"));
    QVERIFY(QDir().mkpath(root.filePath(QStringLiteral("pages"))));
    QVERIFY(QDir().mkpath(base.path() + QStringLiteral("/outside")));
    QFile script(root.filePath(QStringLiteral("logic.js")));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.close();

    const QString refusal = importRefusal(statement, QDir(root.filePath(QStringLiteral("pages"))), root);
    QCOMPARE(refusal.isEmpty(), allowed);
}

QTEST_GUILESS_MAIN(QmlImportsTest)
#include "tst_qmlimports.moc"
