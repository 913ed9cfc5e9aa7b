// The preload as a plan: for every object of the applet, the command that creates it and its
// arguments, in the order they are called. The driver runs the plan through the command
// calls of the virtual machine, setting the error context to each call's command and line.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/config/display_config.h"
#include "app/container/applet_reader.h"
#include "app/container/applet_records.h"
#include "app/preload/plain_value.h"

namespace tembrovia {

struct PreloadCall {
  std::string command;  // mixed case, as scripts spell it
  int32_t sourceLine = 0;
  std::vector<PlainValue> arguments;
};

struct PluginRequirement {
  std::string name;
  int32_t version = 0;
  int32_t revision = 0;
};

struct PreloadPlan {
  std::vector<PluginRequirement> plugins;
  std::vector<PreloadCall> objects;   // every object but displays and plugin requirements
  std::vector<PreloadCall> displays;  // CreateDisplay calls, after the objects
};

// The display records of the applet, with display 1 added when the applet has none and
// the command line's display options merged unless the applet locked its settings.
std::vector<AppletObject> PreloadDisplays(const AppletRecords& records,
                                          const DisplayConfig& display);

// hostWidth and hostHeight: the size the host reports for display 1 when the applet asks
// for it.
PreloadPlan PlanPreload(const AppletRecords& records, const DisplayConfig& display,
                        int32_t hostWidth = 0, int32_t hostHeight = 0);

// The version and revision of a loaded plugin; nullopt when it is not loaded.
using PluginVersionLookup =
    std::function<std::optional<std::pair<int32_t, int32_t>>(std::string_view name)>;

// ERR_REQUIREPLUGIN, with "name version.revision" as text, for the first requirement that
// the loaded plugins do not meet.
AppletStatus CheckPluginRequirements(const std::vector<PluginRequirement>& requirements,
                                     const PluginVersionLookup& lookup);

}  // namespace tembrovia
