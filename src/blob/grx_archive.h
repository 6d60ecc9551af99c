// CGRXArchive: the object-archive conventions of the stored blobs over a memory buffer, opened
// for storing or for loading, with the typed encoders and decoders of every attribute tag.
//
// A loading archive never trusts its bytes: whatever does not fit what is left, a count that
// the remaining bytes cannot hold, an unknown class, a null, dangling or back reference, or an
// unknown VARIANT type throws CBlobFormatError before anything is read or reserved for it.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "blob/blob_bytes.h"
#include "blob/blob_values.h"

class CBlobFormatError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

class CGRXArchive {
public:
  // A storing archive over a buffer of its own.
  CGRXArchive();
  // A loading archive over bytes it does not own.
  explicit CGRXArchive(std::span<const std::uint8_t> bytes);
  virtual ~CGRXArchive();
  CGRXArchive(const CGRXArchive&) = delete;
  CGRXArchive& operator=(const CGRXArchive&) = delete;

  bool IsStoring() const { return m_storing; }

  // Storing.
  void WriteU8(std::uint8_t value) { m_writer.U8(value); }
  void WriteU16(std::uint16_t value) { m_writer.U16(value); }
  void WriteU32(std::uint32_t value) { m_writer.U32(value); }
  void WriteU64(std::uint64_t value) { m_writer.U64(value); }
  void WriteBytes(std::span<const std::uint8_t> bytes) { m_writer.Bytes(bytes); }
  void Reserve(std::size_t n) { m_writer.Reserve(n); }
  // n more bytes at the end, for the caller to fill.
  std::uint8_t* Extend(std::size_t n) { return m_writer.Extend(n); }
  // A count: u16 below 0xFFFF, else 0xFFFF and a u32.
  void WriteCount(std::uint32_t count) { m_writer.Count(count); }
  // An archive string: its length (u8, 0xFF + u16, or 0xFF 0xFFFF + u32) and its bytes.
  void WriteString(const std::string& text);
  // The reference that starts an object's data: the class announcement the first time (0xFFFF,
  // schema 0, name length, name), then 0x8000 + the class's index.
  void WriteObjectStart(const char* className);
  std::size_t Size() const { return m_writer.Size(); }
  const std::vector<std::uint8_t>& Data() const { return m_writer.Data(); }
  std::vector<std::uint8_t> Take() { return m_writer.Take(); }

  // Loading.
  std::uint8_t ReadU8() { return Need(m_reader.U8(), "a byte"); }
  std::uint16_t ReadU16() { return Need(m_reader.U16(), "a 16-bit value"); }
  std::uint32_t ReadU32() { return Need(m_reader.U32(), "a 32-bit value"); }
  std::uint64_t ReadU64() { return Need(m_reader.U64(), "a 64-bit value"); }
  std::span<const std::uint8_t> ReadBytes(std::size_t n) { return Need(m_reader.Bytes(n), "a run of bytes"); }
  std::uint32_t ReadCount();
  // Also takes the wide-string marker (0xFF 0xFFFE) ahead of the length: UTF-16 units follow and
  // are converted to the code page.
  std::string ReadString();
  // Reads an object reference that must announce or name the class.
  void ReadObjectStart(const char* className);
  // Throws unless count elements of elementSize bytes each can still follow.
  void RequireFits(std::uint64_t count, std::size_t elementSize) const;
  std::size_t Remaining() const { return m_reader.Remaining(); }
  std::size_t Position() const { return m_reader.Position(); }

private:
  template <class T>
  static T Need(std::optional<T> value, const char* what) {
    if (!value) throw CBlobFormatError(std::string("end of data in ") + what);
    return *value;
  }

  struct Loaded {
    bool isClass;
    std::string className;
  };

  bool m_storing;
  grx::blob::BlobWriter m_writer;
  grx::blob::BlobReader m_reader{{}};
  std::vector<std::pair<std::string, std::uint32_t>> m_storedClasses;
  std::uint32_t m_nextIndex = 1;
  std::vector<Loaded> m_loaded; // index i of the archive is m_loaded[i - 1]
};

// The encoding of a value after its tag, and its decoding (the decoded value replaces value).
template <BlobAttrType Tag>
void EncodeBlobValue(CGRXArchive& archive, const BlobValueT<Tag>& value);
template <BlobAttrType Tag>
void DecodeBlobValue(CGRXArchive& archive, BlobValueT<Tag>& value);
