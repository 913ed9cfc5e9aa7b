// The pattern commands: the iterator of PatternFindStr (a native closure holding the
// subject, the pattern and the search position) and PatternReplaceStr with a replacement
// string or a script function.
#include <vector>

#include "lib/core/arguments.h"
#include "lib/math/integer_arguments.h"
#include "lib/pattern/pattern_commands.h"
#include "lib/pattern/pattern_ops.h"
#include "lib/system/quit_check.h"

namespace tembrovia {
namespace {

constexpr int kSubjectUpvalue = 1;
constexpr int kPatternUpvalue = 2;
constexpr int kPositionUpvalue = 3;

// A long backtracking search ends once the script is to stop.
PatternOptions MatchOptions(VMState* state) {
  PatternOptions options;
  options.poll = [state] { return ScriptShouldStop(state) ? ERR_USERABORT : ERR_NONE; };
  return options;
}

std::string_view StringAt(VMState* state, int index) {
  size_t length = 0;
  const char* text = ToLString(state, index, &length);
  return text ? std::string_view(text, length) : std::string_view();
}

// Pushes the values of a match: texts, or numbers for position captures.
ErrorCode PushMatchValues(VMState* state, const std::vector<PatternCaptureValue>& values) {
  if (!CheckStack(state, static_cast<int>(values.size()) + 1)) return ERR_STACK;
  for (const PatternCaptureValue& value : values) {
    if (value.is_position) {
      PushNumber(state, static_cast<double>(value.position));
    } else {
      PushStringView(state, value.text);
    }
  }
  return ERR_NONE;
}

// One step of the iterator.
int NextPatternMatch(VMState* state) {
  const std::string_view subject = StringAt(state, UpvalueIndex(kSubjectUpvalue));
  const std::string_view pattern = StringAt(state, UpvalueIndex(kPatternUpvalue));
  const double stored = ToNumber(state, UpvalueIndex(kPositionUpvalue));
  size_t position = stored > 0 ? static_cast<size_t>(stored) : 0;
  bool found = false;
  std::vector<PatternCaptureValue> values;
  if (ErrorCode error = PatternFindNext(subject, pattern, position, found, values, MatchOptions(state))) {
    return error;
  }
  if (!found) return 0;
  PushNumber(state, static_cast<double>(position));
  Replace(state, UpvalueIndex(kPositionUpvalue));
  if (ErrorCode error = PushMatchValues(state, values)) return error;
  return static_cast<int>(values.size());
}

// A script function called with the values of each match; a string or number result
// replaces the match, anything else removes it.
class FunctionReplacement : public PatternReplacement {
 public:
  FunctionReplacement(VMState* state, int function) : state_(state), function_(function) {}

  ErrorCode Append(const PatternMatcher& matcher, size_t start, size_t end, std::string& out) override {
    std::vector<PatternCaptureValue> values;
    if (ErrorCode error = matcher.MatchValues(start, end, values)) return error;
    const int base = GetTop(state_);
    if (!CheckStack(state_, 1)) return ERR_STACK;
    PushValue(state_, function_);
    if (ErrorCode error = PushMatchValues(state_, values)) return error;
    if (ErrorCode error = CallbackCall(state_, static_cast<int>(values.size()), 1)) return error;
    const int type = Type(state_, -1);
    if (type == TagString || type == TagNumber) out.append(StringAt(state_, -1));
    SetTop(state_, base);
    return ERR_NONE;
  }

 private:
  VMState* state_;
  int function_;
};

}  // namespace

int CmdPatternFindStr(VMState* state) {
  CheckArgCount(state, 2, 2);
  CheckString(state, 1);
  CheckString(state, 2);
  PushValue(state, 1);
  PushValue(state, 2);
  PushNumber(state, 0);
  PushNativeClosure(state, NextPatternMatch, 3);
  return 1;
}

int CmdPatternReplaceStr(VMState* state) {
  CheckArgCount(state, 3, 4);
  const std::string_view subject = CheckString(state, 1);
  const std::string_view pattern = CheckString(state, 2);
  const int64_t max = OptInt64(state, 4, static_cast<int64_t>(subject.size()) + 1);
  const int repl_type = Type(state, 3);
  std::string out;
  int64_t count = 0;
  const PatternOptions options = MatchOptions(state);
  ErrorCode error = ERR_NONE;
  if (repl_type == TagString || repl_type == TagNumber) {
    PatternReplacementString replacement(CheckString(state, 3));
    error = PatternReplace(subject, pattern, replacement, max, out, count, options);
  } else if (repl_type == TagFunction) {
    FunctionReplacement replacement(state, 3);
    error = PatternReplace(subject, pattern, replacement, max, out, count, options);
  } else {
    error = ERR_WRONGUSAGE;
  }
  if (error) return error;
  PushStringView(state, out);
  PushNumber(state, static_cast<double>(count));
  return 2;
}

}  // namespace tembrovia
