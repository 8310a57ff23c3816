#include "languagefile.h"
#include "languagesettings.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

namespace {

// The system locale is read once per process, so first starts under a given locale run in a child
// process: this same executable started with this argument builds one LanguageSettings and prints it.
const char kChildArgument[] = "--print-language-settings";

void setIdentity()
{
    QCoreApplication::setOrganizationName(QStringLiteral("vexil"));
    QCoreApplication::setApplicationName(QStringLiteral("harbour-pellwick"));
}

int printLanguageSettings()
{
    setIdentity();
    const LanguageSettings settings;
    QTextStream(stdout) << settings.language() << ' ' << (settings.restartRequired() ? "restart" : "ready")
                        << '\n';
    return 0;
}

} // namespace

class TestLanguageSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void startUnderLocale_data();
    void startUnderLocale();
    void normalizeLanguage_data();
    void normalizeLanguage();
    void assigningSignalsInOrder_data();
    void assigningSignalsInOrder();
    void switchingBackClearsRestart();

private:
    // Starts a child process under `locale` with the game's files in `configHome`; returns what it printed.
    static QString startChild(const QString &configHome, const QString &locale);

    QScopedPointer<QTemporaryDir> m_configHome;
};

void TestLanguageSettings::init()
{
    m_configHome.reset(new QTemporaryDir);
    QVERIFY(m_configHome->isValid());
    qputenv("XDG_CONFIG_HOME", m_configHome->path().toLocal8Bit());
}

QString TestLanguageSettings::startChild(const QString &configHome, const QString &locale)
{
    QProcess child;
    child.setProcessEnvironment(LanguageFile::environmentUnder(locale, configHome));
    child.start(QCoreApplication::applicationFilePath(), { QLatin1String(kChildArgument) });
    if (!child.waitForFinished(10000) || child.exitCode() != 0)
        return QStringLiteral("child failed: ") + QString::fromLocal8Bit(child.readAllStandardError());
    return QString::fromLocal8Bit(child.readAllStandardOutput()).trimmed();
}

void TestLanguageSettings::startUnderLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("expected");

    const QByteArray noFile;
    QTest::newRow("first start on a Hungarian system") << "hu_HU.UTF-8" << noFile << "hu";
    QTest::newRow("first start on a bare Hungarian locale") << "hu" << noFile << "hu";
    QTest::newRow("first start on a German system") << "de_DE.UTF-8" << noFile << "en";
    QTest::newRow("first start on the C locale") << "C" << noFile << "en";
    QTest::newRow("a file without the key falls back to the system")
        << "hu_HU.UTF-8" << QByteArray("[ui]\nother=1\n") << "hu";
    QTest::newRow("stored hu is kept on any system")
        << "de_DE.UTF-8" << QByteArray("[ui]\nlanguage=hu\n") << "hu";
    QTest::newRow("stored en wins over a Hungarian system")
        << "hu_HU.UTF-8" << QByteArray("[ui]\nlanguage=en\n") << "en";
    QTest::newRow("stored de reads as en, not as the system")
        << "hu_HU.UTF-8" << QByteArray("[ui]\nlanguage=de\n") << "en";
    QTest::newRow("stored HU is not hu") << "hu_HU.UTF-8" << QByteArray("[ui]\nlanguage=HU\n") << "en";
    QTest::newRow("an unreadable file holds no key")
        << "hu_HU.UTF-8" << QByteArray("\x01\xff[ui\nlanguage\n") << "hu";
}

// A start reads the stored choice, or the system's language when none is stored, never needs a
// restart, and leaves the normalised code in the file.
void TestLanguageSettings::startUnderLocale()
{
    QFETCH(QString, locale);
    QFETCH(QByteArray, stored);
    QFETCH(QString, expected);

    if (!stored.isNull())
        QVERIFY(LanguageFile::write(m_configHome->path(), stored));
    QCOMPARE(startChild(m_configHome->path(), locale), expected + QStringLiteral(" ready"));
    QCOMPARE(LanguageFile::stored(m_configHome->path()), expected);
}

