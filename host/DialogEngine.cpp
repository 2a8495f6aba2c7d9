#include "host/DialogEngine.h"

#include "host/Model.h"

namespace grhost {

bool DialogEngine::execute(RepId command, const std::string& className) {
  if (className == "PropertyDgrCmd" || className == "StyleDialogCmd") {
    RepId shown = model::firstPartner(command, className == "PropertyDgrCmd" ? "propertyDiagram"
                                                                              : "element");
    record_.push_back({className, model::attribute(command, "info"), shown});
    return true;
  }
  if (className.rfind("D#", 0) != 0) return false;
  record_.push_back({className, model::attribute(command, "info"),
                     model::firstPartner(command, "receiver")});
  return true;
}

}  // namespace grhost
