#include "common/messages.h"

#include <array>
#include <utility>

namespace tembrovia {
namespace {

constexpr std::array<const char*, kMessageCount> BuildEnglishMessages() {
  std::array<const char*, kMessageCount> texts{};
#define TEMBROVIA_MESSAGE(id, text) texts[id] = text;
#include "common/message_texts.def"
#undef TEMBROVIA_MESSAGE
  return texts;
}

constexpr std::array<const char*, kMessageCount> kEnglishMessages = BuildEnglishMessages();

constexpr bool EveryIdHasAText() {
  for (const char* text : kEnglishMessages) {
    if (text == nullptr) return false;
  }
  return true;
}
static_assert(EveryIdHasAText(), "message_texts.def must give a text for every id");

MessageLookup& InstalledLookup() {
  static MessageLookup lookup;
  return lookup;
}

}  // namespace

const char* EnglishMessage(int id) {
  if (id < 0 || id >= kMessageCount) return "";
  return kEnglishMessages[id];
}

void SetMessageLookup(MessageLookup lookup) { InstalledLookup() = std::move(lookup); }

const char* MessageText(int id) {
  if (const MessageLookup& lookup = InstalledLookup(); lookup) {
    if (const char* translated = lookup(id)) return translated;
  }
  return EnglishMessage(id);
}

}  // namespace tembrovia
