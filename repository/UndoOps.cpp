#include "repository/UndoOps.h"

#include "repository/UndoCodec.h"

namespace rep {

namespace {

constexpr size_t kFrame = sizeof(uint32_t);

void writeImage(ByteWriter& out, const TypeImage& image) {
  out.u8(static_cast<uint8_t>(image.kind));
  if (image.kind == TypeKind::None) return;
  out.text(image.name);
  out.u32(image.package);
  switch (image.kind) {
    case TypeKind::Class:
      out.u32(image.superclass);
      out.ids(image.subclasses);
      out.ids(image.attributes);
      out.ids(image.linkTypes);
      break;
    case TypeKind::Attribute:
      out.u32(static_cast<uint32_t>(image.baseType));
      out.text(image.enumTypeName);
      break;
    case TypeKind::LinkType:
      out.u32(image.start);
      out.u32(image.end);
      out.u32(image.inverse);
      out.u32(static_cast<uint32_t>(image.multiplicity));
      out.u8(image.ordered);
      out.u32(static_cast<uint32_t>(image.compositionRole));
      break;
    default:
      break;
  }
}

TypeImage readImage(ByteReader& in) {
  TypeImage image;
  image.kind = static_cast<TypeKind>(in.u8());
  if (image.kind == TypeKind::None) return image;
  image.name = in.text();
  image.package = in.u32();
  switch (image.kind) {
    case TypeKind::Class:
      image.superclass = in.u32();
      image.subclasses = in.ids();
      image.attributes = in.ids();
      image.linkTypes = in.ids();
      break;
    case TypeKind::Attribute:
      image.baseType = static_cast<int>(in.u32());
      image.enumTypeName = in.text();
      break;
    case TypeKind::LinkType:
      image.start = in.u32();
      image.end = in.u32();
      image.inverse = in.u32();
      image.multiplicity = static_cast<int>(in.u32());
      image.ordered = in.u8() != 0;
      image.compositionRole = static_cast<int>(in.u32());
      break;
    case TypeKind::Package:
      break;
    default:
      in.spoil();
      break;
  }
  return image;
}

void writeTypes(ByteWriter& out, const std::vector<TypeState>& types) {
  out.u32(static_cast<uint32_t>(types.size()));
  for (const TypeState& type : types) {
    out.u32(type.id);
    writeImage(out, type.image);
  }
}

std::vector<TypeState> readTypes(ByteReader& in) {
  std::vector<TypeState> types;
  uint32_t count = in.u32();
  for (uint32_t i = 0; i < count && in.good(); ++i) {
    TypeState& type = types.emplace_back();
    type.id = in.u32();
    type.image = readImage(in);
  }
  return types;
}

uint32_t frameAt(std::string_view ops, size_t pos) {
  uint32_t length = 0;
  std::memcpy(&length, ops.data() + pos, sizeof length);
  return length;
}

}  // namespace

// ---- writing ---------------------------------------------------------------------

size_t UndoOpWriter::begin(UndoKind kind) {
  size_t start = out_.size();
  ByteWriter out(out_);
  out.u32(0);  // the length, known at the end
  out.u8(static_cast<uint8_t>(kind));
  return start;
}

void UndoOpWriter::end(size_t start) {
  auto length = static_cast<uint32_t>(out_.size() + kFrame - start);
  std::memcpy(&out_[start], &length, sizeof length);
  ByteWriter(out_).u32(length);
}

void UndoOpWriter::seq(uint64_t value, const LinkChange& row) {
  if (value == kSeqUnresolved) fixes_.push_back(SeqFix{out_.size(), row});
  ByteWriter(out_).u64(value);
}

void UndoOpWriter::objectCreated(RepId object, RepId classId) {
  size_t start = begin(UndoKind::ObjectCreated);
  ByteWriter out(out_);
  out.u32(object);
  out.u32(classId);
  end(start);
}

void UndoOpWriter::objectDeleted(RepId object, RepId classId,
                                 const std::vector<std::pair<RepId, std::string_view>>& values) {
  size_t start = begin(UndoKind::ObjectDeleted);
  ByteWriter out(out_);
  out.u32(object);
  out.u32(classId);
  out.u32(static_cast<uint32_t>(values.size()));
  for (const auto& [attr, text] : values) {
    out.u32(attr);
    out.text(text);
  }
  end(start);
}

void UndoOpWriter::linkAdded(const LinkChange& link, const LinkChange& row,
                             const LinkPlace* moved) {
  size_t start = begin(UndoKind::LinkAdded);
  ByteWriter out(out_);
  out.u32(link.from);
  out.u32(link.linkType);
  out.u32(link.to);
  out.u64(link.seq);
  out.u8(moved != nullptr);
  if (moved) {
    seq(moved->seq, row);
    out.u32(moved->rankFrom);
    out.u32(moved->rankTo);
  }
  end(start);
}

void UndoOpWriter::linkRemoved(const LinkChange& link, const LinkChange& row,
                               const LinkPlace& place) {
  size_t start = begin(UndoKind::LinkRemoved);
  ByteWriter out(out_);
  out.u32(link.from);
  out.u32(link.linkType);
  out.u32(link.to);
  seq(place.seq, row);
  out.u32(place.rankFrom);
  out.u32(place.rankTo);
  end(start);
}

void UndoOpWriter::valueSet(RepId object, RepId attr, const std::string* old,
                            std::string_view now) {
  size_t start = begin(UndoKind::ValueSet);
  ByteWriter out(out_);
  out.u32(object);
  out.u32(attr);
  out.u8(old != nullptr);
  if (old) out.text(*old);
  out.text(now);
  end(start);
}

void UndoOpWriter::valueRemoved(RepId object, RepId attr, uint32_t index, std::string_view old) {
  size_t start = begin(UndoKind::ValueRemoved);
  ByteWriter out(out_);
  out.u32(object);
  out.u32(attr);
  out.u32(index);
  out.text(old);
  end(start);
}

void UndoOpWriter::metamodelChanged(const std::vector<TypeState>& before,
                                    const std::vector<TypeState>& after) {
  size_t start = begin(UndoKind::Metamodel);
  ByteWriter out(out_);
  writeTypes(out, before);
  writeTypes(out, after);
  end(start);
}

// ---- reading ---------------------------------------------------------------------

UndoOpReader::UndoOpReader(std::string_view ops, bool backwards)
    : ops_(ops), backwards_(backwards), pos_(backwards ? ops.size() : 0) {}

bool UndoOpReader::next(UndoOp& op) {
  if (damaged_ || (backwards_ ? pos_ == 0 : pos_ == ops_.size())) return false;
  size_t left = backwards_ ? pos_ : ops_.size() - pos_;
  if (left < 2 * kFrame + 1) return damaged_ = true, false;
  uint32_t length = frameAt(ops_, backwards_ ? pos_ - kFrame : pos_);
  if (length < 2 * kFrame + 1 || length > left) return damaged_ = true, false;
  size_t start = backwards_ ? pos_ - length : pos_;
  if (frameAt(ops_, start) != length || frameAt(ops_, start + length - kFrame) != length)
    return damaged_ = true, false;
  pos_ = backwards_ ? start : start + length;
  if (!decode(ops_.substr(start + kFrame, length - 2 * kFrame), op)) return damaged_ = true, false;
  return true;
}

bool UndoOpReader::decode(std::string_view record, UndoOp& op) {
  ByteReader in(record.data(), record.size());
  op = UndoOp{};
  op.kind = static_cast<UndoKind>(in.u8());
  switch (op.kind) {
    case UndoKind::ObjectCreated:
      op.object = in.u32();
      op.type = in.u32();
      break;
    case UndoKind::ObjectDeleted: {
      op.object = in.u32();
      op.type = in.u32();
      uint32_t count = in.u32();
      for (uint32_t i = 0; i < count && in.good(); ++i) {
        RepId attr = in.u32();
        op.values.emplace_back(attr, in.text());
      }
      break;
    }
    case UndoKind::LinkAdded:
      op.object = in.u32();
      op.type = in.u32();
      op.partner = in.u32();
      op.seq = in.u64();
      op.flag = in.u8() != 0;
      if (op.flag) op.before = LinkPlace{in.u64(), in.u32(), in.u32()};
      break;
    case UndoKind::LinkRemoved:
      op.object = in.u32();
      op.type = in.u32();
      op.partner = in.u32();
      op.before = LinkPlace{in.u64(), in.u32(), in.u32()};
      op.seq = op.before.seq;
      break;
    case UndoKind::ValueSet:
      op.object = in.u32();
      op.type = in.u32();
      op.flag = in.u8() != 0;
      if (op.flag) op.oldText = in.text();
      op.newText = in.text();
      break;
    case UndoKind::ValueRemoved:
      op.object = in.u32();
      op.type = in.u32();
      op.index = in.u32();
      op.oldText = in.text();
      break;
    case UndoKind::Metamodel:
      op.typesBefore = readTypes(in);
      op.typesAfter = readTypes(in);
      break;
    default:
      return false;
  }
  return in.good() && in.atEnd();
}

}  // namespace rep
