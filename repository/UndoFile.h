// The undo history in the store file: a row per entry (its state, label and
// fence) and its records in parts, one part per commit that added to it, so
// that a commit appends what its gesture recorded instead of rewriting the
// entry. Written by the store file's commits, inside their transactions.
#ifndef GR_REPOSITORY_UNDOFILE_H
#define GR_REPOSITORY_UNDOFILE_H

#include "repository/Sqlite.h"
#include "repository/UndoHistory.h"

namespace rep {

class UndoFile : public UndoStorage {
 public:
  // Makes the tables when the file lacks them (a file from before the
  // history); false when that fails.
  static bool ensureTables(Database& db);
  // Reads the entries' rows into HISTORY (their records stay in the file).
  static bool load(Database& db, UndoHistory& history);

  explicit UndoFile(Database& db);
  bool valid() const;

  bool loadOps(UndoEntry& entry) override;
  bool resolveSeqs(UndoEntry& entry) override;
  // Inside the commit's transaction, before its link rows are written: the
  // keys the entries lack are still the file's.
  bool resolveAll(UndoHistory& history);
  bool write(UndoHistory& history);
  // After the commit that wrote HISTORY went through.
  static void saved(UndoHistory& history);

 private:
  bool writeEntry(UndoEntry& entry);

  Database& db_;
  Statement selectParts_, selectSeq_, upsertEntry_, deleteEntry_, insertPart_, deleteParts_;
};

}  // namespace rep

#endif
