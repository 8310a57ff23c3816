// Takes screenshots of the real pages for a person to review: the level chooser, with levels of the player's
// own, an introduction, play (paused, and going back in time), the result cards, the settings and a save the
// storage refused, in one language and both orientations.
// Usage: pellwick-screenshots OUTPUT_DIRECTORY [en|hu]
#include "gamecanvas.h"
#include "languagesettings.h"
#include "levelfile.h"
#include "limitwrites.h"
#include "pagedriver.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QQuickItem>
#include <QQuickView>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

namespace {

struct Orientation
{
    const char *name;
    QSize size;
};

// A player a few levels in: some levels won with records, one tried and lost, the next ones locked.
void seedProgress(PageDriver &driver)
{
    driver.resetStorage();
    driver.unlockLevels(7);
    QSettings settings(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)
                           + QStringLiteral("/harbour-pellwick.conf"),
                       QSettings::NativeFormat);
    for (int level = 0; level < 6; ++level) {
        const QString prefix = QStringLiteral("stats/%1/").arg(level);
        settings.setValue(prefix + QStringLiteral("attempts"), level + 1);
        settings.setValue(prefix + QStringLiteral("wins"), 1);
        settings.setValue(prefix + QStringLiteral("bestTime"), 41 + 13 * level);
        settings.setValue(prefix + QStringLiteral("bestSkills"), level);
        settings.setValue(prefix + QStringLiteral("bestSaved"), 8);
    }
    settings.setValue(QStringLiteral("stats/6/attempts"), 3);
    settings.setValue(QStringLiteral("stats/6/bestSaved"), 7);
    // Every try at level 6 lost: it is offered its solution.
    settings.setValue(QStringLiteral("stats/6/lossesLandscape"), 3);
    settings.setValue(QStringLiteral("stats/6/lossesPortrait"), 3);

    // Levels of the player's own: our examples, one of them won, and a file with a fault.
    const QDir examples(QStringLiteral(PELLWICK_EXAMPLE_LEVELS));
    for (const QString &name : examples.entryList({ QStringLiteral("*.level") })) {
        QFile file(examples.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            qFatal("Cannot read %s", qPrintable(name));
        driver.writeLevelFile(name, QString::fromUtf8(file.readAll()));
    }
    driver.writeLevelFile(QStringLiteral("my-first-try.level"),
                          QStringLiteral("pellwick-level 1\nname My First Try\ncrew twelve\n"));
    Pellwick::LevelSpec won;
    if (!Pellwick::readLevelFile(examples.filePath(QStringLiteral("pit-stop.level")), &won, nullptr))
        qFatal("The example level pit-stop.level does not read");
    const QString prefix = QStringLiteral("stats/custom-%1/").arg(QLatin1String(won.hash));
    settings.setValue(prefix + QStringLiteral("attempts"), 2);
    settings.setValue(prefix + QStringLiteral("wins"), 1);
    settings.setValue(prefix + QStringLiteral("bestTime"), 58);
    settings.setValue(prefix + QStringLiteral("bestSkills"), 4);
    settings.setValue(prefix + QStringLiteral("bestSaved"), 6);
}

// The levels of the player's own come last in the chooser.
void scrollToTheEnd(QQuickItem *root)
{
    auto *list = root->findChild<QQuickItem *>(QStringLiteral("levelList"));
    list->setProperty("contentY", list->property("contentHeight").toReal() - list->height());
}

class Photographer
{
public:
    Photographer(QQuickView &view, const QString &prefix)
        : m_view(view)
        , m_prefix(prefix)
    { }

