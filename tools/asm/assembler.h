// The applet toolkit's assembler and disassembler: a readable text form of bytecode chunks
// (the format is described in tools/README.md). Chunks are built with the VM's own
// structures and written with its own dumper, and read back with its own loader.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tembrovia {

struct AssemblyOptions {
  // Resolves a `#NAME` constant (the name without "#"); nullopt when unknown. Names defined
  // with `.define` in the text are tried first.
  std::function<std::optional<double>(std::string_view name)> resolveConstant;
  // The main function's source name when the text gives none.
  std::string sourceName = "=main";
};

struct AssemblyResult {
  std::string chunk;  // the chunk bytes, empty on error
  std::string error;  // "line N: message" on error
  bool ok() const { return error.empty(); }
};

AssemblyResult Assemble(std::string_view text, const AssemblyOptions& options = {});

struct DisassemblyResult {
  std::string listing;
  std::string error;
  bool ok() const { return error.empty(); }
};

// Loads a chunk with the VM's loader (which verifies it) and lists it in the text form.
DisassemblyResult Disassemble(std::string_view chunk);

}  // namespace tembrovia
