// vxpack: builds an applet container from a compiled chunk and a manifest.
//   vxpack [-m manifest] [-c chunk] [--compress] [--append-to player] -o output
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/container/applet_writer.h"
#include "manifest.h"

namespace {

int Usage() {
  std::fputs(
      "usage: vxpack [-m manifest] [-c chunk] [--compress] [--append-to player] -o output\n"
      "  -m FILE           manifest (see tools/vxpack/README.md); without one: the chunk alone\n"
      "  -c FILE           the compiled script, unless the manifest names it with \"chunk\"\n"
      "  --compress        write the compressed form\n"
      "  --append-to FILE  append the container to a copy of this player: a program\n"
      "  -o FILE           where to write\n",
      stderr);
  return 2;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "vxpack: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tembrovia;
  std::string manifestPath, chunkPath, playerPath, outputPath;
  bool compress = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto next = [&](std::string& target) {
      if (i + 1 >= argc) return false;
      target = argv[++i];
      return true;
    };
    if ((arg == "-m" && next(manifestPath)) || (arg == "-c" && next(chunkPath)) ||
        (arg == "-o" && next(outputPath)) || (arg == "--append-to" && next(playerPath))) {
      continue;
    }
    if (arg == "--compress") {
      compress = true;
      continue;
    }
    return Usage();
  }
  if (outputPath.empty() || (manifestPath.empty() && chunkPath.empty())) return Usage();

  std::optional<std::vector<uint8_t>> chunk;
  if (!chunkPath.empty() && !(chunk = ReadWholeFile(chunkPath))) {
    return Fail("cannot read " + chunkPath);
  }
  std::string manifestText;
  std::string baseDirectory = ".";
  if (!manifestPath.empty()) {
    std::optional<std::vector<uint8_t>> text = ReadWholeFile(manifestPath);
    if (!text) return Fail("cannot read " + manifestPath);
    manifestText.assign(text->begin(), text->end());
    baseDirectory = std::filesystem::path(manifestPath).parent_path().string();
    if (baseDirectory.empty()) baseDirectory = ".";
  }
  ManifestOutcome outcome = BuildContainerFromManifest(manifestText, baseDirectory, chunk);
  if (!outcome.error.empty()) {
    return Fail((manifestPath.empty() ? std::string("manifest") : manifestPath) + ": " + outcome.error);
  }

  std::vector<uint8_t> bytes = compress ? CompressContainer(outcome.container) : outcome.container;
  if (!playerPath.empty()) {
    std::optional<std::vector<uint8_t>> player = ReadWholeFile(playerPath);
    if (!player) return Fail("cannot read " + playerPath);
    std::optional<std::vector<uint8_t>> program = AppendToPlayer(*player, bytes);
    if (!program) return Fail(playerPath + " has no single free marker record");
    bytes = std::move(*program);
  }

  std::ofstream out(outputPath, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) return Fail("cannot write " + outputPath);
  if (!playerPath.empty()) ::chmod(outputPath.c_str(), 0755);
  return 0;
}
