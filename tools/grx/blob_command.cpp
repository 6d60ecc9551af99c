// grx blob OBJECT: the blob record of an object, field by field; --hex the stored bytes with what
// they are; --set KEY=VALUE writes fields in one transaction; --delete removes the blob.
#include <nlohmann/json.hpp>

#include <cstdio>
#include <iomanip>
#include <sstream>

#include "blob/blob_resource.h"
#include "api_iteration.h"
#include "blob/zeb_iec_obj_factory.h"
#include "commands.h"
#include "grx_error.h"
#include "opendata/iec_obj_manager.h"
#include "platform/code_page.h"
#include "platform/com_lite.h"
#include "project_client.h"
#include "terminal_text.h"

namespace grx::cli {
namespace {

using Json = nlohmann::ordered_json;

Json GuidJson(const GUID& g) {
  return platform::GuidToString(g);
}

template <class T>
Json ListJson(const std::vector<T>& list) {
  Json out = Json::array();
  for (std::size_t i = 0; i < list.size(); ++i) {
    if constexpr (std::is_same_v<T, GUID>) {
      out.push_back(GuidJson(list[i]));
    } else if constexpr (std::is_same_v<T, std::vector<GUID>>) {
      out.push_back(ListJson(list[i]));
    } else if constexpr (std::is_same_v<T, bool>) {
      out.push_back(static_cast<bool>(list[i]));
    } else {
      out.push_back(list[i]);
    }
  }
  return out;
}

Json VariantJson(const BlobVariant& v) {
  Json j{{"vt", v.vt}};
  if (v.vt == VT_R4 || v.vt == VT_R8 || v.vt == VT_DATE) j["value"] = v.real;
  if (v.vt == VT_I2 || v.vt == VT_I4 || v.vt == VT_UI1 || v.vt == VT_ERROR || v.vt == VT_CY) j["value"] = v.integer;
  if (v.vt == VT_BOOL) j["value"] = v.integer != 0;
  if (v.vt == VT_BSTR) j["value"] = v.text ? Json(platform::Utf16ToAnsi(*v.text)) : Json();
  return j;
}

Json ValueJson(BlobAttrType tag, const void* value) {
  switch (tag) {
    case BLOB_ATTR_INT:
    case BLOB_ATTR_ENUM:
    case BLOB_ATTR_XML_ID:
      return *static_cast<const std::int32_t*>(value);
    case BLOB_ATTR_UINT:
      return *static_cast<const std::uint32_t*>(value);
    case BLOB_ATTR_BOOL:
      return *static_cast<const bool*>(value);
    case BLOB_ATTR_TEXT:
      return *static_cast<const std::string*>(value);
    case BLOB_ATTR_UINT64:
      return *static_cast<const std::uint64_t*>(value);
    case BLOB_ATTR_GUID:
      return GuidJson(*static_cast<const GUID*>(value));
    case BLOB_ATTR_SIX_BYTES: {
      const auto& v = *static_cast<const CBlobSixBytes*>(value);
      return Json{{"low", v.low}, {"high", v.high}};
    }
    case BLOB_ATTR_VARIANT:
      return VariantJson(*static_cast<const BlobVariant*>(value));
    case BLOB_ATTR_STRING_MAP: {
      Json out = Json::object();
      for (const auto& [k, v] : static_cast<const CBlobStringMap*>(value)->Entries()) out[k] = v;
      return out;
    }
    case BLOB_ATTR_INT_LIST:
      return ListJson(*static_cast<const std::vector<std::int32_t>*>(value));
    case BLOB_ATTR_TEXT_LIST:
      return ListJson(*static_cast<const std::vector<std::string>*>(value));
    case BLOB_ATTR_UINT64_LIST:
      return ListJson(*static_cast<const std::vector<std::uint64_t>*>(value));
    case BLOB_ATTR_UINT_LIST:
      return ListJson(*static_cast<const std::vector<std::uint32_t>*>(value));
    case BLOB_ATTR_GUID_LIST:
      return ListJson(*static_cast<const std::vector<GUID>*>(value));
    case BLOB_ATTR_GUID_LIST_LIST:
      return ListJson(*static_cast<const std::vector<std::vector<GUID>>*>(value));
    case BLOB_ATTR_BOOL_LIST:
      return ListJson(*static_cast<const std::vector<bool>*>(value));
    case BLOB_ATTR_OBJECT_LIST:
      break;
  }
  return Json();
}

// The record of an object: the resource's made for its identifier, any other attached by the
// extension factory. Read directly, so that viewing never deletes a blob of another version.
class RecordAccess {
public:
  RecordAccess(ChartDbClient& db, const std::string& path) : id_(db.Resolve(path)) {
    GlObjectType type = 0;
    if (db.ErrorId(db.iec_ObjectTypeGet(id_, type, kNoTransaction)) != 0)
      throw GrxError("cannot tell what " + path + " is");
    manager_->Clear_i();
    manager_->SetFactory(CZebIecObjFactory::GetInstance());
    if (type == IEC_OBJ_RESOURCE) {
      resource_ = std::make_unique<CBlobResource>(0, kNoTransaction);
      record_ = resource_.get();
    } else {
      OpenData::CIecObject* object = manager_->FindIecObject(OpenData::CIecObjId(id_));
      record_ = object ? dynamic_cast<CBlobObject*>(object->GetExtension(EXTENSION_KEY_BLOB)) : nullptr;
    }
    fields_ = dynamic_cast<IBlobFields*>(record_);
    if (!record_ || !fields_) throw GrxError(path + " carries no blob record");
  }
  ~RecordAccess() {
    manager_->Clear_i();
    manager_->SetFactory(OpenData::CIecObjFactory::GetInstance());
  }
  RecordAccess(const RecordAccess&) = delete;
  RecordAccess& operator=(const RecordAccess&) = delete;

