// The report of the error that ended a run: a machine-readable line on the debug channel when
// a debug device was given, else a requester titled "TembroviaPlayer". The driver maps the
// context's script name and line back to the source file and line (the applet's line map)
// before calling these.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "common/error_codes.h"
#include "common/error_state.h"

namespace tembrovia {

constexpr std::string_view kRequesterTitle = "TembroviaPlayer";
constexpr int kRequesterIconError = 2;

// "@_vxerror<line>:<script>*<message>", or "@_vxerror0:\"\"*<message>" when the context
// knows no script name.
std::string FormatDebugErrorLine(std::string_view message, const ErrorLocation& context);

// The requester's text: the message alone before the script is loaded or without context;
// else the message, a line break and "File: <script file> (current line: <n>)", with
// " - In function: <name>" before the ")" when the context names a command or function.
// The words are messages 194, 92 and 280, so a catalog translates them.
std::string FormatErrorRequesterText(std::string_view message, const ErrorLocation& context,
                                     bool script_loaded, bool without_context);

// Shows a modal requester; the platform layer installs the real one. Until then (and after
// an empty function is installed) the title and the text go to standard error.
using ErrorRequester =
    std::function<void(std::string_view title, std::string_view text, int icon)>;
void SetErrorRequester(ErrorRequester requester);

void ShowErrorReport(std::string_view message, const ErrorLocation& context, bool script_loaded,
                     bool without_context, int icon);

// The final report for code (nothing for ERR_NONE and ERR_USERABORT), with the message
// formatted from the process-wide error state.
void ReportFinalError(ErrorCode code, const ErrorLocation& context, bool script_loaded);

}  // namespace tembrovia
