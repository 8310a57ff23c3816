#ifndef PELLWICK_PAGEDRIVER_H
#define PELLWICK_PAGEDRIVER_H

#include <QObject>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QUrl>

class GameCanvas;
class QQmlEngine;
class LanguageSettings;

// Drives the real pages from tests and the screenshot tool: runs the canvas's frames without waiting
// for its timer, finds crew members on screen, and keeps the game's files in a throwaway place.
class PageDriver : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QUrl mainPage READ mainPage CONSTANT)

public:
    explicit PageDriver(QObject *parent = nullptr);

    // The main page in the build tree, the same file the game loads.
    static QUrl mainPage();
    // Registers GameCanvas as the game does and publishes this driver and the language settings.
    static void prepareEngine(QQmlEngine *engine, PageDriver *driver, LanguageSettings *languageSettings);

    // Starts collecting every warning Qt reports, QML errors included; they are handed out by takeWarnings.
    static void collectWarnings();
    Q_INVOKABLE QStringList takeWarnings();

    // Erases the game's settings files so that the next canvas starts as on a first run.
    Q_INVOKABLE void resetStorage();
    // Opens every level up to `index`, as if the ones before it had been won.
    Q_INVOKABLE void unlockLevels(int index);
    // Puts a level file of the player's own into the game's folder of them, replacing one of that name.
    Q_INVOKABLE void writeLevelFile(const QString &name, const QString &text);
    // Runs `frames` frames of the canvas's loop at once.
    Q_INVOKABLE void runFrames(QObject *canvas, int frames);
    // Runs frames until the level ends; false when it has not ended within `maxFrames`.
    Q_INVOKABLE bool runUntilFinished(QObject *canvas, int maxFrames);
    // Runs frames until a crew member could take `skill`, and returns its point in canvas item
    // coordinates; (-1, -1) when none could within `maxFrames`.
    Q_INVOKABLE QPointF runUntilEligible(QObject *canvas, int skill, int maxFrames);
    // Plays the stored solution of the level and layout on from the run's tick, through the canvas's own
    // controls; true when the level is then won.
    Q_INVOKABLE bool playSolution(QObject *canvas);
    // Whether the stored replay of the attempt just finished plays headless to the result it records.
    Q_INVOKABLE bool lastReplayVerifies(QObject *canvas);

private:
    static GameCanvas *gameCanvas(QObject *canvas);
    static QString settingsDirectory();
};

#endif // PELLWICK_PAGEDRIVER_H
