// What a user does in the open form, for gestures that go through a form
// (the console). Each throws ScriptError when there is no form or no such
// component.
#pragma once

#include <string>

namespace grhost {

class ScriptPlayer;

// Types TEXT into the field with this id of the active form.
void typeIntoField(ScriptPlayer& player, const std::string& id, const std::string& text);
// Presses the button with this caption in the active form.
void pressButton(ScriptPlayer& player, const std::string& caption);

}  // namespace grhost
