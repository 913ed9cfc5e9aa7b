#include "app/run/preload_objects.h"

#include <string>

#include "app/run/protected_step.h"
#include "common/error_state.h"
#include "common/format_error.h"
#include "common/latin1_case.h"
#include "common/messages.h"
#include "lib/core/engine_attributes.h"

namespace tembrovia {
namespace {

constexpr const char* kCreateDisplay = "CreateDisplay";

int32_t AttributeOrZero(VMState* state, int id) {
  std::optional<intptr_t> value = GetEngineAttribute(state, id);
  return value ? static_cast<int32_t>(*value) : 0;
}

bool GlobalExists(VMState* state, std::string_view command) {
  PushStringView(state, Latin1Lower(command));
  GetTable(state, kGlobalsIndex);
  const bool exists = !IsNil(state, -1);
  Pop(state, 1);
  return exists;
}

// Runs the calls in order, each protected and with its own error context.
PreloadOutcome RunCalls(VMState* state, const std::vector<PreloadCall>& calls) {
  for (const PreloadCall& call : calls) {
    ErrorCode error = RunProtected(state, [&call](VMState* s) { return CallPlannedCommand(s, call); });
    ResetErrorContext(state);
    if (error) {
      PreloadOutcome outcome{error, {}};
      outcome.location.name = call.command;
      outcome.location.line = call.sourceLine;
      return outcome;
    }
  }
  return {};
}

}  // namespace

void PushPlainValue(VMState* state, const PlainValue& value) {
  switch (value.kind) {
    case PlainValue::Kind::kNil:
      PushNil(state);
      break;
    case PlainValue::Kind::kNumber:
      PushNumber(state, value.number);
      break;
    case PlainValue::Kind::kString:
      PushStringView(state, value.text);
      break;
    case PlainValue::Kind::kTable:
      NewTable(state);
      for (size_t i = 0; i < value.keys.size(); ++i) {
        if (!CheckStack(state, 3)) RaiseError(state, ERR_STACK);
        PushPlainValue(state, value.keys[i]);
        PushPlainValue(state, value.values[i]);
        RawSet(state, -3);
      }
      break;
  }
}

ErrorCode CallPlannedCommand(VMState* state, const PreloadCall& call) {
  if (!CheckStack(state, static_cast<int>(call.arguments.size()) + 1)) return ERR_STACK;
  PushStringView(state, Latin1Lower(call.command));
  GetTable(state, kGlobalsIndex);
  if (IsNil(state, -1)) {
    Pop(state, 1);
    SetErrorText(call.command + "()");
    return ERR_FUNCDECLA;
  }
  for (const PlainValue& argument : call.arguments) PushPlainValue(state, argument);
  return Call(state, static_cast<int>(call.arguments.size()), 0);
}

PreloadOutcome PreloadObjects(VMState* state, const AppletRecords& records,
                              const DisplayConfig& display, bool isApplet,
                              std::string_view appletName, StartupOutput& output) {
  if (isApplet) output.Begin(FillMessage(MessageText(kMsgLoadingApplet), appletName));

  PreloadPlan plan = PlanPreload(records, display, AttributeOrZero(state, kAttrHostDisplayWidth),
                                 AttributeOrZero(state, kAttrHostDisplayHeight));
  // No plugin is loaded by this build, so every requirement fails.
  AppletStatus plugins = CheckPluginRequirements(
      plan.plugins, [](std::string_view) { return std::optional<std::pair<int32_t, int32_t>>(); });
  if (plugins) {
    SetErrorText(plugins.text);
    return {plugins.code, {}};
  }

  // From here on errors are reported with file and line (the object's declaration).
  SetEngineAttribute(state, kAttrScriptLoaded, 1);
  PreloadOutcome outcome = RunCalls(state, plan.objects);
  if (!outcome.error && GlobalExists(state, kCreateDisplay)) outcome = RunCalls(state, plan.displays);
  if (outcome.error) return outcome;

  if (isApplet) output.Done();
  return {};
}

}  // namespace tembrovia
