// vxasm: assembles the text form of a chunk (tools/README.md) into a chunk file.
//   vxasm input.vxs output.vxb [-D NAME=value]...
// `#NAME` constants come from the -D definitions, then from the player's constant tables.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

#include "asm/assembler.h"
#include "common/latin1_case.h"
#ifdef TEMBROVIA_PLAYER_CONSTANTS
#include "asm/player_constants.h"
#endif

int main(int argc, char** argv) {
  using namespace tembrovia;
  std::string input, output;
  std::map<std::string, double> defines;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "-D" && i + 1 < argc) {
      std::string definition = argv[++i];
      size_t eq = definition.find('=');
      if (eq == std::string::npos) {
        std::cerr << "vxasm: -D NAME=value\n";
        return 2;
      }
      defines[Latin1Lower(definition.substr(0, eq))] = std::strtod(definition.c_str() + eq + 1, nullptr);
    } else if (input.empty()) {
      input = arg;
    } else if (output.empty()) {
      output = arg;
    } else {
      std::cerr << "vxasm: too many arguments\n";
      return 2;
    }
  }
  if (input.empty() || output.empty()) {
    std::cerr << "usage: vxasm input.vxs output.vxb [-D NAME=value]...\n";
    return 2;
  }
  std::ifstream in(input, std::ios::binary);
  if (!in) {
    std::cerr << "vxasm: cannot read " << input << "\n";
    return 1;
  }
  std::stringstream text;
  text << in.rdbuf();
  AssemblyOptions options;
  options.sourceName = "@" + input;
  options.resolveConstant = [&](std::string_view name) -> std::optional<double> {
    auto it = defines.find(Latin1Lower(name));
    if (it != defines.end()) return it->second;
#ifdef TEMBROVIA_PLAYER_CONSTANTS
    return ResolvePlayerConstant(name);
#else
    return std::nullopt;
#endif
  };
  AssemblyResult result = Assemble(text.str(), options);
  if (!result.ok()) {
    std::cerr << input << ": " << result.error << "\n";
    return 1;
  }
  std::ofstream out(output, std::ios::binary);
  out.write(result.chunk.data(), static_cast<std::streamsize>(result.chunk.size()));
  if (!out) {
    std::cerr << "vxasm: cannot write " << output << "\n";
    return 1;
  }
  return 0;
}
