#include "manifest.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>

#include "app/container/applet_writer.h"
#include "app/container/record_layout.h"
#include "common/latin1_case.h"
#include "common/number_literal.h"
#include "common/numeric_conversion.h"

namespace tembrovia {
namespace {

struct Token {
  std::string text;
  bool quoted = false;
};

struct ManifestError {
  std::string message;
};

// Words separated by blanks; "..." groups (with \" and \\), also right after "key=".
// A line whose first word begins with "#" is a comment.
std::vector<Token> Tokenize(std::string_view line) {
  std::vector<Token> tokens;
  size_t first = line.find_first_not_of(" \t\r");
  if (first != std::string_view::npos && line[first] == '#') return tokens;
  size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
      ++i;
      continue;
    }
    Token token;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
      if (line[i] != '"') {
        token.text += line[i++];
        continue;
      }
      token.quoted = true;
      ++i;
      while (i < line.size() && line[i] != '"') {
        if (line[i] == '\\' && i + 1 < line.size()) ++i;
        token.text += line[i++];
      }
      if (i >= line.size()) throw ManifestError{"unterminated quote"};
      ++i;
    }
    tokens.push_back(std::move(token));
  }
  return tokens;
}

double Number(const std::string& text) {
  NumberLiteral literal = ParseNumberLiteral(text.c_str());
  if (literal.error || static_cast<size_t>(literal.count) != text.size()) {
    throw ManifestError{"not a number: " + text};
  }
  return literal.value;
}

int32_t Int(const std::string& text) { return TruncToLow32Signed(Number(text)); }

bool IsNumber(const std::string& text) {
  NumberLiteral literal = ParseNumberLiteral(text.c_str());
  return !literal.error && static_cast<size_t>(literal.count) == text.size();
}

// A size in pixels, or "n%" stored as -n.
int32_t Size(const std::string& text) {
  if (!text.empty() && text.back() == '%') return -Int(text.substr(0, text.size() - 1));
  return Int(text);
}

