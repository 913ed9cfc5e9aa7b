// The instruction set: arithmetic and comparison rules, table access, concatenation, loops,
// constructors, subroutines, closures and the stop flag.
#include <cmath>
#include <string>

#include "vm_fixture.h"

namespace tembrovia {
namespace {

class InterpreterTest : public VmTest {
 protected:
  // Runs a case of a table: the expected error, or else the expected first result.
  void ExpectOutcome(const std::string& text, ErrorCode error, double result, const std::string& label) {
    SetTop(L, 0);
    ErrorCode status = Run(text, {}, 1);
    EXPECT_EQ(status, error) << label;
    if (status == ERR_NONE && error == ERR_NONE) {
      EXPECT_EQ(ToNumber(L, -1), result) << label;
    }
  }
};

// One operation on two literal operands: for arithmetic the result, for comparisons
// (with A = 1) 1 when the comparison holds.
struct OperandCase {
  const char* op;
  const char* left;
  const char* right;
  double result;
  ErrorCode error = ERR_NONE;
};

TEST_F(InterpreterTest, ArithmeticAndBitwiseRules) {
  const OperandCase cases[] = {
      {"add", "1", "2", 3},
      {"add", "nil", "1", 1},
      {"add", "\"10\"", "1", 11},
      {"add", "\"abc\"", "1", 0, ERR_WRONGOP},
      {"sub", "\"0x10\"", "\"$1\"", 15},
      {"mul", "1.5", "4", 6},
      {"div", "7", "2", 3.5},
      {"div", "7", "0", 0, ERR_ZERODIVISION},
      {"div", "nil", "nil", 0, ERR_ZERODIVISION},
      {"intdiv", "7.5", "2", 3},
      {"intdiv", "-7", "2", -3},
      {"intdiv", "7", "0.5", 0, ERR_ZERODIVISION},
      {"intdiv", "-2147483648", "-1", 2147483648.0},
      {"intdiv", "1e20", "1", 2147483647},
      {"mod", "-7", "3", -1},
      {"mod", "5", "0.5", 0, ERR_ZERODIVISION},
      {"mod", "-2147483648", "-1", 0},
      {"shl", "1", "31", 2147483648.0},
      {"shl", "1", "32", 1},
      {"shr", "-1", "28", 15},
      {"bitor", "-1", "0", 4294967295.0},
      {"bitand", "0xFF0", "0x0FF", 0xF0},
      {"bitxor", "5", "3", 6},
      {"bitor", "4294967296", "1", 1},
      {"pow", "2", "10", 1024},
  };
  for (const OperandCase& c : cases) {
    ExpectOutcome(std::string(c.op) + " r0, " + c.left + ", " + c.right + "\nreturn r0, 2\n", c.error, c.result,
                  std::string(c.op) + " " + c.left + " " + c.right);
  }
}

TEST_F(InterpreterTest, UnaryRules) {
  EXPECT_EQ(RunNumber("loadconst r1, 0\nbitnot r0, r1\nreturn r0, 2"), 4294967295.0);
  double negatedNil = RunNumber("clearrange r1, r1\nnegate r0, r1\nreturn r0, 2");
  EXPECT_EQ(negatedNil, 0);
  EXPECT_TRUE(std::signbit(negatedNil));
  struct Case {
    const char* load;
    double expected;
  } cases[] = {{"clearrange r1, r1", 1}, {"loadconst r1, 0", 1},  {"loadconst r1, \"\"", 1},
               {"loadconst r1, 2", 0},   {"loadconst r1, \"0\"", 0}, {"maketable r1, 0, 0", 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(RunNumber(std::string(c.load) + "\nlogicnot r0, r1\nreturn r0, 2"), c.expected) << c.load;
  }
}

TEST_F(InterpreterTest, ComparisonRules) {
  const OperandCase cases[] = {
      {"ifequal", "1", "1", 1},
      {"ifequal", "nil", "0", 1},
      {"ifequal", "nil", "\"\"", 1},
      {"ifequal", "nil", "1", 0},
      {"ifequal", "\"a\"", "\"a\"", 1},
      {"ifequal", "1", "\"1\"", 0, ERR_NUMSTRCMP},
      {"ifequal", "\"1\"", "1", 0, ERR_NUMSTRCMP},
      {"ifless", "nil", "5", 1},
      {"ifless", "-5", "nil", 1},
      {"ifless", "nil", "nil", 0},
      {"ifless", "nil", "\"a\"", 0},
      {"ifless", "\"abc\"", "\"abd\"", 1},
      {"ifless", "\"ab\"", "\"abc\"", 1},
      {"ifless", "\"a\\0b\"", "\"a\\x01\"", 1},
      {"ifless", "1", "\"2\"", 0, ERR_NUMSTRCMP},
      {"ifless", "\"2\"", "1", 0, ERR_NUMSTRCMP},
      {"iflessequal", "nil", "nil", 1},
      {"iflessequal", "nil", "\"\"", 0},
      {"iflessequal", "2", "2", 1},
      {"iflessequal", "\"b\"", "\"a\"", 0},
  };
  for (const OperandCase& c : cases) {
    ExpectOutcome(std::string(c.op) + " 1, " + c.left + ", " + c.right +
                      "\njump yes\nloadconst r0, 0\nreturn r0, 2\nyes: loadconst r0, 1\nreturn r0, 2\n",
                  c.error, c.result, std::string(c.op) + " " + c.left + " " + c.right);
  }
}

TEST_F(InterpreterTest, TablesCompareByIdentityOrHandlersOnly) {
  // A table against a number, and two tables ordered without handlers.
  EXPECT_EQ(Run("maketable r1, 0, 0\nifequal 1, r1, 1\njump x\nx: return r0, 1"), ERR_WRONGOP);
  EXPECT_EQ(Run("maketable r1, 0, 0\nmaketable r2, 0, 0\nifless 1, r1, r2\njump x\nx: return r0, 1"), ERR_WRONGOP);
  EXPECT_EQ(Run("maketable r1, 0, 0\nmaketable r2, 0, 0\niflessequal 1, r1, r2\njump x\nx: return r0, 1"),
            ERR_WRONGOP);
  // Two distinct tables without __eq are not equal (the jump is skipped: r0 = 1); a table
  // equals itself (the jump is taken: +10).
  EXPECT_EQ(RunNumber(R"(
    maketable r1, 0, 0
    maketable r2, 0, 0
    loadconst r0, 0
    ifequal 1, r1, r2
    jump no
    loadconst r0, 1
    no: ifequal 1, r1, r1
    jump yes
    return r0, 2
    yes: add r0, r0, 10
    return r0, 2
  )"), 11);
}

TEST_F(InterpreterTest, MetamethodsForArithmeticComparisonAndConcat) {
  // A metatable whose handlers return fixed markers; both operands share it.
  Register("setmetatable", [](VMState* L) {
    SetTop(L, 2);
    SetMetatable(L, 1);
    return 1;
  });
  const char* prelude = R"(
    .function add
      .params 2
      loadconst r0, 100
      return r0, 2
    .end
    .function lt
      .params 2
      loadconst r0, 1
      return r0, 2
    .end
    .function cat
      .params 2
      loadconst r0, "joined"
      return r0, 2
    .end
    maketable r0, 0, 2
    makeclosure r1, add
    writefield r0, "__add", r1
    makeclosure r1, lt
    writefield r0, "__lt", r1
    makeclosure r1, cat
    writefield r0, "__concat", r1
    maketable r2, 0, 0
    call SetMetatable, r2, r0
    maketable r3, 0, 0
    call SetMetatable, r3, r0
  )";
  EXPECT_EQ(RunNumber(std::string(prelude) + "add r4, r2, 5\nreturn r4, 2"), 100);
  EXPECT_EQ(Run(std::string(prelude) + "sub r4, r2, 5\nreturn r4, 2"), ERR_WRONGOP);
  EXPECT_EQ(RunNumber(std::string(prelude) +
                      "loadconst r4, 0\nifless 1, r2, r3\njump y\nreturn r4, 2\ny: loadconst r4, 1\nreturn r4, 2"),
            1);
  // <= falls back to not (r3 < r2) through __lt.
  EXPECT_EQ(RunNumber(std::string(prelude) +
                      "loadconst r4, 0\niflessequal 1, r2, r3\njump y\nreturn r4, 2\ny: loadconst r4, 1\nreturn r4, 2"),
            0);
  ASSERT_EQ(Run(std::string(prelude) + "loadconst r4, \"x\"\nmove r5, r2\njoin r4, r4, r5\nreturn r4, 2"), ERR_NONE);
  EXPECT_EQ(StringAt(-1), "joined");
}

TEST_F(InterpreterTest, ConcatenationConvertsNumbersAndNil) {
  ASSERT_EQ(Run(R"(
    loadconst r1, "a"
    loadconst r2, 1.5
    clearrange r3, r3
    loadconst r4, 100
    loadconst r5, ""
    join r0, r1, r5
    return r0, 2
  )"), ERR_NONE);
  EXPECT_EQ(StringAt(-1), "a1.5100");
  EXPECT_EQ(Run("loadconst r1, \"a\"\nmaketable r2, 0, 0\njoin r0, r1, r2\nreturn r0, 2"), ERR_CONCAT);
}

TEST_F(InterpreterTest, MissingFieldsAndUndefinedNames) {
  EXPECT_EQ(Run("maketable r1, 0, 0\nreadfield r0, r1, \"name\"\nreturn r0, 2"), ERR_FIELDINIT);
  EXPECT_EQ(host.errorText, "\"name\"");
  EXPECT_EQ(Run("maketable r1, 0, 0\nreadfield r0, r1, 3\nreturn r0, 2"), ERR_FIELDINIT);
  EXPECT_EQ(host.errorText, "3");
  EXPECT_EQ(Run("maketable r1, 0, 0\nreadfield r0, r1, 1e15\nreturn r0, 2"), ERR_FIELDINIT);
  EXPECT_EQ(host.errorText, "1e+15");
  // An undefined global reads as nil.
  ASSERT_EQ(Run("readglobal r0, \"undefined\"\nreturn r0, 2"), ERR_NONE);
  EXPECT_TRUE(IsNil(L, -1));
  // Indexing a non-table names the variable.
  EXPECT_EQ(Run("loadconst r1, 5\nwriteglobal r1, \"t\"\nreadglobal r1, \"t\"\nreadfield r0, r1, \"x\"\nreturn r0, 2"),
            ERR_TABLEDECLA);
  EXPECT_EQ(host.errorText, "t{}");
  EXPECT_EQ(Run("loadconst r1, 5\nwritefield r1, \"x\", 1\nreturn r0, 1"), ERR_TABLEDECLA);
}

TEST_F(InterpreterTest, IndexChainsThroughTablesAndStopsAtAHundred) {
  Register("setmetatable", [](VMState* L) {
    SetTop(L, 2);
    SetMetatable(L, 1);
    return 1;
  });
  // t -> mt.__index = fallback (a table with x = 7)
  EXPECT_EQ(RunNumber(R"(
    maketable r1, 0, 0
    maketable r2, 0, 0
    maketable r3, 0, 0
    writefield r3, "x", 7
    writefield r2, "__index", r3
    call SetMetatable, r1, r2
    readfield r0, r1, "x"
    return r0, 2
  )"), 7);
  // A table whose metatable is itself with __index = itself: a chain that never ends.
  EXPECT_EQ(Run(R"(
    maketable r1, 0, 0
    writefield r1, "__index", r1
    call SetMetatable, r1, r1
    method r2, r1, "missing"
    return r2, 2
  )"), ERR_INTERNAL1);
  EXPECT_EQ(host.errorText, "#1");
  EXPECT_EQ(Run(R"(
    maketable r1, 0, 0
    maketable r2, 0, 0
    writefield r2, "__index", "string"
    call SetMetatable, r1, r2
    loadconst r3, "string"
    readfield r0, r1, "x"
    return r0, 2
  )"), ERR_TABLEDECLA);
}

TEST_F(InterpreterTest, NewIndexHandlersAndTheKeyTheyLeave) {
  Register("setmetatable", [](VMState* L) {
    SetTop(L, 2);
    SetMetatable(L, 1);
    return 1;
  });
  Register("count", [](VMState* L) {
    int n = 0;
    PushNil(L);
    while (Next(L, 1)) {
      Pop(L, 1);
      ++n;
    }
    PushNumber(L, n);
    return 1;
  });
  // __newindex as a table: the store goes there; the original keeps a key with nil.
  EXPECT_EQ(RunNumber(R"(
    maketable r1, 0, 0
    maketable r2, 0, 0
    maketable r3, 0, 0
    writefield r2, "__newindex", r3
    call SetMetatable, r1, r2
    writefield r1, "x", 5
    readfield r0, r3, "x"
    return r0, 2
  )"), 5);
}

TEST_F(InterpreterTest, ConstructorsStoreFromKeyZeroInBatchesOf32) {
  std::string text = "maketable r0, 0, 0\n";
  for (int i = 0; i < 40; ++i) text += "loadconst r" + std::to_string(1 + i % 32) + ", " + std::to_string(i * 2) + "\n" +
                                       (i == 31 ? "storelist r0, 31\n" : "");
  text += "storelist r0, 39\n";  // 8 items (39 & 31 = 7) with base 32
  text += "return r0, 2\n";
  ASSERT_EQ(Run(text), ERR_NONE);
  for (int i = 0; i < 40; ++i) {
    RawGetI(L, -1, i);
    EXPECT_EQ(ToNumber(L, -1), i * 2) << i;
    Pop(L, 1);
  }
  RawGetI(L, -1, 40);
  EXPECT_TRUE(IsNil(L, -1));
}

TEST_F(InterpreterTest, OpenCallResultsFeedAConstructor) {
  Register("three", [](VMState* L) {
    PushNumber(L, 1);
    PushNumber(L, 2);
    PushNumber(L, 3);
    return 3;
  });
  ASSERT_EQ(Run(R"(
    maketable r0, 0, 0
    readglobal r1, "three"
    call r1, 1, 0
    storelisttop r0, 0
    return r0, 2
  )"), ERR_NONE);
  RawGetI(L, -1, 2);
  EXPECT_EQ(ToNumber(L, -1), 3);
}

TEST_F(InterpreterTest, NumericLoopWithNilLimitRunsWhileIndexIsAtMostZero) {
  EXPECT_EQ(RunNumber(R"(
    loadconst r0, 0     ; iterations
    loadconst r1, -3    ; index, one step before -2
    clearrange r2, r2   ; limit nil = 0
    loadconst r3, 1
    jump test
    body: add r0, r0, 1
    test: numloop r1, body
    return r0, 2
  )"), 3);  // -2, -1, 0
  EXPECT_EQ(Run("loadconst r0, \"x\"\nloadconst r1, 1\nloadconst r2, 1\nnumloop r0, 0\nreturn r0, 1"), ERR_VALUEEXPECTED);
  EXPECT_EQ(Run("loadconst r0, 1\nloadconst r1, \"a\"\nloadconst r2, 1\nnumloop r0, 0\nreturn r0, 1"), ERR_VALUEEXPECTED);
  // A numeric string limit converts and is written back.
  EXPECT_EQ(RunNumber("loadconst r0, 0\nloadconst r1, \"5\"\nloadconst r2, 1\nnumloop r0, 0\nreturn r1, 2"), 5);
}

TEST_F(InterpreterTest, GenericLoopOverATable) {
  Register("next", [](VMState* L) {
    SetTop(L, 2);
    if (Next(L, 1)) return 2;
    PushNil(L);
    return 1;
  });
  EXPECT_EQ(RunNumber(R"(
    maketable r5, 0, 0
    loadconst r6, 10
    loadconst r7, 20
    loadconst r8, 30
    storelist r5, 2
    loadconst r0, 0        ; sum of the values
    move r1, r5
    iterprep r1, test
    body: add r0, r0, r4
    test: iterloop r1, 0, 1
    jump body
    return r0, 2
  )"), 60);
}

TEST_F(InterpreterTest, SubroutinesAndTheReturnStack) {
  EXPECT_EQ(RunNumber(R"(
    loadconst r0, 1
    jump sub1, sub
    add r0, r0, 100
    return r0, 2
    sub1: mul r0, r0, 5
    return r0, 0, 1
  )"), 105);
  EXPECT_EQ(Run("return r0, 0, 1"), ERR_RETWOGOSUB);
  // Gosub to itself 4096 deep.
  EXPECT_EQ(Run("start: jump start, sub\nreturn r0, 1"), ERR_INTERNAL);
  EXPECT_EQ(GetSubroutineDepth(L), 4096);
}

TEST_F(InterpreterTest, ALabelJumpRequestRunsASubroutine) {
  Register("gosub", [](VMState* L) {
    // The label is four instructions after the call position.
    SetLabelJump(L, 4);
    return kLabelJump;
  });
  int before = GetSubroutineDepth(L);
  EXPECT_EQ(RunNumber(R"(
    loadconst r0, 1
    call Gosub
    add r0, r0, 1000
    return r0, 2
    add r0, r0, 10
    add r0, r0, 20
    label: add r0, r0, 100
    return r0, 0, 1
  )"), 1101);
  EXPECT_EQ(GetSubroutineDepth(L), before);
  // The repeating form comes back two instructions before the next one: the read of the
  // command and the call run again (the second time the command lets the script go on).
  static int calls = 0;
  calls = 0;
  Register("waitlabel", [](VMState* L) {
    if (++calls > 1) return 0;
    SetLabelJump(L, 2);
    return kLabelJumpRepeat;
  });
  EXPECT_EQ(RunNumber(R"(
    loadconst r0, 1
    call WaitLabel
    add r0, r0, 1000
    return r0, 2
    label: add r0, r0, 100
    return r0, 0, 1
  )"), 1101);
  EXPECT_EQ(calls, 2);
  Register("badjump", [](VMState* L) {
    SetLabelJump(L, 100);
    return kLabelJump;
  });
  EXPECT_EQ(Run("call BadJump\nreturn r0, 1"), ERR_FUNCJMP);
}

TEST_F(InterpreterTest, ClosuresShareUpvalues) {
  // counter() returns a closure over a local that each call increments.
  EXPECT_EQ(RunNumber(R"(
    .function counter
      .function step
        .upvalue "n"
        readupvalue r0, 0
        add r0, r0, 1
        writeupvalue r0, 0
        return r0, 2
      .end
      loadconst r0, 0
      makeclosure r1, step
      move r0, r0
      return r1, 2
    .end
    makeclosure r0, counter
    call r0, 1, 2
    move r1, r0
    call r1, 1, 1
    move r1, r0
    call r1, 1, 1
    move r1, r0
    call r1, 1, 2
    return r1, 2
  )"), 3);
}

TEST_F(InterpreterTest, VariableArgumentsArriveInTheArgTable) {
  ASSERT_EQ(Run(R"(
    .params 1
    .vararg
    return r1, 2
  )", {7, 8, 9, 10}), ERR_NONE);
  ASSERT_TRUE(IsTable(L, -1));
  for (int i = 0; i < 3; ++i) {
    RawGetI(L, -1, i);
    EXPECT_EQ(ToNumber(L, -1), 8 + i);
    Pop(L, 1);
  }
  GetField(L, -1, "n");
  EXPECT_EQ(ToNumber(L, -1), 3);
}

TEST_F(InterpreterTest, TailCallsReplaceTheFrame) {
  // A tail-recursive countdown far deeper than the frame limit.
  EXPECT_EQ(RunNumber(R"(
    .function down
      .params 1
      ifequal 1, r0, 0
      jump done
      sub r0, r0, 1
      readglobal r1, "down"
      move r2, r0
      callreturn r1, 2, 0
      return r1, 0
      done: loadconst r0, 42
      return r0, 2
    .end
    makeclosure r0, down
    writeglobal r0, "down"
    loadconst r1, 100000
    callreturn r0, 2, 0
    return r0, 0
  )"), 42);
}

TEST_F(InterpreterTest, DeepRecursionFailsWithStackOverflow) {
  EXPECT_EQ(Run(R"(
    .function deep
      readglobal r0, "deep"
      call r0, 1, 1
      return r0, 1
    .end
    makeclosure r0, deep
    writeglobal r0, "deep"
    call r0, 1, 1
    return r0, 1
  )"), ERR_STACK);
  // The state is usable again afterwards.
  EXPECT_EQ(RunNumber("loadconst r0, 5\nreturn r0, 2"), 5);
}

TEST_F(InterpreterTest, TheStopFlagEndsTheScriptAtTheNextInstruction) {
  Register("stop", [](VMState* L) {
    SetStopFlag(L);
    return 0;
  });
  ASSERT_EQ(Run(R"(
    loadconst r0, 1
    writeglobal r0, "reached"
    call Stop
    loadconst r0, 2
    writeglobal r0, "reached"
    return r0, 2
  )"), ERR_NONE);
  EXPECT_EQ(GetTop(L), 0) << "an abandoned script returns nothing";
  GetGlobal(L, "reached");
  EXPECT_EQ(ToNumber(L, -1), 1);
}

TEST_F(InterpreterTest, AbandonCasesReturnNothing) {
  ASSERT_EQ(Run("loadconst r0, 1\nstorelist r0, 0\nreturn r0, 2"), ERR_NONE);
  EXPECT_EQ(GetTop(L), 0);
  ASSERT_EQ(Run("maketable r1, 0, 0\nmethod r0, r1, 5\nreturn r0, 2"), ERR_NONE);
  EXPECT_EQ(GetTop(L), 0);
}

TEST_F(InterpreterTest, MakeTableSizesAreCapped) {
  EXPECT_EQ(Run("maketable r0, 0, 30\nreturn r0, 2"), ERR_TABLEOVERFLOW);
  EXPECT_EQ(Run("maketable r0, 511, 0\nreturn r0, 2"), ERR_TABLEOVERFLOW);
  ASSERT_EQ(Run("maketable r0, 0x19, 3\nreturn r0, 2"), ERR_NONE);  // 1 << 3 slots, 8 nodes
}

}  // namespace
}  // namespace tembrovia
