// getrusage for the timing summary (RUZOV_STATS=1), from the times Windows
// keeps per process and per thread. Kept free of <windows.h>, whose macros
// clash with the platform's message names.
#pragma once

#include <sys/time.h>

#define RUSAGE_SELF 0
#define RUSAGE_THREAD 1

struct rusage {
  timeval ru_utime;
  timeval ru_stime;
};

int getrusage(int who, rusage* usage);
