#include "canvasprobe.h"
#include "gamecontrol.h"
#include "replay.h"

#include <QtTest>

using namespace Pellwick;

// The QML pages drive the item through its properties and calls.
class ContractTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { CanvasTest::useThrowawaySettings(); }
    void cleanup() { CanvasTest::removeSettings(); }

    void playerCallsInEachState_data();
    void playerCallsInEachState();
};

// What the player's calls do in each state of the game, on a 960 x 540 canvas. A row's words are its steps;
// what the calls return, what the canvas and control announce and what the steps read are heard, in order.
//   member (at (300, 419), selected), crowd (a second beside it), start, pause, done (the run ends), watch
//   (level 0's solution), stop (watching), best N (its replay), frames N, skill N (every skill in stock),
//   apply (a tap on the member), miss (off the item), commit (the preview's time runs out), end, rewind,
//   back, forward, flags (can end, can rewind), level N, rate N, speed X, time S, portrait, size W H, pinch Z
//   X Y, pan DX DY, at X Y (the camera put there), follow, steps N (following frames), focus; read: zoom,
//   scale, camera, tap X Y
void ContractTest::playerCallsInEachState_data()
{
    QTest::addColumn<QString>("heard");

    QTest::newRow("member start skill 2 apply") << "skill 2 yes";
    QTest::newRow("member skill 2 apply: before the start") << "no";
    QTest::newRow("member start pause skill 2 apply") << "no";
    QTest::newRow("member start done skill 2 apply") << "no";
    QTest::newRow("member start watch skill 2 apply") << "no";
    QTest::newRow("member start skill 2 miss skill -1 apply skill 8 apply") << "no no no";
    QTest::newRow("member crowd start skill 2 apply commit") << "1/2 yes skill 2";
    QTest::newRow("member crowd start skill 2 apply apply commit") << "1/2 yes 2/2 yes skill 2";
    QTest::newRow("member crowd start skill 2 apply skill 3 apply") << "1/2 yes 1/2 yes";
    QTest::newRow("member crowd start skill 2 apply pause commit") << "1/2 yes";
    QTest::newRow("member crowd start skill 2 apply done commit") << "1/2 yes";
    QTest::newRow("flags start flags end flags end") << "no no yes yes yes no yes no";
    QTest::newRow("start watch end flags stop watch frames 700: by hand, then to the end")
        << "no no yes watched 1";
    QTest::newRow("best 0 start frames 660 end best 0: a win's replay") << "no no yes yes yes";
    QTest::newRow("start frames 100 rewind frames 200 rewind") << "yes 0 yes 50";
    QTest::newRow("start frames 100 back pause frames 5 back forward forward")
        << "no 100 yes 99 yes 100 yes 101";
    QTest::newRow("frames 3 end rewind: before the start") << "no no 0";
    QTest::newRow("level -1 level 1 level 21 level 2147483647 level 0: open ones") << "no no no no yes";
    QTest::newRow("rate 0 rate 99 rate 100 rate 101 rate -5") << "1 99 99 99 1";
    QTest::newRow("speed 0.5 speed 0.4 speed 3 speed 3.5 speed nan speed 1.5") << "0.5 0.5 3 3 0.5 1.5";
    QTest::newRow("time 75 time -2147483648 time 3599 time 6000") << "01:15 00:00 59:59 100:00";
    QTest::newRow("pinch 1.5 480 270 zoom pinch 4 0 0 zoom pinch 0.5 0 0 zoom pinch nan 0 0 zoom")
        << "1.5 3.5 1 1";
    QTest::newRow("tap 959.5 10 tap -1 10 tap 960 540 tap 0 10 tap 960 10 tap 10 540 tap nan 10")
        << "959.5,10 -1000,-1000 -1000,-1000 0,10 -1000,-1000 -1000,-1000 -1000,-1000";
    QTest::newRow("portrait tap 100 270 size 1152 960 tap 576 0: a narrow world") << "-1000,-1000 270,0";
    QTest::newRow("member pinch 3 480 270 follow camera start frames 1 camera") << "300,419 303.12,418.04";
    QTest::newRow("member pinch 3 480 270 follow pan 0 0 steps 89 camera steps 1 camera: held")
        << "300,419 302.88,418.04";
    QTest::newRow("member pinch 3 480 270 pan 30 -30 steps 90 camera pinch 1 0 0 pan 100 0 camera")
        << "470,280 480,270";
    QTest::newRow("member crowd pinch 3 480 270 focus camera: on the member selected") << "302,419";
    QTest::newRow("pinch 2 100 100 camera: the pinched point stays put") << "290,185";
    QTest::newRow("pinch 2 480 0 camera: pinched on the world's top edge") << "480,135";
    QTest::newRow("member pinch 3 480 270 at 200 200 size 900 540 camera size 540 540 camera")
        << "200,200 300,380";
    QTest::newRow("member size 540 540 pinch 3 270 270 at 200 200 size 540 960 camera: upright") << "200,270";
    QTest::newRow("member pinch 3 480 270 size 0 540 at 100 100 size 960 540 camera") << "160,100";
    QTest::newRow("size 0 0 at 960 540 pinch 2 0 0 camera at 961 100 pinch 3 0 0 camera")
        << "960,540 480,270";
    QTest::newRow("size 960 0 tap 10 0 at 100 -1 pinch 2 0 0 camera size 0 0 tap 0 0")
        << "-1000,-1000 480,270 -1000,-1000";
    QTest::newRow("scale size 0 540 scale size 960 0 scale size 1920 1080 scale") << "1 1 1 2";
}

