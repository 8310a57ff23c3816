#include "canvasprobe.h"

#include <QTranslator>
#include <QtTest>

using namespace Pellwick;

namespace {

// Marks every text it translates in the GameCanvas context, so a test sees which texts went through it.
class MarkingTranslator : public QTranslator
{
public:
    QString translate(const char *context, const char *sourceText, const char *disambiguation,
                      int n) const override
    {
        Q_UNUSED(n)
        if (qstrcmp(context, "GameCanvas") != 0 || disambiguation)
            return QString();
        ++calls;
        return QStringLiteral("<%1>").arg(QString::fromUtf8(sourceText));
    }

    bool isEmpty() const override { return false; }

    mutable int calls = 0;
};

} // namespace

// Levels and skills reach QML as translated texts and lists of maps built from the catalogue and statistics.
class PresentationTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { CanvasTest::useThrowawaySettings(); }
    void cleanup() { CanvasTest::removeSettings(); }

    void fixedTexts_data();
    void fixedTexts();
    void textsGoThroughTheTranslator();
    void currentLevelDescription_data();
    void currentLevelDescription();
    void stageCompletion_data();
    void stageCompletion();
    void skillList();
    void levelList();
};

// The tables of names, stages, difficulties and skill labels, with their out-of-range answers.
void PresentationTest::fixedTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    GameCanvas canvas;
    QTest::newRow("level 20") << canvas.translatedLevelName(20) << "All Hands";
    QTest::newRow("level 21") << canvas.translatedLevelName(21) << "Unknown level";
    QTest::newRow("level -1") << canvas.translatedLevelName(-1) << "Unknown level";
    QTest::newRow("stage 4") << canvas.stageNameFor(4) << "Campaign";
    QTest::newRow("stage -1") << canvas.stageNameFor(-1) << "Campaign";
    QTest::newRow("difficulty -3") << canvas.difficultyNameFor(-3) << "Intro";
    QTest::newRow("difficulty 4") << canvas.difficultyNameFor(4) << "Intro";
    QTest::newRow("difficulty 5") << canvas.difficultyNameFor(5) << "Easy";
    QTest::newRow("difficulty 9") << canvas.difficultyNameFor(9) << "Easy";
    QTest::newRow("difficulty 10") << canvas.difficultyNameFor(10) << "Tricky";
    QTest::newRow("difficulty 15") << canvas.difficultyNameFor(15) << "Tricky";
    QTest::newRow("difficulty 16") << canvas.difficultyNameFor(16) << "Hard";
    QTest::newRow("skill 7") << canvas.skillName(7) << "Demolition";
    QTest::newRow("skill 8") << canvas.skillName(8) << "";
    QTest::newRow("skill -1") << canvas.skillName(-1) << "";
    QTest::newRow("short -1") << canvas.skillShortName(-1) << "";
}

void PresentationTest::fixedTexts()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(text, expected);
}

// Every user-visible text is looked up in the GameCanvas context; out-of-range skills never reach the
// translator.
void PresentationTest::textsGoThroughTheTranslator()
{
    MarkingTranslator translator;
    QVERIFY(QCoreApplication::installTranslator(&translator));
    GameCanvas canvas;
    QCOMPARE(canvas.levelName(), QStringLiteral("<First Steps>"));
    QCOMPARE(canvas.stageName(), QStringLiteral("<Training>"));
    QCOMPARE(canvas.difficultyName(), QStringLiteral("<Intro>"));
    QCOMPARE(canvas.levelBriefing(),
             QStringLiteral("<No tricks yet. Learn how the crew walks, turns and finds the exit.>"));
    QCOMPARE(canvas.skillShortName(6), QStringLiteral("<MINE>"));
    QCOMPARE(canvas.translatedLevelName(99), QStringLiteral("<Unknown level>"));
    const int before = translator.calls;
    QCOMPARE(canvas.skillName(8), QString());
    QCOMPARE(canvas.skillShortName(-3), QString());
    QCOMPARE(translator.calls, before);
    QCOMPARE(canvas.skills().at(1).toMap().value("name").toString(), QStringLiteral("<Floater>"));
    QCOMPARE(canvas.levels().at(9).toMap().value("stageName").toString(), QStringLiteral("<Fieldwork>"));
    QCoreApplication::removeTranslator(&translator);
}

// The loaded level's stage place, crew counts and next stage, read through the QML properties.
void PresentationTest::currentLevelDescription_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("stagePosition");
    QTest::addColumn<int>("stageTotal");
    QTest::addColumn<QString>("nextStageName");

    QTest::newRow("0") << 0 << 1 << 5 << "Training";
    QTest::newRow("4") << 4 << 5 << 5 << "Fieldwork";
    QTest::newRow("8") << 8 << 4 << 5 << "Fieldwork";
    QTest::newRow("9") << 9 << 5 << 5 << "Rescue Ops";
    QTest::newRow("12") << 12 << 3 << 6 << "Rescue Ops";
    QTest::newRow("20") << 20 << 5 << 5 << "";
}

