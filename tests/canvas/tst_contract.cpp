#include "canvasprobe.h"

#include <QMetaMethod>
#include <QMetaProperty>
#include <QtTest>

// The QML pages bind to GameCanvas by name, type and order; these tables are that contract.
class ContractTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { CanvasTest::useThrowawaySettings(); }
    void cleanup() { CanvasTest::removeSettings(); }

    void classShape();
    void properties_data();
    void properties();
    void methodsInOrder_data();
    void methodsInOrder();
    void levelCountNeverChanges();
    void settingCurrentValuesEmitsNothing();

private:
    static const QMetaObject &meta() { return GameCanvas::staticMetaObject; }
};

// The item is a painted item with nothing but properties and methods in its own meta-object.
void ContractTest::classShape()
{
    QCOMPARE(meta().superClass(), &QQuickPaintedItem::staticMetaObject);
    QCOMPARE(meta().classInfoCount() - meta().classInfoOffset(), 0);
    QCOMPARE(meta().enumeratorCount() - meta().enumeratorOffset(), 0);
    QCOMPARE(meta().constructorCount(), 0);
    QCOMPARE(meta().propertyCount() - meta().propertyOffset(), 39);
    QCOMPARE(meta().methodCount() - meta().methodOffset(), 40);
}

// Every property has its name, type, access and change signal at its index.
void ContractTest::properties_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("notify");

    const struct
    {
        const char *name;
        const char *type;
        bool writable;
        const char *notify;
    } rows[] = {
        { "levelIndex", "int", false, "levelChanged" },
        { "levelCount", "int", false, "" },
        { "levelName", "QString", false, "levelChanged" },
        { "stageName", "QString", false, "levelChanged" },
        { "levelBriefing", "QString", false, "levelChanged" },
        { "difficultyName", "QString", false, "levelChanged" },
        { "stagePosition", "int", false, "levelChanged" },
        { "stageTotal", "int", false, "levelChanged" },
        { "stageComplete", "bool", false, "stateChanged" },
        { "nextStageName", "QString", false, "stateChanged" },
        { "levelIntroVisible", "bool", false, "levelIntroVisibleChanged" },
        { "bestTime", "int", false, "levelsChanged" },
        { "bestSkills", "int", false, "levelsChanged" },
        { "bestSaved", "int", false, "levelsChanged" },
        { "newBestTime", "bool", false, "resultRecordsChanged" },
        { "newBestSkills", "bool", false, "resultRecordsChanged" },
        { "newBestSaved", "bool", false, "resultRecordsChanged" },
        { "totalCrew", "int", false, "levelChanged" },
        { "required", "int", false, "levelChanged" },
        { "spawned", "int", false, "stateChanged" },
        { "saved", "int", false, "stateChanged" },
        { "lost", "int", false, "stateChanged" },
        { "activeCrew", "int", false, "stateChanged" },
        { "elapsedSeconds", "int", false, "stateChanged" },
        { "skillsUsed", "int", false, "stateChanged" },
        { "releaseRate", "int", true, "releaseRateChanged" },
        { "paused", "bool", true, "pausedChanged" },
        { "levelFinished", "bool", false, "stateChanged" },
        { "levelWon", "bool", false, "stateChanged" },
        { "rescuePossible", "bool", false, "stateChanged" },
        { "selectedSkill", "int", true, "selectedSkillChanged" },
        { "selectedCrewId", "int", false, "selectedCrewIdChanged" },
        { "skills", "QVariantList", false, "skillsChanged" },
        { "levels", "QVariantList", false, "levelsChanged" },
        { "unlockedLevel", "int", false, "levelsChanged" },
        { "speedMultiplier", "float", true, "speedMultiplierChanged" },
        { "zoom", "float", false, "zoomChanged" },
        { "portraitLayout", "bool", true, "portraitLayoutChanged" },
        { "followSelectedCrew", "bool", true, "followSelectedCrewChanged" },
    };
    int index = 0;
    for (const auto &row : rows) {
        QTest::addRow("%d %s", index, row.name)
            << index << QString::fromLatin1(row.name) << QString::fromLatin1(row.type) << row.writable
            << QString::fromLatin1(row.notify);
        ++index;
    }
}

void ContractTest::properties()
{
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(QString, type);
    QFETCH(bool, writable);
    QFETCH(QString, notify);

    const QMetaProperty property = meta().property(meta().propertyOffset() + index);
    QCOMPARE(QString::fromLatin1(property.name()), name);
    QCOMPARE(QString::fromLatin1(property.typeName()), type);
    QVERIFY(property.isReadable());
    QCOMPARE(property.isWritable(), writable);
    QCOMPARE(property.isConstant(), notify.isEmpty());
    QCOMPARE(property.hasNotifySignal(), !notify.isEmpty());
    if (!notify.isEmpty())
        QCOMPARE(QString::fromLatin1(property.notifySignal().name()), notify);
}

