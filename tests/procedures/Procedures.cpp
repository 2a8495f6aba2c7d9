// A small transformation library for the tests of named procedure calls and
// of the host: entries of every call variant, entries that are not callable
// by name, and handlers that throw, queue commands or report what they saw.
// Its L0_LibMain and L0_StartSession stand in for the behaviour library's.
#include <string>

#include "platform/host.h"
#include "platform/repository.h"
#include "runtime/Generation.h"
#include "runtime/HostCalls.h"
#include "runtime/InternalError.h"
#include "runtime/L0_Var.h"
#include "runtime/MessageSink.h"
#include "runtime/NativeFunctions.h"
#include "runtime/Signature.h"

#define TEST_ENTRY extern "C" GR_API

namespace {

void say(const std::string& text) {
  gr::showMessageBox(text);
}

L0_Var_2 firstOf(const std::string& className) {
  L0_Var_2 object(className);
  object.setFirstToRoot(className);
  return object;
}

L0_Var_2 lastCmdPtr() {
  L0_Var_2 pointer = firstOf("LastCmdPtr");
  if (pointer.isNull()) pointer.addObj("LastCmdPtr");
  return pointer;
}

// As the library's constructors do: link as the LastCmdPtr's newest command,
// then ask the head engine to enqueue it.
L0_Var_2 queue(const std::string& className) {
  L0_Var_2 command("Command");
  command.addObj(className);
  lastCmdPtr().addLink(command, "command");
  return command;
}

void enqueue() {
  Kw_Galva_EnqueueCmd();
}

void queueTransformation(const std::string& reference) {
  L0_Var_2 command = queue("ExecTransfCmd");
  command.setAttr("info", reference);
  enqueue();
}

int lastCmdLinks() {
  L0_Var_2 pointer = firstOf("LastCmdPtr");
  if (pointer.isNull()) return 0;
  return static_cast<int>(GetLinkedObjectNum(
      pointer.getCurrObjID(), GetLinkTypeIdByName(pointer.actualClassId(), "command")));
}

// " item CAPTION" for an event linked to a menu item.
std::string chosenItem(const L0_Var_2& event) {
  if (!GetLinkTypeIdByName(event.actualClassId(), "popUpElement")) return "";
  L0_Var_2 item("PopUpElement");
  return item.setFirstByRelation(event, "popUpElement") ? " item " + item.getAttr("caption") : "";
}

}  // namespace

// ---- every variant of a named procedure call

TEST_ENTRY void L0_Func_void_entry() {
  say("void entry ran");
}
GR_ENTRY_SIGNATURE(L0_Func_void_entry)

TEST_ENTRY void L0_Func_object_entry(L0_Var_2 object) {
  say("object entry got " + getObjectIdText(object));
}
GR_ENTRY_SIGNATURE(L0_Func_object_entry)

TEST_ENTRY void L0_Func_three_objects(L0_Var_2 first, L0_Var_2 second, L0_Var_2 third) {
  say("three objects " + getObjectIdText(first) + " " + getObjectIdText(second) + " " +
      getObjectIdText(third));
}
GR_ENTRY_SIGNATURE(L0_Func_three_objects)

TEST_ENTRY bool L0_Func_is_bound(L0_Var_2 object) {
  return !object.isNull();
}
GR_ENTRY_SIGNATURE(L0_Func_is_bound)

TEST_ENTRY std::string L0_Func_class_of(L0_Var_2 object) {
  return "class " + getClassName(object);
}
GR_ENTRY_SIGNATURE(L0_Func_class_of)

// A decompose procedure that takes the text as it is: "x$y" splits into x and y.
TEST_ENTRY std::string L0_Func_input_as_sub_values(L0_Var_2 compartment) {
  return compartment.getAttrOfActualClass("input");
}
GR_ENTRY_SIGNATURE(L0_Func_input_as_sub_values)

TEST_ENTRY std::string L0_Func_plain_text() {
  return "plain text";
}
GR_ENTRY_SIGNATURE(L0_Func_plain_text)

// Exported without a signature while the others have one: no call by name may reach it.
TEST_ENTRY void L0_Func_unsigned_entry() {
  say("unsigned entry ran");
}

// A signature no void call matches.
TEST_ENTRY void L0_Func_takes_text(std::string text) {
  say("takes text ran: " + text);
}
GR_ENTRY_SIGNATURE(L0_Func_takes_text)

// ---- the stand-ins for the behaviour library's entries

