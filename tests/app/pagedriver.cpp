#include "pagedriver.h"

#include "canvasprobe.h"
#include "gamecanvas.h"
#include "gamecontrol.h"
#include "languagesettings.h"
#include "replaystore.h"
#include "storage.h"

#include <QDir>
#include <QQmlContext>
#include <QQmlEngine>
#include <QSettings>
#include <QStandardPaths>
#include <QtQml>

namespace {

QStringList collectedWarnings;
QtMessageHandler chainedHandler = nullptr;

void collectWarning(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        collectedWarnings.append(message);
    chainedHandler(type, context, message);
}

} // namespace

PageDriver::PageDriver(QObject *parent)
    : QObject(parent)
{ }

QUrl PageDriver::mainPage()
{
    return QUrl::fromLocalFile(QStringLiteral(PELLWICK_STAGE_DATA_DIR "/qml/harbour-pellwick.qml"));
}

void PageDriver::prepareEngine(QQmlEngine *engine, PageDriver *driver, LanguageSettings *languageSettings)
{
    static const int registered = qmlRegisterType<GameCanvas>("harbour.pellwick", 1, 0, "GameCanvas")
        + qmlRegisterType<GameControl>("harbour.pellwick", 1, 0, "GameControl");
    Q_UNUSED(registered)
    engine->rootContext()->setContextProperty(QStringLiteral("driver"), driver);
    engine->rootContext()->setContextProperty(QStringLiteral("languageSettings"), languageSettings);
}

void PageDriver::collectWarnings()
{
    if (!chainedHandler)
        chainedHandler = qInstallMessageHandler(collectWarning);
}

QStringList PageDriver::takeWarnings()
{
    const QStringList warnings = collectedWarnings;
    collectedWarnings.clear();
    return warnings;
}

QString PageDriver::settingsDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

void PageDriver::resetStorage()
{
    QFile::remove(settingsDirectory() + QStringLiteral("/harbour-pellwick.conf"));
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/replays"))
        .removeRecursively();
    QDir(GameCanvas::playerLevelFolder()).removeRecursively();
}

void PageDriver::writeLevelFile(const QString &name, const QString &text)
{
    if (!Storage::writeFile(GameCanvas::playerLevelFolder() + QLatin1Char('/') + name, text.toUtf8()))
        qWarning("Cannot write the level file %s", qPrintable(name));
}

void PageDriver::unlockLevels(int index)
{
    QDir().mkpath(settingsDirectory());
    QSettings settings(settingsDirectory() + QStringLiteral("/harbour-pellwick.conf"),
                       QSettings::NativeFormat);
    settings.setValue(QStringLiteral("progress/unlockedLevel"), index);
}

GameCanvas *PageDriver::gameCanvas(QObject *canvas)
{
    return qobject_cast<GameCanvas *>(canvas);
}

void PageDriver::runFrames(QObject *canvas, int frames)
{
    for (int frame = 0; frame < frames; ++frame)
        QMetaObject::invokeMethod(canvas, "advanceFrame", Qt::DirectConnection);
}

bool PageDriver::runUntilFinished(QObject *canvas, int maxFrames)
{
    GameCanvas *game = gameCanvas(canvas);
    for (int frame = 0; game && frame < maxFrames && !game->levelFinished(); ++frame)
        runFrames(canvas, 1);
    return game && game->levelFinished();
}

QPointF PageDriver::runUntilEligible(QObject *canvas, int skill, int maxFrames)
{
    GameCanvas *game = gameCanvas(canvas);
    if (!game || !Pellwick::isValidSkill(skill))
        return QPointF(-1, -1);
    for (int frame = 0; frame < maxFrames && !game->levelFinished(); ++frame) {
        for (const Pellwick::CrewMember &member : game->core().crew) {
            if (member.active && game->core().canApplySkill(Pellwick::Skill(skill), member)) {
                // Aim at the body, a little above the feet.
                return game->worldToItem(member.pos - QPointF(0, 4));
            }
        }
        runFrames(canvas, 1);
    }
    return QPointF(-1, -1);
}

bool PageDriver::playSolution(QObject *canvas)
{
    GameCanvas *game = gameCanvas(canvas);
    Pellwick::Replay plan;
    const QString path = QStringLiteral(PELLWICK_STAGE_DATA_DIR "/solutions/level-%1-%2.txt");
    if (game
        && readReplayFile(path.arg(game->levelIndex(), 2, 10, QLatin1Char('0'))
                              .arg(game->portraitLayout() ? "portrait" : "landscape"),
                          &plan, nullptr))
        CanvasTest::playPlan(*game, plan, false);
    return game && game->levelWon();
}

bool PageDriver::lastReplayVerifies(QObject *canvas)
{
    GameCanvas *game = gameCanvas(canvas);
    Pellwick::Replay replay;
    Pellwick::GameCore core;
    return game
        && readReplayFile(ReplayStore::path(game->levelIndex(), game->core().layoutMode, ReplayStore::Last),
                          &replay, nullptr)
        && replay.hasResult && playReplay(replay, core) == 0 && resultOf(core) == replay.result;
}
