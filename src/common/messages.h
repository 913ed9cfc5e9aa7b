// The message table: one English text for each id 0..680. Error codes reach their text through
// the message id of error_codes.def; the other ids are texts of the user interface and the
// start-up output. A translation catalog can stand in for any id.
#pragma once

#include <functional>

namespace tembrovia {

constexpr int kMessageCount = 681;

// Ids the program uses directly (the error codes' ids come from error_codes.def).
enum MessageId : int {
  kMsgNoError = 0,             // "No error occurred!"
  kMsgUnknownErrorCode = 91,   // "Unknown error code!"
  kMsgCurrentLine = 92,        // "current line"
  kMsgOk = 94,                 // "OK"
  kMsgDone = 95,               // "done"
  kMsgOpeningScript = 97,      // "Opening script %s"
  kMsgCompilingScript = 106,   // "Compiling script"
  kMsgFile = 194,              // "File"
  kMsgInFunction = 280,        // "In function"
  kMsgLoadingApplet = 287,     // "Loading applet %s"
  kMsgCancel = 307,            // "Cancel"
};

// The built-in English text; "" for an id outside 0..680.
const char* EnglishMessage(int id);

// Returns the translated text for an id, or nullptr when the catalog has none. The returned
// text must stay valid until the lookup is replaced or removed.
using MessageLookup = std::function<const char*(int id)>;

// Installs the catalog lookup consulted by MessageText (an empty function removes it). Meant
// to be called at start-up and shutdown, while no other thread reads messages.
void SetMessageLookup(MessageLookup lookup);

// The text of an id: the catalog's when it has one, else the English text.
const char* MessageText(int id);

}  // namespace tembrovia
