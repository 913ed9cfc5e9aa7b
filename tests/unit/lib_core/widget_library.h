// A small object library for the registry tests: widgets of type #BRUSH (3) in one list,
// with commands to create, free, use, release and lock them.
#pragma once

#include <memory>

#include "lib/core/arguments.h"
#include "lib/core/object_list.h"
#include "lib/core/object_registry.h"
#include "lib/core/runtime.h"
#include "support/command_fixture.h"

namespace tembrovia {

struct WidgetData;

struct Widget : ObjectRecord {
  explicit Widget(int* freed) : freed(freed) {}
  ~Widget() override { ++*freed; }
  int* freed;
};

struct WidgetData : LibraryData {
  ObjectList<Widget> widgets{kTypeBrush, ERR_FINDBRUSH};
  int freed = 0;
};

inline WidgetData& Widgets(VMState* state) { return Runtime(state).Data<WidgetData>(); }

inline int CreateWidget(VMState* state) {
  CheckArgCount(state, 1, 1);
  const NewObjectId id = ReadNewObjectId(state, 1);
  WidgetData& data = Widgets(state);
  if (ErrorCode error = data.widgets.PrepareNew(state, id)) return error;
  Widget& widget = data.widgets.Add(id, std::make_unique<Widget>(&data.freed));
  return PushCreated(state, widget, id);
}

inline int FreeWidget(VMState* state) {
  CheckArgCount(state, 1, 1);
  return Widgets(state).widgets.Free(state, ReadObjectId(state, 1));
}

// UseWidget(id, delta): changes the in-use count, as a layer showing the widget would.
inline int UseWidget(VMState* state) {
  CheckArgCount(state, 2, 2);
  Widget* widget = nullptr;
  if (ErrorCode error = Widgets(state).widgets.Find(ReadObjectId(state, 1), Access::kRead, &widget)) {
    return error;
  }
  widget->users += CheckInteger(state, 2);
  return 0;
}

inline int LockWidget(VMState* state) {
  CheckArgCount(state, 1, 1);
  Widget* widget = nullptr;
  if (ErrorCode error = Widgets(state).widgets.Find(ReadObjectId(state, 1), Access::kModify, &widget)) {
    return error;
  }
  widget->locked = true;
  return 0;
}

// Registers the widget list and commands in the fixture.
inline void AddWidgetLibrary(CommandFixture& fx) {
  ASSERT_EQ(RegisterObjectList(fx.state(), Widgets(fx.state()).widgets), ERR_NONE);
  fx.Register("CreateWidget", CreateWidget);
  fx.Register("FreeWidget", FreeWidget);
  fx.Register("UseWidget", UseWidget);
  fx.Register("LockWidget", LockWidget);
}

}  // namespace tembrovia