void ContractTest::playerCallsInEachState()
{
    QFETCH(QString, heard);
    GameCanvas canvas;
    auto probe = CanvasProbe::holding(canvas);
    canvas.setSize(QSizeF(960, 540));
    GameControl control;
    control.setCanvas(&canvas);
    GameCore &core = probe.core();
    core.skillStock.fill(9);
    const QPointF spot(300, 419);
    QStringList told;
    const auto tell = [&told](bool value) {
        told << (value ? "yes" : "no");
    };
    const auto point = [&told](const QPointF &p) {
        told << QString::number(p.x()) + ',' + QString::number(p.y());
    };
    QObject::connect(&canvas, &GameCanvas::skillAssigned,
                     [&told](int skill) { told << QStringLiteral("skill %1").arg(skill); });
    QObject::connect(&canvas, &GameCanvas::crewTargetPreviewed, [&told](int index, int count) {
        told << QStringLiteral("%1/%2").arg(index).arg(count);
    });
    QObject::connect(&control, &GameControl::watchedLevelCompleted,
                     [&told](bool won) { told << QStringLiteral("watched %1").arg(won); });
    const QStringList words = QString::fromLatin1(QTest::currentDataTag()).section(':', 0, 0).split(' ');
    const auto number = [&words](int i) {
        return words.value(i).toFloat();
    };
    for (int i = 0; i < words.size(); ++i) {
        const QString &step = words.at(i);
        const auto is = [&step](const char *name) {
            return step == QLatin1String(name);
        };
        if (is("member") || is("crowd")) {
            probe.setSelectedCrewId(CanvasTest::placeMember(core, spot + QPointF(is("crowd") ? 2 : 0, 0)));
        } else if (is("start")) {
            canvas.startLevel();
        } else if (is("pause")) {
            canvas.setPaused(true);
        } else if (is("done")) {
            core.finished = true;
        } else if (is("watch")) {
            Replay solution;
            QVERIFY(readReplayFile(QFINDTESTDATA("../../replays/solutions/level-00-landscape.txt"), &solution,
                                   nullptr));
            QVERIFY(canvas.watchReplay(solution));
        } else if (is("stop")) {
            control.stopWatching();
        } else if (is("best")) {
            tell(control.watchBestReplay(words.value(++i).toInt()));
            tell(control.watching());
        } else if (is("frames")) {
            probe.advanceFrames(int(number(++i)));
        } else if (is("skill")) {
            canvas.selectSkill(int(number(++i)));
        } else if (is("apply") || is("miss")) {
            const QPointF item = is("miss") ? QPointF(-1, -1) : canvas.worldToItem(spot);
            tell(canvas.applySelectedSkill(float(item.x()), float(item.y())));
        } else if (is("commit")) {
            probe.commitPendingAssignment();
        } else if (is("end")) {
            tell(control.endRun());
        } else if (is("rewind") || is("back") || is("forward")) {
            tell(is("rewind") ? control.rewind() : is("back") ? control.stepBack() : control.stepForward());
            told << QString::number(core.tick);
        } else if (is("flags")) {
            tell(control.canEndRun());
            tell(control.canRewind());
        } else if (is("level")) {
            tell(canvas.setLevel(words.value(++i).toInt()));
        } else if (is("rate")) {
            canvas.setReleaseRate(int(number(++i)));
            told << QString::number(canvas.releaseRate());
        } else if (is("speed")) {
            canvas.setSpeedMultiplier(number(++i));
            told << QString::number(double(canvas.speedMultiplier()));
        } else if (is("time")) {
            told << canvas.formattedTime(words.value(++i).toInt());
        } else if (is("portrait")) {
            canvas.setPortraitLayout(true);
        } else if (is("size") || is("pan") || is("at") || is("tap")) {
            const float x = number(i + 1);
            const float y = number(i + 2);
            i += 2;
            if (is("size"))
                canvas.setSize(QSizeF(x, y));
            else if (is("pan"))
                canvas.panByItemDelta(x, y);
            else if (is("at"))
                probe.setCamera(QPointF(x, y));
            else
                point(canvas.itemToWorld(x, y));
        } else if (is("pinch")) {
            canvas.setZoomAt(number(i + 1), number(i + 2), number(i + 3));
            i += 3;
        } else if (is("follow")) {
            canvas.setFollowSelectedCrew(true);
        } else if (is("steps")) {
            for (int n = int(number(++i)); n > 0; --n)
                probe.followStep();
        } else if (is("focus")) {
            canvas.focusAction();
        } else if (is("zoom") || is("scale")) {
            told << QString::number(double(is("zoom") ? canvas.zoom() : canvas.baseScale()));
        } else {
            QCOMPARE(step, QStringLiteral("camera"));
            point(probe.camera());
        }
    }
    QCOMPARE(told.join(' '), heard);
}

QTEST_MAIN(ContractTest)
#include "tst_contract.moc"
