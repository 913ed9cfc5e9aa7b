// Object identifiers, creation with replacement, locking, freeing and the release pass,
// and the generic object commands GetObjects, HaveObject and GetObjectType.
#include "widget_library.h"

namespace tembrovia {
namespace {

class ObjectRegistryTest : public CommandTest {
 protected:
  ObjectRegistryTest() { AddWidgetLibrary(fx); }
  WidgetData& data() { return Widgets(fx.state()); }
  Widget* Numbered(int number) { return data().widgets.Find({number, nullptr}); }
  double Count() { return fx.Call("GetObjects", {kTypeBrush}).number(1); }
};

TEST_F(ObjectRegistryTest, AutomaticHandles) {
  const CallResult created = fx.Call("CreateWidget", {kNil});
  ASSERT_EQ(created.count(), 1u);
  const ScriptValue handle = created.value(0);
  ASSERT_EQ(handle.type, TagLightUserdata);
  EXPECT_EQ(fx.Call("CreateWidget", {5}).count(), 0u);

  EXPECT_EQ(fx.Call("GetObjectType", {handle}).number(0), kTypeBrush);
  EXPECT_EQ(fx.Call("HaveObject", {kTypeBrush, handle}).number(0), 1);
  EXPECT_EQ(fx.Call("HaveObject", {kTypeAnim, handle}).number(0), 0);
  EXPECT_EQ(fx.Call("HaveObject", {kTypeBrush, 5}).number(0), 1);
  // A number never names an automatic object, whose number is 0.
  EXPECT_EQ(fx.Call("HaveObject", {kTypeBrush, 0}).number(0), 0);

  const CallResult listed = fx.Call("GetObjects", {kTypeBrush});
  ASSERT_EQ(listed.count(), 2u);
  EXPECT_EQ(listed.number(1), 2);
  const ScriptValue& table = listed.value(0);
  EXPECT_EQ(table.ItemCount(), 2u);
  ASSERT_NE(table.Item(0), nullptr);
  EXPECT_EQ(table.Item(0)->pointer, handle.pointer);
  EXPECT_EQ(table.Item(1)->number, 5);
  EXPECT_EQ(fx.Call("GetObjects", {kTypeAnim}).number(1), 0);

  // The handle goes back into commands as the very same value.
  EXPECT_EQ(fx.Call("FreeWidget", {handle}).error, ERR_NONE);
  EXPECT_EQ(fx.Call("HaveObject", {kTypeBrush, handle}).number(0), 0);
}

TEST_F(ObjectRegistryTest, GetObjectTypeWantsAHandle) {
  int stranger = 0;
  EXPECT_EQ(fx.Call("GetObjectType", {Arg::Handle(&stranger)}).number(0), -1);
  const CallResult number = fx.Call("GetObjectType", {3});
  EXPECT_EQ(number.error, ERR_UDEXPECTED);
  EXPECT_EQ(number.message, "Userdata expected in argument 1!");
  EXPECT_EQ(fx.Call("GetObjectType", {}).error, ERR_MISSINGPARAMTR);
  EXPECT_EQ(fx.Call("HaveObject", {3}).error, ERR_MISSINGPARAMTR);
}

TEST_F(ObjectRegistryTest, CreatingANumberAgainReplacesTheObject) {
  fx.Call("CreateWidget", {1});
  fx.Call("CreateWidget", {1});
  EXPECT_EQ(data().freed, 1);
  EXPECT_NE(Numbered(1), nullptr);
  EXPECT_EQ(Count(), 1);
}

TEST_F(ObjectRegistryTest, ReplacingAnObjectInUseDetachesItUntilTheReleasePass) {
  fx.Call("CreateWidget", {1});
  ASSERT_EQ(fx.Call("UseWidget", {1, 1}).error, ERR_NONE);
  Widget* old = Numbered(1);
  ASSERT_EQ(fx.Call("CreateWidget", {1}).error, ERR_NONE);

  EXPECT_EQ(data().freed, 0);  // still shown by its user
  EXPECT_EQ(old->number, 0);
  EXPECT_EQ(old->handle, old);
  EXPECT_TRUE(old->release_pending);
  EXPECT_NE(Numbered(1), old);
  EXPECT_EQ(Count(), 1);
  EXPECT_EQ(fx.Call("GetObjectType", {Arg::Handle(old)}).number(0), -1);

  EXPECT_EQ(ReleasePass(fx.state()), 0u);  // still in use
  old->users = 0;                          // the layer goes away
  EXPECT_EQ(ReleasePass(fx.state()), 1u);
  EXPECT_EQ(data().freed, 1);
  EXPECT_EQ(Count(), 1);
}

TEST_F(ObjectRegistryTest, FreeingAnObjectInUseDefersIt) {
  fx.Call("CreateWidget", {2});
  fx.Call("UseWidget", {2, 1});
  Widget* widget = Numbered(2);
  EXPECT_EQ(fx.Call("FreeWidget", {2}).error, ERR_NONE);
  EXPECT_EQ(data().freed, 0);
  EXPECT_EQ(fx.Call("HaveObject", {kTypeBrush, 2}).number(0), 0);
  EXPECT_EQ(fx.Call("FreeWidget", {2}).error, ERR_FINDBRUSH);
  widget->users = 0;
  ReleasePass(fx.state());
  EXPECT_EQ(data().freed, 1);
}

TEST_F(ObjectRegistryTest, LockedObjectsCannotBeReplacedOrFreed) {
  fx.Call("CreateWidget", {1});
  ASSERT_EQ(fx.Call("LockWidget", {1}).error, ERR_NONE);
  const CallResult replaced = fx.Call("CreateWidget", {1});
  EXPECT_EQ(replaced.error, ERR_LOCKEDOBJ);
  EXPECT_EQ(replaced.message, "Cannot modify object while it is locked!");
  EXPECT_EQ(fx.Call("FreeWidget", {1}).error, ERR_LOCKEDOBJ);
  EXPECT_EQ(fx.Call("UseWidget", {1, 1}).error, ERR_NONE);  // reading is allowed
  EXPECT_EQ(data().freed, 0);
}

TEST_F(ObjectRegistryTest, MissingObjectsByNumberAndByHandle) {
  const CallResult by_number = fx.Call("FreeWidget", {9});
  EXPECT_EQ(by_number.error, ERR_FINDBRUSH);
  EXPECT_EQ(by_number.message, "Could not find brush 9!");
  int stranger = 0;
  const CallResult by_handle = fx.Call("FreeWidget", {Arg::Handle(&stranger)});
  EXPECT_EQ(by_handle.error, ERR_FINDARRAY);
  EXPECT_EQ(by_handle.message, "Requested object not found!");
  EXPECT_EQ(fx.Call("CreateWidget", {"one"}).error, ERR_NUMEXPECTED);
  EXPECT_EQ(fx.Call("FreeWidget", {kNil}).error, ERR_FINDBRUSH);  // Nil reads as number 0
}

TEST_F(ObjectRegistryTest, ShutdownFreesEveryObjectAndItsData) {
  fx.Call("CreateWidget", {1});
  fx.Call("CreateWidget", {kNil});
  ASSERT_EQ(fx.Call("SetObjectData", {kTypeBrush, 1, "tag", Arg::List({1})}).error, ERR_NONE);
  const int ref = Numbered(1)->data.items().at(0).ref;
  WidgetData& widgets = data();
  int freed_before = widgets.freed;
  fx.runtime().objects().FreeAll(fx.state());
  EXPECT_EQ(widgets.freed - freed_before, 2);
  // The item's registry slot was released: the next reference takes it again.
  PushNumber(fx.state(), 1);
  EXPECT_EQ(RegistryRef(fx.state()), ref);
}

}  // namespace
}  // namespace tembrovia
