#include "languagefile.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kBuiltGame = QStringLiteral(PELLWICK_GAME_EXECUTABLE);

struct Run
{
    QString shown; // the texts on screen, one a line, as the game printed them
    QString errors; // everything the game wrote to its error output
    bool finished = false;
};

} // namespace

// Starts the real game, as a player would, and reads back what its first page shows.
class TestStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void firstPageLanguage_data();
    void firstPageLanguage();
    void installedGameStartsAnywhere();

private:
    Run startGame(const QString &executable, const QString &locale = QStringLiteral("en_GB.UTF-8")) const;

    QScopedPointer<QTemporaryDir> m_home;
};

void TestStartup::init()
{
    m_home.reset(new QTemporaryDir);
    QVERIFY(m_home->isValid());
}

Run TestStartup::startGame(const QString &executable, const QString &locale) const
{
    QProcessEnvironment environment = LanguageFile::environmentUnder(locale, m_home->path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home->path());
    environment.insert(QStringLiteral("PELLWICK_STARTUP_PROBE_MS"), QStringLiteral("300"));

    QProcess game;
    game.setProcessEnvironment(environment);
    game.start(executable, QStringList());
    Run run;
    run.finished =
        game.waitForFinished(60000) && game.exitStatus() == QProcess::NormalExit && game.exitCode() == 0;
    run.shown = QString::fromUtf8(game.readAllStandardOutput());
    run.errors = QString::fromLocal8Bit(game.readAllStandardError());
    return run;
}

void TestStartup::firstPageLanguage_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("notShown");

    // The chooser's heading, a stage name and a level name: texts of the pages and of the canvas.
    const QStringList english { QStringLiteral("Choose a level"), QStringLiteral("Training"),
                                QStringLiteral("First Steps") };
    const QStringList hungarian { QStringLiteral("Válassz pályát"), QStringLiteral("Kiképzés"),
                                  QStringLiteral("Első lépések") };
    QTest::newRow("en") << QByteArray("en") << "hu_HU.UTF-8" << english << hungarian;
    QTest::newRow("hu") << QByteArray("hu") << "en_GB.UTF-8" << hungarian << english;
    QTest::newRow("first start on a Hungarian system")
        << QByteArray() << "hu_HU.UTF-8" << hungarian << english;
}

// The stored language, or on a first start the system's, decides the texts from the first page on,
// and the pages load without a single warning or error.
void TestStartup::firstPageLanguage()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, locale);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, notShown);

    if (!stored.isNull())
        QVERIFY(LanguageFile::choose(m_home->path(), stored));
    const Run run = startGame(kBuiltGame, locale);
    QVERIFY2(run.finished, qPrintable(run.errors));
    QVERIFY2(run.errors.isEmpty(), qPrintable(run.errors));
    for (const QString &text : shown)
        QVERIFY2(run.shown.contains(text), qPrintable(text + QStringLiteral(" is not shown")));
    for (const QString &text : notShown)
        QVERIFY2(!run.shown.contains(text), qPrintable(text + QStringLiteral(" is shown")));
}

// An installed game finds its pages and translation beside its own executable, wherever the tree was
// installed; without the translation file it starts in English and keeps the Hungarian choice.
void TestStartup::installedGameStartsAnywhere()
{
    QTemporaryDir prefix;
    QProcess install;
    install.start(QStringLiteral(PELLWICK_CMAKE_COMMAND),
                  { QStringLiteral("--install"), QStringLiteral(PELLWICK_BUILD_DIR),
                    QStringLiteral("--prefix"), prefix.path(), QStringLiteral("--component"),
                    QStringLiteral("game") });
    QVERIFY(install.waitForFinished(60000));
    QVERIFY2(install.exitCode() == 0, install.readAllStandardError().constData());
    const QString installedGame =
        prefix.path() + QStringLiteral("/" PELLWICK_INSTALL_BINDIR "/harbour-pellwick");
    const QString translation = prefix.path()
        + QStringLiteral("/" PELLWICK_INSTALL_DATADIR
                         "/harbour-pellwick/translations/harbour-pellwick-hu.qm");
    QVERIFY(QFile::exists(translation));

    QVERIFY(LanguageFile::choose(m_home->path(), "hu"));
    Run run = startGame(installedGame);
    QVERIFY2(run.finished && run.errors.isEmpty(), qPrintable(run.errors));
    QVERIFY(run.shown.contains(QStringLiteral("Válassz pályát")));

    QVERIFY(QFile::remove(translation));
    run = startGame(installedGame);
    QVERIFY2(run.finished && run.errors.isEmpty(), qPrintable(run.errors));
    QVERIFY(run.shown.contains(QStringLiteral("Choose a level")));
    QVERIFY(run.shown.contains(QStringLiteral("First Steps")));
    QCOMPARE(LanguageFile::stored(m_home->path()), QStringLiteral("hu"));
}

QTEST_GUILESS_MAIN(TestStartup)

#include "tst_startup.moc"
