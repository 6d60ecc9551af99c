// The object manager of the calling thread, the per-type mappers that cache objects by
// identifier, and the factory that creates them.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "foundation/object_trace.h"
#include "opendata/iec_obj_id.h"

namespace OpenData {

class CIecObject;
class CIecConnection;
class CIecObjFactory;

class CIecObjMapper : public ZEB::CObject {
public:
  explicit CIecObjMapper(IEC_OBJECT_TYPE type);
  ~CIecObjMapper() override;
  CIecObject* Find(const CIecObjId& roid, CIecObjFactory* pFactory);
  void Clear();
  IEC_OBJECT_TYPE GetObjectType() const { return m_objectType; }

private:
  IEC_OBJECT_TYPE m_objectType;
  std::map<CIecObjId, std::unique_ptr<CIecObject>> m_objects;
};

class CIecObjManager : public ZEB::CObject {
public:
  // The calling thread's manager, created on its first call in that thread.
  static CIecObjManager* GetInstance();
  static void ClearInstances();
  static void DeleteInstance();

  void SetFactory(CIecObjFactory* pFactory);
  CIecObjFactory* GetFactory() const { return m_factory; }
  CIecObject* FindIecObject(const CIecObjId& roid, IEC_OBJECT_TYPE iecObjectType = IEC_OBJ_NULL);
  CIecConnection* FindIecConnection(const CIecObjId& rSourceId, const CIecObjId& rSinkId);
  void AddIecConnection(const CIecTypedObjId& source, const CIecTypedObjId& sink, std::uint32_t connectionType,
                        bool flag, const std::string& text);
  void SetTransactionId(GlTransactionId prevTransactionId);
  GlTransactionId GetTransactionId() const;
  void Clear_i();

  ~CIecObjManager() override;

private:
  CIecObjManager();
  using ConnectionKey = std::pair<CIecObjId, CIecObjId>;

  CIecObjFactory* m_factory = nullptr;
  std::map<IEC_OBJECT_TYPE, std::unique_ptr<CIecObjMapper>> m_mappers;
  std::map<ConnectionKey, std::unique_ptr<CIecConnection>> m_connections;
  std::map<std::uint32_t, GlTransactionId> m_transactionIds;
};

} // namespace OpenData
