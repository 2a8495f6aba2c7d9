// The open store of the process: the object graph, its file (none for a
// store in memory) and the nesting of save transactions.
#ifndef GR_REPOSITORY_PROJECT_H
#define GR_REPOSITORY_PROJECT_H

#include <memory>
#include <string>

#include "repository/Store.h"
#include "repository/StoreFile.h"

namespace rep {

class Project {
 public:
  // nullptr with RepLastError set on failure.
  static std::unique_ptr<Project> create(const std::string& folder);
  static std::unique_ptr<Project> open(const std::string& folder);
  static std::unique_ptr<Project> inMemory();

  Store& store() { return *store_; }

  void startTransaction() { ++depth_; }
  // The outermost commit writes.
  bool commitTransaction();
  // Writes what is pending and syncs it to disk, transaction or not.
  bool saveNow();
  // Folds the log into the store file, at a moment when nobody waits.
  bool idle() { return !file_ || file_->checkpoint(); }
  int depth() const { return depth_; }
  int64_t lastCommitRows() const { return file_ ? file_->lastWriteRows() : 0; }
  int64_t lastCommitBytes() const { return file_ ? file_->lastWriteBytes() : 0; }

 private:
  Project() : store_(std::make_unique<Store>()) {}

  std::unique_ptr<Store> store_;
  std::unique_ptr<StoreFile> file_;
  int depth_ = 0;
};

}  // namespace rep

#endif
