#ifndef PELLWICK_STARTUPPROBE_H
#define PELLWICK_STARTUPPROBE_H

class QQuickView;

// For the start-up test only: when PELLWICK_STARTUP_PROBE_MS is set, the texts the window shows are
// printed to standard output that many milliseconds after start, and the game quits. Otherwise nothing.
void armStartupProbe(QQuickView *view);

#endif // PELLWICK_STARTUPPROBE_H
