// The headless dialog engine: the D# forms that D#Commands show, close and
// delete, the modal loops of forms shown with "ShowModal", and the focus
// within the forms. Nothing is drawn; every command is also recorded.
//
// A modal loop: the commands queued when a form is shown with "ShowModal"
// (typically "Delete" of the same form) wait until the form has closed and
// the commands of the gesture that closed it have run; the head engine asks
// isWaiting before it executes a command. Meanwhile gestures act on the form.
//
// Open forms are window state, like open diagrams: a reopened project has
// none, and commands that waited for a form then run with the next queue.
#pragma once

#include <string>
#include <vector>

#include "platform/repository.h"

namespace grhost {

class CommandQueue;

// A form the engine showed or closed, in the order it happened.
struct FormChange {
  RepId form = 0;
  bool opened = false;
};

struct DialogCommand {
  std::string className;
  std::string info;    // the command word of a D#Command
  RepId receiver = 0;  // the form component, or the property diagram
};

class DialogEngine {
 public:
  explicit DialogEngine(CommandQueue& queue) : queue_(queue) {}

  // False when the class is not one of this engine's.
  bool execute(RepId command, const std::string& className);
  const std::vector<DialogCommand>& record() const { return record_; }

  // Open forms that still exist, the oldest first.
  std::vector<RepId> openForms() const;
  bool isOpen(RepId form) const;
  // The form the user acts on: the newest open one; 0 when none.
  RepId activeForm() const;
  // The newest open form shown with "ShowModal"; 0 when none.
  RepId modalForm() const;
  // The form is open and was shown with "ShowModal".
  bool isModal(RepId form) const;

  // The forms shown and closed since the last call, oldest first.
  std::vector<FormChange> takeFormChanges();

  // Closes the form (no command needed: the user closed its window).
  void close(RepId form);
  // Deletes the component with its parts (components, handlers, items,
  // lines, rows, cells, tree nodes), closing it when it is an open form.
  void remove(RepId component);

  // The command waits for a modal loop to end.
  bool isWaiting(RepId command) const;
  // Ends the innermost loops whose forms have closed; false when none did.
  bool endClosedLoops();

  // Gives COMPONENT the focus; returns the component that lost it (0 when
  // none, or when the focus stays where it was).
  RepId focus(RepId component);

  // The handler value of the component's D#EventHandler for EVENTNAME
  // ("library#transformation"); "" when it has none.
  static std::string handlerFor(RepId component, const std::string& eventName);
  // The form that holds the component; 0 when none.
  static RepId formOf(RepId component);
  // The first component in FORM, depth first, of class CLASSNAME (or a
  // subclass) whose ATTRIBUTE is VALUE; 0 when none.
  static RepId findComponent(RepId form, const std::string& className, const std::string& attribute,
                             const std::string& value);
  // As findComponent, among what the user sees: of a tab container only its
  // active tab (else its first).
  static RepId findShownComponent(RepId form, const std::string& className,
                                  const std::string& attribute, const std::string& value);

 private:
  struct OpenForm {
    RepId form;
    bool modal;
  };
  struct ModalLoop {
    RepId form;
    std::vector<RepId> waiting;
  };

  void runWord(const std::string& word, RepId receiver);
  void show(RepId form, bool modal);
  void selectNode(RepId tree, RepId node);

  CommandQueue& queue_;
  std::vector<OpenForm> open_;
  std::vector<ModalLoop> loops_;
  RepId focused_ = 0;
  std::vector<DialogCommand> record_;
  std::vector<FormChange> formChanges_;
};

}  // namespace grhost
