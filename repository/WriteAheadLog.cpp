#include "repository/WriteAheadLog.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>

namespace rep {

namespace {

constexpr uint32_t kMagic = 0x377f0682;  // the low bit tells the checksum byte order
constexpr uint32_t kVersion = 3007000;
constexpr size_t kHeaderSize = 32;
constexpr size_t kFrameHeaderSize = 24;
constexpr size_t kUserVersionOffset = 60;

uint32_t bigEndian(const unsigned char* bytes) {
  return uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 | uint32_t{bytes[2]} << 8 |
         uint32_t{bytes[3]};
}

uint32_t littleEndian(const unsigned char* bytes) {
  return uint32_t{bytes[3]} << 24 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[1]} << 8 |
         uint32_t{bytes[0]};
}

// SQLite's running checksum: over pairs of 32-bit words, in the byte order
// the magic names.
struct Checksum {
  bool bigEndianWords = false;
  uint32_t first = 0;
  uint32_t second = 0;

  void add(const unsigned char* bytes, size_t size) {
    for (size_t pos = 0; pos + 8 <= size; pos += 8) {
      uint32_t a = bigEndianWords ? bigEndian(bytes + pos) : littleEndian(bytes + pos);
      uint32_t b = bigEndianWords ? bigEndian(bytes + pos + 4) : littleEndian(bytes + pos + 4);
      first += a + second;
      second += b + first;
    }
  }
  bool matches(const unsigned char* stored) const {
    return first == bigEndian(stored) && second == bigEndian(stored + 4);
  }
};

bool readAt(int fd, unsigned char* buffer, size_t size, off_t offset) {
  size_t done = 0;
  while (done < size) {
    ssize_t got = ::pread(fd, buffer + done, size - done, offset + static_cast<off_t>(done));
    if (got <= 0) return false;
    done += static_cast<size_t>(got);
  }
  return true;
}

bool validPageSize(uint32_t size) {
  return size >= 512 && size <= 65536 && (size & (size - 1)) == 0;
}

class LogReader {
 public:
  explicit LogReader(int fd) : fd_(fd) {}

  LogContents read() {
    LogContents contents;
    std::array<unsigned char, kHeaderSize> header{};
    off_t size = ::lseek(fd_, 0, SEEK_END);
    if (size < 0) return unreadable();
    // A short or broken header makes SQLite start the log afresh.
    if (static_cast<size_t>(size) < kHeaderSize || !readAt(fd_, header.data(), kHeaderSize, 0))
      return contents;
    uint32_t magic = bigEndian(header.data());
    contents.pageSize = bigEndian(header.data() + 8);
    if ((magic & ~1u) != kMagic || !validPageSize(contents.pageSize)) return contents;
    checksum_.bigEndianWords = (magic & 1u) != 0;
    checksum_.add(header.data(), 24);
    if (!checksum_.matches(header.data() + 24)) return contents;
    if (bigEndian(header.data() + 4) != kVersion) {
      contents.understood = false;
      return contents;
    }
    std::copy(header.begin() + 16, header.begin() + 24, salts_.begin());
    readFrames(contents, static_cast<uint64_t>(size));
    return contents;
  }

 private:
  static LogContents unreadable() {
    LogContents contents;
    contents.readable = false;
    return contents;
  }

  void readFrames(LogContents& contents, uint64_t fileSize) {
    size_t frameSize = kFrameHeaderSize + contents.pageSize;
    std::vector<unsigned char> frame(frameSize);
    uint64_t frames = (fileSize - kHeaderSize) / frameSize;
    bool pageOneInTransaction = false;
    std::vector<uint32_t> pendingVersions;
    for (uint64_t index = 0; index < frames; ++index) {
      off_t offset = static_cast<off_t>(kHeaderSize + index * frameSize);
      if (!readAt(fd_, frame.data(), frameSize, offset) || !frameFits(frame.data(), frameSize))
        break;
      uint32_t page = bigEndian(frame.data());
      if (page == 1) {
        pageOneInTransaction = true;
        pendingVersions.push_back(bigEndian(frame.data() + kFrameHeaderSize + kUserVersionOffset));
      }
      if (bigEndian(frame.data() + 4) == 0) continue;  // not a commit
      if (contents.committedFrames == 0)
        contents.firstTransactionWritesPageOne = pageOneInTransaction;
      contents.committedFrames = static_cast<uint32_t>(index + 1);
      contents.pageOneUserVersions.insert(contents.pageOneUserVersions.end(),
                                          pendingVersions.begin(), pendingVersions.end());
      pendingVersions.clear();
      pageOneInTransaction = false;
    }
  }

  bool frameFits(const unsigned char* frame, size_t frameSize) {
    if (!std::equal(salts_.begin(), salts_.end(), frame + 8)) return false;
    if (bigEndian(frame) == 0) return false;
    checksum_.add(frame, 8);
    checksum_.add(frame + kFrameHeaderSize, frameSize - kFrameHeaderSize);
    return checksum_.matches(frame + 16);
  }

  int fd_;
  Checksum checksum_;
  std::array<unsigned char, 8> salts_{};
};

}  // namespace

LogContents readWriteAheadLog(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    LogContents contents;
    contents.readable = false;
    return contents;
  }
  LogContents contents = LogReader(fd).read();
  ::close(fd);
  return contents;
}

}  // namespace rep
