#include "common/error_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "common/messages.h"

namespace tembrovia {
namespace {

TEST(ErrorTable, ListsEveryBuiltinCodeOnceWithItsConstantName) {
  std::set<std::string> names;
  std::set<ErrorCode> free_text;
  for (const BuiltinError& e : BuiltinErrors()) {
    EXPECT_TRUE(std::string(e.name).starts_with("ERR_")) << e.code;
    EXPECT_TRUE(names.insert(e.name).second) << e.name;
    EXPECT_EQ(FindBuiltinError(e.code), &e);
    if (e.message_id == kFreeTextMessage) {
      free_text.insert(e.code);
    } else {
      EXPECT_STRNE(EnglishMessage(e.message_id), "") << e.name;
      EXPECT_STRNE(EnglishMessage(e.message_id), "(reserved)") << e.name;
    }
  }
  // 1000..1508 less the four codes that do not occur.
  EXPECT_EQ(BuiltinErrors().size(), 505u);
  for (ErrorCode missing : {999, 1249, 1406, 1407, 1408, 1509, 0}) {
    EXPECT_EQ(FindBuiltinError(missing), nullptr) << missing;
  }
  EXPECT_EQ(free_text, (std::set<ErrorCode>{ERR_OPENFONT, ERR_ERRORCALLED, ERR_CONFIG2}));
  EXPECT_STREQ(FindBuiltinError(1174)->name, "ERR_FINDBRUSH");
  EXPECT_STREQ(FindBuiltinError(1508)->name, "ERR_NOMIMEVIEWER");
}

// The quoted messages of the error code table, with their codes and ids.
struct QuotedMessage {
  ErrorCode code;
  int id;
  const char* text;
};

constexpr QuotedMessage kQuotedMessages[] = {
    {1000, 13, "Out of memory!"},
    {1003, 51, "User abort!"},
    {1014, 15, "Not enough arguments!"},
    {1018, 16, "General syntax error!"},
    {1024, 18, "Value expected!"},
    {1030, 35, "Wrong operator for this type!"},
    {1040, 44, "Return without Gosub!"},
    {1042, 59, "Constant not found!"},
    {1045, 3, "Cannot read file %s !"},
    {1044, 62, "Cannot load picture %s!\nMake sure that you have a datatype for this format!"},
    {1053, 5, "This script requires at least Tembrovia %s !"},
    {1055, 66, "Wrong usage/parameters for this command!\nRead the documentation!"},
    {1059, 7, "No script filename specified!"},
    {1060, 8, "Wrong arguments specified!"},
    {1066, 64, "Internal limit encountered! Contact the author..."},
    {1069, 69, "Please use only positive integers for your objects!"},
    {1089, 89, "Division by zero!"},
    {1130, 161, "Attempt to compare a number with a string!"},
    {1131, 162, "Wrong data types for concatenation!"},
    {1132, 163, "Table %s not found!"},
    {1133, 164, "Function %s not found!"},
    {1134, 165, "Internal limit reached! Error code %s."},
    {1135, 166, "Stack overflow!"},
    {1138, 169, "Number expected in argument %ld!"},
    {1139, 170, "String expected in argument %ld!"},
    {1140, 171, "Table expected in argument %ld!"},
    {1159, 190, "Table field %s was not initialized!"},
    {1174, 208, "Could not find brush %ld!"},
    {1170, 204, "Image \"%s\" does not have an alpha channel!"},
    {1183, 218, "String or number expected in argument %ld!"},
    {1184, 219, "Invalid percent format in argument %ld!"},
    {1185, 220, "Function expected in argument %ld!"},
    {1189, 224, "Number expected in table argument \"%s\"!"},
    {1190, 225, "Callback function was expected to return a number!"},
    {1193, 228, "Too many arguments for this function!"},
    {1198, 233, "Unexpected end of file!"},
    {1199, 234, "Virtual machine data type mismatch!"},
    {1200, 235, "Bad integer in bytecode!"},
    {1201, 236, "Bad upvalues in bytecode!"},
    {1202, 237, "Bad constant type in bytecode!"},
    {1203, 238, "Bad bytecode!"},
    {1204, 239, "Bad bytecode signature!"},
    {1205, 240, "Unknown number format in bytecode!"},
    {1206, 241, "Invalid key for next table item!"},
    {1207, 242, "Table overflow!"},
    {1208, 243, "Table index is NaN!"},
    {1209, 244, "This applet requires at least Tembrovia %s!"},
    {1210, 245, "Unknown section in applet!"},
    {1211, 246, "%s is no Tembrovia applet!"},
    {1212, 247, "Compilation is not possible with TembroviaPlayer!"},
    {1213, 254, "File %s does not exist!"},
    {1214, 255, "Cannot locate magic key in player file!"},
    {1247, 294, "String expected in table argument \"%s\"!"},
    {1248, 295, "No applet filename specified!"},
    {1259, 319, "Callback function was expected to return a string!"},
    {1266, 325, "Unknown executable type specified!"},
    {1324, 397, "Specified function is not a user function!"},
    {1356, 433, "Animation file \"%s\" is in an unknown/unsupported format!"},
    {1369, 447, "Cannot find layer \"%s\" in current BGPic!"},
    {1403, 484, "Error in image data in file %s!"},
    {1492, 660, "Userdata expected in argument %ld!"},
    {1493, 661, "Assertion failed!"},
    {1502, 672, "Invalid percent format in table argument \"%s\"!"},
    {1314, 385, "Cannot modify object while it is locked!"},
};

TEST(ErrorTable, QuotedMessagesMatchTheirCodesExactly) {
  for (const QuotedMessage& quoted : kQuotedMessages) {
    const BuiltinError* e = FindBuiltinError(quoted.code);
    ASSERT_NE(e, nullptr) << quoted.code;
    EXPECT_EQ(e->message_id, quoted.id) << e->name;
    EXPECT_STREQ(EnglishMessage(quoted.id), quoted.text) << e->name;
  }
}

TEST(Messages, InterfaceTextsAndBounds) {
  EXPECT_STREQ(EnglishMessage(kMsgNoError), "No error occurred!");
  EXPECT_STREQ(EnglishMessage(kMsgUnknownErrorCode), "Unknown error code!");
  EXPECT_STREQ(EnglishMessage(kMsgCurrentLine), "current line");
  EXPECT_STREQ(EnglishMessage(kMsgOpeningScript), "Opening script %s");
  EXPECT_STREQ(EnglishMessage(kMsgCompilingScript), "Compiling script");
  EXPECT_STREQ(EnglishMessage(kMsgFile), "File");
  EXPECT_STREQ(EnglishMessage(kMsgInFunction), "In function");
  EXPECT_STREQ(EnglishMessage(kMsgOk), "OK");
  EXPECT_STREQ(EnglishMessage(kMsgCancel), "Cancel");
  EXPECT_STREQ(EnglishMessage(kMessageCount - 1), "No viewer found for this MIME type!");
  EXPECT_STREQ(EnglishMessage(-1), "");
  EXPECT_STREQ(EnglishMessage(kMessageCount), "");
}

// Every "%" in a message must be one FormatError fills ("%s", "%d", "%ld") or "%%", and no
// message may ask for both arguments: a slip in the table would otherwise show up as a
// stray "%" sequence in front of the user.
TEST(Messages, PercentSequencesAreOnlyTheFormattedOnes) {
  for (int id = 0; id < kMessageCount; ++id) {
    const std::string text = EnglishMessage(id);
    bool text_place = false, number_place = false;
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] != '%') continue;
      const std::string rest = text.substr(i);
      if (rest.starts_with("%s")) {
        text_place = true;
      } else if (rest.starts_with("%d") || rest.starts_with("%ld")) {
        number_place = true;
      } else {
        EXPECT_TRUE(rest.starts_with("%%")) << id << ": " << text;
      }
      i += rest.starts_with("%ld") ? 2 : 1;
    }
    EXPECT_FALSE(text_place && number_place) << id << ": " << text;
  }
}

}  // namespace
}  // namespace tembrovia
