#include "gamecore.h"
#include "levelfile.h"
#include "replay.h"

#include <QtTest>

using namespace Pellwick;

Q_DECLARE_METATYPE(Pellwick::LevelSpec)

namespace {

const QByteArray kHead = "pellwick-level 1\nname Test\n";
const QByteArray kLandscape = "landscape\nentry 10 399\nexit 900 399\nsoil 0 400 960 140\n";

// Every field at the edge of what a level may hold, one layout only, and every kind of object.
const QByteArray kEveryField =
    "\xef\xbb\xbf# A level that pushes every field to its bound.\npellwick-level 1\n"
    "name  \t12345678901234567890123456789012345678901234567890 Á\xc3\xa9 tail!!\nname-hu Próba\n"
    "briefing-hu Mindenki haza!\ncrew 100\nrequired 100\nrate 99\nstage night-ops\ntheme ember\n"
    "skills Demolition 99 Climber 0 Floater 1\nportrait\n  entry 0 959\nexit 539 0\n"
    "stone 539 959 1 1\nsoil 1 0 538 960\nwater 0 0 540 960\nlava 1 2 3 4\nspikes 5 6 7 8\nspring 9 10 11 "
    "12\n"
    "gate 1 1 10 10 left\ngate 1 1 10 10 right\nteleporter 1 1 5 5 link 9999\nteleporter 2 2 5 5 link 9999\n"
    "fan 1 1 5 5\nfan 1 1 5 5 link 3\ndoor 1 1 5 5 link 0\nswitch 1 1 5 5 link 0\n"
    "laser 1 1 5 5\nlaser 1 1 5 5 link 7\r\n";

// A small level of the player's own: three crew walking to the exit, one of them needed.
const QByteArray kStroll = "pellwick-level 1\nname Stroll\ncrew 3\nrequired 1\nrate 99\nskills Blocker 1\n"
                           "landscape\nentry 40 399\nexit 200 399\nsoil 0 400 960 140\n";

LevelSpec levelOf(const QByteArray &text)
{
    LevelSpec level;
    readLevel(text, &level, nullptr);
    return level;
}

// The path of the file written into the folder, or an empty string.
QString writeFile(const QTemporaryDir &folder, const char *name, const QByteArray &text)
{
    QFile file(QDir(folder.path()).filePath(QLatin1String(name)));
    const bool written = file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
    return written ? file.fileName() : QString();
}

} // namespace

class LevelFileTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void levelRoundTripsFieldForField_data();
    void levelRoundTripsFieldForField();
    void readerNamesTheFaultyLine_data();
    void readerNamesTheFaultyLine();
    void customLevelIsKnownByItsContent();
    void folderListsLevelsAndFaultyFiles();
};

// Every level of the catalogue, and one that uses every field, written out and read back is the same level
// in every field of both layouts; writing it again gives the same text.
void LevelFileTest::levelRoundTripsFieldForField_data()
{
    QTest::addColumn<LevelSpec>("level");
    for (const LevelSpec &level : GameCore().levels)
        QTest::newRow(qPrintable(level.name)) << level;
    QTest::newRow("every field") << levelOf(kEveryField);
}

void LevelFileTest::levelRoundTripsFieldForField()
{
    QFETCH(LevelSpec, level);
    const QByteArray text = writeLevel(level);
    LevelSpec back;
    LevelError error;
    QVERIFY2(readLevel(text, &back, &error), qPrintable(error.message));
    QCOMPARE(back.hash, QCryptographicHash::hash(text, QCryptographicHash::Sha256).toHex().left(32));
    QCOMPARE(writeLevel(back), text);
    back.hash = level.hash;
    QVERIFY2(back == level, text.constData());
}

