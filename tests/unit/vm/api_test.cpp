// The embedding interface: stack manipulation, conversions, tables, metatables,
// references and registry fields.
#include <string>

#include "vm_fixture.h"

namespace tembrovia {
namespace {

class ApiTest : public VmTest {};

TEST_F(ApiTest, StackManipulation) {
  for (int i = 1; i <= 4; ++i) PushNumber(L, i);  // 1 2 3 4
  PushValue(L, 2);                                 // 1 2 3 4 2
  Remove(L, 1);                                    // 2 3 4 2
  Insert(L, 1);                                    // 2 2 3 4
  Replace(L, 3);                                   // 2 2 4
  ASSERT_EQ(GetTop(L), 3);
  EXPECT_EQ(ToNumber(L, 1), 2);
  EXPECT_EQ(ToNumber(L, 2), 2);
  EXPECT_EQ(ToNumber(L, 3), 4);
  EXPECT_EQ(Type(L, 4), TagNone);
  SetTop(L, 5);
  EXPECT_TRUE(IsNil(L, 5));
  SetTop(L, -3);
  EXPECT_EQ(GetTop(L), 3);
  EXPECT_TRUE(CheckStack(L, 100));
  EXPECT_FALSE(CheckStack(L, 3000));
}

TEST_F(ApiTest, QueriesAndConversions) {
  PushNil(L);
  PushString(L, "12");
  PushString(L, "x");
  PushNumber(L, 1e15);
  PushBoolean(L, false);
  EXPECT_TRUE(IsNumber(L, 1)) << "nil counts as a number";
  EXPECT_TRUE(IsNumber(L, 2));
  EXPECT_FALSE(IsNumber(L, 3));
  EXPECT_TRUE(IsString(L, 4));
  EXPECT_EQ(ToNumber(L, 2), 12);
  EXPECT_EQ(ToNumber(L, 3), 0);
  EXPECT_EQ(std::string(ToString(L, 4)), "1e+15");
  EXPECT_EQ(Type(L, 4), TagString) << "converted in place";
  EXPECT_EQ(std::string(ToString(L, 1)), "");
  EXPECT_FALSE(ToBoolean(L, 5));
  PushNumber(L, 0);
  EXPECT_TRUE(ToBoolean(L, -1)) << "0 is true here";
  EXPECT_EQ(ToString(L, 5), nullptr);
  EXPECT_STREQ(TypeName(Type(L, 5)), "boolean");
  EXPECT_STREQ(TypeName(TagLightUserdata), "userdata");
  PushLString(L, "a\0b", 3);
  EXPECT_EQ(StrLen(L, -1), 3u);
}

TEST_F(ApiTest, EqualityAndOrderThroughTheInterface) {
  PushNumber(L, 1);
  PushString(L, "1");
  PushNil(L);
  PushNumber(L, 0);
  EXPECT_FALSE(Equal(L, 1, 2)) << "different types are not equal";
  EXPECT_FALSE(Equal(L, 3, 4)) << "nil against 0 differs in type here";
  EXPECT_TRUE(RawEqual(L, 1, 1));
  EXPECT_TRUE(LessThan(L, 3, 1));
  SetTop(L, 0);
  PushNumber(L, 1);
  PushString(L, "1");
  GetGlobal(L, "undefined");
  PushNativeFunction(L, [](VMState* L) -> int { return LessThan(L, 1, 2) ? 1 : 0; });
  Insert(L, 1);
  SetTop(L, 3);
  EXPECT_EQ(ProtectedCall(L, 2, 0), ERR_NUMSTRCMP);
}

TEST_F(ApiTest, TablesAndIteration) {
  NewTable(L);
  PushString(L, "v");
  SetField(L, 1, "k");
  PushNumber(L, 10);
  RawSetI(L, 1, 0);
  PushNumber(L, 11);
  RawSetI(L, 1, 1);
  GetField(L, 1, "k");
  EXPECT_EQ(StringAt(-1), "v");
  Pop(L, 1);
  int count = 0;
  double sum = 0;
  PushNil(L);
  while (Next(L, 1)) {
    ++count;
    if (Type(L, -1) == TagNumber) sum += ToNumber(L, -1);
    Pop(L, 1);
  }
  EXPECT_EQ(count, 3);
  EXPECT_EQ(sum, 21);
  EXPECT_EQ(GetTop(L), 1);
  PushString(L, "k");
  RawGet(L, 1);
  EXPECT_EQ(StringAt(-1), "v");
}

TEST_F(ApiTest, MetatablesOfTablesAndUserdata) {
  NewTable(L);
  EXPECT_EQ(GetMetatable(L, 1), 0) << "the default metatable counts as none";
  NewTable(L);
  EXPECT_EQ(SetMetatable(L, 1), 1);
  EXPECT_EQ(GetMetatable(L, 1), 1);
  Pop(L, 1);
  PushNil(L);
  EXPECT_EQ(SetMetatable(L, 1), 1);
  EXPECT_EQ(GetMetatable(L, 1), 0);
  PushNumber(L, 5);
  NewTable(L);
  EXPECT_EQ(SetMetatable(L, -2), 0) << "numbers take no metatable";
  void* block = NewUserdata(L, 24);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(ToUserdata(L, -1), block);
  EXPECT_TRUE(IsUserdata(L, -1));
  PushLightUserdata(L, &block);
  EXPECT_EQ(ToUserdata(L, -1), &block);
  EXPECT_EQ(Type(L, -1), TagLightUserdata);
}

TEST_F(ApiTest, ReferencesReuseReleasedKeys) {
  PushString(L, "a");
  int a = RegistryRef(L);
  PushString(L, "b");
  int b = RegistryRef(L);
  EXPECT_EQ(a, 3);
  EXPECT_EQ(b, 4);
  PushNil(L);
  EXPECT_EQ(RegistryRef(L), kNoRef);
  RegistryUnref(L, a);
  PushString(L, "c");
  EXPECT_EQ(RegistryRef(L), a);
  PushRegistryRef(L, a);
  EXPECT_EQ(StringAt(-1), "c");
  PushRegistryRef(L, b);
  EXPECT_EQ(StringAt(-1), "b");
  EXPECT_EQ(GetTop(L), 2);
}

TEST_F(ApiTest, RegistryFieldsAndNativeUpvalues) {
  int marker = 0;
  SetRegistryPointer(L, "applet", &marker);
  SetRegistryString(L, "script", ":none:");
  SetRegistryNumber(L, "beginline", 12);
  EXPECT_EQ(GetRegistryPointer(L, "applet"), &marker);
  EXPECT_EQ(GetRegistryPointer(L, "missing"), nullptr);
  EXPECT_EQ(GetRegistryString(L, "script"), ":none:");
  EXPECT_EQ(GetRegistryNumber(L, "beginline", -1), 12);
  EXPECT_EQ(GetRegistryNumber(L, "missing", -1), -1);

  PushNumber(L, 7);
  PushString(L, "up");
  PushNativeClosure(L, [](VMState* L) {
    PushValue(L, UpvalueIndex(1));
    PushValue(L, UpvalueIndex(2));
    PushValue(L, UpvalueIndex(3));
    return 3;
  }, 2);
  EXPECT_EQ(GetTop(L), 1);
  ASSERT_EQ(Call(L, 0, 3), ERR_NONE);
  EXPECT_EQ(ToNumber(L, 1), 7);
  EXPECT_EQ(StringAt(2), "up");
  EXPECT_TRUE(IsNil(L, 3));
}

TEST_F(ApiTest, ConcatAndEnvironments) {
  PushString(L, "a");
  PushNumber(L, 2);
  PushNil(L);
  Concat(L, 3);
  EXPECT_EQ(GetTop(L), 1);
  EXPECT_EQ(StringAt(1), "a2");
  Concat(L, 0);
  EXPECT_EQ(StringAt(-1), "");
  SetTop(L, 0);
  ASSERT_EQ(Load("readglobal r0, \"x\"\nreturn r0, 2"), ERR_NONE);
  NewTable(L);
  PushNumber(L, 99);
  SetField(L, -2, "x");
  EXPECT_EQ(SetEnvironment(L, 1), 1);
  ASSERT_EQ(ProtectedCall(L, 0, 1), ERR_NONE);
  EXPECT_EQ(ToNumber(L, -1), 99);
}

}  // namespace
}  // namespace tembrovia
