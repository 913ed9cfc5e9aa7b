// The fixture of the "dos" command tests: every library registered, and a private directory
// that is removed afterwards.
#pragma once

#include <string>

#include "files/file_handle.h"
#include "files/scratch_dir.h"
#include "support/command_fixture.h"

namespace tembrovia {

// A test command, PrintFields(table): prints the fields a progress callback may receive,
// those present only, as "name=value" separated by spaces, on the debug channel.
int PrintFields(VMState* state);

// A script function "progress" for the callbacks of CopyFile, DeleteFile and ApplyPatch: it
// prints its table with PrintFields and answers with the global "answer".
void DefineProgressCallback(CommandFixture& fx);

class DosTest : public CommandTest {
 protected:
  // Opens the file `name` of the scratch directory as handle `id`, expecting success.
  void Open(int id, const std::string& name, int mode) {
    const CallResult r = fx.Call("OpenFile", {id, dir / name, mode});
    ASSERT_TRUE(r.ok()) << name << ": " << r.message;
  }

  // A command that must succeed; its results.
  CallResult Ok(std::string_view command, std::vector<Arg> args = {}) {
    CallResult r = fx.Call(command, std::move(args));
    EXPECT_TRUE(r.ok()) << command << ": " << r.message;
    return r;
  }

  ScratchDir dir;
};

}  // namespace tembrovia
