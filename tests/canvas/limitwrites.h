#ifndef PELLWICK_LIMITWRITES_H
#define PELLWICK_LIMITWRITES_H

#include <csignal>
#include <optional>
#include <sys/resource.h>

// From here on this process may make files but fill none beyond `bytes`, as on a full or nearly full phone;
// as before without. Root is stopped by this as well, though not by a read-only folder.
inline void limitWrites(std::optional<rlim_t> bytes = std::nullopt)
{
    static const rlimit before = [] {
        std::signal(SIGXFSZ, SIG_IGN); // a refused write fails instead of ending the process
        rlimit limit;
        getrlimit(RLIMIT_FSIZE, &limit);
        return limit;
    }();
    rlimit limit = before;
    limit.rlim_cur = bytes.value_or(before.rlim_cur);
    setrlimit(RLIMIT_FSIZE, &limit);
}

#endif // PELLWICK_LIMITWRITES_H
