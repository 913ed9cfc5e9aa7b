// vxdump: lists a chunk in the text form that vxasm reads back.
//   vxdump input.vxb [output.vxs]
#include <fstream>
#include <iostream>
#include <sstream>

#include "asm/assembler.h"

int main(int argc, char** argv) {
  using namespace tembrovia;
  if (argc < 2 || argc > 3) {
    std::cerr << "usage: vxdump input.vxb [output.vxs]\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << "vxdump: cannot read " << argv[1] << "\n";
    return 1;
  }
  std::stringstream bytes;
  bytes << in.rdbuf();
  DisassemblyResult result = Disassemble(bytes.str());
  if (!result.ok()) {
    std::cerr << argv[1] << ": " << result.error << "\n";
    return 1;
  }
  if (argc == 3) {
    std::ofstream out(argv[2], std::ios::binary);
    out << result.listing;
    if (!out) {
      std::cerr << "vxdump: cannot write " << argv[2] << "\n";
      return 1;
    }
  } else {
    std::cout << result.listing;
  }
  return 0;
}
