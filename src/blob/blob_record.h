// The common member of the record kinds: a table of fields (key, type tag, member) from which
// Read, Write, the dump and the field-by-field access of tools are made, so that a record kind
// is its table, its defaults and the rules of its own.
#pragma once

#include <functional>
#include <string>
#include <tuple>

#include "blob/blob_map.h"
#include "blob/blob_object.h"
#include "foundation/object_trace.h"

template <BlobAttrType Tag, class Record, class Member>
struct CBlobField {
  static constexpr BlobAttrType kTag = Tag;
  const char* key;
  Member Record::*member;
};
template <BlobAttrType Tag, class Record, class Member>
constexpr CBlobField<Tag, Record, Member> BlobField(const char* key, Member Record::*member) {
  static_assert(std::is_same_v<Member, BlobValueT<Tag>>, "a field's type must be its tag's");
  return {key, member};
}

// The text of a value, as the dump and tools show it.
std::string BlobValueText(BlobAttrType tag, const void* value);
// Parses a text into a value of a text, number or boolean tag; false for other tags and texts
// that do not fit the tag.
bool BlobValueFromText(BlobAttrType tag, const std::string& text, void* value);

// What a tool sees of a record: its fields in table order.
class IBlobFields {
public:
  virtual ~IBlobFields() = default;
  virtual void ForEachField(const std::function<void(const char* key, BlobAttrType tag, const void* value)>& visit) = 0;
  // Sets a text, number or boolean field from text; false (nothing changed) for an unknown key,
  // another kind of field or a text that does not fit it.
  virtual bool SetFieldFromText(const std::string& key, const std::string& text) = 0;
  // The bytes Write would store for the object.
  virtual std::vector<std::uint8_t> EncodeRecord(GlObjectId objectId) = 0;
};

template <class Derived, class Base = CBlobObject>
class CBlobRecord : public Base, public IBlobFields {
public:
  void Read(GlObjectId objectId, GlTransactionId prevTransactionId) override {
    Clear_i();
    m_bLoaded = true;
    CBlobMap map;
    if (map.Read(objectId, m_bEmpty, prevTransactionId) && !m_bEmpty) {
      if (AcceptsVersion(map.GetVersion())) {
        ReadFields(map);
      } else {
        m_bVersionOk = false;
      }
    }
    Dump_i("::Read");
  }

  void Write(GlObjectId objectId, GlTransactionId prevTransactionId) override {
    CBlobMap map;
    map.SetVersion(this->RecordVersion());
    WriteFields(map);
    map.Write(objectId, prevTransactionId);
    Dump_i("::Write");
  }

  std::vector<std::uint8_t> EncodeRecord(GlObjectId objectId) override { return Encode(objectId); }

  // The map Write would store, for tools that show the bytes before writing.
  std::vector<std::uint8_t> Encode(GlObjectId objectId) {
    CBlobMap map;
    map.SetVersion(this->RecordVersion());
    WriteFields(map);
    return map.Encode(objectId);
  }

  const char* ClassName() const override { return Derived::kClassName; }
  std::uint32_t RecordVersion() const override { return Derived::kVersion; }

protected:
  using Base::EnsureLoaded;
  using Base::m_bEmpty;
  using Base::m_bLoaded;
  using Base::m_bVersionOk;

public:
  void ForEachField(const std::function<void(const char*, BlobAttrType, const void*)>& visit) override {
    EnsureLoaded();
    std::apply([&](const auto&... f) { (visit(f.key, f.kTag, &(Self().*f.member)), ...); }, Derived::Fields());
  }

  bool SetFieldFromText(const std::string& key, const std::string& text) override {
    EnsureLoaded();
    bool set = false;
    std::apply(
        [&](const auto&... f) {
          ((!set && key == f.key && (set = BlobValueFromText(f.kTag, text, &(Self().*f.member)))), ...);
        },
        Derived::Fields());
    return set;
  }

protected:
  CBlobRecord() = default;

  // Reads itself at once for a nonzero identifier; is loaded with its defaults for 0.
  void Construct(GlObjectId objectId, GlTransactionId prevTransactionId) {
    if (objectId == 0) {
      m_bLoaded = true;
    } else {
      Read(objectId, prevTransactionId);
    }
  }

  virtual bool AcceptsVersion(std::uint32_t version) const { return version == Derived::kVersion; }
  virtual void ReadFields(const CBlobMap& map) {
    std::apply([&](const auto&... f) { (map.Lookup<f.kTag>(f.key, Self().*f.member), ...); }, Derived::Fields());
  }
  virtual void WriteFields(CBlobMap& map) {
    std::apply([&](const auto&... f) { (map.SetAt<f.kTag>(f.key, Self().*f.member), ...); }, Derived::Fields());
  }
  // Resets the fields; the flags are reset by Clear.
  virtual void ClearFields() = 0;
  virtual const char* ClearFailureText() const { return "Unexpected exception occured."; }
  // The text of a field in the dump.
  virtual std::string FieldText(const char* /*key*/, BlobAttrType tag, const void* value) const {
    return BlobValueText(tag, value);
  }

  // The fields to their defaults and the flags to unloaded; a failure is traced, never thrown.
  void Clear_i() {
    try {
      ClearFields();
      m_bVersionOk = true;
      m_bEmpty = true;
      m_bLoaded = false;
    } catch (...) {
      const std::string function = std::string(this->ClassName()) + "::Clear_i";
      try {
        ZEB::CObject::Trace(3, function.c_str(), "%s", ClearFailureText());
      } catch (...) {
      }
    }
  }

  void Dump_i(const char* operation) {
    if (!CBlobObject::GetDump()) return;
    const std::string function = std::string(this->ClassName()) + operation;
    std::apply(
        [&](const auto&... f) {
          (ZEB::CObject::Trace(6, function.c_str(), "%s = %s", f.key,
                               FieldText(f.key, f.kTag, &(Self().*f.member)).c_str()),
           ...);
        },
        Derived::Fields());
  }

  Derived& Self() { return static_cast<Derived&>(*this); }
};

// A field's getter and setter, both loading the record first.
#define GRX_BLOB_PROPERTY(Type, Name, member) \
  const Type& Get##Name() {                   \
    EnsureLoaded();                           \
    return member;                            \
  }                                           \
  void Set##Name(const Type& value) {         \
    EnsureLoaded();                           \
    member = value;                           \
  }
