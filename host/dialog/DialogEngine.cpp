#include "host/dialog/DialogEngine.h"

#include <algorithm>
#include <set>
#include <utility>

#include "host/base/CommandQueue.h"
#include "host/base/Model.h"
#include "host/dialog/StyleDialog.h"

namespace grhost {
namespace {

// Far deeper than any form; a cycle of parts is a broken model.
constexpr int kMaxPartDepth = 64;

bool isComposition(RepId linkType) {
  int kind = 0, role = 0;
  return GetLinkTypeAttributes2(linkType, &kind, &role) && role == REP_COMPOS_WHOLE;
}

// The parts over every whole-to-part composition of the object's class: the
// dialog metamodel declares what belongs to a component that way.
std::vector<RepId> partsOf(RepId object) {
  std::vector<RepId> parts;
  RepIdList* roles = GetLinkTypeIdList(GetObjectTypeId(object));
  for (uint32_t i = 0; roles && i < RepIdListCount(roles); ++i) {
    RepId role = RepIdListItem(roles, i);
    if (!isComposition(role)) continue;
    for (uint32_t p = 0, n = GetLinkedObjectNum(object, role); p < n; ++p)
      parts.push_back(GetLinkedObjectIdByIndex(object, role, p));
  }
  if (roles) RepIdListFree(roles);
  return parts;
}

void collectWithParts(RepId object, int depth, std::set<RepId>& seen, std::vector<RepId>& all) {
  if (depth > kMaxPartDepth || !seen.insert(object).second) return;
  for (RepId part : partsOf(object)) collectWithParts(part, depth + 1, seen, all);
  // A column's editor is made for that column alone, though only linked to it.
  if (model::isKindOf(object, "D#VTableColumnType"))
    for (RepId editor : model::partners(object, "defaultComponent"))
      collectWithParts(editor, depth + 1, seen, all);
  all.push_back(object);
}

// The components of a container the user sees: of a tab container its
// active tab, else its first.
std::vector<RepId> shownParts(RepId container) {
  std::vector<RepId> parts = model::partners(container, "component");
  if (!model::isKindOf(container, "D#TabContainer") || parts.empty()) return parts;
  RepId active = model::firstPartner(container, "activeTab");
  return {active ? active : parts.front()};
}

RepId findDepthFirst(RepId container, const std::string& className, const std::string& attribute,
                     const std::string& value, int depth, bool shownOnly) {
  if (depth > kMaxPartDepth) return 0;
  for (RepId component :
       shownOnly ? shownParts(container) : model::partners(container, "component")) {
    if (model::isKindOf(component, className) && model::attribute(component, attribute) == value)
      return component;
    if (RepId inner = findDepthFirst(component, className, attribute, value, depth + 1, shownOnly))
      return inner;
  }
  return 0;
}

}  // namespace

bool DialogEngine::execute(RepId command, const std::string& className) {
  if (className == "PropertyDgrCmd" || className == "StyleDialogCmd") {
    RepId shown =
        model::firstPartner(command, className == "PropertyDgrCmd" ? "propertyDiagram" : "element");
    record_.push_back({className, model::attribute(command, "info"), shown});
    if (className == "StyleDialogCmd")
      if (RepId form = styledialog::buildForm(shown)) show(form, true);
    return true;
  }
  if (className.rfind("D#", 0) != 0) return false;
  std::string word = model::attribute(command, "info");
  RepId receiver = model::firstPartner(command, "receiver");
  record_.push_back({className, word, receiver});
  if (className == "D#Command") runWord(word, receiver);
  if (className == "D#SelectTreeNodeCmd")
    selectNode(receiver, model::firstPartner(command, "treeNode"));
  if (className == "D#DeleteTreeNodeCmd") {
    RepId node = model::firstPartner(command, "treeNode");
    if (ObjectExists(node)) remove(node);
  }
  return true;
}

// Words other than these (such as "Refresh") change nothing headless.
void DialogEngine::runWord(const std::string& word, RepId receiver) {
  if (!ObjectExists(receiver)) return;
  if (word == "ShowModal" || word == "Show") {
    if (model::isKindOf(receiver, "D#Form")) show(receiver, word == "ShowModal");
  } else if (word == "Close") {
    close(receiver);
  } else if (word == "Delete") {
    remove(receiver);
  }
}

// The library links a node it adds itself; selecting it is the engine's.
void DialogEngine::selectNode(RepId tree, RepId node) {
  if (!ObjectExists(tree) || !ObjectExists(node)) return;
  model::unlinkAll(tree, "selected");
  model::link(tree, "selected", node);
}

void DialogEngine::show(RepId form, bool modal) {
  if (isOpen(form)) return;
  open_.push_back({form, modal});
  formChanges_.push_back({form, true});
  if (modal) loops_.push_back({form, queue_.pending()});
}

void DialogEngine::close(RepId form) {
  bool wasOpen = std::any_of(open_.begin(), open_.end(),
                             [form](const OpenForm& open) { return open.form == form; });
  if (wasOpen) formChanges_.push_back({form, false});
  open_.erase(std::remove_if(open_.begin(), open_.end(),
                             [form](const OpenForm& open) { return open.form == form; }),
              open_.end());
  if (focused_ && formOf(focused_) == form) focused_ = 0;
}

void DialogEngine::remove(RepId component) {
  std::set<RepId> seen;
  std::vector<RepId> doomed;
  collectWithParts(component, 0, seen, doomed);
  for (RepId object : doomed) {
    close(object);
    if (object == focused_) focused_ = 0;
    model::remove(object);
  }
}

std::vector<FormChange> DialogEngine::takeFormChanges() {
  return std::exchange(formChanges_, {});
}

std::vector<RepId> DialogEngine::openForms() const {
  std::vector<RepId> forms;
  for (const OpenForm& open : open_)
    if (ObjectExists(open.form)) forms.push_back(open.form);
  return forms;
}

bool DialogEngine::isOpen(RepId form) const {
  return ObjectExists(form) &&
         std::any_of(open_.begin(), open_.end(),
                     [form](const OpenForm& open) { return open.form == form; });
}

RepId DialogEngine::activeForm() const {
  std::vector<RepId> forms = openForms();
  return forms.empty() ? 0 : forms.back();
}

RepId DialogEngine::modalForm() const {
  for (auto open = open_.rbegin(); open != open_.rend(); ++open)
    if (open->modal && ObjectExists(open->form)) return open->form;
  return 0;
}

bool DialogEngine::isModal(RepId form) const {
  return ObjectExists(form) &&
         std::any_of(open_.begin(), open_.end(),
                     [form](const OpenForm& open) { return open.form == form && open.modal; });
}

bool DialogEngine::isWaiting(RepId command) const {
  return std::any_of(loops_.begin(), loops_.end(), [command](const ModalLoop& loop) {
    return std::find(loop.waiting.begin(), loop.waiting.end(), command) != loop.waiting.end();
  });
}

// An outer loop can not return before the loops inside it have.
bool DialogEngine::endClosedLoops() {
  bool ended = false;
  while (!loops_.empty() && !isOpen(loops_.back().form)) {
    loops_.pop_back();
    ended = true;
  }
  return ended;
}

RepId DialogEngine::focus(RepId component) {
  RepId previous = focused_;
  focused_ = component;
  return previous != component && ObjectExists(previous) ? previous : 0;
}

std::string DialogEngine::handlerFor(RepId component, const std::string& eventName) {
  for (RepId handler : model::partners(component, "eventHandler")) {
    if (model::attribute(handler, "eventName") != eventName) continue;
    std::string library = model::attribute(handler, "procedureName");
    return (library.empty() ? "main" : library) + "#" +
           model::attribute(handler, "transformationName");
  }
  return "";
}

RepId DialogEngine::formOf(RepId component) {
  std::set<RepId> seen;
  for (RepId at = component; at && seen.insert(at).second;
       at = model::firstPartner(at, "container"))
    if (model::isKindOf(at, "D#Form")) return at;
  return 0;
}

RepId DialogEngine::findComponent(RepId form, const std::string& className,
                                  const std::string& attribute, const std::string& value) {
  return findDepthFirst(form, className, attribute, value, 0, false);
}

RepId DialogEngine::findShownComponent(RepId form, const std::string& className,
                                       const std::string& attribute, const std::string& value) {
  return findDepthFirst(form, className, attribute, value, 0, true);
}

}  // namespace grhost
