// Arbitrary bytes as an applet container (plain or compressed): read the sections, plan
// the preload and map lines, as the player does before it runs anything. The sections the
// reader reports (for listings) must follow each other without gaps inside the data.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "app/container/applet_open.h"
#include "app/container/line_map.h"
#include "app/preload/preload_plan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tembrovia;
  AppletRecords records;
  DisplayConfig display;
  uint64_t expectedBegin = 4;  // after the magic
  auto observer = [&expectedBegin](uint8_t, uint64_t begin, uint64_t end) {
    if (begin != expectedBegin || end <= begin) std::abort();
    expectedBegin = end;
  };
  AppletStatus status = ReadContainerBytes(std::span<const uint8_t>(data, size), "/fuzz/applet.vxa",
                                           16 << 20, records, display, observer);
  if (status) return 0;
  PreloadPlan plan = PlanPreload(records, display, 800, 600);
  for (const PreloadCall& call : plan.displays) (void)call.arguments.size();
  for (int32_t line : {-1, 0, 1, 100, 0x7FFFFFFF}) (void)MapScriptLine(records.lineMap, line, "x");
  return 0;
}
