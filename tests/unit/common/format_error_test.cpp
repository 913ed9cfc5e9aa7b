#include "common/format_error.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/messages.h"

namespace tembrovia {
namespace {

const std::string kLong(2000, 'x');
const std::string kPictureHint = "!\nMake sure that you have a datatype for this format!";

struct FormatCase {
  const char* what;
  ErrorCode code;
  std::string text;
  int64_t number;
  std::string expected;
};

// Registered before each case: codes 1509 and 1510.
const std::vector<std::string> kRegistered = {"Plugin %s failed with %d%% (%x)", "100%% sure %n"};

const FormatCase kCases[] = {
    {"plain message", ERR_MEM, "", 0, "Out of memory!"},
    {"no error", ERR_NONE, "", 0, "No error occurred!"},
    {"%ld takes the number", ERR_FINDBRUSH, "", 5, "Could not find brush 5!"},
    {"negative number", ERR_NUMEXPECTED, "", -3, "Number expected in argument -3!"},
    {"%s takes the text", ERR_TABLEDECLA, "enemies", 9, "Table enemies not found!"},
    {"never registered", 2000, "", 0, "Unknown error code!"},
    {"code that does not occur", 1249, "", 0, "Unknown error code!"},
    {"result count is no error", 5, "", 0, "Unknown error code!"},
    {"negative code", -1, "", 0, "Unknown error code!"},
    {"registered text", 1509, "ham", 7, "Plugin ham failed with 7% (%x)"},
    {"registered text without arguments", 1510, "ham", 7, "100%% sure %n"},
    {"next code not registered", 1511, "", 0, "Unknown error code!"},
    {"slash path shortened", ERR_LOADPICTURE, "C:/data/pics/a.png", 0,
     "Cannot load picture a.png" + kPictureHint},
    {"backslash path shortened", ERR_READFILE, "C:\\data\\b.iff", 0, "Cannot read file b.iff !"},
    {"volume name shortened", ERR_IMAGEERROR, "PROGDIR:c.png", 0, "Error in image data in file c.png!"},
    {"other codes keep the path", ERR_FILEEXIST, "C:/games/x.vxa", 0,
     "File C:/games/x.vxa does not exist!"},
    {"stored file shows its stored name", ERR_LOADPICTURE,
     ":::chunk2001000:500*title.png//opt/games/demo", 0, "Cannot load picture title.png" + kPictureHint},
    {"stored name for any code", ERR_FINDLAYER, ":::chunk1000:500*pic.png/data.bin", 0,
     "Cannot find layer \"pic.png\" in current BGPic!"},
    {"stored string file", ERR_OPENANIM2, ":::chunkS3:20*intro.gif/7f001234", 0,
     "Animation file \"intro.gif\" is in an unknown/unsupported format!"},
    {"stored name without '*' stays", ERR_TABLEDECLA, ":::chunk12", 0, "Table :::chunk12 not found!"},
    {"Error() text is literal", ERR_ERRORCALLED, "%s%s%n", 1, "%s%s%n"},
    {"font text is literal", ERR_OPENFONT, "Cannot open font 100%s.font with size 12!", 1,
     "Cannot open font 100%s.font with size 12!"},
    {"configuration text is literal", ERR_CONFIG2, "bad %d", 4, "bad %d"},
    {"no argument: copied unchanged", ERR_MALFORMPAT1, "x", 1, "Malformed pattern! (ends with \"%%\")"},
    {"long argument cut, message end kept", ERR_FILEEXIST, kLong, 0,
     "File " + kLong.substr(0, 1023 - 21) + " does not exist!"},
    {"long free text cut", ERR_ERRORCALLED, kLong, 0, kLong.substr(0, 1023)},
};

TEST(FormatError, EdgeCases) {
  for (const FormatCase& c : kCases) {
    ErrorState state;
    for (const std::string& text : kRegistered) state.RegisterText(text);
    state.SetText(c.text);
    state.SetNumber(c.number);
    const std::string message = FormatError(c.code, state);
    EXPECT_EQ(message, c.expected) << c.what;
    EXPECT_LT(message.size(), kErrorMessageSize) << c.what;
  }
}

TEST(FormatError, ProcessStateAndFixedBuffer) {
  SetErrorNumber(42);
  EXPECT_EQ(FormatError(ERR_FINDSPRITE), "Could not find sprite 42!");
  char buffer[12];
  FormatError(ERR_FINDSPRITE, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "Could not f");
  char big[4096];
  SetErrorText(kLong);
  FormatError(ERR_ERRORCALLED, big, sizeof big);
  EXPECT_EQ(std::string(big), kLong.substr(0, 1023));
}

TEST(FormatError, CatalogTextsReplaceTheEnglishOnesAndStayHarmless) {
  SetMessageLookup([](int id) -> const char* {
    if (id == 13) return "Kein Speicher!";
    if (id == 208) return "Pinsel %ld nicht gefunden! %s%s%n";
    return nullptr;
  });
  ErrorState state;
  state.SetNumber(3);
  state.SetText("t");
  EXPECT_EQ(FormatError(ERR_MEM, state), "Kein Speicher!");
  EXPECT_EQ(FormatError(ERR_FINDBRUSH, state), "Pinsel 3 nicht gefunden! tt%n");
  EXPECT_EQ(FormatError(ERR_STACK, state), "Stack overflow!");
  SetMessageLookup(nullptr);
  EXPECT_EQ(FormatError(ERR_MEM, state), "Out of memory!");
}

TEST(FormatError, FillMessageNeverInterpretsTheArgument) {
  EXPECT_EQ(FillMessage(EnglishMessage(kMsgOpeningScript), "demo %s%n.vxs"),
            "Opening script demo %s%n.vxs");
  EXPECT_EQ(FillMessage("%d%%", "", 50), "50%");
  EXPECT_EQ(FillMessage("50%%", "x", 1), "50%%");
  EXPECT_EQ(FillMessage("%ld%", "", 5), "5%");
}

TEST(FormatError, PathHelpers) {
  EXPECT_EQ(LastPathComponent("a/b\\c"), "c");
  EXPECT_EQ(LastPathComponent("dh0:x:y"), "x:y");
  EXPECT_EQ(LastPathComponent("plain"), "plain");
  EXPECT_EQ(LastPathComponent("dir/"), "");
  EXPECT_EQ(StoredFileName(":::chunk1:2*name"), "name");
  EXPECT_EQ(StoredFileName("a*b/c"), "a*b/c");
}

}  // namespace
}  // namespace tembrovia
