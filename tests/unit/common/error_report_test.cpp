#include "common/error_report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "common/debug_output.h"

namespace tembrovia {
namespace {

const ErrorLocation kInFunction{"LoadBrush", 7, "C:\\games\\demo.vxs"};
const ErrorLocation kNoFunction{"----", 12, "/home/me/game.vxs"};

TEST(ErrorReport, MachineReadableLine) {
  EXPECT_EQ(FormatDebugErrorLine("Could not find brush 5!", kNoFunction),
            "@_vxerror12:/home/me/game.vxs*Could not find brush 5!");
  EXPECT_EQ(FormatDebugErrorLine("File x does not exist!", ErrorLocation{}),
            "@_vxerror0:\"\"*File x does not exist!");
  EXPECT_EQ(FormatDebugErrorLine("m", ErrorLocation{"----", 3, ""}), "@_vxerror0:\"\"*m");
}

TEST(ErrorReport, RequesterText) {
  EXPECT_EQ(FormatErrorRequesterText("Out of memory!", kInFunction, false, false),
            "Out of memory!");
  EXPECT_EQ(FormatErrorRequesterText("Out of memory!", kInFunction, true, true),
            "Out of memory!");
  EXPECT_EQ(FormatErrorRequesterText("Division by zero!", kNoFunction, true, false),
            "Division by zero!\nFile: game.vxs (current line: 12)");
  EXPECT_EQ(FormatErrorRequesterText("Could not find brush 5!", kInFunction, true, false),
            "Could not find brush 5!\nFile: demo.vxs (current line: 7 - In function: LoadBrush)");
}

struct RequesterCall {
  int count = 0;
  std::string title, text;
  int icon = -1;
};

class FinalReport : public testing::Test {
 protected:
  void SetUp() override {
    CloseDebugDevice();
    SetErrorRequester([this](std::string_view title, std::string_view text, int icon) {
      ++call_.count;
      call_.title = title;
      call_.text = text;
      call_.icon = icon;
    });
  }
  void TearDown() override {
    SetErrorRequester(nullptr);
    CloseDebugDevice();
  }
  RequesterCall call_;
};

TEST_F(FinalReport, ShowsTheRequesterWithoutDebugDevice) {
  SetErrorNumber(5);
  ReportFinalError(ERR_FINDBRUSH, kInFunction, true);
  EXPECT_EQ(call_.count, 1);
  EXPECT_EQ(call_.title, "TembroviaPlayer");
  EXPECT_EQ(call_.text,
            "Could not find brush 5!\nFile: demo.vxs (current line: 7 - In function: LoadBrush)");
  EXPECT_EQ(call_.icon, kRequesterIconError);

  ReportFinalError(ERR_USERABORT, kInFunction, true);
  ReportFinalError(ERR_NONE, kInFunction, true);
  EXPECT_EQ(call_.count, 1);
}

TEST_F(FinalReport, WritesTheLineToTheDebugDevice) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("tembrovia_report_" + std::to_string(getpid()));
  ASSERT_EQ(OpenDebugDevice("::file" + path.string()), ERR_NONE);
  SetErrorText("C:/data/pics/a.png");
  ReportFinalError(ERR_READFILE, kNoFunction, true);
  CloseDebugDevice();
  EXPECT_EQ(call_.count, 0);
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  EXPECT_EQ(content.str(), "@_vxerror12:/home/me/game.vxs*Cannot read file a.png !");
  std::filesystem::remove(path);
}

TEST(ErrorReport, RequesterFallsBackToStandardError) {
  testing::internal::CaptureStderr();
  ShowErrorReport("Out of memory!", ErrorLocation{}, false, false, kRequesterIconError);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "TembroviaPlayer: Out of memory!\n");
}

}  // namespace
}  // namespace tembrovia
