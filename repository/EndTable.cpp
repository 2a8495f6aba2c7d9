#include "repository/EndTable.h"

#include <algorithm>

namespace rep {

size_t EndTable::next(size_t pos) const {
  uint32_t count = words_[pos + 1];
  return pos + 2 + (count == kOutOfLine ? 1 : count);
}

size_t EndTable::headerOf(RepId linkType) const {
  for (size_t pos = 0; pos < words_.size(); pos = next(pos)) {
    if (words_[pos] == linkType) return pos;
  }
  return kNone;
}

EndTable::Run EndTable::runAt(size_t pos) const {
  uint32_t count = words_[pos + 1];
  if (count == kOutOfLine) return Run{true, true, {}, words_[pos + 2]};
  return Run{true, false, std::span<const RepId>(words_.data() + pos + 2, count), 0};
}

EndTable::Run EndTable::find(RepId linkType) const {
  size_t pos = headerOf(linkType);
  return pos == kNone ? Run{} : runAt(pos);
}

bool EndTable::appendInline(RepId linkType, RepId partner) {
  size_t pos = headerOf(linkType);
  if (pos == kNone) {
    words_.insert(words_.end(), {linkType, 1, partner});
    return true;
  }
  uint32_t count = words_[pos + 1];
  if (count == kOutOfLine) return false;
  auto first = words_.begin() + static_cast<std::ptrdiff_t>(pos + 2);
  auto last = first + count;
  auto found = std::find(first, last, partner);
  if (found != last) {
    std::rotate(found, found + 1, last);
    return true;
  }
  if (count >= kMaxInline) return false;
  words_.insert(last, partner);
  words_[pos + 1] = count + 1;
  return true;
}

bool EndTable::removeInline(RepId linkType, RepId partner) {
  size_t pos = headerOf(linkType);
  if (pos == kNone || words_[pos + 1] == kOutOfLine) return false;
  uint32_t count = words_[pos + 1];
  auto first = words_.begin() + static_cast<std::ptrdiff_t>(pos + 2);
  auto found = std::find(first, first + count, partner);
  if (found == first + count) return false;
  if (count == 1) {
    words_.erase(first - 2, first + 1);
  } else {
    words_.erase(found);
    words_[pos + 1] = count - 1;
  }
  return true;
}

void EndTable::setOutOfLine(RepId linkType, uint32_t bigSlot) {
  eraseRun(linkType);
  words_.insert(words_.end(), {linkType, kOutOfLine, bigSlot});
}

void EndTable::eraseRun(RepId linkType) {
  size_t pos = headerOf(linkType);
  if (pos == kNone) return;
  words_.erase(words_.begin() + static_cast<std::ptrdiff_t>(pos),
               words_.begin() + static_cast<std::ptrdiff_t>(next(pos)));
}

void EndTable::addRun(RepId linkType, std::span<const RepId> partners) {
  words_.push_back(linkType);
  words_.push_back(static_cast<uint32_t>(partners.size()));
  words_.insert(words_.end(), partners.begin(), partners.end());
}

}  // namespace rep
