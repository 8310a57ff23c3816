#include "gamecanvas.h"
#include "gamecontrol.h"
#include "languagesettings.h"
#include "startupprobe.h"

#include <QGuiApplication>
#include <QQmlContext>
#include <QQuickView>
#include <QScopedPointer>
#include <QTranslator>
#include <QtQml>

#include <sailfishapp.h>

int main(int argc, char *argv[])
{
    // The view goes first when main returns, then the translator and the language settings, then the
    // application: the canvas saves the game in progress as it is destroyed, and the pages never see
    // the language settings vanish under them.
    const QScopedPointer<QGuiApplication> application(SailfishApp::application(argc, argv));
    // Both configuration files live in the directory Qt derives from these names: set them first.
    application->setOrganizationName(QStringLiteral("vexil"));
    application->setApplicationName(QStringLiteral("harbour-pellwick"));
    application->setApplicationVersion(QStringLiteral("0.5"));
    qputenv("PULSE_PROP_media.role", "x-maemo");

    LanguageSettings languageSettings;
    const QString language = languageSettings.language();

    // A missing translation leaves the built-in English texts.
    QTranslator translator;
    const QString translationsPath = SailfishApp::pathTo(QStringLiteral("translations")).toLocalFile();
    if (language == QLatin1String("hu")
        && translator.load(translationsPath + QStringLiteral("/harbour-pellwick-hu.qm"), QString(), QString(),
                           QString())) {
        QGuiApplication::installTranslator(&translator);
    }

    qmlRegisterType<GameCanvas>("harbour.pellwick", 1, 0, "GameCanvas");
    qmlRegisterType<GameControl>("harbour.pellwick", 1, 0, "GameControl");

    const QScopedPointer<QQuickView> view(SailfishApp::createView());
    view->rootContext()->setContextProperty(QStringLiteral("languageSettings"), &languageSettings);
    view->setSource(SailfishApp::pathTo(QStringLiteral("qml/harbour-pellwick.qml")));
    view->show();
    armStartupProbe(view.data());

    return QGuiApplication::exec();
}
