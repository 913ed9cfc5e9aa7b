#include "dos_test.h"

#include "common/debug_output.h"

namespace tembrovia {

int PrintFields(VMState* state) {
  static constexpr const char* kFields[] = {"action", "source", "destination", "copied", "filesize",
                                            "file",   "progress", "userdata"};
  std::string line;
  for (const char* field : kFields) {
    PushString(state, field);
    RawGet(state, 1);
    if (!IsNil(state, -1)) {
      if (!line.empty()) line += ' ';
      line += std::string(field) + "=" + ToString(state, -1);
    }
    Pop(state, 1);
  }
  DebugWriteText(line + "\n");
  return 0;
}

void DefineProgressCallback(CommandFixture& fx) {
  fx.Register("PrintFields", PrintFields);
  const CallResult r = fx.Run(R"(
        makeclosure r0, progress
        writeglobal r0, "progress"
        return r0, 1
    .function progress
        .params 1
        call PrintFields, r0
        readglobal r1, "answer"
        return r1, 2
    .end
  )");
  ASSERT_TRUE(r.ok()) << r.message;
}

}  // namespace tembrovia
