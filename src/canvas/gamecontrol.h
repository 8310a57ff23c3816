#ifndef PELLWICK_GAMECONTROL_H
#define PELLWICK_GAMECONTROL_H

#include "gamecanvas.h"
#include "replaystore.h"

#include <QObject>
#include <QPointer>
#include <QUrl>
#include <QVariantList>

// What the pages need beyond GameCanvas's fixed contract: ending a run by hand, taking it back, watching
// replays, showing a stuck player a stored solution, the sound switch, and saves the storage refused. The
// pages bind it to a canvas; the canvas offers these in C++ only.
class GameControl : public QObject
{
    Q_OBJECT
    Q_PROPERTY(GameCanvas *canvas READ canvas WRITE setCanvas NOTIFY canvasChanged)
    Q_PROPERTY(bool watching READ watching NOTIFY watchingChanged)
    Q_PROPERTY(bool canEndRun READ canEndRun NOTIFY canEndRunChanged)
    // Whether rewind takes the run on screen back: one under way, a watched replay, or a lost run.
    Q_PROPERTY(bool canRewind READ canRewind NOTIFY canRewindChanged)
    // The folder of the winning replays installed with the game, one per level and layout.
    Q_PROPERTY(QUrl solutionFolder READ solutionFolder WRITE setSolutionFolder NOTIFY solutionFolderChanged)
    // The levels lost often enough in the layout the phone is held in to be offered their stored solution.
    Q_PROPERTY(QVariantList solutionLevels READ solutionLevels NOTIFY solutionLevelsChanged)
    Q_PROPERTY(bool soundEnabled READ soundEnabled WRITE setSoundEnabled NOTIFY soundEnabledChanged)
    Q_PROPERTY(bool soundServer READ soundServer CONSTANT)
    // Why the game's progress cannot be saved, in the player's words; empty while saving works. Set by the
    // first save the storage refuses and kept from then on, so that the player is told once.
    Q_PROPERTY(QString saveProblem READ saveProblem NOTIFY saveProblemChanged)
    // Why the replay asked for last, or the game left at the last start, was not played, in the player's
    // words: its level is not installed or has changed. Empty when nothing was refused.
    Q_PROPERTY(QString refusal READ refusal NOTIFY refusalChanged)

public:
    explicit GameControl(QObject *parent = nullptr);

    GameCanvas *canvas() const;
    bool watching() const;
    bool canEndRun() const;
    bool canRewind() const;
    QUrl solutionFolder() const;
    QVariantList solutionLevels() const;

    // The player's sound switch, kept in the game's settings file; on until switched off.
    bool soundEnabled() const;
    // Whether a sound server listens: without one the pages make no sounds, since the sound library
    // would complain about every one of them.
    bool soundServer() const;
    QString saveProblem() const;
    QString refusal() const;

    void setCanvas(GameCanvas *canvas);
    void setSolutionFolder(const QUrl &folder);
    void setSoundEnabled(bool enabled);

    // Ends the run under way as lost or won as it stands; the pages ask the player to confirm first.
    Q_INVOKABLE bool endRun();
    // Five seconds back a press; while the button is held, a second back at each scrub. While paused, one
    // tick back or forward.
    Q_INVOKABLE bool rewind();
    Q_INVOKABLE bool scrubBack();
    Q_INVOKABLE bool stepBack();
    Q_INVOKABLE bool stepForward();
    // The attempt just finished, in the layout it was played in ("watch again").
    Q_INVOKABLE bool hasLastReplay() const;
    Q_INVOKABLE bool watchLastReplay();
    // A level's best win, preferably in the layout the phone is held in.
    Q_INVOKABLE bool hasBestReplay(int level) const;
    Q_INVOKABLE bool watchBestReplay(int level);
    // The stored solution of one of the solution levels, in the layout the phone is held in.
    Q_INVOKABLE bool watchSolution(int level);
    Q_INVOKABLE void stopWatching();
    // Reads the folder of the player's own levels again: the chooser does as it appears.
    Q_INVOKABLE void readPlayerLevels();

Q_SIGNALS:
    void canvasChanged();
    void watchingChanged();
    void canEndRunChanged();
    void canRewindChanged();
    void solutionFolderChanged();
    void solutionLevelsChanged();
    void soundEnabledChanged();
    void saveProblemChanged();
    void refusalChanged();
    // A replay played to its end, won or not, and the canvas is back where the player left it.
    void watchFinished(bool won);
    // What the canvas announces only for the player's own game: a watched replay's skills, at most one
    // signal a frame, and how the watched attempt ended, just before watchFinished.
    void watchedSkillAssigned();
    void watchedLevelCompleted(bool won);

private:
    void refresh();
    void refreshSolutionLevels();
    void refreshSaveProblem();
    void noteSaveProblem(SaveProblem problem);
    void followWatchedSkills();
    void setRefusal(const QString &refusal);
    bool watchFile(const QString &path);
    QString replayPath(int level, Pellwick::LayoutMode layout, ReplayStore::Kind kind) const;
    QString bestReplayPath(int level) const;
    QString solutionPath(int level) const;

    QPointer<GameCanvas> m_canvas;
    QUrl m_solutionFolder;
    QVariantList m_solutionLevels;
    bool m_watching = false;
    bool m_canEndRun = false;
    bool m_canRewind = false;
    bool m_stoppingByHand = false;
    bool m_soundEnabled = true;
    SaveProblem m_saveProblem = SaveProblem::None;
    QString m_refusal;
    int m_watchedSkillsUsed = 0;
};

#endif // PELLWICK_GAMECONTROL_H
