#include "repository/UndoReplay.h"

#include "repository/Journal.h"
#include "repository/Store.h"

namespace rep {

namespace {

void noteLink(Store& store, Journal& journal, const UndoOp& op) {
  journal.note(REP_CHANGE_LINK, op.object, 0, op.type);
  const LinkTypeRec* rec = store.metamodel().findLinkType(op.type);
  journal.note(REP_CHANGE_LINK, op.partner, 0, rec ? rec->inverse : 0);
}

void replayObject(Store& store, Journal& journal, const UndoOp& op, bool create) {
  if (create) {
    store.reviveObject(op.object, op.type);
    for (const auto& [attr, text] : op.values) store.putValue(op.object, attr, text);
    journal.note(REP_CHANGE_CREATED, op.object, op.type, 0);
  } else {
    store.killObject(op.object);
    journal.note(REP_CHANGE_DELETED, op.object, op.type, 0);
  }
}

void replayLinkAdded(Store& store, const UndoOp& op, bool backwards) {
  if (backwards) {
    store.dropLink(op.type, op.object, op.partner);
    if (op.flag) store.placeLink(op.type, op.object, op.partner, op.before);
  } else {
    if (op.flag) store.dropLink(op.type, op.object, op.partner);
    store.appendLink(op.type, op.object, op.partner, op.seq);
  }
}

void replayValue(Store& store, const UndoOp& op, bool backwards) {
  if (op.kind == UndoKind::ValueSet) {
    if (!backwards) {
      store.putValue(op.object, op.type, op.newText);
    } else if (op.flag) {
      store.putValue(op.object, op.type, op.oldText);
    } else {
      store.eraseValue(op.object, op.type);
    }
  } else if (backwards) {
    store.insertValue(op.object, op.type, op.oldText, op.index);
  } else {
    store.eraseValue(op.object, op.type);
  }
}

}  // namespace

void replayOp(Store& store, Journal& journal, const UndoOp& op, bool backwards) {
  switch (op.kind) {
    case UndoKind::ObjectCreated:
    case UndoKind::ObjectDeleted:
      replayObject(store, journal, op, (op.kind == UndoKind::ObjectCreated) != backwards);
      break;
    case UndoKind::LinkAdded:
      replayLinkAdded(store, op, backwards);
      noteLink(store, journal, op);
      break;
    case UndoKind::LinkRemoved:
      if (backwards) {
        store.placeLink(op.type, op.object, op.partner, op.before);
      } else {
        store.dropLink(op.type, op.object, op.partner);
      }
      noteLink(store, journal, op);
      break;
    case UndoKind::ValueSet:
    case UndoKind::ValueRemoved:
      replayValue(store, op, backwards);
      journal.note(REP_CHANGE_VALUE, op.object, 0, op.type);
      break;
    case UndoKind::Metamodel:
      for (const TypeState& type : backwards ? op.typesBefore : op.typesAfter) {
        store.metamodel().applyImage(type.id, type.image);
        journal.note(REP_CHANGE_METAMODEL, type.id, 0, 0);
      }
      break;
  }
}

}  // namespace rep
