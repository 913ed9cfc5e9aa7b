// vxdump: lists a chunk in the text form that vxasm reads back, or an applet container (or a
// program with an applet appended): its sections, records and disassembled script.
//   vxdump input.vxb|input.vxa [output]
#include <fstream>
#include <iostream>
#include <sstream>

#include "asm/assembler.h"
#include "container_listing.h"

int main(int argc, char** argv) {
  using namespace tembrovia;
  if (argc < 2 || argc > 3) {
    std::cerr << "usage: vxdump input.vxb|input.vxa [output]\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << "vxdump: cannot read " << argv[1] << "\n";
    return 1;
  }
  std::stringstream bytes;
  bytes << in.rdbuf();
  const std::string data = bytes.str();
  const std::span<const uint8_t> raw(reinterpret_cast<const uint8_t*>(data.data()), data.size());
  DisassemblyResult result;
  if (LooksLikeContainer(raw)) {
    ContainerListing listing = ListContainer(raw, argv[1]);
    result.listing = listing.text;
    result.error = listing.error;
    if (!result.ok()) std::cout << result.listing;
  } else {
    result = Disassemble(data);
  }
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