void LevelFileTest::readerNamesTheFaultyLine_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("fragment");
    const QByteArray &h = kHead;
    const QByteArray &l = kLandscape;
    QTest::newRow("empty file") << QByteArray() << 0 << "empty";
    QTest::newRow("not a level") << QByteArray("# hi\npellwick-replay 1\n") << 2 << "not a level file";
    QTest::newRow("other version") << QByteArray("pellwick-level 2\n") << 1 << "version 2";
    QTest::newRow("over 1 MB") << h + l + QByteArray(1 << 20, '#') << 0 << "1 MB";
    QTest::newRow("unknown field") << h + "colour red\n" + l << 3 << "unknown field \"colour\"";
    QTest::newRow("unknown object") << h + l + "bridge 1 1 5 5\n" << 7 << "unknown field \"bridge\"";
    QTest::newRow("name twice") << h + "name Again\n" + l << 3 << "given twice";
    QTest::newRow("no name") << "pellwick-level 1\n" + l << 0 << "no \"name\"";
    QTest::newRow("name without text") << "pellwick-level 1\nname \n" + l << 2 << "missing";
    QTest::newRow("name too long") << "pellwick-level 1\nname " + QByteArray(61, 'x') + '\n' + l << 2 << "60";
    QTest::newRow("name not UTF-8") << "pellwick-level 1\nname L\xe9vel\n" + l << 2 << "UTF-8";
    QTest::newRow("name with a control") << "pellwick-level 1\nname a\x01z\n" + l << 2 << "control";
    QTest::newRow("crew 0") << h + "crew 0\n" + l << 3 << "1 to 100";
    QTest::newRow("crew 101") << h + "crew 101\n" + l << 3 << "1 to 100";
    QTest::newRow("crew not a number") << h + "crew 1O\n" + l << 3 << "bad number";
    QTest::newRow("crew twice on a line") << h + "crew 4 5\n" + l << 3 << "expected \"crew N\"";
    QTest::newRow("more required than crew")
        << h + "required 6\ncrew 5\n" + l << 4 << "6 required of a crew of 5";
    QTest::newRow("rate 100") << h + "rate 100\n" + l << 3 << "1 to 99";
    QTest::newRow("rate 0") << h + "rate 0\n" + l << 3 << "1 to 99";
    QTest::newRow("unknown stage") << h + "stage bonus\n" + l << 3 << "expected \"stage";
    QTest::newRow("unknown theme") << h + "theme pink\n" + l << 3 << "expected \"theme";
    QTest::newRow("unknown skill") << h + "skills Flyer 2\n" + l << 3 << "unknown skill";
    QTest::newRow("stock 100") << h + "skills Builder 100\n" + l << 3 << "0 to 99";
    QTest::newRow("skill twice") << h + "skills Miner 1 Miner 2\n" + l << 3 << "given twice";
    QTest::newRow("skill without count") << h + "skills Miner\n" + l << 3 << "expected \"skills";
    QTest::newRow("level field in a layout") << h + l + "crew 5\n" << 7 << "before the layouts";
    QTest::newRow("block before a layout") << h + "soil 0 0 5 5\n" + l << 3 << "belongs in a layout";
    QTest::newRow("no layout") << h << 0 << "no layout";
    QTest::newRow("layout twice") << h + l + l << 7 << "given twice";
    QTest::newRow("no entry") << h + "portrait\nexit 1 1\n" << 3 << "no \"entry\"";
    QTest::newRow("no exit") << h + "landscape\nentry 1 1\n" << 3 << "no \"exit\"";
    QTest::newRow("entry twice") << h + l + "entry 5 5\n" << 7 << "given twice";
    QTest::newRow("entry outside") << h + "landscape\nentry 960 10\n" << 4 << "0 to 959";
    QTest::newRow("exit outside") << h + "portrait\nentry 1 1\nexit 1 960\n" << 5 << "0 to 959";
    QTest::newRow("entry in rock") << h + l + "stone 5 390 10 10\n" << 4 << "inside the terrain of line 7";
    QTest::newRow("exit in soil") << h + l + "soil 900 399 1 1\n" << 5 << "inside the terrain of line 7";
    QTest::newRow("block past the side") << h + l + "soil 900 0 61 10\n" << 7 << "outside the 960";
    QTest::newRow("block past the bottom") << h + "portrait\nstone 0 900 10 61\n" << 4 << "outside the 540";
    QTest::newRow("block at -1") << h + l + "soil -1 0 5 5\n" << 7 << "bad number";
    QTest::newRow("block of no width") << h + l + "stone 5 5 0 5\n" << 7 << "1 to 960";
    QTest::newRow("block too short") << h + l + "soil 1 2 3\n" << 7 << "expected \"soil";
    QTest::newRow("gate without direction") << h + l + "gate 1 1 5 5\n" << 7 << "expected \"gate";
    QTest::newRow("gate up") << h + l + "gate 1 1 5 5 up\n" << 7 << "expected \"gate";
    QTest::newRow("door without link") << h + l + "door 1 1 5 5\n" << 7 << "expected \"door";
    QTest::newRow("water with a link") << h + l + "water 1 1 5 5 link 2\n" << 7 << "expected \"water";
    QTest::newRow("water facing left") << h + l + "water 1 1 5 5 left\n" << 7 << "expected \"water";
    QTest::newRow("link beyond 9999") << h + l + "fan 1 1 5 5 link 10000\n" << 7 << "0 to 9999";
    QTest::newRow("teleporter alone") << h + l + "teleporter 1 1 5 5 link 1\n"
                                      << 7 << "link 1 has no partner";
    QTest::newRow("three teleporters") << h + l
            + "teleporter 1 1 5 5 link 2\n"
              "teleporter 1 1 5 5 link 2\nteleporter 1 1 5 5 link 2\n"
                                       << 7 << "no partner";
    QTest::newRow("switch without door")
        << h + l + "door 1 1 5 5 link 1\nswitch 1 1 5 5 link 2\nswitch 1 1 5 5 link 1\n"
        << 8 << "link 2";
    QTest::newRow("door without switch") << h + l + "portrait\nentry 1 1\nexit 2 2\ndoor 1 1 5 5 link 3\n"
                                         << 10 << "link 3";
    QTest::newRow("101 objects") << h + l + QByteArray("spring 1 1 5 5\n").repeated(101) << 107
                                 << "at most 100";
}

