// Turning an error code into its message, with the file-name or number argument of the
// error-argument buffers filled in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/error_codes.h"
#include "common/error_state.h"

namespace tembrovia {

// A formatted message fits a buffer of this size, its terminating zero included.
constexpr size_t kErrorMessageSize = 1024;

// The message of code with the arguments of state (at most kErrorMessageSize - 1 bytes):
// - codes above 1508: the registered text, or "Unknown error code!" when none is registered;
//   codes that do not occur at all format the same way;
// - ERR_OPENFONT, ERR_ERRORCALLED, ERR_CONFIG2: the argument text itself, used literally;
// - otherwise the text of the code's message id (through the catalog when one is installed).
// A text with "%s" gets the text argument, one with "%d" or "%ld" the number; "%%" then
// stands for "%". A text with none of these is used unchanged, and no other "%" sequence is
// ever interpreted, so user and catalog texts are never used as printf formats. The text
// argument is shown as the stored name for ":::chunk" files, or shortened to its last path
// component for the file-name codes; an argument too long for the buffer is cut so that the
// rest of the message still fits.
std::string FormatError(ErrorCode code, const ErrorState& state);

// The same with the process-wide error state.
std::string FormatError(ErrorCode code);

// The substitution FormatError uses, for any message text (start-up output such as "Opening
// script %s" included): "%s" takes text, "%d" and "%ld" take number, "%%" is "%" when there
// is something to substitute; nothing else is interpreted. At most kErrorMessageSize - 1
// bytes; text is cut first.
std::string FillMessage(std::string_view format, std::string_view text, int64_t number = 0);

// C-style form for callers with a fixed buffer (plugins): writes at most size - 1 bytes (and
// never more than kErrorMessageSize - 1) and a terminating zero. Nothing for size 0.
void FormatError(ErrorCode code, char* buffer, size_t size);

// The text after the last "/" or "\", or, when there is none, after the first ":".
std::string_view LastPathComponent(std::string_view path);

// For a ":::chunk" name of a file stored in the applet: the name the file had when it was
// stored (between the "*" and the next "/"). Any other text is returned as it is.
std::string_view StoredFileName(std::string_view name);

}  // namespace tembrovia
