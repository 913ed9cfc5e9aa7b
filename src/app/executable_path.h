// The path of the running player's own file.
#pragma once

#include <string>

namespace tembrovia {

// Empty when the system does not tell.
std::string OwnExecutablePath();

}  // namespace tembrovia