// A fraction 0..1 as millionths.
int32_t Millionths(const std::string& text) {
  return static_cast<int32_t>(std::lround(Number(text) * 1e6));
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

bool IsPictureType(uint8_t type) {
  return type == kObjectBGPic || type == kObjectBrush || type == kObjectAnim ||
         type == kObjectSprite;
}

struct NamedValue {
  const char* name;
  int32_t value;
};

constexpr NamedValue kModes[] = {{"window", kDisplayModeWindow},
                                 {"fullscreen", kDisplayModeFullScreen},
                                 {"ownscreen", kDisplayModeOwnScreen},
                                 {"fakefullscreen", kDisplayModeFakeFullScreen}};

constexpr NamedValue kBackfills[] = {{"none", kBackfillNone},
                                     {"color", kBackfillColor},
                                     {"gradient", kBackfillGradient},
                                     {"texture", kBackfillTexture},
                                     {"picture", kBackfillPicture}};

template <size_t N>
int32_t Named(const NamedValue (&table)[N], const std::string& word) {
  for (const NamedValue& entry : table) {
    if (Latin1EqualNoCase(word, entry.name)) return entry.value;
  }
  return Int(word);
}

bool Switch(const std::string& word) {
  if (Latin1EqualNoCase(word, "on") || Latin1EqualNoCase(word, "yes")) return true;
  if (Latin1EqualNoCase(word, "off") || Latin1EqualNoCase(word, "no")) return false;
  return Int(word) != 0;
}

class ManifestReader {
 public:
  ManifestReader(const std::string& baseDirectory, const std::optional<std::vector<uint8_t>>& chunk)
      : baseDirectory_(baseDirectory), chunk_(chunk) {}

  void Line(const std::vector<Token>& tokens) {
    if (tokens.empty()) return;
    const std::string keyword = Latin1Lower(tokens[0].text);
    std::vector<Token> args(tokens.begin() + 1, tokens.end());
    if (GroupOf(keyword, args) != pendingKind_) Flush();
    if (!sawVersion_ && keyword != "version" && keyword != "chunk") {
      builder_.Version(kNewestAppletVersion);
      sawVersion_ = true;
    }

    if (keyword == "version") {
      Need(args, 1);
      std::vector<std::string> parts = Split(args[0].text, '.');
      if (parts.size() != 2) throw ManifestError{"version is written major.minor"};
      builder_.Version({Int(parts[0]), Int(parts[1])});
      sawVersion_ = true;
    } else if (keyword == "chunk") {
      Need(args, 1);
      manifestChunk_ = Load(args[0].text);
    } else if (keyword == "title") {
      Need(args, 1);
      builder_.Title(args[0].text);
    } else if (keyword == "size") {
      Need(args, 2);
      builder_.DisplaySize(Int(args[0].text), Int(args[1].text));
    } else if (keyword == "color") {
      Need(args, 1);
      builder_.DisplayColor(Int(args[0].text));
    } else if (keyword == "position") {
      Need(args, 2);
      builder_.DisplayPosition(Int(args[0].text), Int(args[1].text));
    } else if (keyword == "hostsize") {
      builder_.HostSize();
    } else if (keyword == "text") {
      Need(args, 2);
      int index = Int(args[0].text);
      if (index < 1 || index > kApplicationTextCount) throw ManifestError{"text index is 1..5"};
      builder_.ApplicationText(index - 1, args[1].text);
    } else if (keyword == "mode") {
      Need(args, 1);
      builder_.Mode(static_cast<uint8_t>(Named(kModes, args[0].text)));
    } else if (keyword == "backfill") {
      Backfill(args);
    } else if (keyword == "hidetitlebar") {
      Need(args, 1);
      builder_.HideTitleBar(static_cast<uint8_t>(Int(args[0].text)));
    } else if (keyword == "screensize") {
      Need(args, 2);
      builder_.ScreenSize(Int(args[0].text), Int(args[1].text));
    } else if (keyword == "depth") {
      Need(args, 1);
      builder_.ScreenDepth(static_cast<uint8_t>(Int(args[0].text)));
    } else if (keyword == "scaling") {
      Need(args, 3);
      bool smooth = args.size() > 3 && Latin1EqualNoCase(args[3].text, "smooth");
      builder_.Scaling(Latin1EqualNoCase(args[0].text, "layer"), Size(args[1].text),
                       Size(args[2].text), smooth);
    } else if (keyword == "locksettings") {
      builder_.LockSettings();
    } else if (keyword == "const") {
      Need(args, 2);
      // Scripts write "#NAME"; the container stores the name alone.
      std::string name = args[0].text;
      if (!name.empty() && name[0] == '#') name.erase(0, 1);
      UserConstant constant{name, args[1].quoted, "", 0};
      if (constant.isString) {
        constant.text = args[1].text;
      } else {
        constant.number = Number(args[1].text);
      }
      Pend(keyword).constants.push_back(constant);
    } else if (keyword == "label") {
      Need(args, 2);
      Pend(keyword).labels.push_back({args[0].text, Int(args[1].text)});
    } else if (keyword == "linemap") {
      Need(args, 4);
      LineMapEntry entry{Int(args[0].text), Int(args[1].text), Int(args[2].text), args[3].text,
                         args.size() > 4 ? args[4].text : ""};
      Pend(GroupOf(keyword, args)).lineMap.push_back(entry);
    } else if (IsLinkedFileLine(keyword, args)) {
      Need(args, 2);
      bool inDataArea = args.size() > 2 && Latin1EqualNoCase(args[2].text, "dataarea");
      Pend(keyword).files.push_back({args[0].text, Load(args[1].text), inDataArea});
    } else if (keyword == "raw") {
      Need(args, 1);
      std::vector<uint8_t> payload;
      for (size_t i = 1; i < args.size(); ++i) payload.push_back(static_cast<uint8_t>(Int(args[i].text)));
      builder_.RawSection(static_cast<uint8_t>(Int(args[0].text)), payload);
    } else if (const ObjectLayout* layout = FindObjectLayout(keyword.c_str())) {
      Pend("object").objects.push_back(Object(*layout, args));
    } else if (const StyleSection* style = FindStyle(keyword)) {
      Need(args, 1);
      builder_.StyleFlag(style->type, Switch(args[0].text));
    } else {
      throw ManifestError{"unknown keyword " + tokens[0].text};
    }
  }

  std::vector<uint8_t> Finish() {
    Flush();
    if (!sawVersion_) builder_.Version(kNewestAppletVersion);
    const std::optional<std::vector<uint8_t>>& chunk = manifestChunk_ ? manifestChunk_ : chunk_;
    if (!chunk) throw ManifestError{"no chunk: name one with \"chunk\" or on the command line"};
    builder_.Script(*chunk);
    return builder_.Build();
  }

 private:
  struct Pending {
    std::vector<UserConstant> constants;
    std::vector<AppletLabel> labels;
    std::vector<LineMapEntry> lineMap;
    std::vector<PackedFile> files;
    std::vector<PackedObject> objects;
  };

  // "file" names a linked file ('file "stored/name" path') and the file object
  // ('file ID "name"'): an object line begins with its id, an unquoted number.
  static bool IsLinkedFileLine(const std::string& keyword, const std::vector<Token>& args) {
    return keyword == "file" && (args.empty() || args[0].quoted || !IsNumber(args[0].text));
  }

  // Consecutive lines of one group make one section; "" for lines that are sections alone.
  static std::string GroupOf(const std::string& keyword, const std::vector<Token>& args) {
    if (keyword == "const" || keyword == "label") return keyword;
    if (IsLinkedFileLine(keyword, args)) return "file";
    // The two forms of line map are separate sections.
    if (keyword == "linemap") return args.size() > 4 ? "linemap-scripts" : "linemap";
    if (FindObjectLayout(keyword.c_str())) return "object";
    return "";
  }

  static void Need(const std::vector<Token>& args, size_t count) {
    if (args.size() < count) throw ManifestError{"missing values"};
  }

  static const StyleSection* FindStyle(const std::string& keyword) {
    for (const StyleSection& style : kStyleSections) {
      if (keyword == style.name) return &style;
    }
    return nullptr;
  }

  Pending& Pend(const std::string& kind) {
    pendingKind_ = kind;
    return pending_;
  }

  void Flush() {
    if (pendingKind_ == "const") builder_.UserConstants(pending_.constants);
    if (pendingKind_ == "label") builder_.Labels(pending_.labels);
    if (pendingKind_ == "linemap") builder_.LineMap(pending_.lineMap, false);
    if (pendingKind_ == "linemap-scripts") builder_.LineMap(pending_.lineMap, true);
    if (pendingKind_ == "file") builder_.LinkedFiles(pending_.files);
    if (pendingKind_ == "object") builder_.Objects(pending_.objects);
    pending_ = Pending{};
    pendingKind_.clear();
  }

  std::vector<uint8_t> Load(const std::string& path) {
    std::string full = !path.empty() && path[0] == '/' ? path : baseDirectory_ + "/" + path;
    std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(full);
    if (!bytes) throw ManifestError{"cannot read " + full};
    return *bytes;
  }

  void Backfill(const std::vector<Token>& args) {
    Need(args, 1);
    BackfillConfig backfill;
    backfill.mode = Named(kBackfills, args[0].text);
    auto value = [&](size_t i) {
      Need(args, i + 1);
      return Int(args[i].text);
    };
    switch (backfill.mode) {
      case kBackfillColor:
        backfill.startColor = value(1);
        break;
      case kBackfillGradient:
        backfill.startColor = value(1);
        backfill.endColor = value(2);
        break;
      case kBackfillTexture:
        backfill.brushId = value(1);
        break;
      case kBackfillPicture:
        backfill.brushId = value(1);
        backfill.pictureX = value(2);
        backfill.pictureY = value(3);
        backfill.startColor = value(4);
        backfill.endColor = value(5);
        backfill.scalePicture = args.size() > 6 && Latin1EqualNoCase(args[6].text, "scale");
        break;
      default:
        break;
    }
    builder_.Backfill(backfill);
  }

  static RegionRecord Region(const std::string& text) {
    std::vector<std::string> parts = Split(text, ',');
    if (parts.size() != 4 && parts.size() != 5) throw ManifestError{"a region is x,y,w,h[,type]"};
    RegionRecord region{14, Int(parts[0]), Int(parts[1]), Int(parts[2]), Int(parts[3])};
    if (parts.size() == 5) region.type = Int(parts[4]);
    return region;
  }

  PackedObject Object(const ObjectLayout& layout, const std::vector<Token>& args) {
    Need(args, 2);
    PackedObject object;
    AppletObject& record = object.record;
    if (layout.type == kObjectDisplay) record = DefaultDisplayRecord();
    record.type = layout.type;
    record.id = Int(args[0].text);
    record.name = args[1].text;
    if (IsPictureType(layout.type)) record.extra = -1;

    for (size_t i = 2; i < args.size(); ++i) {
      const std::string& arg = args[i].text;
      size_t equals = arg.find('=');
      if (equals == std::string::npos) throw ManifestError{"expected key=value: " + arg};
      std::string key = Latin1Lower(arg.substr(0, equals));
      std::string value = arg.substr(equals + 1);
      if (!ObjectKey(layout, key, value, object)) throw ManifestError{"unknown key " + key};
    }
    return object;
  }

  bool ObjectKey(const ObjectLayout& layout, const std::string& key, const std::string& value,
                 PackedObject& object) {
    AppletObject& record = object.record;
    static const std::map<std::string, int32_t AppletObject::*> kHeaderKeys = {
        {"line", &AppletObject::sourceLine}, {"extra", &AppletObject::extra},
        {"flag", &AppletObject::flag},       {"transparency", &AppletObject::extra},
        {"loadalpha", &AppletObject::flag},  {"size", &AppletObject::extra},
        {"version", &AppletObject::extra},   {"revision", &AppletObject::flag},
        {"dataoffset", &AppletObject::dataOffset}, {"datasize", &AppletObject::dataSize}};
    if (auto header = kHeaderKeys.find(key); header != kHeaderKeys.end()) {
      record.*header->second = Int(value);
      return true;
    }
    if (key == "link") {
      object.data = Load(value);
      return true;
    }
    if (key == "engine") {
      record.flag = (record.flag & ~0xFFFF) | (Int(value) & 0xFFFF);
      return true;
    }
    if (key == "nocache") {
      record.flag = Switch(value) ? record.flag | 0x10000 : record.flag & ~0x10000;
      return true;
    }
    if (key == "gradientstyle") {
      record.gradient.style = Int(value);
      return true;
    }
    for (const GradientField& fraction : kGradientFractions) {
      if (key == fraction.key) {
        record.gradient.*fraction.member = Millionths(value);
        return true;
      }
    }
    if (key == "gradientstop") {
      std::vector<std::string> parts = Split(value, ':');
      if (parts.size() != 2) throw ManifestError{"a gradient stop is colour:position"};
      record.gradient.stops.emplace_back(Int(parts[0]), Millionths(parts[1]));
      return true;
    }
    for (const FieldSpec& field : layout.fields) {
      if (key != field.key) continue;
      switch (field.codec) {
        case FieldCodec::kDragRegions:
          record.dragRegions.push_back(Region(value));
          return true;
        case FieldCodec::kSizeRegions:
          record.sizeRegions.push_back(Region(value));
          return true;
        case FieldCodec::kTitle:
          record.title = value;
          return true;
        case FieldCodec::kPubScreen:
          record.pubScreen = value;
          return true;
        case FieldCodec::kGradient:
          return false;
        default:
          record.*field.member =
              field.member == &AppletObject::scaleWidth || field.member == &AppletObject::scaleHeight
                  ? Size(value)
                  : Int(value);
          return true;
      }
    }
    return false;
  }

  std::string baseDirectory_;
  const std::optional<std::vector<uint8_t>>& chunk_;
  std::optional<std::vector<uint8_t>> manifestChunk_;
  ContainerBuilder builder_;
  bool sawVersion_ = false;
  std::string pendingKind_;
  Pending pending_;
};

}  // namespace

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

ManifestOutcome BuildContainerFromManifest(std::string_view text, const std::string& baseDirectory,
                                           const std::optional<std::vector<uint8_t>>& chunk) {
  ManifestOutcome outcome;
  ManifestReader reader(baseDirectory, chunk);
  int lineNumber = 0;
  try {
    size_t start = 0;
    while (start <= text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      ++lineNumber;
      reader.Line(Tokenize(text.substr(start, end - start)));
      start = end + 1;
    }
    lineNumber = 0;
    outcome.container = reader.Finish();
  } catch (const ManifestError& error) {
    outcome.error = lineNumber ? "line " + std::to_string(lineNumber) + ": " + error.message
                               : error.message;
  }
  return outcome;
}

}  // namespace tembrovia
