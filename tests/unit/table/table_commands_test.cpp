// The table, iteration and type commands through the VM.
#include <algorithm>
#include <string>
#include <vector>

#include "support/command_fixture.h"
#include "table/generic_for.h"

namespace tembrovia {
namespace {

using TableCommandsTest = CommandTest;

// The items 0..n-1 of the global `name`, as text ("a b c").
std::string Items(CommandFixture& fx, const char* name) {
  const ScriptValue list = fx.Global(name);
  std::string text;
  for (size_t i = 0; i < list.ItemCount(); ++i) {
    const ScriptValue& item = *list.Item(static_cast<double>(i));
    if (i > 0) text += ' ';
    text += item.type == TagString ? item.text : std::to_string(static_cast<int>(item.number));
  }
  return text;
}

Arg Numbers(std::vector<double> values) {
  std::vector<Arg> items(values.begin(), values.end());
  return Arg::List(std::move(items));
}

TEST_F(TableCommandsTest, ItemsEndAtTheFirstNil) {
  const Arg holey = Arg::Table({{0, "a"}, {1, "b"}, {3, "d"}});
  EXPECT_EQ(fx.Call("ListItems", {holey}).number(0), 2);
  EXPECT_EQ(fx.Call("Unpack", {holey}).count(), 2u);
  fx.SetGlobal("t", holey);
  fx.Call("InsertItem", {Arg::Global("t"), "c"});
  EXPECT_EQ(Items(fx, "t"), "a b c d");
  EXPECT_EQ(fx.Call("ListItems", {Arg::Table({{1, "x"}})}).number(0), 0);
  EXPECT_EQ(fx.Call("ListItems", {"x"}).error, ERR_TABEXPECTED);
}

TEST_F(TableCommandsTest, InsertAndRemove) {
  struct Case {
    const char* command;
    std::vector<Arg> extra;
    std::string after;
    std::string removed;
  };
  const Case cases[] = {
      {"InsertItem", {"v", 0}, "v a b c", ""},
      {"InsertItem", {"v", 1}, "a v b c", ""},
      {"InsertItem", {"v", 10}, "a b c v", ""},
      {"InsertItem", {"v", -5}, "a b c v", ""},
      {"InsertItem", {"v"}, "a b c v", ""},
      {"RemoveItem", {}, "a b", "c"},
      {"RemoveItem", {0}, "b c", "a"},
      {"RemoveItem", {1}, "a c", "b"},
      {"RemoveItem", {7}, "a b", "c"},
  };
  for (const Case& c : cases) {
    fx.SetGlobal("t", Arg::List({"a", "b", "c"}));
    std::vector<Arg> args{Arg::Global("t")};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    const CallResult r = fx.Call(c.command, args);
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(Items(fx, "t"), c.after) << c.command;
    if (!c.removed.empty()) {
      EXPECT_EQ(r.string(0), c.removed);
    }
    EXPECT_EQ(fx.Global("t").keys.size(), c.after.size() / 2 + 1) << "no stale item is left";
  }
  EXPECT_EQ(fx.Call("RemoveItem", {Arg::List({})}).count(), 0u);
}

TEST_F(TableCommandsTest, UnpackGivesEveryItem) {
  const CallResult r = fx.Call("Unpack", {Arg::List({"a", 2, Arg::List({})})});
  ASSERT_EQ(r.count(), 3u);
  EXPECT_EQ(r.string(0), "a");
  EXPECT_EQ(r.number(1), 2);
  EXPECT_EQ(r.value(2).type, TagTable);
  // More items than a command may return (or the stack hold) fail instead of misreading.
  std::vector<double> many(1500, 1.0);
  EXPECT_EQ(fx.Call("Unpack", {Numbers(many)}).error, ERR_STACK);
}

TEST_F(TableCommandsTest, Concat) {
  const Arg list = Numbers({1, 2, 3});
  EXPECT_EQ(fx.Call("Concat", {list, ", "}).string(0), "1, 2, 3");
  EXPECT_EQ(fx.Call("Concat", {list}).string(0), "123");
  EXPECT_EQ(fx.Call("Concat", {list, ", ", 1, 1}).string(0), "2");
  EXPECT_EQ(fx.Call("Concat", {list, "-", 1}).string(0), "2-3");
  EXPECT_EQ(fx.Call("Concat", {list, "-", 2, 1}).string(0), "");
  EXPECT_EQ(fx.Call("Concat", {Arg::List({})}).string(0), "");
  EXPECT_EQ(fx.Call("Concat", {Arg::List({"a", 1.5})}).string(0), "a1.5");
  EXPECT_EQ(fx.Call("Concat", {Arg::List({"a", Arg::List({})})}).error, ERR_STRINGEXPECTED);
  EXPECT_EQ(fx.Call("Concat", {list, "", 0, 5}).error, ERR_STRINGEXPECTED);
  EXPECT_EQ(fx.Call("Concat", {list, "", 0, 5}).message, "String expected!");
}

TEST_F(TableCommandsTest, SortWithoutComparator) {
  struct Case {
    Arg list;
    std::string sorted;
  };
  const Case cases[] = {
      {Arg::List({"b", "A", "c"}), "A b c"},
      {Numbers({5, 3, 9, 1, 7, 2, 8, 6, 4, 0}), "0 1 2 3 4 5 6 7 8 9"},
      {Arg::List({"b", "a", "", "0"}), "a b  0"},  // the count stops at the empty string
      {Arg::List({"ab", "a", "\xE4", "\xC4" "a"}), "a ab \xE4 \xC4" "a"},
      {Numbers({2, 1}), "1 2"},
      {Numbers({}), ""},
  };
  for (const Case& c : cases) {
    fx.SetGlobal("t", c.list);
    const CallResult r = fx.Call("Sort", {Arg::Global("t")});
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.count(), 0u);
    EXPECT_EQ(Items(fx, "t"), c.sorted);
  }
  EXPECT_EQ(fx.Call("Sort", {Arg::List({1, "a"})}).error, ERR_NUMSTRCMP);
}

int Descending(VMState* state) {
  PushNumber(state, ToNumber(state, 1) > ToNumber(state, 2) ? 1 : 0);
  return 1;
}

int TextBefore(VMState* state) {
  PushNumber(state, std::string(ToString(state, 1)) < ToString(state, 2) ? 1 : 0);
  return 1;
}

int AlwaysBefore(VMState* state) {
  PushNumber(state, 1);
  return 1;
}

TEST_F(TableCommandsTest, SortWithAComparator) {
  fx.SetGlobal("t", Numbers({3, 1, 4, 1, 5, 9, 2, 6, 5, 3, 5}));
  ASSERT_TRUE(fx.Call("Sort", {Arg::Global("t"), Arg::Function(Descending)}).ok());
  EXPECT_EQ(Items(fx, "t"), "9 6 5 5 5 4 3 3 2 1 1");
  // The comparator sees every item, empty strings included.
  fx.SetGlobal("t", Arg::List({"", "b", "a"}));
  ASSERT_TRUE(fx.Call("Sort", {Arg::Global("t"), Arg::Function(TextBefore)}).ok());
  EXPECT_EQ(Items(fx, "t"), " a b");
  EXPECT_EQ(fx.Call("Sort", {Arg::Global("t"), kNil}).error, ERR_FUNCEXPECTED);
  EXPECT_EQ(fx.Call("Sort", {Numbers({4, 3, 2, 1}), Arg::Function(AlwaysBefore)}).error, ERR_SORTFUNC);
  EXPECT_EQ(fx.Call("Sort", {Numbers({1}), 5}).error, ERR_FUNCEXPECTED);
}

TEST(TableCommands, AFailingComparatorIsSortsErrorAndLeavesTheStopFlag) {
  CommandFixture fx;
  fx.SetGlobal("t", Arg::List({3, 1, 2}));
  ASSERT_TRUE(fx.Run(R"(
        makeclosure r0, compare
        writeglobal r0, "compare"
        return r0, 1
    .function compare
        .params 2
        call Error, "comparator failed"
        return r0, 1
    .end
  )").ok());
  const CallResult failed = fx.Call("Sort", {Arg::Global("t"), Arg::Global("compare")});
  EXPECT_EQ(failed.error, ERR_ERRORCALLED);
  EXPECT_EQ(failed.message, "comparator failed");
  EXPECT_FALSE(GetStopFlag(fx.state()));
  EXPECT_EQ(GetCallbackDepth(fx.state()), 0);
}

TEST_F(TableCommandsTest, CopyTableCopiesNestedTables) {
  fx.SetGlobal("inner", Arg::List({"x"}));
  fx.SetGlobal("t", Arg::Table({{"a", 1}, {"sub", Arg::Global("inner")}, {Arg::Global("inner"), "key"}}));
  const ScriptValue copy = fx.Call("CopyTable", {Arg::Global("t")}).value(0);
  const ScriptValue inner = fx.Global("inner");
  EXPECT_NE(copy.pointer, fx.Global("t").pointer);
  EXPECT_EQ(copy.Field("a")->number, 1);
  const ScriptValue* sub = copy.Field("sub");
  ASSERT_NE(sub, nullptr);
  EXPECT_NE(sub->pointer, inner.pointer);
  EXPECT_EQ(sub->Item(0)->text, "x");
  // Keys are used as they are.
  bool key_kept = false;
  for (const ScriptValue& key : copy.keys) key_kept |= key.pointer == inner.pointer;
  EXPECT_TRUE(key_kept);
  // A table met twice is copied twice.
  fx.SetGlobal("shared", Arg::Table({{"p", Arg::Global("inner")}, {"q", Arg::Global("inner")}}));
  const ScriptValue twice = fx.Call("CopyTable", {Arg::Global("shared")}).value(0);
  EXPECT_NE(twice.Field("p")->pointer, twice.Field("q")->pointer);
}

TEST_F(TableCommandsTest, CopyTableOfATableThatContainsItselfFails) {
  VMState* state = fx.state();
  NewTable(state);
  NewTable(state);
  PushValue(state, -2);
  SetField(state, -2, "up");  // inner.up = outer
  SetField(state, -2, "down");  // outer.down = inner
  SetGlobal(state, "loop");
  EXPECT_EQ(fx.Call("CopyTable", {Arg::Global("loop")}).error, ERR_STACK);
  // So does nesting deeper than the stack allows.
  NewTable(state);
  for (int i = 0; i < 5000; ++i) {
    NewTable(state);
    Insert(state, -2);
    SetField(state, -2, "next");
  }
  SetGlobal(state, "deep");
  EXPECT_EQ(fx.Call("CopyTable", {Arg::Global("deep")}).error, ERR_STACK);
}

std::vector<std::string> g_visits;

int Visit(VMState* state) {
  g_visits.push_back(std::string(ToString(state, 1)) + "=" + ToString(state, 2));
  if (std::string(ToString(state, 2)) == "stop") {
    PushString(state, "stopped");
    return 1;
  }
  return 0;
}

int FailVisit(VMState*) { return ERR_WRONGUSAGE; }

TEST_F(TableCommandsTest, ForEachIAndForEach) {
  g_visits.clear();
  EXPECT_EQ(fx.Call("ForEachI", {Arg::List({"a", "b", "c"}), Arg::Function(Visit)}).count(), 0u);
  EXPECT_EQ(g_visits, (std::vector<std::string>{"0=a", "1=b", "2=c"}));
  g_visits.clear();
  const CallResult stopped = fx.Call("ForEachI", {Arg::List({"a", "stop", "c"}), Arg::Function(Visit)});
  EXPECT_EQ(stopped.string(0), "stopped");
  EXPECT_EQ(g_visits.size(), 2u);
  g_visits.clear();
  EXPECT_EQ(fx.Call("ForEach", {Arg::Table({{"k", "v"}, {0, "w"}}), Arg::Function(Visit)}).count(), 0u);
  std::sort(g_visits.begin(), g_visits.end());
  EXPECT_EQ(g_visits, (std::vector<std::string>{"0=w", "k=v"}));
  EXPECT_EQ(fx.Call("ForEach", {Arg::Table({{"k", "stop"}}), Arg::Function(Visit)}).string(0), "stopped");
  EXPECT_EQ(fx.Call("ForEach", {Arg::Table({{"k", 1}}), Arg::Function(FailVisit)}).error, ERR_WRONGUSAGE);
  EXPECT_EQ(fx.Call("ForEachI", {Arg::List({1}), Arg::Function(FailVisit)}).error, ERR_WRONGUSAGE);
  EXPECT_EQ(fx.Call("ForEach", {Arg::List({1}), 5}).error, ERR_FUNCEXPECTED);
}

std::string Loop(CommandFixture& fx, const char* iterator, const Arg& table) {
  return testing::GenericForOutput(fx, iterator, {table});
}

TEST_F(TableCommandsTest, PairsAndIPairsDriveGenericForLoops) {
  EXPECT_EQ(Loop(fx, "ipairs", Arg::Table({{0, "a"}, {1, "b"}, {3, "d"}, {"k", "v"}})), "0 a\n1 b\n");
  const std::string all = Loop(fx, "pairs", Arg::Table({{0, "a"}, {"k", "v"}}));
  EXPECT_TRUE(all == "0 a\nk v\n" || all == "k v\n0 a\n") << all;
  const CallResult triple = fx.Call("IPairs", {Arg::List({})});
  ASSERT_EQ(triple.count(), 3u);
  EXPECT_EQ(triple.value(0).pointer, fx.Global("ipairs").pointer);
  EXPECT_EQ(triple.number(2), -1);
  const CallResult step = fx.Call("IPairs", {Arg::List({"a", "b"}), kNil});
  EXPECT_EQ(step.number(0), 1);
  EXPECT_EQ(step.string(1), "b");
  EXPECT_EQ(fx.Call("IPairs", {Arg::List({"a", "b"}), 1}).count(), 0u);
  const CallResult pairs = fx.Call("Pairs", {Arg::List({})});
  ASSERT_EQ(pairs.count(), 3u);
  EXPECT_EQ(pairs.value(0).pointer, fx.Global("nextitem").pointer);
  EXPECT_TRUE(pairs.value(2).is_nil());
}

TEST_F(TableCommandsTest, NextItem) {
  fx.SetGlobal("t", Arg::Table({{"only", 7}}));
  const CallResult first = fx.Call("NextItem", {Arg::Global("t")});
  ASSERT_EQ(first.count(), 2u);
  EXPECT_EQ(first.string(0), "only");
  EXPECT_EQ(first.number(1), 7);
  const CallResult end = fx.Call("NextItem", {Arg::Global("t"), "only"});
  ASSERT_EQ(end.count(), 1u);
  EXPECT_TRUE(end.value(0).is_nil());
  EXPECT_EQ(fx.Call("NextItem", {Arg::Global("t"), "missing"}).error, ERR_INVNEXTKEY);
}

int Index(VMState* state) {
  PushString(state, "from __index");
  return 1;
}

TEST_F(TableCommandsTest, RawAccessAndMetatables) {
  VMState* state = fx.state();
  NewTable(state);
  NewTable(state);
  PushNativeFunction(state, Index);
  SetField(state, -2, "__index");
  SetMetatable(state, -2);
  SetGlobal(state, "t");
  EXPECT_TRUE(fx.Call("RawGet", {Arg::Global("t"), "x"}).value(0).is_nil());
  const CallResult set = fx.Call("RawSet", {Arg::Global("t"), "x", 5});
  EXPECT_EQ(set.value(0).pointer, fx.Global("t").pointer);
  EXPECT_EQ(fx.Call("RawGet", {Arg::Global("t"), "x"}).number(0), 5);
  EXPECT_EQ(fx.Call("RawEqual", {Arg::Global("t"), Arg::Global("t")}).number(0), 1);
  EXPECT_EQ(fx.Call("RawEqual", {Arg::List({}), Arg::List({})}).number(0), 0);
  EXPECT_EQ(fx.Call("RawEqual", {"a", "a"}).number(0), 1);

  EXPECT_TRUE(fx.Call("GetMetaTable", {Arg::List({})}).value(0).is_nil());
  EXPECT_EQ(fx.Call("GetMetaTable", {Arg::Global("t")}).value(0).Field("__index")->type, TagFunction);
  fx.SetGlobal("plain", Arg::List({}));
  fx.SetGlobal("guard", Arg::Table({{"__metatable", "locked"}}));
  EXPECT_EQ(fx.Call("SetMetaTable", {Arg::Global("plain"), Arg::Global("guard")}).value(0).pointer,
            fx.Global("plain").pointer);
  EXPECT_EQ(fx.Call("GetMetaTable", {Arg::Global("plain")}).string(0), "locked");
  EXPECT_EQ(fx.Call("SetMetaTable", {Arg::Global("plain"), kNil}).error, ERR_PROTMETATABLE);
  EXPECT_EQ(fx.Call("SetMetaTable", {Arg::Global("t"), 5}).error, ERR_TABLEORNIL);
  ASSERT_TRUE(fx.Call("SetMetaTable", {Arg::Global("t"), kNil}).ok());
  EXPECT_TRUE(fx.Call("GetMetaTable", {Arg::Global("t")}).value(0).is_nil());
}

TEST_F(TableCommandsTest, GetTypeAndIIf) {
  int anchor = 0;
  const std::pair<Arg, double> types[] = {
      {kNil, 0},   {1, 2},   {"s", 3}, {Arg::List({}), 4}, {Arg::Global("gettype"), 5},
      {Arg::Handle(&anchor), 9}, {true, 255},
  };
  for (const auto& [value, type] : types) EXPECT_EQ(fx.Call("GetType", {value}).number(0), type);
  EXPECT_EQ(fx.Call("GetConstant", {"#LIGHTUSERDATA"}).number(0), 9);

  struct Case {
    Arg condition;
    double result;
  };
  const Case cases[] = {{0, 2}, {"", 2}, {kNil, 2}, {"0", 1}, {-1, 1}, {0.5, 1}};
  for (const Case& c : cases) EXPECT_EQ(fx.Call("IIf", {c.condition, 1, 2}).number(0), c.result);
  EXPECT_EQ(fx.Call("IIf", {Arg::List({}), 1, 2}).error, ERR_WRONGDTYPE);
  EXPECT_EQ(fx.Call("IIf", {Arg::List({}), 1, 2}).message, "Wrong data type specified!");
}

}  // namespace
}  // namespace tembrovia