TEST_ENTRY void L0_StartSession() {
  advanceGeneration();
}

// Reports the first event it finds, and consumes it unless its info says "keep".
TEST_ENTRY void L0_LibMain() {
  advanceGeneration();
  if (!StartSaveTransaction1(0, 0, "")) return;
  try {
    L0_Var_2 event = firstOf("Event");
    if (!event.isNull()) {
      std::string info = event.getAttr("info");
      say("dispatched " + getClassName(event) + (info.empty() ? "" : " " + info) +
          chosenItem(event));
      if (info == "throw") throw L0_Var_2_Exception("dispatcher stopped");
      if (info != "keep") event.deleteObj();
    }
  } catch (...) {
  }
  CommitSaveTransaction();
}

// ---- handlers for the host tests

TEST_ENTRY void L0_Func_note_generation() {
  say("generation " + std::to_string(currentGeneration));
}
GR_ENTRY_SIGNATURE(L0_Func_note_generation)

TEST_ENTRY void L0_Func_write_then_throw() {
  L0_Var_2 diagram("GraphDiagram");
  diagram.addObj("GraphDiagram");
  diagram.setAttr("caption", "written before the throw");
  throw L0_Var_2_Exception("stopped after writing");
}
GR_ENTRY_SIGNATURE(L0_Func_write_then_throw)

TEST_ENTRY void L0_Func_break_invariant() {
  internalError("a broken invariant", "Procedures.cpp");
}
GR_ENTRY_SIGNATURE(L0_Func_break_invariant)

TEST_ENTRY void L0_Func_throw_standard() {
  throw std::out_of_range("index 7 of 3");
}
GR_ENTRY_SIGNATURE(L0_Func_throw_standard)

// Queues "first" and "second"; "first" queues "third" while it runs.
TEST_ENTRY void L0_Func_queue_in_steps() {
  queueTransformation("note_first");
  queueTransformation("main#note_second");
  say("queued, last links " + std::to_string(lastCmdLinks()));
}
GR_ENTRY_SIGNATURE(L0_Func_queue_in_steps)

TEST_ENTRY void L0_Func_note_first() {
  say("first");
  queueTransformation("note_third");
}
GR_ENTRY_SIGNATURE(L0_Func_note_first)

TEST_ENTRY void L0_Func_note_second() {
  say("second");
}
GR_ENTRY_SIGNATURE(L0_Func_note_second)

TEST_ENTRY void L0_Func_note_third() {
  say("third");
}
GR_ENTRY_SIGNATURE(L0_Func_note_third)

// Names what it ran on: the element's type and the value of its first
// compartment, if any ("ran on Class Person").
TEST_ENTRY void L0_Func_note_element(L0_Var_2 element) {
  L0_Var_2 type("ElemType");
  L0_Var_2 compartment("Compartment");
  if (element.isNull() || !type.setFirstByRelation(element, "elemType")) {
    say("ran on nothing");
    return;
  }
  std::string value =
      compartment.setFirstByRelation(element, "compartment") ? compartment.getAttr("value") : "";
  say("ran on " + type.getAttr("caption") + (value.empty() ? "" : " " + value));
}
GR_ENTRY_SIGNATURE(L0_Func_note_element)

// A menu made at run time for the element, used once: "Show" reports the
// element it runs with.
TEST_ENTRY L0_Var_2 L0_Func_dynamic_menu(L0_Var_2 element) {
  L0_Var_2 menu("PopUpDiagram");
  menu.addObj("PopUpDiagram");
  menu.setAttr("deleteAfterUse", "1");
  for (const char* caption : {"Show", "Nothing"}) {
    L0_Var_2 item("PopUpElement");
    item.addObj("PopUpElement");
    item.setAttr("caption", caption);
    if (std::string(caption) == "Show")
      item.setAttr("procedure_name", "grtest_procedures#object_entry");
    menu.addLink(item, "popUpElement");
  }
  say("menu for " + getClassName(element));
  return menu;
}
GR_ENTRY_SIGNATURE(L0_Func_dynamic_menu)

// A menu of three items in link order.
TEST_ENTRY void L0_Func_show_menu() {
  L0_Var_2 menu("PopUpDiagram");
  menu.addObj("PopUpDiagram");
  for (const char* caption : {"Cut", "Copy", "Paste"}) {
    L0_Var_2 item("PopUpElement");
    item.addObj("PopUpElement");
    item.setAttr("caption", caption);
    menu.addLink(item, "popUpElement");
  }
  L0_Var_2 command = queue("PopUpCmd");
  command.addLink(menu, "popUpDiagram");
  enqueue();
}
GR_ENTRY_SIGNATURE(L0_Func_show_menu)

