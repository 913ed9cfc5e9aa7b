#include "common/error_report.h"

#include <cstdio>
#include <utility>

#include "common/debug_output.h"
#include "common/format_error.h"
#include "common/messages.h"

namespace tembrovia {
namespace {

ErrorRequester& InstalledRequester() {
  static ErrorRequester requester;
  return requester;
}

void WriteRequesterToStandardError(std::string_view title, std::string_view text) {
  std::string report;
  report.append(title).append(": ").append(text).append("\n");
  std::fwrite(report.data(), 1, report.size(), stderr);
  std::fflush(stderr);
}

}  // namespace

std::string FormatDebugErrorLine(std::string_view message, const ErrorLocation& context) {
  std::string line = "@_vxerror";
  if (context.HasScriptName()) {
    line.append(std::to_string(context.line)).append(":").append(context.script_name);
  } else {
    line.append("0:\"\"");
  }
  line.append("*").append(message);
  return line;
}

std::string FormatErrorRequesterText(std::string_view message, const ErrorLocation& context,
                                     bool script_loaded, bool without_context) {
  std::string text(message);
  if (!script_loaded || without_context) return text;
  text.append("\n")
      .append(MessageText(kMsgFile))
      .append(": ")
      .append(LastPathComponent(context.script_name))
      .append(" (")
      .append(MessageText(kMsgCurrentLine))
      .append(": ")
      .append(std::to_string(context.line));
  if (context.HasName()) {
    text.append(" - ").append(MessageText(kMsgInFunction)).append(": ").append(context.name);
  }
  text.append(")");
  return text;
}

void SetErrorRequester(ErrorRequester requester) {
  InstalledRequester() = std::move(requester);
}

void ShowErrorReport(std::string_view message, const ErrorLocation& context, bool script_loaded,
                     bool without_context, int icon) {
  const std::string text =
      FormatErrorRequesterText(message, context, script_loaded, without_context);
  if (const ErrorRequester& requester = InstalledRequester(); requester) {
    requester(kRequesterTitle, text, icon);
  } else {
    WriteRequesterToStandardError(kRequesterTitle, text);
  }
}

void ReportFinalError(ErrorCode code, const ErrorLocation& context, bool script_loaded) {
  if (code == ERR_NONE || code == ERR_USERABORT) return;
  const std::string message = FormatError(code);
  if (DebugDeviceGiven()) {
    DebugWriteText(FormatDebugErrorLine(message, context));
  } else {
    ShowErrorReport(message, context, script_loaded, false, kRequesterIconError);
  }
}

}  // namespace tembrovia
