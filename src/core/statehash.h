#ifndef PELLWICK_STATEHASH_H
#define PELLWICK_STATEHASH_H

#include "gamecore.h"

#include <QVector>

namespace Pellwick {

// The fingerprint of a run as the rules see it: the run's counters and stock, every field of every member
// and object, and which terrain pixels are solid (colours are the painting's concern). Integers and the
// IEEE bits of floats go in little-endian order, so a run hashes alike on every CPU, compiler and Qt.
quint64 stateHash(const GameCore &core);

// A member or an object by its id, with a short hash of all its fields.
struct RecordHash
{
    qint32 id = -1;
    quint16 hash = 0;
};

// The same state taken apart, so that two runs that part can be told where: the counters as they are, and
// for the crew and the objects one short hash per field across the list and one per record.
struct StateDigest
{
    quint64 whole = 0; // stateHash
    QVector<qint32> run; // in the order of runFieldNames()
    quint32 terrain = 0;
    QVector<quint16> crewFields; // in the order of crewFieldNames()
    QVector<RecordHash> members;
    QVector<quint16> objectFields; // in the order of objectFieldNames()
    QVector<RecordHash> objects;
};

StateDigest digestState(const GameCore &core);

// The names of the hashed fields, as the code spells them.
QVector<QByteArray> runFieldNames();
QVector<QByteArray> crewFieldNames();
QVector<QByteArray> objectFieldNames();

} // namespace Pellwick

#endif // PELLWICK_STATEHASH_H
