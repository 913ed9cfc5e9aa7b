// Option tables: each helper reads one field of the table in argument 1; the probes return
// whether the field was set and the value (or the untouched default).
#include <string>

#include "common/latin1_case.h"
#include "lib/core/option_fields.h"
#include "support/command_fixture.h"

namespace tembrovia {
namespace {

constexpr double kDefault = -12345;

int NumberField(VMState* state) {
  double value = kDefault;
  const bool set = OptFieldNumber(state, 1, "width", &value);
  PushBoolean(state, set);
  PushNumber(state, value);
  return 2;
}

int IntegerField(VMState* state) {
  int32_t value = 99;
  const bool set = OptFieldInteger(state, 1, "width", &value);
  PushBoolean(state, set);
  PushNumber(state, value);
  return 2;
}

int StringField(VMState* state) {
  std::string value = "default";
  const bool set = OptFieldString(state, 1, "title", &value);
  PushBoolean(state, set);
  PushStringView(state, value);
  return 2;
}

template <bool AllowOver100>
int SizeField(VMState* state) {
  double value = kDefault;
  const bool set = OptFieldSize(state, 1, "width", AllowOver100, &value);
  PushBoolean(state, set);
  PushNumber(state, value);
  return 2;
}

int NumberOrPointerField(VMState* state) {
  NumberOrPointer value;
  const bool set = OptFieldNumberOrPointer(state, 1, "target", &value);
  PushBoolean(state, set);
  if (value.is_pointer) {
    PushLightUserdata(state, value.pointer);
  } else {
    PushNumber(state, value.number);
  }
  return 2;
}

int LayerField(VMState* state) {
  int32_t value = -1;
  const bool set = OptFieldLayer(state, 1, "layer", &value);
  PushBoolean(state, set);
  PushNumber(state, value);
  return 2;
}

// Stands in for the layers library: the current BGPic has layers "Sky" (1) and "Ground" (2).
bool FindTestLayer(VMState*, std::string_view name, int* number) {
  if (Latin1EqualNoCase(name, "sky")) {
    *number = 1;
  } else if (Latin1EqualNoCase(name, "ground")) {
    *number = 2;
  } else {
    return false;
  }
  return true;
}

class OptionFieldsTest : public CommandTest {
 protected:
  OptionFieldsTest() {
    fx.Register("NumberField", NumberField);
    fx.Register("IntegerField", IntegerField);
    fx.Register("StringField", StringField);
    fx.Register("SizeField", SizeField<false>);
    fx.Register("SizeOverField", SizeField<true>);
    fx.Register("NumberOrPointerField", NumberOrPointerField);
    fx.Register("LayerField", LayerField);
  }

  // Calls probe with a table holding {key = value}.
  CallResult With(const char* probe, const char* key, Arg value) {
    return fx.Call(probe, {Arg::Table({{key, std::move(value)}})});
  }
};

TEST_F(OptionFieldsTest, MissingAndNilFieldsLeaveTheDefault) {
  for (const char* probe : {"NumberField", "SizeField", "NumberOrPointerField"}) {
    const CallResult missing = fx.Call(probe, {Arg::Table({{"other", 5}})});
    EXPECT_FALSE(missing.value(0).boolean) << probe;
    const CallResult nil = With(probe, "width", kNil);
    EXPECT_FALSE(nil.value(0).boolean) << probe;
  }
  EXPECT_EQ(fx.Call("NumberField", {Arg::Table({})}).number(1), kDefault);
  EXPECT_EQ(fx.Call("StringField", {Arg::Table({})}).string(1), "default");
}

TEST_F(OptionFieldsTest, Numbers) {
  const CallResult set = With("NumberField", "width", 320);
  EXPECT_TRUE(set.value(0).boolean);
  EXPECT_EQ(set.number(1), 320);
  EXPECT_EQ(With("NumberField", "width", "$10").number(1), 16);
  EXPECT_EQ(With("IntegerField", "width", -7.8).number(1), -7);
  const CallResult bad = With("NumberField", "width", "wide");
  EXPECT_EQ(bad.error, ERR_NUMTABLEARG);
  EXPECT_EQ(bad.message, "Number expected in table argument \"width\"!");
  EXPECT_EQ(With("IntegerField", "width", Arg::List({})).error, ERR_NUMTABLEARG);
}

TEST_F(OptionFieldsTest, Strings) {
  EXPECT_EQ(With("StringField", "title", "Hello").string(1), "Hello");
  EXPECT_EQ(With("StringField", "title", 2.5).string(1), "2.5");
  const CallResult bad = With("StringField", "title", true);
  EXPECT_EQ(bad.error, ERR_STRTABLEARG);
  EXPECT_EQ(bad.message, "String expected in table argument \"title\"!");
}

TEST_F(OptionFieldsTest, SizesReturnPercentagesNegated) {
  struct Case {
    const char* probe;
    Arg value;
    ErrorCode error;
    double result;
  };
  const Case cases[] = {
      {"SizeField", 640, ERR_NONE, 640},
      {"SizeField", "480", ERR_NONE, 480},
      {"SizeField", "50%", ERR_NONE, -50},
      {"SizeField", "100%", ERR_NONE, -100},
      {"SizeField", "150%", ERR_PERCENTFORMATSTR, 0},
      {"SizeOverField", "150%", ERR_NONE, -150},
      {"SizeOverField", "-1%", ERR_PERCENTFORMATSTR, 0},
      {"SizeField", "abc", ERR_PERCENTFORMATSTR, 0},
      {"SizeField", "50px", ERR_PERCENTFORMATSTR, 0},
      {"SizeField", true, ERR_PERCENTFORMATSTR, 0},
  };
  for (const Case& c : cases) {
    const CallResult r = With(c.probe, "width", c.value);
    ASSERT_EQ(r.error, c.error) << r.message;
    if (c.error == ERR_NONE) {
      EXPECT_EQ(r.number(1), c.result);
    } else {
      EXPECT_EQ(r.message, "Invalid percent format in table argument \"width\"!");
    }
  }
}

TEST_F(OptionFieldsTest, NumberOrPointer) {
  int anchor = 0;
  EXPECT_EQ(With("NumberOrPointerField", "target", Arg::Handle(&anchor)).handle(1), &anchor);
  EXPECT_EQ(With("NumberOrPointerField", "target", 3).number(1), 3);
  EXPECT_EQ(With("NumberOrPointerField", "target", "x").error, ERR_NUMTABLEARG);
}

TEST_F(OptionFieldsTest, LayersByNumberOrName) {
  EXPECT_EQ(With("LayerField", "layer", 4).number(1), 4);
  const CallResult no_layers = With("LayerField", "layer", "Sky");
  EXPECT_EQ(no_layers.error, ERR_FINDLAYER);
  EXPECT_EQ(no_layers.message, "Cannot find layer \"Sky\" in current BGPic!");
  EXPECT_EQ(With("LayerField", "layer", true).error, ERR_WRONGUSAGE);

  fx.runtime().layer_hooks().find_layer_by_name = FindTestLayer;
  EXPECT_EQ(With("LayerField", "layer", "GROUND").number(1), 2);
  EXPECT_EQ(With("LayerField", "layer", "Sea").error, ERR_FINDLAYER);
}

}  // namespace
}  // namespace tembrovia
