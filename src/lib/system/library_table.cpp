// The "system" library: the commands of this folder, the table and type commands of
// lib/table, and the framework's DebugPrint, GetConstant and object-data commands; its own
// constants, the type and data-size constants and the error codes.
#include "lib/core/core_commands.h"
#include "lib/core/error_constants.h"
#include "lib/core/library_table.h"
#include "lib/core/object_record.h"
#include "lib/system/system_commands.h"
#include "lib/system/system_data.h"
#include "lib/table/table_commands.h"
#include "lib/table/type_constants.h"

namespace tembrovia {
namespace {

constexpr CommandEntry kSystemCommands[] = {
    {"Assert", CmdAssert},
    {"ClearObjectData", CmdClearObjectData},
    {"CloseCatalog", CmdCloseCatalog},
    {"CollectGarbage", CmdCollectGarbage},
    {"CompareDates", CmdCompareDates},
    {"Concat", CmdConcat},
    {"CopyObjectData", CmdCopyObjectData},
    {"CopyTable", CmdCopyTable},
    {"DebugOutput", CmdDebugOutput},
    {"DebugPrint", CmdDebugPrint},
    {"DebugPrompt", CmdDebugPrompt},
    {"DebugStr", CmdDebugPrint},
    {"DebugVal", CmdDebugPrint},
    {"End", CmdEnd},
    {"Error", CmdError},
    {"ExitOnError", CmdExitOnError},
    {"ForEach", CmdForEach},
    {"ForEachI", CmdForEachI},
    {"GCInfo", CmdGCInfo},
    {"GetCatalogString", CmdGetCatalogString},
    {"GetCommandLine", CmdGetCommandLine},
    {"GetConstant", CmdGetConstant},
    {"GetDate", CmdGetDate},
    {"GetDateNum", CmdGetDateNum},
    {"GetErrorName", CmdGetErrorName},
    {"GetFileArgument", CmdGetFileArgument},
    {"GetLastError", CmdGetLastError},
    {"GetMemoryInfo", CmdGetMemoryInfo},
    {"GetMetaTable", CmdGetMetaTable},
    {"GetObjectData", CmdGetObjectData},
    {"GetObjects", CmdGetObjects},
    {"GetObjectType", CmdGetObjectType},
    {"GetProgramInfo", CmdGetProgramInfo},
    {"GetSystemCountry", CmdGetSystemCountry},
    {"GetSystemLanguage", CmdGetSystemLanguage},
    {"GetTime", CmdGetTime},
    {"GetTimer", CmdGetTimer},
    {"GetType", CmdGetType},
    {"GetVersion", CmdGetVersion},
    {"GetWeekday", CmdGetWeekday},
    {"HaveObject", CmdHaveObject},
    {"IIf", CmdIIf},
    {"InsertItem", CmdInsertItem},
    {"IPairs", CmdIPairs},
    {"ListItems", CmdListItems},
    {"NextItem", CmdNextItem},
    {"OpenCatalog", CmdOpenCatalog},
    {"Pairs", CmdPairs},
    {"PauseTimer", CmdPauseTimer},
    {"RaiseOnError", CmdRaiseOnError},
    {"RawEqual", CmdRawEqual},
    {"RawGet", CmdRawGet},
    {"RawSet", CmdRawSet},
    {"RemoveItem", CmdRemoveItem},
    {"ResetTimer", CmdResetTimer},
    {"ResumeTimer", CmdResumeTimer},
    {"SetMetaTable", CmdSetMetaTable},
    {"SetObjectData", CmdSetObjectData},
    {"Sort", CmdSort},
    {"StartTimer", CmdStartTimer},
    {"StopTimer", CmdStopTimer},
    {"Unpack", CmdUnpack},
    {"Wait", CmdWait},
    {"WaitTimer", CmdWaitTimer},
};

constexpr auto kOwnConstants = std::to_array<ConstantEntry>({
    // Time units of Wait.
    {"SECONDS", nullptr, 0},
    {"MILLISECONDS", nullptr, 1},
    {"TICKS", nullptr, 2},
    // Parts of GetDateNum.
    {"DATEYEAR", nullptr, 0},
    {"DATEMONTH", nullptr, 1},
    {"DATEDAY", nullptr, 2},
    {"DATETIME", nullptr, 3},
    // Kinds of GetMemoryInfo.
    {"CHIPMEMORY", nullptr, 0},
    {"FASTMEMORY", nullptr, 1},
    // Results of GetProgramInfo.
    {"PRGTYPE_SCRIPT", nullptr, 0},
    {"PRGTYPE_APPLET", nullptr, 1},
    {"PRGTYPE_PROGRAM", nullptr, 2},
    // The object type of timers.
    {"TIMER", nullptr, kTypeTimer},
    // Results of GetSystemLanguage.
    {"LANGUAGE_ENGLISH", nullptr, 0},
    {"LANGUAGE_GERMAN", nullptr, 1},
    {"LANGUAGE_DUTCH", nullptr, 2},
    {"LANGUAGE_ITALIAN", nullptr, 3},
    {"LANGUAGE_FRENCH", nullptr, 4},
    {"LANGUAGE_SPANISH", nullptr, 5},
    {"LANGUAGE_PORTUGUESE", nullptr, 6},
    {"LANGUAGE_SWEDISH", nullptr, 7},
    {"LANGUAGE_DANISH", nullptr, 8},
    {"LANGUAGE_FINNISH", nullptr, 9},
    {"LANGUAGE_NORWEGIAN", nullptr, 10},
    {"LANGUAGE_POLISH", nullptr, 11},
    {"LANGUAGE_HUNGARIAN", nullptr, 12},
    {"LANGUAGE_GREEK", nullptr, 13},
    {"LANGUAGE_CZECH", nullptr, 14},
    {"LANGUAGE_TURKISH", nullptr, 15},
    {"LANGUAGE_CROATIAN", nullptr, 16},
    {"LANGUAGE_RUSSIAN", nullptr, 17},
    {"LANGUAGE_UNKNOWN", nullptr, 18},
    // Results of GetSystemCountry.
    {"COUNTRY_UK", nullptr, 0},
    {"COUNTRY_USA", nullptr, 1},
    {"COUNTRY_AUSTRALIA", nullptr, 2},
    {"COUNTRY_BELGIUM", nullptr, 3},
    {"COUNTRY_BULGARIA", nullptr, 4},
    {"COUNTRY_BRAZIL", nullptr, 5},
    {"COUNTRY_CANADA", nullptr, 6},
    {"COUNTRY_CZECHREPUBLIC", nullptr, 7},
    {"COUNTRY_DENMARK", nullptr, 8},
    {"COUNTRY_GERMANY", nullptr, 9},
    {"COUNTRY_SPAIN", nullptr, 10},
    {"COUNTRY_FRANCE", nullptr, 11},
    {"COUNTRY_GREECE", nullptr, 12},
    {"COUNTRY_ITALY", nullptr, 13},
    {"COUNTRY_LIECHTENSTEIN", nullptr, 14},
    {"COUNTRY_LITHUANIA", nullptr, 15},
    {"COUNTRY_LUXEMBOURG", nullptr, 16},
    {"COUNTRY_HUNGARY", nullptr, 17},
    {"COUNTRY_MALTA", nullptr, 18},
    {"COUNTRY_MONACO", nullptr, 19},
    {"COUNTRY_NETHERLANDS", nullptr, 20},
    {"COUNTRY_NORWAY", nullptr, 21},
    {"COUNTRY_POLAND", nullptr, 22},
    {"COUNTRY_PORTUGAL", nullptr, 23},
    {"COUNTRY_ROMANIA", nullptr, 24},
    {"COUNTRY_RUSSIA", nullptr, 25},
    {"COUNTRY_SANMARINO", nullptr, 26},
    {"COUNTRY_SLOVAKIA", nullptr, 27},
    {"COUNTRY_SLOVENIA", nullptr, 28},
    {"COUNTRY_SWITZERLAND", nullptr, 29},
    {"COUNTRY_FINLAND", nullptr, 30},
    {"COUNTRY_SWEDEN", nullptr, 31},
    {"COUNTRY_TURKEY", nullptr, 32},
    {"COUNTRY_IRELAND", nullptr, 33},
    {"COUNTRY_AUSTRIA", nullptr, 34},
    {"COUNTRY_ICELAND", nullptr, 35},
    {"COUNTRY_ANDORRA", nullptr, 36},
    {"COUNTRY_UKRAINE", nullptr, 37},
    {"COUNTRY_UNKNOWN", nullptr, 38},
});

constexpr auto kSystemConstants = JoinConstants(JoinConstants(kOwnConstants, kTypeConstants), kErrorConstants);

}  // namespace

const LibraryTable kSystemLibrary{"system", kSystemCommands, kSystemConstants, InitSystem};

}  // namespace tembrovia