void TestLanguageSettings::normalizeLanguage_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("hu") << QStringLiteral("hu") << "hu";
    QTest::newRow("en") << QStringLiteral("en") << "en";
    QTest::newRow("upper case") << QStringLiteral("HU") << "en";
    QTest::newRow("region suffix") << QStringLiteral("hu_HU") << "en";
    QTest::newRow("padded") << QStringLiteral(" hu") << "en";
    QTest::newRow("empty") << QStringLiteral("") << "en";
    QTest::newRow("null") << QString() << "en";
    QTest::newRow("another language") << QStringLiteral("fr") << "en";
}

// Only the exact code "hu" is Hungarian; everything else is English.
void TestLanguageSettings::normalizeLanguage()
{
    QFETCH(QString, value);
    QFETCH(QString, expected);
    QCOMPARE(LanguageSettings::normalizeLanguage(value), expected);
}

void TestLanguageSettings::assigningSignalsInOrder_data()
{
    QTest::addColumn<QByteArray>("started");
    QTest::addColumn<QString>("assigned");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("signalsEmitted");

    const QStringList both { QStringLiteral("languageChanged"), QStringLiteral("restartRequiredChanged") };
    QTest::newRow("en to hu") << QByteArray("en") << QStringLiteral("hu") << "hu" << both;
    QTest::newRow("hu to en") << QByteArray("hu") << QStringLiteral("en") << "en" << both;
    QTest::newRow("HU while hu switches to en") << QByteArray("hu") << QStringLiteral("HU") << "en" << both;
    QTest::newRow("fr while en changes nothing")
        << QByteArray("en") << QStringLiteral("fr") << "en" << QStringList();
    QTest::newRow("the same language changes nothing")
        << QByteArray("hu") << QStringLiteral("hu") << "hu" << QStringList();
}

// A new choice is written at once and announced, language first; one that normalises to the current
// language changes nothing and says nothing.
void TestLanguageSettings::assigningSignalsInOrder()
{
    QFETCH(QByteArray, started);
    QFETCH(QString, assigned);
    QFETCH(QString, expected);
    QFETCH(QStringList, signalsEmitted);

    QVERIFY(LanguageFile::choose(m_configHome->path(), started));
    LanguageSettings settings;
    QStringList emitted;
    connect(&settings, &LanguageSettings::languageChanged, this,
            [&emitted] { emitted << QStringLiteral("languageChanged"); });
    connect(&settings, &LanguageSettings::restartRequiredChanged, this,
            [&emitted] { emitted << QStringLiteral("restartRequiredChanged"); });

    settings.setLanguage(assigned);
    QCOMPARE(emitted, signalsEmitted);
    QCOMPARE(settings.language(), expected);
    QCOMPARE(settings.restartRequired(), expected != QString::fromLatin1(started));
    QCOMPARE(LanguageFile::stored(m_configHome->path()), expected);
}

// Choosing another language and then the one the game started in needs no restart any more, and
// both turns are announced.
void TestLanguageSettings::switchingBackClearsRestart()
{
    QVERIFY(LanguageFile::choose(m_configHome->path(), "en"));
    LanguageSettings settings;
    QSignalSpy languageSpy(&settings, &LanguageSettings::languageChanged);
    QSignalSpy restartSpy(&settings, &LanguageSettings::restartRequiredChanged);
    QVERIFY(languageSpy.isValid());
    QVERIFY(restartSpy.isValid());

    settings.setLanguage(QStringLiteral("hu"));
    QVERIFY(settings.restartRequired());
    settings.setLanguage(QStringLiteral("en"));
    QVERIFY(!settings.restartRequired());
    QCOMPARE(languageSpy.count(), 2);
    QCOMPARE(restartSpy.count(), 2);
    QCOMPARE(LanguageFile::stored(m_configHome->path()), QStringLiteral("en"));
}

int main(int argc, char *argv[])
{
    if (argc == 2 && qstrcmp(argv[1], kChildArgument) == 0) {
        QCoreApplication application(argc, argv);
        return printLanguageSettings();
    }
    QCoreApplication application(argc, argv);
    setIdentity();
    TestLanguageSettings test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_languagesettings.moc"
