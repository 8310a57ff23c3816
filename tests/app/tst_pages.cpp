// Qt Quick Test runner for the pages: the QML files in qml/ drive the game's real pages.
#include "languagesettings.h"
#include "pagedriver.h"

#include <QCoreApplication>
#include <QQmlEngine>
#include <QTemporaryDir>
#include <QtQuickTest>

class PagesSetup : public QObject
{
    Q_OBJECT

public:
    PagesSetup()
    {
        // Every file the game writes goes to a throwaway directory, decided before Qt looks.
        qputenv("XDG_CONFIG_HOME", m_configHome.path().toLocal8Bit());
        qputenv("XDG_RUNTIME_DIR", m_configHome.path().toLocal8Bit());
    }

public Q_SLOTS:
    void applicationAvailable()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("vexil"));
        QCoreApplication::setApplicationName(QStringLiteral("harbour-pellwick"));
        PageDriver::collectWarnings();
    }

    void qmlEngineAvailable(QQmlEngine *engine)
    {
        if (!m_languageSettings)
            m_languageSettings = new LanguageSettings(this);
        PageDriver::prepareEngine(engine, &m_driver, m_languageSettings);
    }

private:
    QTemporaryDir m_configHome;
    PageDriver m_driver;
    LanguageSettings *m_languageSettings = nullptr;
};

QUICK_TEST_MAIN_WITH_SETUP(pages, PagesSetup)

#include "tst_pages.moc"
