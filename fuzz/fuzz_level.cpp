#include "levelfuzzing.h"

#include <cstddef>
#include <cstdint>

// libFuzzer entry: level files are written by hand and shared, so the reader must survive any bytes at all.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Pellwick::readAndPlayLevel(QByteArray(reinterpret_cast<const char *>(data), int(size)));
    return 0;
}
