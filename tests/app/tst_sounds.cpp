// The sound files as the build writes them, and, where a sound server listens, the sound of a member saved
// in a played level, recorded from the server.
#include "gamecanvas.h"
#include "gamecontrol.h"
#include "languagesettings.h"
#include "pagedriver.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QQuickItem>
#include <QQuickView>
#include <QtTest>

#include <cmath>

namespace {

const QString kSoundDir = QStringLiteral(PELLWICK_STAGE_DATA_DIR "/sounds/");
constexpr int kDecimation = 4; // the match compares every fourth sample, which is plenty for its tones

struct Wave
{
    quint16 format = 0;
    quint16 channels = 0;
    quint32 rate = 0;
    quint16 bits = 0;
    QVector<qint16> samples;
};

// Reads a WAV file chunk by chunk. A recorder stopped by a signal may leave the data size unwritten, so the
// samples run to the end of the file at most.
Wave readWave(const QString &path)
{
    Wave wave;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.read(12).mid(8) != "WAVE")
        return wave;
    QDataStream in(&file);
    in.setByteOrder(QDataStream::LittleEndian);
    while (!in.atEnd()) {
        const QByteArray id = file.read(4);
        quint32 size = 0;
        in >> size;
        if (id == "fmt ") {
            in >> wave.format >> wave.channels >> wave.rate;
            in.skipRawData(6); // bytes a second and a frame follow from the rest
            in >> wave.bits;
            in.skipRawData(int(size) - 16);
        } else if (id == "data") {
            const qint64 count = qMin<qint64>(size, file.bytesAvailable()) / 2;
            wave.samples.resize(int(count));
            for (qint16 &sample : wave.samples)
                in >> sample;
        } else {
            in.skipRawData(int(size + (size & 1)));
        }
    }
    return wave;
}

QVector<double> decimated(const QVector<qint16> &samples)
{
    QVector<double> out;
    for (int i = 0; i + kDecimation <= samples.size(); i += kDecimation) {
        double sum = 0;
        for (int j = 0; j < kDecimation; ++j)
            sum += samples[i + j];
        out.append(sum / kDecimation);
    }
    return out;
}

// The best normalised correlation of the sound at any place in the recording: 1 for a faithful copy at any
// volume, near 0 for anything else.
double bestMatch(const QVector<double> &recording, const QVector<double> &sound)
{
    double soundEnergy = 0;
    for (double s : sound)
        soundEnergy += s * s;
    double windowEnergy = 0;
    for (int i = 0; i < sound.size() && i < recording.size(); ++i)
        windowEnergy += recording[i] * recording[i];
    double best = 0;
    for (int at = 0; at + sound.size() <= recording.size(); ++at) {
        if (windowEnergy > 1e-3 * soundEnergy) {
            double product = 0;
            for (int i = 0; i < sound.size(); ++i)
                product += recording[at + i] * sound[i];
            best = qMax(best, product / std::sqrt(windowEnergy * soundEnergy));
        }
        windowEnergy -= recording[at] * recording[at];
        if (at + sound.size() < recording.size())
            windowEnergy += recording[at + sound.size()] * recording[at + sound.size()];
    }
    return best;
}

} // namespace

class SoundsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void everySoundIsShortAndUnclipped_data();
    void everySoundIsShortAndUnclipped();
    void savedMemberIsHeard();
};

void SoundsTest::everySoundIsShortAndUnclipped_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : { "skill", "saved", "lost", "trigger", "won", "failed", "refused" })
        QTest::newRow(name) << QString::fromLatin1(name);
}

// Each sound is a 16-bit mono file that plays for under half a second, is heard, and never touches full
// scale, where it would clip.
void SoundsTest::everySoundIsShortAndUnclipped()
{
    QFETCH(QString, name);
    const Wave wave = readWave(kSoundDir + name + QStringLiteral(".wav"));
    QCOMPARE(wave.format, quint16(1));
    QCOMPARE(wave.channels, quint16(1));
    QCOMPARE(wave.bits, quint16(16));
    QVERIFY(wave.rate >= 22050);
    QVERIFY(!wave.samples.isEmpty());
    QVERIFY(wave.samples.size() < int(wave.rate / 2));
    int loudest = 0;
    for (qint16 sample : wave.samples)
        loudest = qMax(loudest, qAbs(int(sample)));
    QVERIFY2(loudest > 32767 / 10 && loudest < 32767, qPrintable(QString::number(loudest)));
}

// With a sound server, a level played at full speed is recorded from the server's monitor, and the sound
// of a member saved is found in it; every sound file loaded on the way.
void SoundsTest::savedMemberIsHeard()
{
    if (!GameControl().soundServer())
        QSKIP("no sound server listens");
    PageDriver driver;
    driver.resetStorage();
    LanguageSettings languageSettings;
    QQuickView view;
    PageDriver::prepareEngine(view.engine(), &driver, &languageSettings);
    view.setSource(PageDriver::mainPage());
    QCOMPARE(view.status(), QQuickView::Ready);
    view.show();
    // Sounds play only while the game is the active application.
    view.requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(&view));
    QObject *root = view.rootObject();
    auto *game = qobject_cast<GameCanvas *>(root->property("game").value<QObject *>());
    QVERIFY(game);
    for (QObject *holder : root->findChildren<QObject *>(QRegularExpression(QStringLiteral("^sound_")))) {
        const QObject *effect = holder->property("effect").value<QObject *>();
        QTRY_COMPARE(effect->property("status").toInt(), 2); // SoundEffect.Ready
    }

    const QString recordingPath = QStringLiteral(PELLWICK_RECORDING);
    QDir().mkpath(QFileInfo(recordingPath).absolutePath());
    QProcess recorder;
    recorder.start(QStringLiteral("parec"),
                   { QStringLiteral("--device=@DEFAULT_MONITOR@"), QStringLiteral("--rate=44100"),
                     QStringLiteral("--channels=1"), QStringLiteral("--format=s16le"),
                     QStringLiteral("--file-format=wav"), recordingPath });
    QVERIFY(recorder.waitForStarted());
    QTest::qWait(500);
    QVERIFY(QMetaObject::invokeMethod(root, "chooseLevel", Q_ARG(QVariant, 0)));
    game->startLevel();
    game->setSpeedMultiplier(3.0f);
    QTRY_VERIFY_WITH_TIMEOUT(game->levelFinished(), 60000);
    QVERIFY(game->saved() > 0);
    QTest::qWait(800); // the last sound dies away
    recorder.terminate();
    QVERIFY(recorder.waitForFinished());

    // On a busy machine the sound library may drop the first hundredths of a second of a sound, so the
    // search is for the saved sound's body, from 0.1 s to 0.25 s, which plays sample for sample.
    const Wave recording = readWave(recordingPath);
    QCOMPARE(recording.rate, quint32(44100));
    const Wave saved = readWave(kSoundDir + QStringLiteral("saved.wav"));
    const QVector<qint16> body = saved.samples.mid(int(saved.rate / 10), int(saved.rate * 3 / 20));
    const double match = bestMatch(decimated(recording.samples), decimated(body));
    QVERIFY2(match > 0.95, qPrintable(QStringLiteral("best match %1 in %2").arg(match).arg(recordingPath)));
}

QTEST_MAIN(SoundsTest)

#include "tst_sounds.moc"
