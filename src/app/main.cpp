// Process entry. Until the driver can run applets, the player prints its banner and says so.
#include <cstdio>

int main(int, char**) {
  std::printf("TembroviaPlayer 5.2 [Linux]\n\n");
  std::printf("This build cannot run applets yet.\n");
  return 0;
}
