#ifndef PELLWICK_STORAGE_H
#define PELLWICK_STORAGE_H

#include <QByteArray>
#include <QString>

#include <functional>

class QSettings;

// Why the game's files could not be written, as far as the game can tell.
enum class SaveProblem {
    None,
    NoSpace, // the storage takes no more bytes
    NotWritable, // the folder or the file refuses to be written
};

// A phone's storage fills up and a home may be read-only: every write the game makes is checked, none leaves
// a file cut short, and the player is told what went wrong.
namespace Storage {

// One write of a settings file, held from before its first change to its sync. QSettings objects on one file
// in one process share the changes they have not stored yet, and making one may store them: so no other write
// of the game's, from any thread, comes in between, and the file as it was is kept aside (a hard link) until
// the write is judged, to be put back if the write left it cut short.
class Write
{
public:
    explicit Write(const QString &path);
    ~Write();
    Write(const Write &) = delete;
    Write &operator=(const Write &) = delete;

    // Stores the settings' pending changes and says whether the file now holds them; if it does not, it holds
    // what it held before, and the settings object reads that again.
    bool commit(QSettings &settings);

private:
    QByteArray m_path;
    QByteArray m_kept;
    bool m_hadOld = false;
    bool m_keptOld = false;
};

// A write of the changes already made to `settings`.
bool sync(QSettings &settings);

// Replaces the file at `path` with `bytes` whole, or leaves it as it was and returns false.
bool writeFile(const QString &path, const QByteArray &bytes);

// From here on the settings object writes only when sync() is called on it (or as it is destroyed), never on
// a timer of its own that no one checks.
void holdBackAutomaticSync(QSettings &settings);

// What keeps the folder holding the file at `path` from taking a write; only asked once a write has failed.
SaveProblem diagnose(const QString &path);

// Called after every settings sync and file write the game makes, on the thread that made it, so that tests
// can stop the game at each write boundary. Not for the game itself.
void setWriteObserver(std::function<void()> observer);

} // namespace Storage

#endif // PELLWICK_STORAGE_H
