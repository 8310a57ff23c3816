#include "canvasprobe.h"

#include <QMetaMethod>
#include <QMetaProperty>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQmlExpression>
#include <QtTest>

#include <memory>
#include <vector>

// The QML pages create the item from the module and bind to it by name: every property, signal and method
// of its own meta-object must work from QML.
class ContractTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup() { CanvasTest::removeSettings(); }

    void propertiesReadFromQmlAndAnnounceChanges();
    void writingTheCurrentValueEmitsNothing();
    void invokablesAnswerQmlCalls();
    void handlersSeeArgumentNames();

private:
    static const QMetaObject &meta() { return GameCanvas::staticMetaObject; }
    std::unique_ptr<QObject> create();
    QVariant evaluate(QObject *object, const QString &expression);

    QQmlEngine m_engine;
};

void ContractTest::initTestCase()
{
    CanvasTest::useThrowawaySettings();
    QVERIFY(qmlRegisterType<GameCanvas>("harbour.pellwick", 1, 0, "GameCanvas") >= 0);
}

std::unique_ptr<QObject> ContractTest::create()
{
    QQmlComponent component(&m_engine);
    component.setData("import QtQuick 2.0\n"
                      "import harbour.pellwick 1.0\n"
                      "GameCanvas {\n"
                      "    width: 960; height: 540\n"
                      "    property string heard\n"
                      "    onSkillAssigned: heard += 'skill ' + skill + ';'\n"
                      "    onCrewTargetPreviewed: heard += candidateIndex + '/' + candidateCount + ';'\n"
                      "    onLevelCompleted: heard += 'won ' + won + ';'\n"
                      "}\n",
                      QUrl(QStringLiteral("qrc:/canvas.qml")));
    std::unique_ptr<QObject> object(component.create());
    if (!object)
        qWarning() << component.errors();
    return object;
}

QVariant ContractTest::evaluate(QObject *object, const QString &expression)
{
    QQmlExpression call(m_engine.rootContext(), object, expression);
    const QVariant value = call.evaluate();
    if (call.hasError())
        qWarning() << expression << call.error().toString();
    return call.hasError() ? QVariant(QStringLiteral("error")) : value;
}

// Every property reads through the engine as it reads in C++, and is constant or has a change signal.
void ContractTest::propertiesReadFromQmlAndAnnounceChanges()
{
    const std::unique_ptr<QObject> object = create();
    QVERIFY(object != nullptr);
    QVERIFY(meta().propertyCount() > meta().propertyOffset());
    for (int i = meta().propertyOffset(); i < meta().propertyCount(); ++i) {
        const QMetaProperty property = meta().property(i);
        const QString name = QString::fromLatin1(property.name());
        QVERIFY2(property.isConstant() != property.hasNotifySignal(), qPrintable(name));
        QCOMPARE(evaluate(object.get(), name).toString(), property.read(object.get()).toString());
    }
}

// Writing a property with the value it holds emits nothing, so QML bindings never loop.
void ContractTest::writingTheCurrentValueEmitsNothing()
{
    GameCanvas canvas;
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (int i = meta().methodOffset(); i < meta().methodCount(); ++i) {
        if (meta().method(i).methodType() != QMetaMethod::Signal)
            continue;
        const QByteArray signal = QByteArray("2") + meta().method(i).methodSignature();
        spies.emplace_back(new QSignalSpy(&canvas, signal.constData()));
    }
    for (int i = meta().propertyOffset(); i < meta().propertyCount(); ++i) {
        const QMetaProperty property = meta().property(i);
        if (property.isWritable())
            QVERIFY(property.write(&canvas, property.read(&canvas)));
    }
    for (const auto &spy : spies) {
        QVERIFY(spy->isValid());
        QCOMPARE(spy->count(), 0);
    }
}

// Every public invokable can be called from QML with plain numbers, and those with a result return one.
void ContractTest::invokablesAnswerQmlCalls()
{
    int called = 0;
    for (int i = meta().methodOffset(); i < meta().methodCount(); ++i) {
        const QMetaMethod method = meta().method(i);
        if (method.methodType() != QMetaMethod::Method || method.access() != QMetaMethod::Public)
            continue;
        const std::unique_ptr<QObject> object = create();
        QStringList arguments;
        for (int p = 0; p < method.parameterCount(); ++p)
            arguments << QStringLiteral("1");
        const QString call = QString::fromLatin1(method.name()) + '(' + arguments.join(',') + ')';
        const QVariant result = evaluate(object.get(), call);
        QVERIFY2(result != QVariant(QStringLiteral("error")), qPrintable(call));
        QCOMPARE(result.isValid(), method.returnType() != QMetaType::Void);
        ++called;
    }
    QVERIFY(called > 10);
}

// Signal handlers written in QML read the arguments by their names.
void ContractTest::handlersSeeArgumentNames()
{
    const std::unique_ptr<QObject> object = create();
    QVERIFY(object != nullptr);
    auto *canvas = qobject_cast<GameCanvas *>(object.get());
    auto probe = CanvasProbe::holding(*canvas);
    Q_EMIT canvas->skillAssigned(5);
    Q_EMIT canvas->crewTargetPreviewed(2, 3);
    CanvasTest::arrangeOutcome(probe.core(), 1, 0, 1);
    canvas->startLevel();
    probe.advanceFrame();
    QCOMPARE(object->property("heard").toString(), QStringLiteral("skill 5;2/3;won true;"));
}

QTEST_MAIN(ContractTest)
#include "tst_contract.moc"
