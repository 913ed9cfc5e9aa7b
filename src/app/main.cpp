// Process entry: the arguments become one command line for the driver.
#include <string>
#include <vector>

#include "app/options/command_line.h"
#include "app/run_player.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  return tembrovia::RunPlayer(tembrovia::JoinArguments(arguments));
}
