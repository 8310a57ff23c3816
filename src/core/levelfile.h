#ifndef PELLWICK_LEVELFILE_H
#define PELLWICK_LEVELFILE_H

#include "gamecore.h"

#include <QByteArray>
#include <QString>
#include <QVector>

namespace Pellwick {

struct LevelError
{
    int line = 0; // from 1; 0 when the fault is the file as a whole
    QString message;
};

// Level files are written by hand and shared between players, so reading trusts nothing: the first fault
// is an error naming its line, and nothing is handed back. A level read gets the hash of the text as its
// identity; the messages are translated when a translation is installed.
bool readLevel(const QByteArray &text, LevelSpec *level, LevelError *error);
// Every field, defaults included; text that reads back as the same level, apart from its hash.
QByteArray writeLevel(const LevelSpec &level);
bool readLevelFile(const QString &path, LevelSpec *level, LevelError *error);

// One file of a level folder: its level, or why it cannot be played.
struct LevelFile
{
    QString fileName; // within the folder
    LevelSpec level;
    LevelError error;

    bool ok() const { return error.message.isEmpty(); }
};

// Every "*.level" file of a folder, in the order of their names. A file holding the same level as an
// earlier one is refused, so that no two levels share an identity.
QVector<LevelFile> readLevelFolder(const QString &path);

} // namespace Pellwick

#endif // PELLWICK_LEVELFILE_H
