// Reads a SQLite write-ahead log the way SQLite's recovery reads it, without
// SQLite, so that a log can be judged before anything applies it. A log is a
// 32-byte header (magic, version, page size, checkpoint number, two salts, a
// checksum) and frames of a 24-byte header (page number, database size after
// a commit or 0, the salts, a running checksum) and one page. Recovery takes
// the frames up to the first one whose salts or checksum do not fit, and of
// those the ones up to the last commit.
#ifndef GR_REPOSITORY_WRITEAHEADLOG_H
#define GR_REPOSITORY_WRITEAHEADLOG_H

#include <cstdint>
#include <string>
#include <vector>

namespace rep {

struct LogContents {
  bool readable = true;    // false: the file could not be read
  bool understood = true;  // false: a valid header of a log version SQLite refuses
  uint32_t pageSize = 0;
  uint32_t committedFrames = 0;  // the frames recovery would apply
  // Of the committed frames: whether the first transaction writes page 1, and
  // the user_version field (offset 60) of every page-1 frame.
  bool firstTransactionWritesPageOne = false;
  std::vector<uint32_t> pageOneUserVersions;
};

LogContents readWriteAheadLog(const std::string& path);

}  // namespace rep

#endif