void LevelFileTest::readerNamesTheFaultyLine()
{
    // A file that breaks a rule is refused with its first fault and that fault's line, and nothing of it is
    // handed back.
    QFETCH(QByteArray, text);
    QFETCH(int, line);
    QFETCH(QString, fragment);

    QTemporaryDir folder;
    const QString path = writeFile(folder, "faulty.level", text);
    QVERIFY(!path.isEmpty());
    LevelSpec level;
    LevelError error;
    QVERIFY(!readLevelFile(path, &level, &error));
    QVERIFY2(error.message.contains(fragment), qPrintable(error.message));
    QCOMPARE(error.line, line);
    QVERIFY(level == LevelSpec());
}

// A level of the player's own is named by its content in replays and snapshots: a core that holds the very
// same level plays them on, any other says why and plays nothing. The built-in levels keep their index.
void LevelFileTest::customLevelIsKnownByItsContent()
{
    const LevelSpec stroll = levelOf(kStroll);
    GameCore core;
    QCOMPARE(core.serialize().mid(4, 2), QByteArray("\x00\x04", 2));
    const int index = core.addLevel(stroll);
    QCOMPARE(core.addLevel(stroll), index);
    core.setLayoutMode(Portrait, false);
    core.loadLevel(index);
    QCOMPARE(core.layoutMode, Landscape);
    Replay replay = Replay::of(core);
    while (core.tick < 40)
        core.step();
    const QByteArray snapshot = core.serialize();
    QCOMPARE(snapshot.mid(4, 2), QByteArray("\x00\x05", 2));
    replay.events.append(ReplayEvent::assign(40, Blocker, 1, core.crew.first().pos));
    core.applySkill(Blocker, core.crew.first().pos, 1);
    while (!core.finished)
        core.step();
    replay.finish(core);
    QVERIFY(core.won());
    Replay shared;
    QVERIFY(readReplay(writeReplay(replay), &shared, nullptr));
    QCOMPARE(shared.levelHash, stroll.hash);

    GameCore same;
    same.addLevel(levelOf(kStroll));
    QVERIFY(same.restore(snapshot));
    QCOMPARE(same.levelIndex, index);
    QCOMPARE(playReplay(shared, same), 0);
    QVERIFY(resultOf(same) == replay.result);

    GameCore changed;
    changed.addLevel(levelOf(kStroll + "# now with a comment\n"));
    GameCore without;
    for (GameCore *other : { &changed, &without }) {
        const QString expected =
            other == &changed ? "another version of the level \"Stroll\"" : "not installed";
        QString refusal;
        QVERIFY(!other->restore(snapshot, &refusal));
        QVERIFY2(refusal.contains(expected), qPrintable(refusal));
        refusal.clear();
        QVERIFY(!ReplayPlayer(shared).start(*other, &refusal));
        QVERIFY2(refusal.contains(expected), qPrintable(refusal));
        QCOMPARE(playReplay(shared, *other), -1);
        QCOMPARE(other->levelIndex, 0);
        QCOMPARE(other->tick, 0);
    }
}

// The folder's level files come in the order of their names, each as a level or as its fault; other files
// are passed over, and a second copy of a level is refused.
void LevelFileTest::folderListsLevelsAndFaultyFiles()
{
    QTemporaryDir folder;
    QVERIFY(!writeFile(folder, "b.level", kStroll).isEmpty());
    QVERIFY(!writeFile(folder, "a.level", kHead + "crew 0\n").isEmpty());
    QVERIFY(!writeFile(folder, "c.level", kStroll).isEmpty());
    QVERIFY(!writeFile(folder, "d.txt", kStroll).isEmpty());
    const QVector<LevelFile> files = readLevelFolder(folder.path());
    QCOMPARE(files.size(), 3);
    QCOMPARE(files.at(0).fileName, QStringLiteral("a.level"));
    QCOMPARE(files.at(0).error.line, 3);
    QVERIFY(files.at(1).ok());
    QCOMPARE(files.at(1).level.hash, levelOf(kStroll).hash);
    QCOMPARE(files.at(2).error.message, QStringLiteral("the same level as b.level"));
}

QTEST_GUILESS_MAIN(LevelFileTest)
#include "tst_levelfile.moc"
