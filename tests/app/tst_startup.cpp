#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// Starts the real game, as a player would, under a given system locale and stored language, and reads back
// what its first page shows.
class TestStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstPageLanguage_data();
    void firstPageLanguage();
};

void TestStartup::firstPageLanguage_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("hungarian");

    QTest::newRow("en on a Hungarian system") << QByteArray("en") << "hu_HU.UTF-8" << false;
    QTest::newRow("hu on an English system") << QByteArray("hu") << "en_GB.UTF-8" << true;
    QTest::newRow("first start on a Hungarian system") << QByteArray() << "hu_HU.UTF-8" << true;
    QTest::newRow("first start on a German system") << QByteArray() << "de_DE.UTF-8" << false;
    QTest::newRow("stored HU is not hu") << QByteArray("HU") << "hu_HU.UTF-8" << false;
}

// The stored language, or on a first start the system's, decides the texts of the pages and of the canvas
// from the first page on, and the pages load without a single warning or error.
void TestStartup::firstPageLanguage()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, locale);
    QFETCH(bool, hungarian);

    QTemporaryDir home;
    const QString files = home.path() + QStringLiteral("/vexil/harbour-pellwick/");
    QVERIFY(QDir().mkpath(files + QStringLiteral("levels")));
    QVERIFY(QFile::copy(QStringLiteral(PELLWICK_EXAMPLE_LEVEL), files + QStringLiteral("levels/mine.level")));
    if (!stored.isNull()) {
        QFile file(files + QStringLiteral("language.ini"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[ui]\nlanguage=" + stored + '\n');
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : { "LANG", "LANGUAGE", "LC_MESSAGES", "LC_NUMERIC" })
        environment.remove(QLatin1String(name));
    environment.insert(QStringLiteral("LC_ALL"), locale);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    environment.insert(QStringLiteral("PELLWICK_STARTUP_PROBE_MS"), QStringLiteral("300"));
    QProcess game;
    game.setProcessEnvironment(environment);
    game.start(QStringLiteral(PELLWICK_GAME_EXECUTABLE), QStringList());
    QVERIFY(game.waitForFinished(60000));
    const QString errors = QString::fromLocal8Bit(game.readAllStandardError());
    QVERIFY2(game.exitStatus() == QProcess::NormalExit && game.exitCode() == 0, qPrintable(errors));
    QVERIFY2(errors.isEmpty(), qPrintable(errors));

    // The chooser's heading, a stage name and a level name: texts of the pages and of the canvas; and the
    // name of a level of the player's own, which brings its Hungarian, in their stage.
    const QStringList english { QStringLiteral("Choose a level"), QStringLiteral("Training"),
                                QStringLiteral("First Steps"), QStringLiteral("Your levels"),
                                QStringLiteral("Stepping Stones") };
    const QStringList magyar { QStringLiteral("Válassz pályát"), QStringLiteral("Kiképzés"),
                               QStringLiteral("Első lépések"), QStringLiteral("Saját pályák"),
                               QStringLiteral("Kőről kőre") };
    const QString shown = QString::fromUtf8(game.readAllStandardOutput());
    for (const QString &text : hungarian ? magyar : english)
        QVERIFY2(shown.contains(text), qPrintable(text + QStringLiteral(" is not shown")));
    for (const QString &text : hungarian ? english : magyar)
        QVERIFY2(!shown.contains(text), qPrintable(text + QStringLiteral(" is shown")));
}

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
