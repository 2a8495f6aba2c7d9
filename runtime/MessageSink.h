// The runtime's side of the message sink: modal message boxes and runtime
// error reports leave the library through here.
#pragma once

#include <string>
#include <vector>

namespace gr {

// Shows a modal message box through the installed sink.
void showMessageBox(const std::string& text);
// Delivers a text of KIND ("message", "error", "info") to the installed sink.
void deliverMessage(const char* kind, const std::string& text);

// Texts the default sink has received, oldest first.
const std::vector<std::string>& recordedMessages();
void clearRecordedMessages();
// Whether the default sink also prints to standard error (tests turn it off).
void setDefaultSinkEcho(bool echo);

}  // namespace gr
