#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/text/TextConversion.h"

namespace vornel {

namespace {

constexpr uint16_t kNullTag = 0x0000;
constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint16_t kClassTag = 0x8000;
constexpr uint16_t kBigObjectTag = 0x7FFF;
constexpr uint32_t kBigClassTag = 0x80000000u;
constexpr size_t kMaxClassNameLength = 64;
constexpr int kMaxObjectDepth = 200;
constexpr size_t kFlushBytes = size_t(1) << 20;

// The reader that is reading on this thread, told of objects that die during the read.
thread_local ArchiveReader* t_activeReader = nullptr;

}  // namespace

Persistent::~Persistent() {
  if (t_activeReader != nullptr) t_activeReader->ForgetObject(this);
}

// ---------------------------------------------------------------------------------------------
// Writer

void ArchiveWriter::WriteU16(uint16_t v) {
  bytes_.push_back(static_cast<uint8_t>(v));
  bytes_.push_back(static_cast<uint8_t>(v >> 8));
}

void ArchiveWriter::WriteU32(uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) bytes_.push_back(static_cast<uint8_t>(v >> shift));
}

void ArchiveWriter::WriteDouble(double v) {
  uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  for (int shift = 0; shift < 64; shift += 8) bytes_.push_back(static_cast<uint8_t>(bits >> shift));
}

void ArchiveWriter::WriteBytes(std::span<const uint8_t> data) {
  bytes_.insert(bytes_.end(), data.begin(), data.end());
}

void ArchiveWriter::WriteRaw(std::string_view chars) { bytes_.insert(bytes_.end(), chars.begin(), chars.end()); }

void ArchiveWriter::WriteCount(size_t count) {
  if (count < 0xFFFF) {
    WriteU16(static_cast<uint16_t>(count));
  } else {
    WriteU16(0xFFFF);
    WriteU32(static_cast<uint32_t>(count));
  }
}

void ArchiveWriter::WriteText(std::string_view utf8) {
  const std::u16string wide = Utf8ToWide(utf8);
  WriteU8(0xFF);
  WriteU16(0xFFFE);
  const size_t length = wide.size();
  if (length < 0xFF) {
    WriteU8(static_cast<uint8_t>(length));
  } else {
    WriteU8(0xFF);
    if (length < 0xFFFE) {
      WriteU16(static_cast<uint16_t>(length));
    } else {
      WriteU16(0xFFFF);
      WriteU32(static_cast<uint32_t>(length));
    }
  }
  for (const char16_t unit : wide) WriteU16(unit);
}

void ArchiveWriter::WriteTag(uint32_t index, bool isClass) {
  if (index < kBigObjectTag) {
    WriteU16(static_cast<uint16_t>(index | (isClass ? kClassTag : 0)));
  } else {
    WriteU16(kBigObjectTag);
    WriteU32(index | (isClass ? kBigClassTag : 0));
  }
}

void ArchiveWriter::Flush() {
  if (!flush_ || bytes_.empty()) return;
  flush_(bytes_);
  bytes_.clear();
}

void ArchiveWriter::WriteObject(const Persistent* object, bool onlyHere) {
  if (object == nullptr) {
    WriteU16(kNullTag);
    return;
  }
  if (!onlyHere) {
    if (const uint32_t number = objectNumbers_.Find(object); number != 0) {
      WriteTag(number, false);
      return;
    }
  }
  const std::string name(object->ClassName());
  if (const auto found = classNumbers_.find(name); found != classNumbers_.end()) {
    WriteTag(found->second, true);
  } else {
    WriteU16(kNewClassTag);
    WriteU16(0);  // schema
    WriteU16(static_cast<uint16_t>(name.size()));
    WriteRaw(name);
    classNumbers_.emplace(name, nextNumber_++);
  }
  // Every new object takes a number, as the reader counts them; only objects that may come
  // again need finding by it.
  const uint32_t number = nextNumber_++;
  if (!onlyHere) objectNumbers_.Insert(object, number);
  object->Store(*this);
  if (flush_ && bytes_.size() >= kFlushBytes) Flush();
}

// ---------------------------------------------------------------------------------------------
// Reader

ArchiveReader::ArchiveReader(std::span<const uint8_t> data, std::string version)
    : data_(data),
      version_(std::move(version)),
      buildBudget_(kBaseBuildBudget + std::min(data.size(), (SIZE_MAX - kBaseBuildBudget) / kBuildBudgetPerByte) *
                                          kBuildBudgetPerByte),
      outerReader_(t_activeReader) {
  t_activeReader = this;
}

void ArchiveReader::ChargeBuilt(size_t bytes) {
  if (bytes > buildBudget_) {
    Fail(ArchiveErrorCode::kOverBudget, "the records build more than an archive of " + std::to_string(data_.size()) +
                                            " bytes can hold");
  }
  buildBudget_ -= bytes;
}

ArchiveReader::~ArchiveReader() {
  // Hand the watch back to the reader this one was nested in. Readers are stack objects, so
  // they end in reverse order of creation.
  t_activeReader = outerReader_;
}

void ArchiveReader::ForgetObject(const Persistent* object) {
  const uint32_t number = object->readNumber_;
  if (number == 0) return;
  for (ArchiveReader* reader = this; reader != nullptr; reader = reader->outerReader_) {
    if (number < reader->loaded_.size() && reader->loaded_[number].object == object) {
      reader->loaded_[number].object = nullptr;
    }
  }
}

