// vxdump's container listing: sections in file order with their offsets, the records in the
// packer's own form, and the script; the same for compressed and appended applets.
#include <gtest/gtest.h>

#include <string>

#include "app/container/applet_writer.h"
#include "app/container/marker_record.h"
#include "asm/assembler.h"
#include "container_listing.h"
#include "manifest.h"

namespace tembrovia {
namespace {

std::vector<uint8_t> Pack(const std::string& manifest) {
  AssemblyResult script = Assemble(".function main\n  call DebugPrint, \"hi\"\n  return r0, 1\n.end\n");
  EXPECT_TRUE(script.ok()) << script.error;
  ManifestOutcome outcome = BuildContainerFromManifest(
      manifest, ".", std::vector<uint8_t>(script.chunk.begin(), script.chunk.end()));
  EXPECT_EQ(outcome.error, "");
  return outcome.container;
}

TEST(ContainerListing, SectionsRecordsAndScript) {
  std::vector<uint8_t> container = Pack(
      "version 4.7\n"
      "title \"Demo\"\n"
      "brush 2 \"gfx/ball.png\" line=3 width=16\n"
      "const #SPEED 4\n");
  ContainerListing listing = ListContainer(container, "demo.vxa");
  ASSERT_TRUE(listing.ok()) << listing.error;
  const std::string& text = listing.text;
  // The data area with the brush's name (1 + 4 + 13 bytes), version (3), title (1 + 2 + 4),
  // objects, constants, script, in file order.
  EXPECT_NE(text.find("plain (VXA)\nsections:\n"
                      "  @4         0 data                   18 bytes\n"
                      "  @22       10 version                3 bytes\n"
                      "  @25        4 title                  7 bytes\n"
                      "  @32        2 objects"),
            std::string::npos)
      << text;
  EXPECT_LT(text.find(" 2 objects"), text.find("31 user constants"));
  EXPECT_LT(text.find("31 user constants"), text.find(" 1 script"));
  // Brushes have no gated field before 5.0: "hardware" is not listed for 4.7.
  EXPECT_NE(text.find("  brush 2 \"gfx/ball.png\" line=3 extra=-1 flag=0 width=16 height=0 x=0 y=0 "
                      "globalalpha=-1\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("  #SPEED 4\n"), std::string::npos);
  EXPECT_NE(text.find("  call r1, 2, 1\n"), std::string::npos) << text;

  // Compressed: the same sections, as inflated.
  ContainerListing packed = ListContainer(CompressContainer(container), "demo.vxz");
  ASSERT_TRUE(packed.ok()) << packed.error;
  EXPECT_NE(packed.text.find("compressed (VXZ)"), std::string::npos);
  EXPECT_EQ(packed.text.substr(packed.text.find("sections:")), text.substr(text.find("sections:")));
}

TEST(ContainerListing, AppendedAppletsAndRefusedContainers) {
  std::vector<uint8_t> player(500, 0x90);
  std::copy(kMarkerSignature.begin(), kMarkerSignature.end(), player.begin() + 100);
  for (int i = 0; i < 4; ++i) player[132 + i] = (kNoAppendedApplet >> (24 - 8 * i)) & 0xFF;
  std::copy(kMarkerTrailer.begin(), kMarkerTrailer.end(), player.begin() + 136);
  EXPECT_FALSE(LooksLikeContainer(player));  // a player without an applet
  std::optional<std::vector<uint8_t>> program = AppendToPlayer(player, Pack("title \"x\"\n"));
  ASSERT_TRUE(program);
  ASSERT_TRUE(LooksLikeContainer(*program));
  ContainerListing listing = ListContainer(*program, "game");
  ASSERT_TRUE(listing.ok()) << listing.error;
  EXPECT_NE(listing.text.find("appended to a player program at offset 500\n"), std::string::npos);

  ContainerListing refused = ListContainer(Pack("version 5.3\n"), "new.vxa");
  EXPECT_EQ(refused.error, "This applet requires at least Tembrovia 5.3!");
}

}  // namespace
}  // namespace tembrovia
