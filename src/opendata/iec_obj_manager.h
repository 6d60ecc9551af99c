// The object manager of the calling thread: its mappers, connections, factory and transaction.
#pragma once

#include <map>
#include <tuple>
#include <memory>
#include <mutex>
#include <string>

#include "foundation/object_trace.h"
#include "opendata/iec_obj_id.h"
#include "opendata/iec_obj_mapper.h"

namespace OpenData {

class CIecObject;
class CIecConnection;
class CIecObjFactory;

class CIecObjManager : public ZEB::CObject {
public:
  // The calling thread's manager, created on its first call in that thread.
  static CIecObjManager* GetInstance();
  static void ClearInstances();
  static void DeleteInstance();

  void SetFactory(CIecObjFactory* pFactory);
  CIecObjFactory* GetFactory() const { return m_factory; }
  CIecObject* FindIecObject(const CIecObjId& roid, IEC_OBJECT_TYPE iecObjectType = IEC_OBJ_NULL);
  // A connection is keyed by its source, its sink and its occurrence: how many connections of the
  // same pair a listing reported before it. A real connection is the only one of its pair
  // (occurrence 0); textual references into one sink all have source 0 and are told apart by it.
  CIecConnection* FindIecConnection(const CIecObjId& rSourceId, const CIecObjId& rSinkId, std::uint32_t occurrence = 0);
  void AddIecConnection(const CIecTypedObjId& source, const CIecTypedObjId& sink, std::uint32_t connectionType,
                        bool flag, const std::string& text, std::uint32_t occurrence = 0);
  void SetTransactionId(GlTransactionId prevTransactionId);
  GlTransactionId GetTransactionId() const;
  void Clear_i();

  ~CIecObjManager() override;

private:
  CIecObjManager();
  using ConnectionKey = std::tuple<CIecObjId, CIecObjId, std::uint32_t>;

  CIecObjFactory* m_factory = nullptr;
  std::map<IEC_OBJECT_TYPE, std::unique_ptr<CIecObjMapper>> m_mappers;
  std::map<ConnectionKey, std::unique_ptr<CIecConnection>> m_connections;
  std::map<std::uint32_t, GlTransactionId> m_transactionIds;
};

// Sets the manager's transaction for a scope and gives it its previous value back at the end of
// the scope, however the scope is left.
class TransactionScope {
public:
  TransactionScope(CIecObjManager& manager, GlTransactionId transaction)
      : m_manager(manager), m_previous(manager.GetTransactionId()) {
    m_manager.SetTransactionId(transaction);
  }
  TransactionScope(const TransactionScope&) = delete;
  TransactionScope& operator=(const TransactionScope&) = delete;
  ~TransactionScope() { m_manager.SetTransactionId(m_previous); }

private:
  CIecObjManager& m_manager;
  GlTransactionId m_previous;
};

// The model's part of the library's unload: clears and deletes every thread's manager, then the
// default factory. The application object runs it as the last step of its exit cleanup.
void ShutdownModel();

} // namespace OpenData