// Opens a new diagram "Second", then closes the current one.
TEST_ENTRY void L0_Func_open_second_close_first() {
  L0_Var_2 pointer = firstOf("CurrentDgrPointer");
  L0_Var_2 current("GraphDiagram");
  if (!pointer.isNull()) current.setFirstByRelation(pointer, "graphDiagram");
  L0_Var_2 second("GraphDiagram");
  second.addObj("GraphDiagram");
  second.setAttr("caption", "Second");
  queue("ActiveDgrCmd").addLink(second, "graphDiagram");
  enqueue();
  if (current.isNull()) return;
  queue("CloseDgrCmd").addLink(current, "graphDiagram");
  enqueue();
}
GR_ENTRY_SIGNATURE(L0_Func_open_second_close_first)

TEST_ENTRY void L0_Func_close_current() {
  L0_Var_2 pointer = firstOf("CurrentDgrPointer");
  L0_Var_2 current("GraphDiagram");
  if (pointer.isNull() || !current.setFirstByRelation(pointer, "graphDiagram")) return;
  queue("CloseDgrCmd").addLink(current, "graphDiagram");
  enqueue();
}
GR_ENTRY_SIGNATURE(L0_Func_close_current)

TEST_ENTRY void L0_Func_open_first_diagram() {
  L0_Var_2 diagram("GraphDiagram");
  diagram.addObj("GraphDiagram");
  diagram.setAttr("caption", "First");
  queue("ActiveDgrCmd").addLink(diagram, "graphDiagram");
  enqueue();
}
GR_ENTRY_SIGNATURE(L0_Func_open_first_diagram)

TEST_ENTRY void L0_Func_show_saved_info() {
  queue("ShowInformationBarCommand").setAttr("message", "saved");
  enqueue();
}
GR_ENTRY_SIGNATURE(L0_Func_show_saved_info)

TEST_ENTRY void L0_Func_choose_file() {
  say("chose \"" + L0_Func_BrowseForFile("Open", "*.txt") + "\"");
}
GR_ENTRY_SIGNATURE(L0_Func_choose_file)

// A dialog event as its handler sees it: "EVENT CLASS SOURCE-ID", with the
// node, tab or items it carries.
TEST_ENTRY void L0_Func_note_dialog_event() {
  L0_Var_2 event = firstOf("D#Event");
  if (event.isNull()) return;
  L0_Var_2 source("D#Component");
  source.setFirstByRelation(event, "source");
  std::string text = event.getAttr("info") + " " + event.getAttrOfActualClass("id");
  if (!source.isNull()) text = event.getAttr("info") + " " + source.getAttrOfActualClass("id");
  for (const char* role :
       {"treeNode", "previous", "previousParent", "tab", "selected", "deselected"}) {
    if (!GetLinkTypeIdByName(event.actualClassId(), role)) continue;
    L0_Var_2 partner;
    for (bool found = partner.setFirstByRelation(event, role); found; found = partner.next()) {
      RepId attr = GetPropertyTypeIdByName(partner.actualClassId(), "text");
      if (!attr) attr = GetPropertyTypeIdByName(partner.actualClassId(), "caption");
      if (!attr) attr = GetPropertyTypeIdByName(partner.actualClassId(), "value");
      text += std::string(" ") + role + "=" + partner.getAttr(attr);
    }
  }
  say(text);
  event.deleteObj();
}
GR_ENTRY_SIGNATURE(L0_Func_note_dialog_event)

// Fills the combo box that dropped down with the items "red" and "green"
// instead of those it had.
TEST_ENTRY void L0_Func_fill_colours() {
  L0_Var_2 event = firstOf("D#Event");
  L0_Var_2 box("D#ComboBox");
  if (event.isNull() || !box.setFirstByRelation(event, "source")) return;
  L0_Var_2 old("D#Item");
  while (old.setFirstByRelation(box, "item")) old.deleteObj();
  for (const char* value : {"red", "green"}) {
    L0_Var_2 item("D#Item");
    item.addObj("D#Item");
    item.setAttr("value", value);
    item.addLink(box, "comboBox");
  }
  event.deleteObj();
}
GR_ENTRY_SIGNATURE(L0_Func_fill_colours)
