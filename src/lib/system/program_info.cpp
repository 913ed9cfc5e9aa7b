#include "lib/system/program_info.h"

#include <sys/utsname.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

namespace tembrovia {

std::string HostPlatform() {
  utsname host{};
  return uname(&host) == 0 ? host.sysname : "unknown";
}

std::string HostCpu() {
  utsname host{};
  return uname(&host) == 0 ? host.machine : "unknown";
}

uint64_t FreePhysicalMemory() {
  // MemAvailable counts the caches the kernel gives back on demand; the free-page count of
  // sysconf does not, and stands in where /proc is missing.
  std::ifstream meminfo("/proc/meminfo");
  for (std::string line; std::getline(meminfo, line);) {
    unsigned long long kilobytes = 0;
    if (std::sscanf(line.c_str(), "MemAvailable: %llu kB", &kilobytes) == 1) return kilobytes * 1024;
  }
  long pages = sysconf(_SC_AVPHYS_PAGES);
  long page_size = sysconf(_SC_PAGESIZE);
  return pages > 0 && page_size > 0 ? static_cast<uint64_t>(pages) * static_cast<uint64_t>(page_size) : 0;
}

}  // namespace tembrovia
