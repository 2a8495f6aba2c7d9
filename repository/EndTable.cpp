#include "repository/EndTable.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace rep {

namespace {

// Heap blocks hold a power of two of words, at least as many as are in use.
size_t heapCapacity(size_t words) {
  return std::bit_ceil(words);
}

}  // namespace

void EndTable::clear() {
  if (onHeap()) delete[] heap();
  size_ = 0;
}

uint32_t* EndTable::insertWords(size_t pos, uint32_t count) {
  size_t oldSize = size_;
  size_t newSize = oldSize + count;
  uint32_t* words = data();
  if (newSize > kLocalWords && (oldSize <= kLocalWords || newSize > heapCapacity(oldSize))) {
    auto* grown = new uint32_t[heapCapacity(newSize)];
    std::memcpy(grown, words, pos * sizeof(uint32_t));
    std::memcpy(grown + pos + count, words + pos, (oldSize - pos) * sizeof(uint32_t));
    if (oldSize > kLocalWords) delete[] words;
    setHeap(grown);
  } else {
    std::memmove(words + pos + count, words + pos, (oldSize - pos) * sizeof(uint32_t));
  }
  size_ = static_cast<uint32_t>(newSize);
  return data() + pos;
}

void EndTable::eraseWords(size_t pos, uint32_t count) {
  size_t oldSize = size_;
  size_t newSize = oldSize - count;
  uint32_t* words = data();
  if (oldSize > kLocalWords && newSize <= kLocalWords) {
    std::memcpy(local_, words, pos * sizeof(uint32_t));
    std::memcpy(local_ + pos, words + pos + count, (newSize - pos) * sizeof(uint32_t));
    delete[] words;
  } else {
    std::memmove(words + pos, words + pos + count, (newSize - pos) * sizeof(uint32_t));
  }
  size_ = static_cast<uint32_t>(newSize);
}

size_t EndTable::next(size_t pos) const {
  uint32_t count = data()[pos + 1];
  return pos + 2 + (count == kOutOfLine ? 1 : count);
}

size_t EndTable::headerOf(RepId linkType) const {
  const uint32_t* words = data();
  for (size_t pos = 0; pos < size_; pos = next(pos)) {
    if (words[pos] == linkType) return pos;
  }
  return kNone;
}

EndTable::Run EndTable::runAt(size_t pos) const {
  const uint32_t* words = data();
  uint32_t count = words[pos + 1];
  if (count == kOutOfLine) return Run{true, true, {}, words[pos + 2]};
  return Run{true, false, std::span<const RepId>(words + pos + 2, count), 0};
}

EndTable::Run EndTable::find(RepId linkType) const {
  size_t pos = headerOf(linkType);
  return pos == kNone ? Run{} : runAt(pos);
}

bool EndTable::appendInline(RepId linkType, RepId partner) {
  size_t pos = headerOf(linkType);
  if (pos == kNone) {
    uint32_t* run = insertWords(size_, 3);
    run[0] = linkType;
    run[1] = 1;
    run[2] = partner;
    return true;
  }
  uint32_t count = data()[pos + 1];
  if (count == kOutOfLine) return false;
  uint32_t* first = data() + pos + 2;
  uint32_t* last = first + count;
  uint32_t* found = std::find(first, last, partner);
  if (found != last) {
    std::rotate(found, found + 1, last);
    return true;
  }
  if (count >= kMaxInline) return false;
  *insertWords(pos + 2 + count, 1) = partner;
  data()[pos + 1] = count + 1;
  return true;
}

bool EndTable::removeInline(RepId linkType, RepId partner) {
  size_t pos = headerOf(linkType);
  if (pos == kNone || data()[pos + 1] == kOutOfLine) return false;
  uint32_t count = data()[pos + 1];
  const uint32_t* first = data() + pos + 2;
  const uint32_t* found = std::find(first, first + count, partner);
  if (found == first + count) return false;
  if (count == 1) {
    eraseWords(pos, 3);
  } else {
    eraseWords(static_cast<size_t>(found - data()), 1);
    data()[pos + 1] = count - 1;
  }
  return true;
}

void EndTable::setOutOfLine(RepId linkType, uint32_t bigSlot) {
  eraseRun(linkType);
  uint32_t* run = insertWords(size_, 3);
  run[0] = linkType;
  run[1] = kOutOfLine;
  run[2] = bigSlot;
}

void EndTable::eraseRun(RepId linkType) {
  size_t pos = headerOf(linkType);
  if (pos == kNone) return;
  eraseWords(pos, static_cast<uint32_t>(next(pos) - pos));
}

void EndTable::addRun(RepId linkType, std::span<const RepId> partners) {
  auto count = static_cast<uint32_t>(partners.size());
  uint32_t* run = insertWords(size_, 2 + count);
  run[0] = linkType;
  run[1] = count;
  std::copy(partners.begin(), partners.end(), run + 2);
}

}  // namespace rep