void ArchiveReader::Fail(ArchiveErrorCode code, const std::string& detail) const {
  throw ArchiveError(code, detail + " (at byte " + std::to_string(pos_) + ")");
}

void ArchiveReader::Need(size_t count) const {
  if (count > Remaining()) Fail(ArchiveErrorCode::kEndOfFile, "unexpected end of data");
}

uint8_t ArchiveReader::ReadU8() {
  Need(1);
  return data_[pos_++];
}

uint16_t ArchiveReader::ReadU16() {
  Need(2);
  const uint16_t v = static_cast<uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
  pos_ += 2;
  return v;
}

uint32_t ArchiveReader::ReadU32() {
  Need(4);
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | data_[pos_ + i];
  pos_ += 4;
  return v;
}

double ArchiveReader::ReadDouble() {
  Need(8);
  uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | data_[pos_ + i];
  pos_ += 8;
  double v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

std::vector<uint8_t> ArchiveReader::ReadBytes(size_t count) {
  Need(count);
  std::vector<uint8_t> out(data_.begin() + static_cast<std::ptrdiff_t>(pos_),
                           data_.begin() + static_cast<std::ptrdiff_t>(pos_ + count));
  pos_ += count;
  return out;
}

std::string ArchiveReader::ReadRaw(size_t count) {
  Need(count);
  std::string out(reinterpret_cast<const char*>(data_.data() + pos_), count);
  pos_ += count;
  return out;
}

size_t ArchiveReader::ReadCount(size_t minBytesEach) {
  size_t count = ReadU16();
  if (count == 0xFFFF) count = ReadU32();
  if (minBytesEach > 0 && count > Remaining() / minBytesEach) {
    Fail(ArchiveErrorCode::kBadCount, "count " + std::to_string(count) + " beyond the data");
  }
  return count;
}

std::string ArchiveReader::ReadText() {
  bool wide = false;
  size_t length = ReadU8();
  if (length == 0xFF) {
    length = ReadU16();
    if (length == 0xFFFE) {
      wide = true;
      length = ReadU8();
      if (length == 0xFF) length = ReadU16();
    }
    if (length == 0xFFFF) length = ReadU32();
  }
  const size_t unitSize = wide ? 2 : 1;
  if (length > Remaining() / unitSize) Fail(ArchiveErrorCode::kBadCount, "text length beyond the data");
  if (!wide) return Decode8BitText(ReadRaw(length));
  std::u16string units(length, u'\0');
  for (char16_t& unit : units) unit = ReadU16();
  return WideToUtf8(units);
}

ArchiveReader::Tag ArchiveReader::ReadTag() {
  const uint16_t word = ReadU16();
  uint32_t tag;
  if (word == kBigObjectTag) {
    tag = ReadU32();
  } else {
    tag = (static_cast<uint32_t>(word & kClassTag) << 16) | (word & ~kClassTag);
  }
  if ((tag & kBigClassTag) == 0) return Tag{Tag::kObject, tag, {}};
  if (word != kNewClassTag) return Tag{Tag::kOldClass, tag & ~kBigClassTag, {}};

  const uint16_t schema = ReadU16();
  const uint16_t length = ReadU16();
  if (length == 0 || length >= kMaxClassNameLength) Fail(ArchiveErrorCode::kBadClass, "bad class name length");
  std::string name = ReadRaw(length);
  if (schema != 0) Fail(ArchiveErrorCode::kBadSchema, "schema " + std::to_string(schema) + " of class " + name);
  return Tag{Tag::kNewClass, 0, std::move(name)};
}

const std::string& ArchiveReader::ClassNameOf(const Tag& tag) {
  if (tag.kind == Tag::kNewClass) {
    loaded_.push_back(Entry{nullptr, static_cast<int32_t>(classNames_.size())});
    classNames_.push_back(tag.className);
    return classNames_.back();
  }
  if (tag.index == 0 || tag.index >= loaded_.size() || loaded_[tag.index].classIndex < 0) {
    Fail(ArchiveErrorCode::kBadIndex, "reference to a class not read before");
  }
  return classNames_[static_cast<size_t>(loaded_[tag.index].classIndex)];
}

Persistent* ArchiveReader::LoadedObject(uint32_t index) const {
  if (index >= loaded_.size() || loaded_[index].classIndex >= 0 || loaded_[index].object == nullptr) {
    Fail(ArchiveErrorCode::kBadIndex, "reference to an object not read before, or no longer there");
  }
  return loaded_[index].object;
}

void ArchiveReader::KeepSharedHandle(const std::shared_ptr<Persistent>& handle) {
  if (handle != nullptr && handle->readNumber_ != 0) sharedHandles_[handle->readNumber_] = handle;
}

std::shared_ptr<Persistent> ArchiveReader::SharedHandleOf(const Persistent* object) const {
  if (object == nullptr) return nullptr;
  const auto found = sharedHandles_.find(object->readNumber_);
  if (found == sharedHandles_.end()) return nullptr;
  std::shared_ptr<Persistent> handle = found->second.lock();
  return handle.get() == object ? handle : nullptr;
}

void ArchiveReader::RememberObject(Persistent* object) {
  object->readNumber_ = static_cast<uint32_t>(loaded_.size());
  loaded_.push_back(Entry{object, -1});
}

ArchiveReader::DepthGuard::DepthGuard(ArchiveReader& r) : reader_(r) {
  if (++reader_.depth_ > kMaxObjectDepth) {
    --reader_.depth_;
    reader_.Fail(ArchiveErrorCode::kTooDeep, "objects nested too deeply");
  }
}

}  // namespace vornel
