// The debug output channel: start-up output, the machine-readable error report, call traces
// and the script's debug printing all go here. The device is chosen with DEBUGDEVICE:
//   "::file<path>"  the file is created and every output is written and flushed;
//   "::hwnd<n>"     a shared-memory object (see debug_shared_memory.h) receives each output;
//   anything else, or no device at all: standard output.
// Every output is at most kDebugOutputSize - 1 bytes. Safe to call from any thread.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "common/error_codes.h"

namespace tembrovia {

constexpr size_t kDebugOutputSize = 2048;

// Selects the device named by a DEBUGDEVICE value (replacing any open one) and remembers
// that a device was given. When the file cannot be created (ERR_WRITEFILE, with the path as
// error text) or the shared memory cannot be set up (ERR_MEM), output goes to standard
// output and the code is returned; the device still counts as given.
ErrorCode OpenDebugDevice(std::string_view device);

// Closes the device; later output goes to standard output and no device counts as given.
void CloseDebugDevice();

// Whether DEBUGDEVICE was given: the final error report then goes to the channel.
bool DebugDeviceGiven();

// The shared-memory object's name while the "::hwnd" device is open, else "".
std::string DebugSharedMemoryName();

// printf-style output. Only for formats written in the program: user text goes through
// DebugWriteText.
void DebugWrite(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Writes text as it is (no format), cut to kDebugOutputSize - 1 bytes.
void DebugWriteText(std::string_view text);

}  // namespace tembrovia