  void Read() { record_->Read(id_, kNoTransaction); }
  GlObjectId id() const { return id_; }
  CBlobObject& record() { return *record_; }
  IBlobFields& fields() { return *fields_; }
  CBlobResource* resource() { return resource_.get(); }

private:
  GlObjectId id_;
  OpenData::CIecObjManager* manager_ = OpenData::CIecObjManager::GetInstance();
  std::unique_ptr<CBlobResource> resource_;
  CBlobObject* record_ = nullptr;
  IBlobFields* fields_ = nullptr;
};

Json Describe(RecordAccess& access) {
  CBlobObject& record = access.record();
  Json j{{"record", record.ClassName()},
         {"version", record.RecordVersion()},
         {"empty", record.IsEmpty()},
         {"versionOk", record.IsVersionOk()}};
  Json fields = Json::object();
  access.fields().ForEachField(
      [&](const char* key, BlobAttrType tag, const void* value) { fields[key] = ValueJson(tag, value); });
  j["fields"] = fields;
  if (CBlobResource* resource = access.resource()) {
    Json elements = Json::array();
    for (const auto& e : resource->GetLibElements()) {
      elements.push_back(Json{{"name", e->m_strName},
                              {"version", e->m_strTPVersion},
                              {"languageId", e->m_nLanguageId},
                              {"rtTypeGuid", GuidJson(e->m_rtTypeGuid)},
                              {"interfaceGuid", GuidJson(e->m_interfaceGuid)},
                              {"isLib", e->m_bIsLib},
                              {"typeIDMappedTPs", ListJson(e->m_typeIDMappedTPs)}});
    }
    j["libraryElements"] = elements;
  }
  return j;
}

void PrintRecord(const Json& j, const std::string& path, std::ostream& out) {
  out << j["record"].get<std::string>() << " of " << path << " (record version " << j["version"].get<int>() << ")\n";
  out << "  stored: " << (j["empty"].get<bool>() ? "no blob" : "yes")
      << (j["versionOk"].get<bool>() ? "" : ", of another record version") << "\n";
  for (const auto& [key, value] : j["fields"].items()) {
    out << "  " << key << ": " << (value.is_string() ? value.get<std::string>() : JsonText(value, -1)) << "\n";
  }
  if (j.contains("libraryElements")) {
    for (const auto& e : j["libraryElements"]) out << "  library element: " << JsonText(e, -1) << "\n";
  }
}

// The annotated dump: offset, bytes, what they are.
class HexDump {
public:
  explicit HexDump(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

  std::string Run() {
    CGRXArchive a(bytes_);
    try {
      Field(a, [&] { return "record version " + std::to_string(a.ReadU32()); });
      Field(a, [&] {
        std::ostringstream id;
        id << "object identifier 0x" << std::hex << a.ReadU64();
        return id.str();
      });
      std::uint32_t count = 0;
      Field(a, [&] { return std::to_string(count = a.ReadCount()) + " attribute(s)"; });
      for (std::uint32_t i = 0; i < count; ++i) {
        Field(a, [&] { return "key \"" + a.ReadString() + "\""; });
        Field(a, [&] {
          a.ReadObjectStart(CBlobAttribute::kClassName);
          return std::string("object of class CBlobAttribute");
        });
        std::uint32_t length = 0;
        Field(a, [&] { return "attribute of " + std::to_string(length = a.ReadU32()) + " bytes"; });
        Field(a, [&] { return "type tag " + std::to_string(a.ReadU32()); });
        if (length >= 4)
          Field(a, [&] {
            a.ReadBytes(length - 4);
            return std::string("value");
          });
      }
      if (a.Remaining())
        Field(a, [&] {
          a.ReadBytes(a.Remaining());
          return std::string("bytes behind the map");
        });
    } catch (const CBlobFormatError& e) {
      Line(a.Position(), bytes_.size(), std::string("not decodable: ") + e.what());
    }
    return out_.str();
  }

private:
  template <class Read>
  void Field(CGRXArchive& a, Read read) {
    const std::size_t start = a.Position();
    const std::string what = read();
    Line(start, a.Position(), what);
  }
  void Line(std::size_t from, std::size_t to, const std::string& what) {
    out_ << std::setw(6) << std::setfill('0') << std::hex << from << std::dec << "  ";
    std::string hex;
    char cell[4];
    for (std::size_t i = from; i < to && i < from + 16; ++i) {
      std::snprintf(cell, sizeof cell, "%02X ", bytes_[i]);
      hex += cell;
    }
    if (to - from > 16) hex += "...";
    out_ << std::left << std::setw(52) << std::setfill(' ') << hex << std::right << what << "\n";
  }

  const std::vector<std::uint8_t>& bytes_;
  std::ostringstream out_;
};

std::vector<std::uint8_t> StoredBlob(ChartDbClient& db, GlObjectId id) {
  std::uint32_t length = 0;
  if (db.ErrorId(db.iec_BlobLengthGet(id, length, kNoTransaction)) != 0) throw GrxError("cannot read the blob");
  std::vector<std::uint8_t> bytes(length);
  std::uint32_t actual = 0;
  if (length && db.ErrorId(db.iec_BlobRead(id, length, actual, bytes.data(), kNoTransaction)) != 0) {
    throw GrxError("cannot read the blob");
  }
  bytes.resize(std::min(actual, length));
  return bytes;
}

} // namespace

int RunBlob(const Options& options, const std::string& path, const BlobActions& actions, std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  {
    RecordAccess access(db, path);
    if (actions.remove) {
      InTransaction(db, [&](GlTransactionId tr) {
        Check(db, "iec_BlobDelete", db.iec_BlobDelete(access.id(), tr));
        std::uint32_t length = 0;
        Check(db, "iec_BlobLengthGet", db.iec_BlobLengthGet(access.id(), length, tr));
        if (length != 0) throw GrxError("the blob of " + path + " is still there after its deletion");
      });
      if (options.json) {
        out << JsonText(Json{{"dryRun", actions.dryRun}, {actions.dryRun ? "wouldDelete" : "deleted", path}}) << "\n";
      } else {
        out << (actions.dryRun ? "would delete the blob of " : "deleted the blob of ") << path << "\n";
      }
      return kExitOk;
    }
    access.Read();
    if (!actions.set.empty()) {
      for (const std::string& assignment : actions.set) {
        const auto equals = assignment.find('=');
        if (equals == std::string::npos)
          throw GrxError("--set takes KEY=VALUE, not \"" + assignment + "\"", kExitUsage);
        const std::string key = assignment.substr(0, equals);
        if (!access.fields().SetFieldFromText(key, assignment.substr(equals + 1))) {
          throw GrxError(std::string(access.record().ClassName()) + " has no text, number or boolean field \"" + key +
                             "\" that takes \"" + assignment.substr(equals + 1) + "\"",
                         kExitUsage);
        }
      }
      if (actions.dryRun) {
        out << HexDump(access.fields().EncodeRecord(access.id())).Run();
        return kExitOk;
      }
      InTransaction(db, [&](GlTransactionId tr) { access.record().Write(access.id(), tr); });
      access.Read();
    }
    if (actions.hex) {
      out << HexDump(StoredBlob(db, access.id())).Run();
      return kExitOk;
    }
    const Json description = Describe(access);
    if (options.json) {
      out << JsonText(description) << "\n";
    } else {
      PrintRecord(description, path, out);
    }
  }
  return kExitOk;
}

} // namespace grx::cli