// Signals sit at indices 0 to 19 with the argument names QML handlers use; the two timer slots are private at
// 20 and 21; the invokables follow at 22 to 39 with their result types.
void ContractTest::methodsInOrder_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("signature");
    QTest::addColumn<QString>("result");
    QTest::addColumn<int>("methodType");
    QTest::addColumn<int>("access");
    QTest::addColumn<QStringList>("argumentNames");

    const int signal = QMetaMethod::Signal;
    const int slot = QMetaMethod::Slot;
    const int invokable = QMetaMethod::Method;
    const int privateAccess = QMetaMethod::Private;
    const int publicAccess = QMetaMethod::Public;
    const struct
    {
        const char *signature;
        const char *result;
        int type;
        int access;
        QStringList arguments;
    } rows[] = {
        { "levelChanged()", "void", signal, publicAccess, {} },
        { "stateChanged()", "void", signal, publicAccess, {} },
        { "releaseRateChanged()", "void", signal, publicAccess, {} },
        { "pausedChanged()", "void", signal, publicAccess, {} },
        { "selectedSkillChanged()", "void", signal, publicAccess, {} },
        { "selectedCrewIdChanged()", "void", signal, publicAccess, {} },
        { "skillsChanged()", "void", signal, publicAccess, {} },
        { "levelsChanged()", "void", signal, publicAccess, {} },
        { "speedMultiplierChanged()", "void", signal, publicAccess, {} },
        { "zoomChanged()", "void", signal, publicAccess, {} },
        { "portraitLayoutChanged()", "void", signal, publicAccess, {} },
        { "levelIntroVisibleChanged()", "void", signal, publicAccess, {} },
        { "resultRecordsChanged()", "void", signal, publicAccess, {} },
        { "followSelectedCrewChanged()", "void", signal, publicAccess, {} },
        { "skillAssigned(int)", "void", signal, publicAccess, { "skill" } },
        { "crewSaved()", "void", signal, publicAccess, {} },
        { "crewLost()", "void", signal, publicAccess, {} },
        { "objectTriggered()", "void", signal, publicAccess, {} },
        { "crewTargetPreviewed(int,int)",
          "void",
          signal,
          publicAccess,
          { "candidateIndex", "candidateCount" } },
        { "levelCompleted(bool)", "void", signal, publicAccess, { "won" } },
        { "advanceFrame()", "void", slot, privateAccess, {} },
        { "commitPendingAssignment()", "void", slot, privateAccess, {} },
        { "restartLevel()", "void", invokable, publicAccess, {} },
        { "startLevel()", "void", invokable, publicAccess, {} },
        { "setLevel(int)", "bool", invokable, publicAccess, {} },
        { "nextLevel()", "bool", invokable, publicAccess, {} },
        { "previousLevel()", "bool", invokable, publicAccess, {} },
        { "togglePaused()", "void", invokable, publicAccess, {} },
        { "selectSkill(int)", "void", invokable, publicAccess, {} },
        { "applySelectedSkill(float,float)", "bool", invokable, publicAccess, {} },
        { "increaseReleaseRate()", "void", invokable, publicAccess, {} },
        { "decreaseReleaseRate()", "void", invokable, publicAccess, {} },
        { "zoomIn()", "void", invokable, publicAccess, {} },
        { "zoomOut()", "void", invokable, publicAccess, {} },
        { "resetView()", "void", invokable, publicAccess, {} },
        { "focusAction()", "void", invokable, publicAccess, {} },
        { "setZoomAt(float,float,float)", "void", invokable, publicAccess, {} },
        { "panByItemDelta(float,float)", "void", invokable, publicAccess, {} },
        { "clearStatistics()", "void", invokable, publicAccess, {} },
        { "formattedTime(int)", "QString", invokable, publicAccess, {} },
    };
    int index = 0;
    for (const auto &row : rows) {
        QTest::addRow("%d %s", index, row.signature)
            << index << QString::fromLatin1(row.signature) << QString::fromLatin1(row.result) << row.type
            << row.access << row.arguments;
        ++index;
    }
}

void ContractTest::methodsInOrder()
{
    QFETCH(int, index);
    QFETCH(QString, signature);
    QFETCH(QString, result);
    QFETCH(int, methodType);
    QFETCH(int, access);
    QFETCH(QStringList, argumentNames);

    const QMetaMethod method = meta().method(meta().methodOffset() + index);
    QCOMPARE(QString::fromLatin1(method.methodSignature()), signature);
    QCOMPARE(QString::fromLatin1(method.typeName()), result);
    QCOMPARE(int(method.methodType()), methodType);
    QCOMPARE(int(method.access()), access);
    if (methodType != QMetaMethod::Signal)
        return;
    QStringList names;
    for (const QByteArray &name : method.parameterNames())
        names.append(QString::fromLatin1(name));
    QCOMPARE(names, argumentNames);
}

// levelCount is the catalogue's size for the item's whole life, whatever level is loaded.
void ContractTest::levelCountNeverChanges()
{
    GameCanvas canvas;
    QCOMPARE(canvas.levelCount(), 21);
    QCOMPARE(canvas.property("levelCount").toInt(), 21);
    canvas.setLevel(0);
    canvas.setPortraitLayout(true);
    QCOMPARE(canvas.levelCount(), 21);
}

// Writing a property with the value it already holds emits nothing.
void ContractTest::settingCurrentValuesEmitsNothing()
{
    GameCanvas canvas;
    CanvasTest::SignalLog log(canvas);
    canvas.setProperty("releaseRate", canvas.releaseRate());
    canvas.setProperty("paused", false);
    canvas.setProperty("selectedSkill", -1);
    canvas.setProperty("selectedSkill", 9);
    canvas.setProperty("speedMultiplier", 1.0f);
    canvas.setProperty("speedMultiplier", 1.000001f);
    canvas.setProperty("portraitLayout", false);
    canvas.setProperty("followSelectedCrew", false);
    QCOMPARE(log.take(), QStringList());
}

QTEST_MAIN(ContractTest)
#include "tst_contract.moc"
