// Hooks, frame inspection (GetStack/GetInfo) and the current line.
#include <cstring>

#include "vm/api.h"
#include "vm/debug_names.h"
#include "vm/errors.h"
#include "vm/function.h"
#include "vm/state.h"

namespace tembrovia {
namespace {

constexpr size_t kShortSourceLength = 60;

std::string ShortSource(const std::string& source) {
  if (!source.empty() && source[0] == '=') return source.substr(1, kShortSourceLength - 1);
  if (!source.empty() && source[0] == '@') {
    std::string name = source.substr(1);
    if (name.size() >= kShortSourceLength) name = "..." + name.substr(name.size() - (kShortSourceLength - 4));
    return name;
  }
  std::string first = source.substr(0, source.find_first_of("\n\r"));
  const size_t room = kShortSourceLength - 15;  // [string "..."] and the dots
  bool cut = first.size() > room || first.size() < source.size();
  if (first.size() > room) first.resize(room);
  return "[string \"" + first + (cut ? "...\"]" : "\"]");
}

}  // namespace

void SetHook(VMState* L, HookFunction hook, int mask, int count) {
  if (hook == nullptr || mask == 0) {
    mask = 0;
    hook = nullptr;
  }
  L->hook = hook;
  L->baseHookCount = count;
  L->hookCount = count;
  L->hookMask = static_cast<uint8_t>(mask);
  L->hookInit = 0;
  UpdateTrap(L);
}

HookFunction GetHook(VMState* L) { return L->hook; }
int GetHookMask(VMState* L) { return L->hookMask; }

bool GetStack(VMState* L, int level, DebugInfo* info) {
  CallFrame* ci = L->ci;
  for (; level > 0 && ci > L->baseCi; --ci) {
    level--;
    if (IsScriptFrame(ci)) level -= ci->tailcalls;
  }
  if (level == 0 && ci > L->baseCi) {
    info->frameIndex = static_cast<int>(ci - L->baseCi);
    return true;
  }
  if (level < 0) {  // a frame lost by a tail call
    info->frameIndex = 0;
    return true;
  }
  return false;
}

bool GetInfo(VMState* L, const char* what, DebugInfo* info) {
  CallFrame* ci = info->frameIndex > 0 ? L->baseCi + info->frameIndex : nullptr;
  if (ci != nullptr && ci > L->ci) return false;
  Closure* cl = ci ? FrameClosure(ci) : nullptr;
  for (; *what; ++what) {
    switch (*what) {
      case 'S':
        if (cl == nullptr) {
          info->source = "=(tail call)";
          info->what = "tail";
          info->lineDefined = -1;
        } else if (cl->isNative) {
          info->source = "=[C]";
          info->what = "C";
          info->lineDefined = -1;
        } else {
          const Proto* p = cl->script.proto;
          info->source = p->source ? std::string(p->source->data(), p->source->length) : "=?";
          info->lineDefined = p->lineDefined;
          info->what = p->lineDefined == 0 ? "main" : "Tembrovia";
        }
        info->shortSource = ShortSource(info->source);
        break;
      case 'l':
        info->currentLine = ci ? FrameCurrentLine(L, ci) : -1;
        break;
      case 'u':
        info->nups = cl ? cl->nupvalues : 0;
        break;
      case 'n': {
        if (ci == nullptr) {
          info->name = "tail";
          info->namewhat = "";
          break;
        }
        ValueName name = NameOfCalledFunction(L, ci);
        info->name = name.name;
        info->namewhat = name.kind;
        break;
      }
      case 'f':
        if (cl == nullptr) {
          PushNil(L);
        } else {
          PushNil(L);
          L->top[-1] = ci->base[-1];
        }
        break;
      default:
        return false;
    }
  }
  return true;
}

int CurrentLine(VMState* L) {
  for (CallFrame* ci = L->ci; ci > L->baseCi; --ci) {
    if (IsScriptFrame(ci)) return FrameCurrentLine(L, ci);
  }
  return -1;
}

}  // namespace tembrovia
