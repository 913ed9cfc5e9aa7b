// The object-data commands: named values attached to objects of any type, and to layers
// through the layers' hook.
#include "common/error_state.h"
#include "common/latin1_case.h"
#include "widget_library.h"

namespace tembrovia {
namespace {

// Stands in for the layers library: layer 1 of the current BGPic is called "Sky".
DataItems g_sky;
ErrorCode FindSkyData(VMState* state, int arg, DataItems** items) {
  if (Type(state, arg) == TagString) {
    size_t length = 0;
    const char* name = ToLString(state, arg, &length);
    if (!Latin1EqualNoCase({name, length}, "sky")) {
      SetErrorText({name, length});
      return ERR_FINDLAYER;
    }
  } else if (ToNumber(state, arg) != 1) {
    return ERR_LAYERRANGE;
  }
  *items = &g_sky;
  return ERR_NONE;
}

class ObjectDataTest : public CommandTest {
 protected:
  ObjectDataTest() {
    AddWidgetLibrary(fx);
    fx.Call("CreateWidget", {1});
    fx.Call("CreateWidget", {2});
  }
  CallResult Get(Arg id, const char* name) { return fx.Call("GetObjectData", {kTypeBrush, id, name}); }
  CallResult Set(Arg id, const char* name, Arg value) {
    return fx.Call("SetObjectData", {kTypeBrush, id, name, value});
  }
};

TEST_F(ObjectDataTest, NamesAreCaseInsensitive) {
  ASSERT_EQ(Set(1, "Tag", 5).error, ERR_NONE);
  EXPECT_EQ(Get(1, "tag").number(0), 5);
  ASSERT_EQ(Set(1, "TAG", "six").error, ERR_NONE);
  EXPECT_EQ(Get(1, "Tag").string(0), "six");
  EXPECT_EQ(Widgets(fx.state()).widgets.Find({1, nullptr})->data.items().size(), 1u);
}

TEST_F(ObjectDataTest, ValuesKeepTheirIdentity) {
  const ScriptValue handle = fx.Call("CreateWidget", {kNil}).value(0);
  fx.SetGlobal("t", Arg::List({1, 2}));
  const ScriptValue table = fx.Global("t");
  ASSERT_EQ(Set(handle, "list", table).error, ERR_NONE);
  EXPECT_EQ(Get(handle, "list").value(0).pointer, table.pointer);
  ASSERT_EQ(Set(handle, "nothing", kNil).error, ERR_NONE);
  EXPECT_TRUE(Get(handle, "nothing").value(0).is_nil());
}

TEST_F(ObjectDataTest, MissingObjectsAndItems) {
  // Not the library's ERR_FINDBRUSH: the registry does not know which library to blame.
  const CallResult no_object = Get(99, "tag");
  EXPECT_EQ(no_object.error, ERR_FINDARRAY);
  EXPECT_EQ(no_object.message, "Requested object not found!");
  EXPECT_EQ(Set(99, "tag", 1).error, ERR_FINDARRAY);
  EXPECT_EQ(fx.Call("GetObjectData", {kTypeAnim, 1, "tag"}).error, ERR_FINDARRAY);

  const CallResult no_item = Get(1, "nope");
  EXPECT_EQ(no_item.error, ERR_FINDOBJECTDATA);
  EXPECT_EQ(no_item.message, "Object data item \"nope\" not found!");
}

TEST_F(ObjectDataTest, EmptyNamesAndArgumentCounts) {
  EXPECT_EQ(Set(1, "", 1).error, ERR_WRONGUSAGE);
  EXPECT_EQ(fx.Call("ClearObjectData", {kTypeBrush, 1, ""}).error, ERR_WRONGUSAGE);
  EXPECT_EQ(fx.Call("SetObjectData", {kTypeBrush, 1, "x"}).error, ERR_MISSINGPARAMTR);
  EXPECT_EQ(fx.Call("GetObjectData", {kTypeBrush, 1, "x", 4}).error, ERR_TOOMANYARGS);
  EXPECT_EQ(fx.Call("ClearObjectData", {kTypeBrush}).error, ERR_MISSINGPARAMTR);
  EXPECT_EQ(fx.Call("CopyObjectData", {kTypeBrush, 1, kTypeBrush}).error, ERR_MISSINGPARAMTR);
  EXPECT_EQ(fx.Call("GetObjectData", {kTypeBrush, 1, Arg::List({})}).error, ERR_STREXPECTED);
}

TEST_F(ObjectDataTest, ClearOneOrAll) {
  Set(1, "a", 1);
  Set(1, "b", 2);
  Set(1, "c", 3);
  EXPECT_EQ(fx.Call("ClearObjectData", {kTypeBrush, 1, "B"}).error, ERR_NONE);
  EXPECT_EQ(Get(1, "b").error, ERR_FINDOBJECTDATA);
  EXPECT_EQ(Get(1, "c").number(0), 3);
  const CallResult missing = fx.Call("ClearObjectData", {kTypeBrush, 1, "b"});
  EXPECT_EQ(missing.error, ERR_FINDOBJECTDATA);
  EXPECT_EQ(missing.message, "Object data item \"b\" not found!");
  EXPECT_EQ(fx.Call("ClearObjectData", {kTypeBrush, 1}).error, ERR_NONE);
  EXPECT_EQ(Get(1, "a").error, ERR_FINDOBJECTDATA);
  EXPECT_EQ(Get(1, "c").error, ERR_FINDOBJECTDATA);
}

TEST_F(ObjectDataTest, CopyKeepsOrReplacesExistingItems) {
  Set(1, "a", 1);
  Set(1, "b", 2);
  Set(2, "B", 9);
  Set(2, "c", 3);
  ASSERT_EQ(fx.Call("CopyObjectData", {kTypeBrush, 1, kTypeBrush, 2, 0}).error, ERR_NONE);
  EXPECT_EQ(Get(2, "a").number(0), 1);
  EXPECT_EQ(Get(2, "b").number(0), 9);
  EXPECT_EQ(Get(2, "c").number(0), 3);
  ASSERT_EQ(fx.Call("CopyObjectData", {kTypeBrush, 1, kTypeBrush, 2}).error, ERR_NONE);
  EXPECT_EQ(Get(2, "b").number(0), 2);
  EXPECT_EQ(Widgets(fx.state()).widgets.Find({2, nullptr})->data.items().size(), 3u);

  // Onto itself: nothing changes.
  ASSERT_EQ(fx.Call("CopyObjectData", {kTypeBrush, 1, kTypeBrush, 1}).error, ERR_NONE);
  EXPECT_EQ(Get(1, "a").number(0), 1);
  EXPECT_EQ(Get(1, "b").number(0), 2);
  EXPECT_EQ(fx.Call("CopyObjectData", {kTypeBrush, 1, kTypeBrush, 7}).error, ERR_FINDARRAY);
}

TEST_F(ObjectDataTest, LayersGoThroughTheLayersHook) {
  const CallResult wrong_type = fx.Call("SetObjectData", {kTypeLayer, true, "x", 1});
  EXPECT_EQ(wrong_type.error, ERR_STRORNUM);
  EXPECT_EQ(wrong_type.message, "String or number expected in argument 2!");
  const CallResult no_layers = fx.Call("SetObjectData", {kTypeLayer, 1, "x", 1});
  EXPECT_EQ(no_layers.error, ERR_NOLAYERS);
  EXPECT_EQ(no_layers.message, "This function requires enabled layers!");

  g_sky.ClearAll(fx.state());
  fx.runtime().layer_hooks().find_layer_data = FindSkyData;
  ASSERT_EQ(fx.Call("SetObjectData", {kTypeLayer, "SKY", "x", 1}).error, ERR_NONE);
  EXPECT_EQ(fx.Call("GetObjectData", {kTypeLayer, 1, "X"}).number(0), 1);
  EXPECT_EQ(fx.Call("GetObjectData", {kTypeLayer, 2, "x"}).error, ERR_LAYERRANGE);
  const CallResult unknown = fx.Call("GetObjectData", {kTypeLayer, "sea", "x"});
  EXPECT_EQ(unknown.error, ERR_FINDLAYER);
  EXPECT_EQ(unknown.message, "Cannot find layer \"sea\" in current BGPic!");

  Set(1, "from_brush", 5);
  ASSERT_EQ(fx.Call("CopyObjectData", {kTypeBrush, 1, kTypeLayer, "sky"}).error, ERR_NONE);
  EXPECT_EQ(fx.Call("GetObjectData", {kTypeLayer, "Sky", "from_brush"}).number(0), 5);
  g_sky.ClearAll(fx.state());
}

}  // namespace
}  // namespace tembrovia
