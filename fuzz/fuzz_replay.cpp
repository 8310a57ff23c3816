#include "replay.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// libFuzzer entry: replays are shared between players, so the reader must survive any bytes at all, and
// whatever it accepts must write back to text that reads as the same replay.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace Pellwick;
    Replay replay;
    ReplayError error;
    if (!readReplay(QByteArray(reinterpret_cast<const char *>(data), int(size)), &replay, &error))
        return 0;
    Replay again;
    if (!readReplay(writeReplay(replay), &again, &error) || writeReplay(again) != writeReplay(replay))
        std::abort();
    // Short attempts are played too, so the events reach the core; long ones would only slow the search.
    if (replay.endTick() < 2000) {
        GameCore core;
        playReplay(replay, core);
    }
    return 0;
}
