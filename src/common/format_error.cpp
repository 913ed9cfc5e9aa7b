#include "common/format_error.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "common/error_table.h"
#include "common/messages.h"

namespace tembrovia {
namespace {

constexpr size_t kMaxMessageLength = kErrorMessageSize - 1;

// Codes whose file-name argument is shown without its directory.
constexpr ErrorCode kFileNameCodes[] = {
    ERR_LOADPICTURE, ERR_READFILE,   ERR_OPENSOUND,     ERR_NOALPHA,
    ERR_OPENANIM2,   ERR_OPENSOUND2, ERR_LOADPICTURE2,  ERR_IMAGEERROR,
};

constexpr std::string_view kStoredFilePrefix = ":::chunk";

std::string CutToMessage(std::string_view text) {
  return std::string(text.substr(0, std::min(text.size(), kMaxMessageLength)));
}

// One piece of a message text: literal text, or a place for an argument.
struct Piece {
  enum Kind { kLiteral, kText, kNumber } kind;
  std::string_view literal;
};

// Splits a message text at its "%s", "%d", "%ld" and "%%" sequences; everything else,
// other "%" sequences included, stays literal.
std::vector<Piece> SplitMessage(std::string_view format) {
  std::vector<Piece> pieces;
  size_t start = 0;
  auto literal_until = [&](size_t end) {
    if (end > start) pieces.push_back({Piece::kLiteral, format.substr(start, end - start)});
  };
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    std::string_view rest = format.substr(i);
    size_t length = 0;
    Piece::Kind kind = Piece::kLiteral;
    if (rest.starts_with("%s")) {
      kind = Piece::kText, length = 2;
    } else if (rest.starts_with("%d")) {
      kind = Piece::kNumber, length = 2;
    } else if (rest.starts_with("%ld")) {
      kind = Piece::kNumber, length = 3;
    } else if (rest.starts_with("%%")) {
      literal_until(i + 1);  // keeps one "%"
      start = i + 2;
      ++i;
      continue;
    } else {
      continue;
    }
    literal_until(i);
    pieces.push_back({kind, {}});
    start = i + length;
    i += length - 1;
  }
  literal_until(format.size());
  return pieces;
}

bool HasArgument(const std::vector<Piece>& pieces) {
  return std::any_of(pieces.begin(), pieces.end(),
                     [](const Piece& p) { return p.kind != Piece::kLiteral; });
}

std::string_view DisplayedFileArgument(ErrorCode code, std::string_view text) {
  if (text.starts_with(kStoredFilePrefix)) return StoredFileName(text);
  if (std::find(std::begin(kFileNameCodes), std::end(kFileNameCodes), code) !=
      std::end(kFileNameCodes)) {
    return LastPathComponent(text);
  }
  return text;
}

}  // namespace

std::string FillMessage(std::string_view format, std::string_view text, int64_t number) {
  const std::vector<Piece> pieces = SplitMessage(format);
  if (!HasArgument(pieces)) return CutToMessage(format);

  const std::string number_text = std::to_string(number);
  size_t fixed = 0;
  size_t text_places = 0;
  for (const Piece& piece : pieces) {
    if (piece.kind == Piece::kLiteral) fixed += piece.literal.size();
    if (piece.kind == Piece::kNumber) fixed += number_text.size();
    if (piece.kind == Piece::kText) ++text_places;
  }
  if (text_places > 0) {
    const size_t room = fixed < kMaxMessageLength ? kMaxMessageLength - fixed : 0;
    text = text.substr(0, std::min(text.size(), room / text_places));
  }

  std::string message;
  for (const Piece& piece : pieces) {
    switch (piece.kind) {
      case Piece::kLiteral: message += piece.literal; break;
      case Piece::kText: message += text; break;
      case Piece::kNumber: message += number_text; break;
    }
  }
  return CutToMessage(message);
}

std::string_view LastPathComponent(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  if (slash != std::string_view::npos) return path.substr(slash + 1);
  const size_t colon = path.find(':');
  if (colon != std::string_view::npos) return path.substr(colon + 1);
  return path;
}

std::string_view StoredFileName(std::string_view name) {
  if (!name.starts_with(kStoredFilePrefix)) return name;
  const size_t star = name.find('*');
  if (star == std::string_view::npos) return name;
  std::string_view stored = name.substr(star + 1);
  return stored.substr(0, stored.find('/'));
}

std::string FormatError(ErrorCode code, const ErrorState& state) {
  const ErrorArguments args = state.Arguments();
  std::optional<std::string> registered;
  std::string_view format;
  if (code == ERR_NONE) {
    format = MessageText(kMsgNoError);
  } else if (code > kLastBuiltinError && (registered = state.RegisteredText(code))) {
    format = *registered;
  } else if (const BuiltinError* builtin = FindBuiltinError(code)) {
    if (builtin->message_id == kFreeTextMessage) return CutToMessage(args.text);
    format = MessageText(builtin->message_id);
  } else {
    format = MessageText(kMsgUnknownErrorCode);
  }
  return FillMessage(format, DisplayedFileArgument(code, args.text), args.number);
}

std::string FormatError(ErrorCode code) { return FormatError(code, ProcessErrorState()); }

void FormatError(ErrorCode code, char* buffer, size_t size) {
  if (size == 0) return;
  const std::string message = FormatError(code);
  const size_t length = std::min(message.size(), std::min(size, kErrorMessageSize) - 1);
  std::memcpy(buffer, message.data(), length);
  buffer[length] = '\0';
}

}  // namespace tembrovia
