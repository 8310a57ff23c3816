#include "gamecanvas.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <QXmlStreamReader>

namespace {

struct Message
{
    QString translation;
    bool finished = false;
};

// context -> source text -> message
using Catalogue = QHash<QString, QHash<QString, Message>>;

Catalogue readCatalogue(const QString &path)
{
    Catalogue catalogue;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return catalogue;
    QXmlStreamReader xml(&file);
    QString context;
    QString source;
    while (xml.readNextStartElement() || !xml.atEnd()) {
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            // Unfinished, vanished and obsolete entries all carry a type; lrelease drops them.
            const bool typed = xml.attributes().hasAttribute(QLatin1String("type"));
            const QString translation = xml.readElementText();
            catalogue[context][source] = { translation, !typed && !translation.isEmpty() };
        }
    }
    return catalogue;
}

QSet<QString> placeholders(const QString &text)
{
    QSet<QString> found;
    QRegularExpressionMatchIterator it = QRegularExpression(QStringLiteral("%\\d+")).globalMatch(text);
    while (it.hasNext())
        found.insert(it.next().captured());
    return found;
}

const QString kCataloguePath = QStringLiteral(PELLWICK_SOURCE_DIR "/translations/harbour-pellwick-hu.ts");

} // namespace

// The Hungarian translation: complete for every text the canvas and the pages show, and loaded by the
// game as written.
class TestTranslation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void everyCanvasTextIsTranslated();
    void everyPageTextIsTranslated();
    void translationsKeepTheirPlaceholders();
    void builtTranslationReachesTheCanvas();

private:
    // Every English text the canvas shows, in the order of its tables.
    QStringList canvasTexts() const;

    QTemporaryDir m_configHome;
    QScopedPointer<GameCanvas> m_canvas;
    Catalogue m_catalogue;
};

void TestTranslation::initTestCase()
{
    qputenv("XDG_CONFIG_HOME", m_configHome.path().toLocal8Bit());
    QCoreApplication::setOrganizationName(QStringLiteral("vexil"));
    QCoreApplication::setApplicationName(QStringLiteral("harbour-pellwick"));
    m_canvas.reset(new GameCanvas);
    m_catalogue = readCatalogue(kCataloguePath);
    QVERIFY(!m_catalogue.isEmpty());
}

QStringList TestTranslation::canvasTexts() const
{
    QStringList texts;
    for (int index = 0; index <= m_canvas->levelCount(); ++index) // one past the end: "Unknown level"
        texts << m_canvas->translatedLevelName(index);
    for (const Pellwick::LevelSpec &level : m_canvas->core().levels)
        texts << level.name << level.briefing;
    for (int stage = -1; stage <= 4; ++stage)
        texts << m_canvas->stageNameFor(stage);
    for (int index : { 0, 5, 10, 16 })
        texts << m_canvas->difficultyNameFor(index);
    for (int skill = 0; skill < Pellwick::kSkillCount; ++skill)
        texts << m_canvas->skillName(skill) << m_canvas->skillShortName(skill);
    texts << QStringLiteral("PAUSED"); // painted over the field, not readable as a property
    texts.removeDuplicates();
    return texts;
}

// Every level name, briefing, stage, difficulty and skill text has a finished Hungarian translation
// in the GameCanvas context, under exactly the English text the canvas looks up.
void TestTranslation::everyCanvasTextIsTranslated()
{
    const QHash<QString, Message> canvas = m_catalogue.value(QStringLiteral("GameCanvas"));
    const QStringList texts = canvasTexts();
    QCOMPARE(texts.size(), 21 + 1 + 21 + 5 + 4 + 16 + 1);
    for (const QString &text : texts)
        QVERIFY2(canvas.value(text).finished, qPrintable(QStringLiteral("untranslated: ") + text));
}

// Every text of the pages, as the translation tool finds it in the QML files today, is in the
// catalogue and finished.
void TestTranslation::everyPageTextIsTranslated()
{
    QTemporaryDir scratch;
    const QString extracted = scratch.path() + QStringLiteral("/pages.ts");
    QProcess lupdate;
    lupdate.start(QStringLiteral(PELLWICK_LUPDATE),
                  { QStringLiteral("-silent"), QStringLiteral(PELLWICK_SOURCE_DIR "/qml"),
                    QStringLiteral("-ts"), extracted });
    QVERIFY(lupdate.waitForFinished(60000));
    QCOMPARE(lupdate.exitCode(), 0);

    const Catalogue pages = readCatalogue(extracted);
    int count = 0;
    for (auto context = pages.cbegin(); context != pages.cend(); ++context) {
        for (auto message = context->cbegin(); message != context->cend(); ++message, ++count) {
            QVERIFY2(m_catalogue.value(context.key()).value(message.key()).finished,
                     qPrintable(context.key() + QStringLiteral(": ") + message.key()));
        }
    }
    QVERIFY(count > 50);
}

// Nothing in the catalogue is left unfinished, and every translation uses the same %n placeholders as
// its English text, so no number goes missing on screen.
void TestTranslation::translationsKeepTheirPlaceholders()
{
    for (auto context = m_catalogue.cbegin(); context != m_catalogue.cend(); ++context) {
        for (auto message = context->cbegin(); message != context->cend(); ++message) {
            const QString where = context.key() + QStringLiteral(": ") + message.key();
            QVERIFY2(message->finished, qPrintable(where));
            QVERIFY2(placeholders(message->translation) == placeholders(message.key()), qPrintable(where));
        }
    }
}

// With the built translation file installed, the canvas shows the catalogue's Hungarian texts.
void TestTranslation::builtTranslationReachesTheCanvas()
{
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(PELLWICK_STAGE_DATA_DIR "/translations/harbour-pellwick-hu.qm")));
    QCoreApplication::installTranslator(&translator);
    const QHash<QString, Message> canvas = m_catalogue.value(QStringLiteral("GameCanvas"));

    QCOMPARE(m_canvas->translatedLevelName(20), canvas.value(QStringLiteral("All Hands")).translation);
    QCOMPARE(m_canvas->stageNameFor(7), canvas.value(QStringLiteral("Campaign")).translation);
    QCOMPARE(m_canvas->difficultyNameFor(12), canvas.value(QStringLiteral("Tricky")).translation);
    QCOMPARE(m_canvas->skillShortName(6), canvas.value(QStringLiteral("MINE")).translation);
    const QString briefing = m_canvas->core().currentLevel().briefing;
    QCOMPARE(m_canvas->levelBriefing(), canvas.value(briefing).translation);
    QCoreApplication::removeTranslator(&translator);
}

QTEST_MAIN(TestTranslation)

#include "tst_translation.moc"