void PresentationTest::currentLevelDescription()
{
    QFETCH(int, level);
    QFETCH(int, stagePosition);
    QFETCH(int, stageTotal);
    QFETCH(QString, nextStageName);

    CanvasTest::store({ { "progress/unlockedLevel", 20 } });
    GameCanvas canvas;
    QVERIFY(canvas.setLevel(level));
    QCOMPARE(canvas.property("stagePosition").toInt(), stagePosition);
    QCOMPARE(canvas.property("stageTotal").toInt(), stageTotal);
    QCOMPARE(canvas.property("nextStageName").toString(), nextStageName);
    QCOMPARE(canvas.nextStageName().isNull(), level == 20);
    QCOMPARE(canvas.property("totalCrew").toInt(), canvas.core().currentLevel().crewCount);
    QCOMPARE(canvas.property("required").toInt(), canvas.core().currentLevel().requiredCount);
    QCOMPARE(canvas.property("levelName").toString(), canvas.translatedLevelName(level));
}

// A stage is complete only when its last level has just been won.
void PresentationTest::stageCompletion_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("won");
    QTest::addColumn<bool>("complete");

    QTest::newRow("last of stage 0 won") << 4 << true << true;
    QTest::newRow("last of stage 0 lost") << 4 << false << false;
    QTest::newRow("inside stage 0 won") << 3 << true << false;
    QTest::newRow("last level won") << 20 << true << true;
}

void PresentationTest::stageCompletion()
{
    QFETCH(int, level);
    QFETCH(bool, won);
    QFETCH(bool, complete);

    CanvasTest::store({ { "progress/unlockedLevel", 20 } });
    GameCanvas canvas;
    auto probe = CanvasProbe::holding(canvas);
    QVERIFY(canvas.setLevel(level));
    QVERIFY(!canvas.stageComplete());
    CanvasTest::arrangeOutcome(probe.core(), 2, won ? 0 : 1, won ? 2 : 3);
    canvas.startLevel();
    probe.advanceFrame();
    QVERIFY(canvas.levelFinished());
    QCOMPARE(canvas.levelWon(), won);
    QCOMPARE(canvas.stageComplete(), complete);
}

// The skill panel lists the eight skills in order with the running level's stock.
void PresentationTest::skillList()
{
    CanvasTest::store({ { "progress/unlockedLevel", 6 } });
    GameCanvas canvas;
    QVERIFY(canvas.setLevel(0));
    for (const QVariant &entry : canvas.skills())
        QCOMPARE(entry.toMap().value("count").toInt(), 0);

    QVERIFY(canvas.setLevel(6));
    const QVariantList skills = canvas.property("skills").toList();
    QCOMPARE(skills.size(), 8);
    const int stock[] = { 3, 3, 2, 4, 4, 3, 0, 0 };
    for (int skill = 0; skill < 8; ++skill) {
        const QVariantMap entry = skills.at(skill).toMap();
        QCOMPARE(entry.keys(), QStringList({ "count", "id", "name", "shortName" }));
        QCOMPARE(entry.value("id").toInt(), skill);
        QCOMPARE(entry.value("name").toString(), canvas.skillName(skill));
        QCOMPARE(entry.value("shortName").toString(), canvas.skillShortName(skill));
        QCOMPARE(entry.value("count").toInt(), stock[skill]);
    }
}

// The level chooser shows every level with its place, lock and statistics, defaults for unplayed ones.
void PresentationTest::levelList()
{
    CanvasTest::store({ { "progress/unlockedLevel", 3 },
                        { "stats/2/attempts", 7 },
                        { "stats/2/wins", 2 },
                        { "stats/2/bestSaved", 9 },
                        { "stats/2/bestTime", 61 },
                        { "stats/2/bestSkills", 3 } });

    GameCanvas canvas;
    const QVariantList levels = canvas.property("levels").toList();
    QCOMPARE(levels.size(), 21);
    for (int index = 0; index < levels.size(); ++index) {
        const QVariantMap entry = levels.at(index).toMap();
        const LevelSpec &spec = canvas.core().levels.at(index);
        QCOMPARE(entry.size(), 16);
        QCOMPARE(entry.value("index").toInt(), index);
        QCOMPARE(entry.value("name").toString(), canvas.translatedLevelName(index));
        QCOMPARE(entry.value("total").toInt(), spec.crewCount);
        QCOMPARE(entry.value("required").toInt(), spec.requiredCount);
        QCOMPARE(entry.value("stage").toInt(), spec.stage);
        QCOMPARE(entry.value("stageName").toString(), canvas.stageNameFor(spec.stage));
        QCOMPARE(entry.value("difficulty").toString(), canvas.difficultyNameFor(index));
        QCOMPARE(entry.value("locked").toBool(), index > 3);
    }

    const QVariantMap twelve = levels.at(12).toMap();
    QCOMPARE(twelve.value("stagePosition").toInt(), 3);
    QCOMPARE(twelve.value("stageTotal").toInt(), 6);
    QCOMPARE(CanvasTest::levelStats(canvas, 12), QVariantList({ 0, 0, false, 0, -1, -1 }));
    QCOMPARE(CanvasTest::levelStats(canvas, 2), QVariantList({ 7, 2, true, 9, 61, 3 }));
}

QTEST_MAIN(PresentationTest)
#include "tst_presentation.moc"