    void take(const char *shot)
    {
        QTest::qWait(1500); // let the cards finish appearing
        const QString path = m_prefix + QLatin1Char('-') + QLatin1String(shot) + QStringLiteral(".png");
        if (!m_view.grabWindow().save(path))
            qFatal("Cannot write %s", qPrintable(path));
    }

private:
    QQuickView &m_view;
    QString m_prefix;
};

void chooseLevel(QQuickItem *root, int index)
{
    QMetaObject::invokeMethod(root, "chooseLevel", Q_ARG(QVariant, index));
}

void photographOrientation(PageDriver &driver, LanguageSettings &languageSettings,
                           const Orientation &orientation, const QString &prefix)
{
    seedProgress(driver);
    QQuickView view;
    PageDriver::prepareEngine(view.engine(), &driver, &languageSettings);
    view.setResizeMode(QQuickView::SizeRootObjectToView);
    view.resize(orientation.size);
    view.setSource(PageDriver::mainPage());
    view.show();
    if (!QTest::qWaitForWindowExposed(&view))
        qFatal("The window never showed");
    QQuickItem *root = view.rootObject();
    auto *game = root->findChild<GameCanvas *>();
    Photographer camera(view, prefix + QLatin1Char('-') + QLatin1String(orientation.name));

    camera.take("chooser");
    scrollToTheEnd(root);
    camera.take("chooser-own-levels");

    // The first of the player's own has only the portrait layout.
    chooseLevel(root, game->levelCount());
    camera.take("intro-own-level");
    game->startLevel();
    driver.runFrames(game, 100);
    camera.take("play-own-level");

    chooseLevel(root, 6);
    camera.take("intro");

    game->startLevel();
    driver.runFrames(game, 240);
    game->setSelectedSkill(3);
    camera.take("play");

    // Paused, with the steps beside rewind; then rewind held, the run going back as the picture is taken.
    game->setPaused(true);
    camera.take("play-paused");
    game->setPaused(false);
    const auto *rewind = root->findChild<QQuickItem *>(QStringLiteral("rewindButton"));
    const QPoint thumb = rewind->mapToScene(QPointF(rewind->width() / 2, rewind->height() / 2)).toPoint();
    QTest::mousePress(&view, Qt::LeftButton, Qt::NoModifier, thumb);
    camera.take("rewinding");
    QTest::mouseRelease(&view, Qt::LeftButton, Qt::NoModifier, thumb);

    driver.runUntilFinished(game, 30000);
    camera.take("result-lost");

    chooseLevel(root, 0);
    game->startLevel();
    driver.runUntilFinished(game, 30000);
    camera.take("result-won");

    root->setProperty("page", QStringLiteral("settings"));
    camera.take("settings");

    // A full phone: the end of the next run cannot be stored, and the player is told.
    limitWrites(0);
    chooseLevel(root, 0);
    game->startLevel();
    driver.runUntilFinished(game, 30000);
    limitWrites();
    camera.take("save-failed");
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    QGuiApplication application(argc, argv);
    application.setOrganizationName(QStringLiteral("vexil"));
    application.setApplicationName(QStringLiteral("harbour-pellwick"));
    application.setApplicationVersion(QStringLiteral("0.5"));

    const QStringList arguments = application.arguments();
    if (arguments.size() < 2)
        qFatal("Usage: pellwick-screenshots OUTPUT_DIRECTORY [en|hu]");
    const QString outputDirectory = arguments.at(1);
    const QString language = arguments.size() > 2 ? arguments.at(2) : QStringLiteral("en");
    QDir().mkpath(outputDirectory);

    QTranslator translator;
    if (language == QLatin1String("hu")) {
        if (!translator.load(QStringLiteral(PELLWICK_STAGE_DATA_DIR "/translations/harbour-pellwick-hu.qm")))
            qFatal("The Hungarian translation is missing; build harbour-pellwick first");
        application.installTranslator(&translator);
    }
    LanguageSettings languageSettings;
    PageDriver driver;
    const Orientation orientations[] = { { "landscape", QSize(960, 540) }, { "portrait", QSize(540, 960) } };
    for (const Orientation &orientation : orientations)
        photographOrientation(driver, languageSettings, orientation,
                              outputDirectory + QLatin1Char('/') + language);
    return 0;
}
