#include "restorefuzzing.h"

#include <cstddef>
#include <cstdint>

// libFuzzer entry: any bytes at all, as a damaged or hostile stored session could hold them.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Pellwick::restoreAndPlay(QByteArray(reinterpret_cast<const char *>(data), int(size)));
    return 0;
}
