// What the player says about itself and the host it runs on.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tembrovia {

struct PlayerVersion {
  static constexpr std::string_view kApplication = "TembroviaPlayer";
  static constexpr std::string_view kVersion = "5.2";
  static constexpr std::string_view kVersionDate = "12.11.12";
  static constexpr std::string_view kKernel = "5.2";
  static constexpr std::string_view kKernelDate = "12.11.12";
  static constexpr int kBeta = 0;
};

// The operating system and processor of the host, as the kernel names them ("Linux",
// "x86_64").
std::string HostPlatform();
std::string HostCpu();

// The physical memory available to programs now, in bytes.
uint64_t FreePhysicalMemory();

}  // namespace tembrovia
