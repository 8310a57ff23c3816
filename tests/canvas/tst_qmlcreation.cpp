#include "canvasprobe.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQmlExpression>
#include <QtTest>

#include <memory>

// The QML pages create the item from the module and bind to it; handlers use the signals' argument names.
class QmlCreationTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup() { CanvasTest::removeSettings(); }

    void createdFromQmlWithReadableProperties();
    void methodsCallableFromQml_data();
    void methodsCallableFromQml();
    void handlersSeeArgumentNames();

private:
    std::unique_ptr<QObject> create();

    QQmlEngine m_engine;
};

void QmlCreationTest::initTestCase()
{
    CanvasTest::useThrowawaySettings();
    QCOMPARE(qmlRegisterType<GameCanvas>("harbour.pellwick", 1, 0, "GameCanvas") >= 0, true);
}

std::unique_ptr<QObject> QmlCreationTest::create()
{
    QQmlComponent component(&m_engine);
    component.setData("import QtQuick 2.0\n"
                      "import harbour.pellwick 1.0\n"
                      "GameCanvas {\n"
                      "    width: 960; height: 540\n"
                      "    property string title: levelName + ' / ' + stageName\n"
                      "    property int lastSkill: -1\n"
                      "    property string lastPreview\n"
                      "    property var lastWon\n"
                      "    onSkillAssigned: lastSkill = skill\n"
                      "    onCrewTargetPreviewed: lastPreview = candidateIndex + '/' + candidateCount\n"
                      "    onLevelCompleted: lastWon = won\n"
                      "}\n",
                      QUrl(QStringLiteral("qrc:/canvas.qml")));
    std::unique_ptr<QObject> object(component.create());
    if (!object)
        qWarning() << component.errors();
    return object;
}

// An item made by QML is a GameCanvas whose properties read through the QML engine.
void QmlCreationTest::createdFromQmlWithReadableProperties()
{
    const std::unique_ptr<QObject> object = create();
    QVERIFY(object != nullptr);
    QVERIFY(qobject_cast<GameCanvas *>(object.get()));
    QCOMPARE(object->property("title").toString(), QStringLiteral("First Steps / Training"));
    QCOMPARE(object->property("levelCount").toInt(), 21);
    QCOMPARE(object->property("levelIntroVisible").toBool(), true);
    QCOMPARE(object->property("levels").toList().size(), 21);
    QCOMPARE(object->property("skills").toList().size(), 8);
    QCOMPARE(object->property("zoom").toFloat(), 1.0f);
    QCOMPARE(object->property("selectedSkill").toInt(), -1);
}

// Invokable methods answer QML calls with their results and effects.
void QmlCreationTest::methodsCallableFromQml_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QVariant>("result");

    QTest::newRow("formattedTime") << "formattedTime(75)" << QVariant("01:15");
    QTest::newRow("setLevel") << "setLevel(0)" << QVariant(true);
    QTest::newRow("nextLevel") << "nextLevel()" << QVariant(false);
    QTest::newRow("selectSkill") << "selectSkill(4), selectedSkill" << QVariant(4);
    QTest::newRow("tap without skill") << "applySelectedSkill(480, 270)" << QVariant(false);
    QTest::newRow("pinch") << "setZoomAt(2, 480, 270), zoom" << QVariant(2.0);
    QTest::newRow("reset") << "zoomIn(), resetView(), zoom" << QVariant(1.0);
    QTest::newRow("drag") << "panByItemDelta(10, 10), zoomOut(), focusAction(), zoom" << QVariant(1.0);
    QTest::newRow("release rate") << "increaseReleaseRate(), decreaseReleaseRate(), releaseRate"
                                  << QVariant(45);
    QTest::newRow("pause") << "togglePaused(), paused" << QVariant(true);
    QTest::newRow("speed") << "speedMultiplier = 9, speedMultiplier" << QVariant(3.0);
    QTest::newRow("restart") << "startLevel(), restartLevel(), levelIntroVisible" << QVariant(true);
    QTest::newRow("clearStatistics") << "clearStatistics(), bestTime" << QVariant(-1);
    QTest::newRow("orientation") << "portraitLayout = true, levelIndex" << QVariant(0);
    QTest::newRow("follow") << "followSelectedCrew = true, followSelectedCrew" << QVariant(true);
}

void QmlCreationTest::methodsCallableFromQml()
{
    QFETCH(QString, expression);
    QFETCH(QVariant, result);

    const std::unique_ptr<QObject> object = create();
    QVERIFY(object != nullptr);
    QQmlExpression call(m_engine.rootContext(), object.get(), expression);
    const QVariant value = call.evaluate();
    QVERIFY2(!call.hasError(), qPrintable(call.error().toString()));
    QCOMPARE(value.toString(), result.toString());
}

// Signal handlers written in QML read the arguments by their contract names.
void QmlCreationTest::handlersSeeArgumentNames()
{
    const std::unique_ptr<QObject> object = create();
    QVERIFY(object != nullptr);
    auto *canvas = qobject_cast<GameCanvas *>(object.get());
    auto probe = CanvasProbe::holding(*canvas);

    Q_EMIT canvas->skillAssigned(5);
    Q_EMIT canvas->crewTargetPreviewed(2, 3);
    QCOMPARE(object->property("lastSkill").toInt(), 5);
    QCOMPARE(object->property("lastPreview").toString(), QStringLiteral("2/3"));

    CanvasTest::arrangeOutcome(probe.core(), 1, 0, 1);
    canvas->startLevel();
    probe.advanceFrame();
    QCOMPARE(object->property("lastWon").toBool(), true);
}

QTEST_MAIN(QmlCreationTest)
#include "tst_qmlcreation.moc"
