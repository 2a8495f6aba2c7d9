#include "host/multiuser/MultiUserEngine.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "host/base/Model.h"
#include "runtime/Logger.h"

namespace grhost::shared {
namespace {

RepId localDiagram(const std::string& remoteId) {
  for (RepId diagram : model::objectsOf("GraphDiagram"))
    if (model::attribute(diagram, "remoteId") == remoteId) return diagram;
  return 0;
}

RepId copyOf(const std::string& remoteId) {
  for (RepId copy : model::objectsOf("SharedAreaCopy"))
    if (model::attribute(copy, "remoteId") == remoteId) return copy;
  return 0;
}

// Elements that open the diagram find it again, and the diagram's own
// elements find the diagrams they open that are here.
void connectSeeds(const std::string& remoteId, RepId diagram) {
  for (RepId element : model::objectsOf("Element")) {
    if (model::firstPartner(element, "target")) continue;
    std::string target = model::attribute(element, "targetDiagramRemoteId");
    if (target.empty()) continue;
    if (target == remoteId)
      model::link(element, "target", diagram);
    else if (RepId child = localDiagram(target))
      model::link(element, "target", child);
  }
}

std::string loginName() {
  if (const passwd* entry = getpwuid(geteuid()); entry && entry->pw_name) return entry->pw_name;
  if (const char* name = std::getenv("USER"); name && *name) return name;
  return "user" + std::to_string(geteuid());
}

}  // namespace

std::string userName(const std::string& name) {
  return name.empty() ? loginName() : name;
}

MultiUserEngine::MultiUserEngine(MessageLog& log) : log_(log), codec_(jsonAreaCodec()) {}

MultiUserEngine::~MultiUserEngine() = default;

void MultiUserEngine::connect(const SharedOptions& options, bool create) {
  renewal_.reset();
  store_ = openSharedStore(options.location, create);
  user_ = userName(options.user);
  lease_ = options.lease;
  renewal_ = std::make_unique<LeaseRenewal>(*store_, lease_);
}

std::string MultiUserEngine::location() const {
  return store_ ? store_->location() : "";
}

bool MultiUserEngine::refuse(const std::string& why) {
  log_.note(why);
  return false;
}

void MultiUserEngine::resumeLocks() {
  if (!store_) return;
  for (RepId copy : model::objectsOf("SharedAreaCopy")) {
    std::string token = model::attribute(copy, "lockToken");
    if (token.empty()) continue;
    if (store_->renewLock(token, lease_))
      renewal_->hold(token);
    else
      log_.note("The lock of the shared diagram " + model::attribute(copy, "remoteId") +
                " was taken by another member while this project was closed; its commit will "
                "be refused.");
  }
}

// ---- the library's calls

bool MultiUserEngine::createArea(const std::string& remoteId, bool flag, RepId diagram,
                                 const AreaExtent& extent) {
  if (!store_) return refuse("No shared store is connected (grtool --shared LOCATION).");
  if (remoteId.empty() || !ObjectExists(diagram)) return refuse("CreateSharedArea: no diagram.");
  try {
    std::string text = codec_.write(diagram, extent);
    if (!flag) {
      adoptIntoPendingParents(remoteId, diagram);
      pending_.push_back({remoteId, text, diagram});
      return true;
    }
    if (!store_->createAreas({{remoteId, text}}, user_))
      return refuse("The shared area " + remoteId + " exists already.");
    remember(remoteId, 1, "");
    return true;
  } catch (const std::exception& failure) {
    return refuse(failure.what());
  }
}

// An area is captured before the children of its diagram are shared; the
// element that opens DIAGRAM learns its remote id in the parent's text as
// it does in the project.
void MultiUserEngine::adoptIntoPendingParents(const std::string& remoteId, RepId diagram) {
  RepId seed = model::firstPartner(diagram, "source");
  if (!seed) return;
  for (PendingArea& parent : pending_)
    if (codec_.holds(parent.text, seed))
      parent.text = codec_.withValue(parent.text, seed, "targetDiagramRemoteId", remoteId);
}

void MultiUserEngine::transformationEnded() {
  if (pending_.empty()) return;
  std::vector<PendingArea> areas;
  areas.swap(pending_);
  std::vector<NewArea> texts;
  for (const PendingArea& area : areas) {
    bool stillHere =
        ObjectExists(area.diagram) && model::attribute(area.diagram, "remoteId") == area.id;
    texts.push_back({area.id, area.text});
    if (stillHere) remember(area.id, 1, "");
  }
  std::string why;
  try {
    if (store_->createAreas(texts, user_)) return;
    why = "an area of the same id exists already";
  } catch (const SharedStoreError& failure) {
    why = failure.what();
  }
  conversionFailed_ = true;
  reportRuntimeError("The shared areas could not be written to " + location() + ": " + why);
}

bool MultiUserEngine::importArea(const std::string& remoteId, bool readOnly,
                                 std::string& lockedBy) {
  if (!store_) return refuse("No shared store is connected (grtool --shared LOCATION).");
  RepId copy = copyOf(remoteId);
  std::string heldToken = copy ? model::attribute(copy, "lockToken") : "";
  try {
    if (readOnly) {
      std::optional<AreaText> area = store_->readArea(remoteId);
      if (!area) return refuse("There is no shared area " + remoteId + " at " + location() + ".");
      if (!apply(remoteId, area->text)) return false;
      // Fetching it again to read drops the edits, and with them the lock.
      if (!heldToken.empty()) {
        store_->releaseLock(remoteId, heldToken);
        renewal_->forget(heldToken);
      }
      remember(remoteId, area->revision, "");
      return true;
    }
    LockOutcome outcome = store_->lockArea(remoteId, user_, heldToken, lease_);
    if (!outcome.areaExists)
      return refuse("There is no shared area " + remoteId + " at " + location() + ".");
    if (!outcome.taken) {
      lockedBy = outcome.holder;
      return false;
    }
    if (!apply(remoteId, outcome.area.text)) {
      store_->releaseLock(remoteId, outcome.token);
      return false;
    }
    if (!heldToken.empty()) renewal_->forget(heldToken);
    renewal_->hold(outcome.token);
    remember(remoteId, outcome.area.revision, outcome.token);
    return true;
  } catch (const SharedStoreError& failure) {
    return refuse(failure.what());
  }
}

bool MultiUserEngine::apply(const std::string& remoteId, const std::string& text) {
  try {
    RepId diagram = codec_.read(text, localDiagram(remoteId));
    connectSeeds(remoteId, diagram);
    return true;
  } catch (const AreaTextError& failure) {
    return refuse("The shared area " + remoteId + " can not be fetched: " + failure.what());
  }
}

bool MultiUserEngine::exportArea(const std::string& remoteId) {
  if (!store_) return refuse("No shared store is connected (grtool --shared LOCATION).");
  RepId diagram = localDiagram(remoteId);
  if (!diagram) return refuse("There is no diagram of the shared area " + remoteId + " here.");
  RepId copy = copyOf(remoteId);
  std::string token = copy ? model::attribute(copy, "lockToken") : "";
  if (token.empty()) return refuse("The shared diagram " + remoteId + " is not locked here.");
  try {
    // The area keeps the extent it was made with.
    std::optional<AreaText> current = store_->readArea(remoteId);
    if (!current) return refuse("There is no shared area " + remoteId + " at " + location() + ".");
    std::string text = codec_.write(diagram, codec_.extentOf(current->text));
    CommitResult result = store_->commitArea(remoteId, token, text, user_);
    switch (result.outcome) {
      case CommitOutcome::Committed:
        renewal_->forget(token);
        remember(remoteId, result.revision, "");
        published_ = true;
        return true;
      case CommitOutcome::LockLost:
        renewal_->forget(token);
        remember(remoteId, -1, "");
        return refuse("The lock of the shared diagram " + remoteId + " was lost" +
                      (result.holder.empty() ? "" : " to " + result.holder) + ".");
      case CommitOutcome::NoArea:
        break;
    }
    return refuse("There is no shared area " + remoteId + " at " + location() + ".");
  } catch (const std::exception& failure) {
    return refuse(failure.what());
  }
}

std::string MultiUserEngine::generateId() {
  return randomHex128();
}

// A REVISION below 0 keeps the one remembered.
void MultiUserEngine::remember(const std::string& remoteId, int64_t revision,
                               const std::string& token) {
  RepId copy = copyOf(remoteId);
  if (!copy) {
    copy = model::create("SharedAreaCopy");
    model::setAttribute(copy, "remoteId", remoteId);
  }
  if (revision >= 0) model::setAttribute(copy, "revision", std::to_string(revision));
  model::setAttribute(copy, "lockToken", token);
}

}  // namespace grhost::shared
