// Qt Quick Test runner for the pages: the QML files in qml/ drive the game's real pages.
#include "languagesettings.h"
#include "pagedriver.h"

#include <QCoreApplication>
#include <QQmlEngine>
#include <QTemporaryDir>
#include <QtQml>
#include <QtQuickTest>

namespace {

// Qt 5.6's runner offers no hook for its engine, so the test file asks for this singleton first, and
// its provider publishes the driver and the language settings on the engine that asked.
QObject *prepareTestEngine(QQmlEngine *engine, QJSEngine *)
{
    auto *driver = new PageDriver(engine);
    PageDriver::prepareEngine(engine, driver, new LanguageSettings(driver));
    return driver;
}

} // namespace

int main(int argc, char **argv)
{
    // Every file the game writes goes to a throwaway directory, decided before Qt looks.
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", configHome.path().toLocal8Bit());
    QCoreApplication::setOrganizationName(QStringLiteral("vexil"));
    QCoreApplication::setApplicationName(QStringLiteral("harbour-pellwick"));
    PageDriver::collectWarnings();
    qmlRegisterSingletonType<PageDriver>("PellwickTest", 1, 0, "TestEngine", prepareTestEngine);
    return quick_test_main(argc, argv, "pages", QUICK_TEST_SOURCE_DIR);
}
