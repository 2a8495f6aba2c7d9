#include "repository/UndoFile.h"

#include "repository/Errors.h"
#include "repository/StoreSchema.h"
#include "repository/UndoCodec.h"

namespace rep {

namespace {

bool failed(Database& db) {
  return refuse<bool>("the undo history in the store file: " + db.message());
}

}  // namespace

bool UndoFile::ensureTables(Database& db) {
  return db.exec(schema::kUndoTables);
}

bool UndoFile::load(Database& db, UndoHistory& history) {
  Statement rows(db.handle(), "SELECT id, state, label, fence FROM undo_entries ORDER BY id");
  if (!rows.valid()) return failed(db);
  int code;
  while ((code = rows.step()) == SQLITE_ROW) {
    int64_t state = rows.integer(1);
    if (rows.integer(0) <= 0 || state < 0 || state > 3)
      return refuse<bool>("the store file is damaged: an undo entry does not read");
    UndoEntry& entry = history.entries().emplace_back();
    entry.id = static_cast<uint64_t>(rows.integer(0));
    entry.state = static_cast<UndoEntry::State>(state);
    entry.label = rows.text(2);
    entry.fence = rows.text(3);
    entry.loaded = false;
    entry.rowSaved = true;
  }
  if (code != SQLITE_DONE) return failed(db);
  history.restored();
  return true;
}

UndoFile::UndoFile(Database& db)
    : db_(db),
      selectParts_(db.handle(), "SELECT ops FROM undo_parts WHERE entry = ? ORDER BY part"),
      selectSeq_(db.handle(),
                 "SELECT seq FROM links WHERE obj = ? AND link_type = ? AND partner = ?"),
      upsertEntry_(db.handle(), "INSERT OR REPLACE INTO undo_entries VALUES (?, ?, ?, ?)"),
      deleteEntry_(db.handle(), "DELETE FROM undo_entries WHERE id = ?"),
      insertPart_(db.handle(), "INSERT OR REPLACE INTO undo_parts VALUES (?, ?, ?)"),
      deleteParts_(db.handle(), "DELETE FROM undo_parts WHERE entry = ?") {}

bool UndoFile::valid() const {
  return selectParts_.valid() && selectSeq_.valid() && upsertEntry_.valid() &&
         deleteEntry_.valid() && insertPart_.valid() && deleteParts_.valid();
}

bool UndoFile::loadOps(UndoEntry& entry) {
  std::string ops;
  uint32_t parts = 0;
  selectParts_.bind(1, static_cast<int64_t>(entry.id));
  int code;
  while ((code = selectParts_.step()) == SQLITE_ROW) {
    ops += selectParts_.blob(0);
    ++parts;
  }
  selectParts_.reset();
  if (code != SQLITE_DONE) return failed(db_);
  entry.ops = std::move(ops);
  entry.loaded = true;
  entry.savedBytes = entry.ops.size();
  entry.savedParts = parts;
  return true;
}

bool UndoFile::resolveSeqs(UndoEntry& entry) {
  ByteWriter patch(entry.ops);
  for (const SeqFix& fix : entry.fixes) {
    selectSeq_.bind(1, int64_t{fix.link.from})
        .bind(2, int64_t{fix.link.linkType})
        .bind(3, int64_t{fix.link.to});
    int code = selectSeq_.step();
    // No row: the link was never saved; replay gives it a new key.
    uint64_t seq = code == SQLITE_ROW ? static_cast<uint64_t>(selectSeq_.integer(0)) : 0;
    selectSeq_.reset();
    if (code != SQLITE_ROW && code != SQLITE_DONE) return failed(db_);
    patch.patch64(fix.offset, seq);
  }
  entry.fixes.clear();
  return true;
}

bool UndoFile::resolveAll(UndoHistory& history) {
  for (UndoEntry& entry : history.entries()) {
    if (!entry.fixes.empty() && !resolveSeqs(entry)) return false;
  }
  return true;
}

bool UndoFile::writeEntry(UndoEntry& entry) {
  if (entry.rewrite && !deleteParts_.bind(1, static_cast<int64_t>(entry.id)).run()) return false;
  size_t from = entry.rewrite ? 0 : entry.savedBytes;
  uint32_t part = entry.rewrite ? 0 : entry.savedParts;
  if (entry.loaded && entry.ops.size() > from) {
    if (!insertPart_.bind(1, static_cast<int64_t>(entry.id))
             .bind(2, int64_t{part})
             .bindBlob(3, entry.ops.data() + from, entry.ops.size() - from)
             .run())
      return false;
  }
  if (entry.rowSaved) return true;
  return upsertEntry_.bind(1, static_cast<int64_t>(entry.id))
      .bind(2, static_cast<int64_t>(entry.state))
      .bind(3, entry.label)
      .bind(4, entry.fence)
      .run();
}

bool UndoFile::write(UndoHistory& history) {
  for (uint64_t id : history.dropped()) {
    if (!deleteEntry_.bind(1, static_cast<int64_t>(id)).run() ||
        !deleteParts_.bind(1, static_cast<int64_t>(id)).run())
      return false;
  }
  for (UndoEntry& entry : history.entries()) {
    if (!writeEntry(entry)) return false;
  }
  return true;
}

void UndoFile::saved(UndoHistory& history) {
  history.clearDropped();
  for (UndoEntry& entry : history.entries()) {
    entry.rowSaved = true;
    if (!entry.loaded) continue;
    bool wrote = entry.ops.size() > (entry.rewrite ? 0 : entry.savedBytes);
    if (entry.rewrite) entry.savedParts = 0;
    if (wrote) ++entry.savedParts;
    entry.savedBytes = entry.ops.size();
    entry.rewrite = false;
  }
}

}  // namespace rep
