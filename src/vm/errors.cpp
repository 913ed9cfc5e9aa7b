#include "vm/errors.h"

#include <cstdlib>

#include "vm/debug_names.h"
#include "vm/function.h"
#include "vm/string_table.h"

namespace tembrovia {
namespace {

bool IsScriptSource(const InternedString* source) {
  return source != nullptr && source->length > 0 && source->data()[0] != '=' &&
         source->data()[0] != '?';
}

std::string ContextName(VMState* L, const CallFrame* ci) {
  Closure* cl = FrameClosure(ci);
  if (cl->isNative) {
    std::string name = Host(L).CommandName(cl->native.f);
    return name.empty() ? "?" : name;
  }
  ValueName name = NameOfCalledFunction(L, ci);
  if (!name.name.empty()) return name.name;
  // Called by a script instruction whose operand has no name, or from native code.
  bool calledByScript = ci - 1 > L->baseCi && IsScriptFrame(ci - 1) && ci->tailcalls == 0;
  return calledByScript ? "anonymous" : "<<unnamed>>";
}

}  // namespace

int FrameCurrentLine(VMState* /*L*/, const CallFrame* ci) {
  if (!IsScriptFrame(ci)) return -1;
  const Proto* p = FrameClosure(ci)->script.proto;
  if (p->sizelineinfo == 0) return -1;
  return p->lineinfo[CurrentPc(ci)];
}

void Throw(VMState* L, ErrorCode code) {
  if (L->protectedDepth > 0) throw VMError{code};
  // No protected caller: nothing can continue.
  std::exit(1);
}

void RaiseError(VMState* L, ErrorCode code) {
  GlobalState* g = G(L);
  g->errorLine = L->ci > L->baseCi ? FrameCurrentLine(L, L->ci) : -1;
  RecordErrorContext(L);
  Throw(L, code);
}

void RaiseErrorWithText(VMState* L, ErrorCode code, std::string_view text) {
  Host(L).SetErrorText(text);
  RaiseError(L, code);
}

void RecordErrorContext(VMState* L) {
  GlobalState* g = G(L);
  ErrorContext& context = g->errorContext;
  bool scriptFound = false;
  for (CallFrame* ci = L->ci; ci > L->baseCi; --ci) {
    Closure* cl = FrameClosure(ci);
    if (!scriptFound && !cl->isNative && IsScriptSource(cl->script.proto->source)) {
      context.script.assign(cl->script.proto->source->data(), cl->script.proto->source->length);
      scriptFound = true;
    }
    if (context.name == "----") context.name = ContextName(L, ci);
    if (scriptFound) break;
  }
  if (context.line == -1) {
    context.line = g->errorLine;
    if (context.line == -1 && L->ci - 1 > L->baseCi) context.line = FrameCurrentLine(L, L->ci - 1);
  }
}

void ResetErrorContext(VMState* L) {
  ErrorContext& context = G(L)->errorContext;
  context.name = "----";
  context.line = -1;
  G(L)->errorLine = -1;
}

const ErrorContext& GetErrorContext(VMState* L) { return G(L)->errorContext; }

}  // namespace tembrovia
