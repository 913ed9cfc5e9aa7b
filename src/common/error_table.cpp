#include "common/error_table.h"

#include <algorithm>
#include <array>

#include "common/messages.h"

namespace tembrovia {
namespace {

constexpr BuiltinError kBuiltinErrors[] = {
#define TEMBROVIA_ERROR(code, name, message) {code, "ERR_" #name, message},
#include "common/error_codes.def"
#undef TEMBROVIA_ERROR
};

constexpr bool SortedAndInRange() {
  for (size_t i = 0; i < std::size(kBuiltinErrors); ++i) {
    const BuiltinError& e = kBuiltinErrors[i];
    if (e.code < kFirstBuiltinError || e.code > kLastBuiltinError) return false;
    if (i > 0 && kBuiltinErrors[i - 1].code >= e.code) return false;
    if (e.message_id != kFreeTextMessage && (e.message_id < 0 || e.message_id >= kMessageCount)) {
      return false;
    }
  }
  return true;
}
static_assert(SortedAndInRange(), "error_codes.def: codes 1000..1508 ascending, message ids 0..680 or -1");

}  // namespace

std::span<const BuiltinError> BuiltinErrors() { return kBuiltinErrors; }

const BuiltinError* FindBuiltinError(ErrorCode code) {
  const auto* end = std::end(kBuiltinErrors);
  const auto* it = std::lower_bound(std::begin(kBuiltinErrors), end, code,
                                    [](const BuiltinError& e, ErrorCode c) { return e.code < c; });
  return it != end && it->code == code ? it : nullptr;
}

}  // namespace tembrovia
