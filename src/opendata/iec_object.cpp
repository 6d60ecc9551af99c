#include "opendata/iec_object.h"

#include <cstring>

#include "opendata/iec_resource.h"
#include "opendata/iec_obj_manager.h"
#include "opendata/model_support.h"

namespace OpenData {
namespace {
constexpr const char* kSource = "IecObject";
constexpr const char* kExtensionSource = "IecObjExtension";
constexpr std::uint32_t kUdaNotFound = GL_ERR_UDA_NOT_FOUND;
} // namespace

CIecObject* CIecObjExtension::GetSubject() const {
  if (!m_subject) throw ZEB::CIllegalStateException("No reference to an owning subject.", kExtensionSource, __LINE__);
  return m_subject;
}

void CIecObjExtension::SetSubject(CIecObject* subject) {
  if (m_subject && subject) {
    throw ZEB::CIllegalStateException("This extension already has an owning subject.", kExtensionSource, __LINE__);
  }
  m_subject = subject;
}

CIecObject::CIecObject(GlObjectId id, IEC_OBJECT_TYPE type) : m_id(id), m_type(type) {}

CIecObject::~CIecObject() = default;

CIecObjExtension* CIecObject::GetExtension(std::uint32_t key) const {
  const auto it = m_extensions.find(key);
  return it == m_extensions.end() ? nullptr : it->second.get();
}

void CIecObject::AddExtension(std::uint32_t key, std::unique_ptr<CIecObjExtension> extension) {
  if (m_extensions.count(key)) {
    throw ZEB::CIllegalStateException("An Extension with the given key has already been added to this object.", kSource,
                                      __LINE__);
  }
  try {
    extension->SetSubject(this);
  } catch (const ZEB::CIllegalStateException&) {
    // The extension belongs to the object that is its subject already: it stays there, alive.
    static_cast<void>(extension.release());
    throw;
  }
  try {
    m_extensions.emplace(key, std::move(extension));
  } catch (const std::bad_alloc&) {
    throw ZEB::CMemoryException("Cannot add CIecObjExtension object to map.", kSource, __LINE__);
  }
}

bool CIecObject::RemoveExtension(std::uint32_t key) {
  return m_extensions.erase(key) > 0;
}

std::string CIecObject::GetName() {
  if (m_name.empty()) m_name = GetProperties().name;
  return m_name;
}

std::string CIecObject::GetComment() {
  if (m_comment.empty()) m_comment = GetProperties().comment;
  return m_comment;
}

const IEC_DateAndTime* CIecObject::GetTimeStamp() {
  return nullptr;
}

const IEC_DateAndTime* CIecObject::ReadTimeStamp() {
  if (!m_timeStamp) {
    auto stamp = detail::Allocate<IEC_DateAndTime>("Cannot create IEC_DateAndTime object.", kSource, __LINE__);
    detail::Check(gl_TimeStampGet(m_id, *stamp, detail::Transaction()), "gl_TimeStampGet failed.", kSource, __LINE__);
    m_timeStamp = std::move(stamp);
  }
  return m_timeStamp.get();
}

IEC_OBJECT_TYPE CIecObject::GetIecObjectType(GlObjectId id) {
  GlObjectType type = IEC_OBJ_NULL;
  detail::Check(iec_ObjectTypeGet(id, type, detail::Transaction()), "iec_ObjectTypeGet failed.", kSource, __LINE__);
  return type;
}

std::uint64_t CIecObject::GetSurrogate() {
  std::uint64_t surrogate = 0;
  detail::Check(gl_ObjectIdToSurrogate(m_id, surrogate, detail::Transaction()), "gl_ObjectIdToSurrogate failed.",
                kSource, __LINE__);
  return surrogate;
}

const GlProperties& CIecObject::GetProperties() {
  if (!m_properties) {
    auto properties = detail::Allocate<GlProperties>("Cannot create GlProperties object.", kSource, __LINE__);
    detail::Check(gl_ObjectPropertiesGet(m_id, *properties, detail::Transaction()),
                  "iec_gl_ObjectPropertiesGet failed.", kSource, __LINE__);
    m_properties = std::move(properties);
  }
  return *m_properties;
}

std::unique_ptr<IEC_DateAndTime> CIecObject::TimestampSYStoIEC(const GlSystemTime& systemTime) {
  auto stamp = detail::Allocate<IEC_DateAndTime>("Cannot create IEC_DateAndTime object.", kSource, __LINE__);
  if (gl_ErrorIdGet(gl_TimestampSYStoIEC(systemTime, *stamp)) != 0) {
    throw COpenDataException("gl_TimestampSYStoIEC failed.", ~GlResult{0}, kSource, __LINE__);
  }
  return stamp;
}

std::unique_ptr<GlSystemTime> CIecObject::TimestampIECtoSYS(const IEC_DateAndTime& iecTime) {
  auto time = detail::Allocate<GlSystemTime>("Cannot create SYSTEMTIME object.", kSource, __LINE__);
  if (gl_ErrorIdGet(gl_TimestampIECtoSYS(iecTime, *time)) != 0) {
    throw COpenDataException("gl_TimestampIECtoSYS failed.", ~GlResult{0}, kSource, __LINE__);
  }
  return time;
}

GlObjectId CIecObject::GetCpuId() {
  if (m_cpuId != 0) return m_cpuId;
  GlObjectId cpu = 0;
  OutCpu outCpu{};
  GlResult result = gl_CpuIdGet(m_id, cpu, outCpu, detail::Transaction());
  if (gl_ErrorIdGet(result) == GL_ERR_OBJECT_BUSY) {
    result = gl_CpuIdGet(m_id, cpu, outCpu, detail::Transaction());
  }
  detail::Check(result, "gl_CpuIdGet failed.", kSource, __LINE__);
  m_cpuId = cpu;
  return m_cpuId;
}

CIecResource* CIecObject::GetResource() {
  auto* resource = dynamic_cast<CIecResource*>(
      CIecObjManager::GetInstance()->FindIecObject(CIecObjId(GetCpuId()), IEC_OBJ_RESOURCE));
  if (!resource) {
    throw ZEB::CIllegalStateException("CIecResource-Object expected to be returned by CIecObjManager::FindIecObject.",
                                      kSource, __LINE__);
  }
  return resource;
}

CIecObject::CLogicalPath* CIecObject::GetLogicalPath(std::int32_t selector, bool useFullTHPath) {
  const auto key = std::make_pair(selector, useFullTHPath);
  if (const auto it = m_logicalPaths.find(key); it != m_logicalPaths.end()) return it->second.get();
  char projectName[257] = {}, logicalPath[257] = {}, objectName[kGlNameSize] = {}, separator[2] = {'.', '\0'};
  detail::Check(gl_LogicalPathGetV6_0(m_id, projectName, logicalPath, objectName, separator, useFullTHPath ? 1 : 0,
                                      detail::Transaction()),
                "gl_LogicalPathGetV6_0 failed.", kSource, __LINE__);
  const std::string path = logicalPath;
  const std::string separatorText = separator;
  if ((logicalPath[0] != '\0' && path.empty()) || separatorText.empty()) {
    throw ZEB::CMemoryException("Cannot convert strings.", kSource, __LINE__);
  }
  auto created =
      detail::Allocate<CLogicalPath>("Cannot create CLogicalPath object.", kSource, __LINE__, path, separatorText[0]);
  CLogicalPath* result = created.get();
  try {
    m_logicalPaths.emplace(key, std::move(created));
  } catch (const std::bad_alloc&) {
    throw ZEB::CMemoryException("Cannot add CLogicalPath object to map.", kSource, __LINE__);
  }
  return result;
}

std::string CIecObject::GetProjectPath(std::string* projectFile) {
  char path[257] = {}, file[257] = {};
  detail::Check(gl_ProjectPathGet(m_id, path, file, detail::Transaction()), "gl_ProjectPathGet failed.", kSource,
                __LINE__);
  if (projectFile && file[0] != '\0') *projectFile = file;
  return path;
}

// The cache is keyed by the name as stored: the chart database keeps the first 24 characters of a
// name, so a longer name finds the attribute that those 24 name. An attribute handed out once
// stays the same object until the cache is cleared.
CUda* CIecObject::GetUda(const std::string& name) {
  const std::string asStored = name.substr(0, sizeof(Gl_Uda::name) - 1);
  if (const auto it = m_udas.find(asStored); it != m_udas.end()) return it->second.get();
  Gl_Uda record{};
  std::snprintf(record.name, sizeof record.name, "%s", name.c_str());
  const GlResult result = gl_UdaGet(m_id, record, detail::Transaction());
  const std::uint32_t errorId = gl_ErrorIdGet(result);
  if (errorId == kUdaNotFound) return nullptr;
  if (errorId != 0) throw COpenDataException("gl_UdaGet failed.", result, kSource, __LINE__);
  auto uda = detail::Allocate<CUda>("Cannot create CUda object.", kSource, __LINE__,
                                    std::string(record.name, strnlen(record.name, sizeof record.name)),
                                    std::string(record.value, strnlen(record.value, sizeof record.value)));
  try {
    const auto [it, added] = m_udas.try_emplace(uda->GetName());
    if (added) it->second = std::move(uda);
    return it->second.get();
  } catch (const std::bad_alloc&) {
    throw ZEB::CMemoryException("Cannot add CUda object to map.", kSource, __LINE__);
  }
}

std::uint32_t CIecObject::UpdateUda(const std::string& name, const std::string& value, bool flag) {
  Gl_Uda record{};
  std::snprintf(record.name, sizeof record.name, "%s", name.c_str());
  std::snprintf(record.value, sizeof record.value, "%s", value.c_str());
  const GlResult result = gl_UdaUpdate(m_id, flag ? 0 : 1, record, detail::Transaction());
  const std::uint32_t errorId = gl_ErrorIdGet(result);
  if (errorId != 0 && errorId != GL_ERR_UDA_NOT_UPDATED) {
    throw COpenDataException("gl_UdaUpdate failed.", result, kSource, __LINE__);
  }
  return errorId;
}

bool CIecObject::RemoveUda(const std::string& name) {
  Gl_Uda record{};
  std::snprintf(record.name, sizeof record.name, "%s", name.c_str());
  const GlResult result = gl_UdaRemove(m_id, record, detail::Transaction());
  const std::uint32_t errorId = gl_ErrorIdGet(result);
  if (errorId == 0) return true;
  if (errorId == kUdaNotFound) return false;
  throw COpenDataException("gl_UdaRemove failed.", result, kSource, __LINE__);
}

std::unique_ptr<std::vector<CUda*>> CIecObject::GetUdas() {
  auto result = detail::Allocate<std::vector<CUda*>>("Cannot create CUda* vector.", kSource, __LINE__);
  m_udas.clear();
  std::uint64_t iter = 0;
  Gl_Uda record{};
  detail::Enumerate([&](MODE mode) { return gl_UdasGet(mode, m_id, iter, record, detail::Transaction()); },
                    [&] {
                      auto uda =
                          detail::Allocate<CUda>("Cannot create CUda object.", kSource, __LINE__,
                                                 std::string(record.name, strnlen(record.name, sizeof record.name)),
                                                 std::string(record.value, strnlen(record.value, sizeof record.value)));
                      const std::string key = uda->GetName();
                      m_udas[key] = std::move(uda);
                    },
                    "gl_UdasGet failed.", kSource, __LINE__);
  for (const auto& [name, uda] : m_udas) result->push_back(uda.get());
  return result;
}

} // namespace OpenData
