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

RepId EndTable::typeAt(size_t pos) const {
  uint32_t shortType = data()[pos] >> 8;
  return shortType == kLongType ? data()[pos + 1] : shortType;
}

size_t EndTable::next(size_t pos) const {
  uint32_t count = countAt(pos);
  return bodyAt(pos) + (count == kOutOfLine ? 1 : count);
}

size_t EndTable::headerOf(RepId linkType) const {
  for (size_t pos = 0; pos < size_; pos = next(pos)) {
    if (typeAt(pos) == linkType) return pos;
  }
  return kNone;
}

EndTable::Run EndTable::runAt(size_t pos) const {
  uint32_t count = countAt(pos);
  const uint32_t* body = data() + bodyAt(pos);
  if (count == kOutOfLine) return Run{true, true, {}, *body};
  return Run{true, false, std::span<const RepId>(body, count), 0};
}

EndTable::Run EndTable::find(RepId linkType) const {
  size_t pos = headerOf(linkType);
  return pos == kNone ? Run{} : runAt(pos);
}

uint32_t* EndTable::appendRun(RepId linkType, uint32_t count, uint32_t bodyWords) {
  uint32_t* run = insertWords(size_, headerWords(linkType) + bodyWords);
  *run++ = header(linkType, count);
  if (headerWords(linkType) == 2) *run++ = linkType;
  return run;
}

bool EndTable::appendInline(RepId linkType, RepId partner) {
  size_t pos = headerOf(linkType);
  if (pos == kNone) {
    *appendRun(linkType, 1, 1) = partner;
    return true;
  }
  uint32_t count = countAt(pos);
  if (count == kOutOfLine) return false;
  size_t body = bodyAt(pos);
  uint32_t* first = data() + body;
  uint32_t* last = first + count;
  uint32_t* found = std::find(first, last, partner);
  if (found != last) {
    std::rotate(found, found + 1, last);
    return true;
  }
  if (count >= kMaxInline) return false;
  *insertWords(body + count, 1) = partner;
  ++data()[pos];  // the count, in the low byte
  return true;
}

bool EndTable::removeInline(RepId linkType, RepId partner) {
  size_t pos = headerOf(linkType);
  if (pos == kNone) return false;
  uint32_t count = countAt(pos);
  if (count == kOutOfLine) return false;
  const uint32_t* first = data() + bodyAt(pos);
  const uint32_t* found = std::find(first, first + count, partner);
  if (found == first + count) return false;
  if (count == 1) {
    eraseWords(pos, static_cast<uint32_t>(next(pos) - pos));
  } else {
    eraseWords(static_cast<size_t>(found - data()), 1);
    --data()[pos];
  }
  return true;
}

void EndTable::setOutOfLine(RepId linkType, uint32_t bigSlot) {
  eraseRun(linkType);
  *appendRun(linkType, kOutOfLine, 1) = bigSlot;
}

void EndTable::eraseRun(RepId linkType) {
  size_t pos = headerOf(linkType);
  if (pos == kNone) return;
  eraseWords(pos, static_cast<uint32_t>(next(pos) - pos));
}

void EndTable::addRun(RepId linkType, std::span<const RepId> partners) {
  auto count = static_cast<uint32_t>(partners.size());
  std::copy(partners.begin(), partners.end(), appendRun(linkType, count, count));
}

}  // namespace rep
