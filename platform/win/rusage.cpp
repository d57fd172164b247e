// getrusage's user and kernel times from GetProcessTimes / GetThreadTimes.
#include "platform/win/rusage.h"

#include <windows.h>

#include <cstdint>

namespace {

timeval ToTimeval(const FILETIME& t) {
  const uint64_t micro = (uint64_t{t.dwHighDateTime} << 32 | t.dwLowDateTime) / 10;  // 100 ns units
  return timeval{static_cast<long>(micro / 1000000), static_cast<long>(micro % 1000000)};
}

}  // namespace

int getrusage(int who, rusage* usage) {
  FILETIME created, ended, kernel, user;
  const bool ok = who == RUSAGE_THREAD
                      ? GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user)
                      : GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
  if (!ok) return -1;
  usage->ru_utime = ToTimeval(user);
  usage->ru_stime = ToTimeval(kernel);
  return 0;
}
