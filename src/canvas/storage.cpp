#include "storage.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSaveFile>
#include <QSettings>
#include <QStorageInfo>
#include <QTemporaryFile>

#include <sys/stat.h>
#include <unistd.h>

namespace Storage {

namespace {

// Below this the settings file with a stored game may no longer fit beside its old copy.
constexpr qint64 kNearlyFull = 1024 * 1024;
constexpr int kProbeSize = 4096;

std::function<void()> &writeObserver()
{
    static std::function<void()> observer;
    return observer;
}

void announceWrite()
{
    if (writeObserver())
        writeObserver()();
}

// The canvas and its save worker write the same file: one at a time, each write checked before the next.
QMutex &writeLock()
{
    static QMutex lock;
    return lock;
}

bool sameFile(const QByteArray &a, const QByteArray &b)
{
    struct stat first;
    struct stat second;
    return ::stat(a.constData(), &first) == 0 && ::stat(b.constData(), &second) == 0
        && first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// QSaveFile, which QSettings writes through, renames its new file over the old one even when its last
// buffered bytes could not be written, and reports success: on a nearly full phone the file is cut short
// and the progress in it lost. Each setting is one line of its own, so a file cut short lacks lines or ends
// inside one.
bool holdsEverySetting(const QSettings &settings)
{
    QFile file(settings.fileName());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = file.readAll();
    if (!text.isEmpty() && !text.endsWith('\n'))
        return false;
    int entries = 0;
    for (const QByteArray &line : text.split('\n')) {
        if (!line.startsWith('[') && line.contains('='))
            ++entries;
    }
    return entries == settings.allKeys().size();
}

class AutomaticSyncHeldBack : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *, QEvent *event) override { return event->type() == QEvent::UpdateRequest; }
};

} // namespace

Write::Write(const QString &path)
    : m_path(QFile::encodeName(path))
    , m_kept(m_path + ".kept")
{
    writeLock().lock();
    ::unlink(m_kept.constData());
    m_hadOld = QFile::exists(path);
    m_keptOld = m_hadOld && ::link(m_path.constData(), m_kept.constData()) == 0;
}

Write::~Write()
{
    ::unlink(m_kept.constData());
    writeLock().unlock();
}

// A file replaced since the write began has a new inode, and is judged by what it holds, since QSettings
// keeps its first error for good; one that was not replaced is judged by the status. Where no link could be
// made, a file cut short can only be told, not put back.
bool Write::commit(QSettings &settings)
{
    settings.sync();
    const bool replaced = m_keptOld ? !sameFile(m_path, m_kept) : QFile::exists(settings.fileName());
    const bool stored = replaced ? holdsEverySetting(settings) : settings.status() == QSettings::NoError;
    if (replaced && !stored && (m_keptOld || !m_hadOld)) {
        if (m_keptOld)
            ::rename(m_kept.constData(), m_path.constData());
        else
            ::unlink(m_path.constData());
        settings.sync(); // reads back what is stored; it has nothing left to write
    }
    announceWrite();
    return stored;
}

bool sync(QSettings &settings)
{
    return Write(settings.fileName()).commit(settings);
}

// QSaveFile would rename a file it could not fill over the old one: it is flushed first.
bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    const bool written =
        file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush() && file.commit();
    announceWrite();
    return written;
}

void holdBackAutomaticSync(QSettings &settings)
{
    settings.installEventFilter(new AutomaticSyncHeldBack(&settings));
}

SaveProblem diagnose(const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    const QStorageInfo volume(folder);
    if (volume.isValid() && volume.bytesAvailable() < kNearlyFull)
        return SaveProblem::NoSpace;
    // A file that can be made but not filled means the storage takes no more bytes; one that cannot be made,
    // or a folder that takes the probe but refused the game's own file, means it is not writable.
    QTemporaryFile probe(folder + QStringLiteral("/write-probe"));
    if (!probe.open())
        return SaveProblem::NotWritable;
    const QByteArray bytes(kProbeSize, '\0');
    const bool filled = probe.write(bytes) == bytes.size() && probe.flush();
    return filled ? SaveProblem::NotWritable : SaveProblem::NoSpace;
}

void setWriteObserver(std::function<void()> observer)
{
    writeObserver() = std::move(observer);
}

} // namespace Storage
