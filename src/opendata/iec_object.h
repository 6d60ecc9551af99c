// CIecObject: the common base of every IEC object of the model. It holds the identifier and the
// type, fetches and caches what every object can be asked for, and carries extensions.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "chartdb/q3jdbmox_types.h"
#include "foundation/object_trace.h"
#include "opendata/iec_obj_id.h"

namespace OpenData {

class CIecObject;
class CIecResource;
class IIecVisitor;

class CUda : public ZEB::CObject {
public:
  CUda(std::string name, std::string value) : m_name(std::move(name)), m_value(std::move(value)) {}
  const std::string& GetName() const { return m_name; }
  const std::string& GetValue() const { return m_value; }

private:
  std::string m_name;
  std::string m_value;
};

class CIecObjExtension : public ZEB::CObject {
public:
  ~CIecObjExtension() override = default;
  // The owning object; raises CIllegalStateException when there is none.
  CIecObject* GetSubject() const;
  // Attaches (or, with null, detaches) the extension.
  void SetSubject(CIecObject* subject);

private:
  CIecObject* m_subject = nullptr;
};

class CIecObject : public ZEB::CObject {
public:
  class CLogicalPath {
  public:
    CLogicalPath(std::string path, char separator) : m_path(std::move(path)), m_separator(separator) {}
    virtual ~CLogicalPath() = default;
    const std::string& GetPath() const { return m_path; }
    char GetSeparator() const { return m_separator; }

  private:
    std::string m_path;
    char m_separator;
  };

  CIecObject(GlObjectId id, IEC_OBJECT_TYPE type);
  ~CIecObject() override;
  CIecObject(const CIecObject&) = delete;
  CIecObject& operator=(const CIecObject&) = delete;

  virtual void Accept(IIecVisitor& visitor) = 0;
  // A new vector of the object's children (the caller owns the vector, not the objects); a
  // filter vector selects kinds by their object type (null: every kind).
  virtual std::unique_ptr<std::vector<CIecObject*>> GetChildren(const std::vector<IEC_OBJECT_TYPE>* pvectorFilter) = 0;
  virtual CIecObjExtension* GetExtension(std::uint32_t key) const;
  // Attaches the extension and takes ownership. An extension that has an owning subject already
  // raises CIllegalStateException and stays with that subject: it is not destroyed here.
  virtual void AddExtension(std::uint32_t key, std::unique_ptr<CIecObjExtension> extension);
  virtual bool RemoveExtension(std::uint32_t key);
  virtual std::string GetName();
  virtual std::string GetComment();
  // The time stamp of objects that have one (resource, task, chart, global variable, block
  // types); null for the others.
  virtual const IEC_DateAndTime* GetTimeStamp();

  GlObjectId GetId() const { return m_id; }
  IEC_OBJECT_TYPE GetType() const { return m_type; }
  static IEC_OBJECT_TYPE GetIecObjectType(GlObjectId id);
  std::uint64_t GetSurrogate();
  const GlProperties& GetProperties();
  static std::unique_ptr<IEC_DateAndTime> TimestampSYStoIEC(const GlSystemTime& systemTime);
  static std::unique_ptr<GlSystemTime> TimestampIECtoSYS(const IEC_DateAndTime& iecTime);
  GlObjectId GetCpuId();
  CIecResource* GetResource();
  CLogicalPath* GetLogicalPath(std::int32_t selector, bool useFullTHPath);
  std::string GetProjectPath(std::string* projectFile = nullptr);
  CUda* GetUda(const std::string& name);
  std::uint32_t UpdateUda(const std::string& name, const std::string& value, bool flag);
  bool RemoveUda(const std::string& name);
  std::unique_ptr<std::vector<CUda*>> GetUdas();

protected:
  // The cached time stamp, read on first use (for the classes that have one).
  const IEC_DateAndTime* ReadTimeStamp();
  // The name cache of the base; classes with a record of their own fill it from the record.
  std::string& NameCache() { return m_name; }
  std::string& CommentCache() { return m_comment; }

private:
  std::string m_name;
  std::string m_comment;
  std::map<std::uint32_t, std::unique_ptr<CIecObjExtension>> m_extensions;
  GlObjectId m_id;
  IEC_OBJECT_TYPE m_type;
  std::unique_ptr<GlProperties> m_properties;
  std::unique_ptr<IEC_DateAndTime> m_timeStamp;
  std::map<std::string, std::unique_ptr<CUda>> m_udas;
  GlObjectId m_cpuId = 0;
  std::map<std::pair<std::int32_t, bool>, std::unique_ptr<CLogicalPath>> m_logicalPaths;
};

// True when a filter vector selects a kind (null selects every kind).
inline bool FilterSelects(const std::vector<IEC_OBJECT_TYPE>* filter, IEC_OBJECT_TYPE type) {
  if (!filter) return true;
  for (IEC_OBJECT_TYPE t : *filter) {
    if (t == type) return true;
  }
  return false;
}

} // namespace OpenData
