#include "opendata/iec_obj_manager.h"

#include "opendata/iec_connection.h"
#include "opendata/iec_obj_factory.h"
#include "opendata/iec_object.h"
#include "opendata/model_support.h"
#include "platform/thread_id.h"

namespace OpenData {
namespace {

constexpr const char* kSource = "IecObjManager";

// The instance registry: one manager per thread id. Each thread's first GetInstance inserts into
// it while other threads may be looking up their own, so it is guarded; a thread still sees only
// its own manager.
struct Registry {
  std::mutex mutex;
  std::map<std::uint32_t, std::unique_ptr<CIecObjManager>> managers;
};

// Never destroyed: the library's unload sequence deletes the managers explicitly, after the
// static objects of this module may already be gone.
Registry& Instances() {
  static Registry* registry = new Registry();
  return *registry;
}

constexpr IEC_OBJECT_TYPE kMapperTypes[] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10,
                                            11, 12, 13, 14, 15, 25, 26, 30, 27, 28, 29};

} // namespace

void ShutdownModel() {
  CIecObjManager::ClearInstances();
  CIecObjManager::DeleteInstance();
  CIecObjFactory::DeleteInstance();
}

CIecObjManager::CIecObjManager() {
  for (IEC_OBJECT_TYPE type : kMapperTypes) {
    m_mappers.emplace(type,
                      detail::Allocate<CIecObjMapper>("Cannot create CIecObjMapper object.", kSource, __LINE__, type));
  }
}

CIecObjManager::~CIecObjManager() {
  m_connections.clear();
  m_mappers.clear();
}

CIecObjManager* CIecObjManager::GetInstance() {
  const std::uint32_t thread = grx::platform::CurrentThreadId();
  Registry& registry = Instances();
  std::lock_guard lock(registry.mutex);
  if (const auto it = registry.managers.find(thread); it != registry.managers.end()) return it->second.get();
  std::unique_ptr<CIecObjManager> manager;
  try {
    manager.reset(new CIecObjManager());
  } catch (const std::bad_alloc&) {
    throw ZEB::CMemoryException("Cannot create CIecObjManager object.", kSource, __LINE__);
  }
  CIecObjManager* created = manager.get();
  registry.managers.emplace(thread, std::move(manager));
  ZEB::CObject::Trace(2, "CIecObjManager.::GetInstance()", "instance for thread %x created", thread);
  return created;
}

void CIecObjManager::ClearInstances() {
  Registry& registry = Instances();
  std::lock_guard lock(registry.mutex);
  for (auto& [thread, manager] : registry.managers) {
    manager->Clear_i();
    ZEB::CObject::Trace(2, "CIecObjManager::Clear_i()", "instance for thread %x cleared", thread);
  }
}

void CIecObjManager::DeleteInstance() {
  Registry& registry = Instances();
  std::lock_guard lock(registry.mutex);
  for (auto& [thread, manager] : registry.managers) {
    manager.reset();
    ZEB::CObject::Trace(2, "CIecObjManager::DeleteInstance()", "instance for thread %x deleted", thread);
  }
  registry.managers.clear();
}

void CIecObjManager::SetFactory(CIecObjFactory* pFactory) {
  if (!pFactory) throw ZEB::CInvalidArgException("pFactory must be a valid pointer.", kSource, __LINE__);
  m_factory = pFactory;
}

CIecObject* CIecObjManager::FindIecObject(const CIecObjId& roid, IEC_OBJECT_TYPE iecObjectType) {
  if (iecObjectType == IEC_OBJ_NULL) {
    if (roid.IsNew()) {
      throw ZEB::CIllegalStateException(
          "Cannot determine the type of a persistent object, that doesn't exist in the persistent storage.", kSource,
          __LINE__);
    }
    iecObjectType = CIecObject::GetIecObjectType(roid.GetId());
  }
  if (!m_factory) m_factory = CIecObjFactory::GetInstance();
  const auto mapper = m_mappers.find(iecObjectType);
  if (mapper == m_mappers.end()) {
    throw ZEB::CIllegalStateException(
        ("No mapper available for IEC_OBJECT_TYPE = " + std::to_string(iecObjectType) + ".").c_str(), kSource,
        __LINE__);
  }
  return mapper->second->Find(roid, m_factory);
}

CIecConnection* CIecObjManager::FindIecConnection(const CIecObjId& rSourceId, const CIecObjId& rSinkId,
                                                  std::uint32_t occurrence) {
  const auto it = m_connections.find({rSourceId, rSinkId, occurrence});
  if (it == m_connections.end()) {
    throw ZEB::CInvalidArgException("<A CIecConnection object with the given <rSourceId> and <rSinkId> does not exist.",
                                    kSource, __LINE__);
  }
  return it->second.get();
}

void CIecObjManager::AddIecConnection(const CIecTypedObjId& source, const CIecTypedObjId& sink,
                                      std::uint32_t connectionType, bool flag, const std::string& text,
                                      std::uint32_t occurrence) {
  const ConnectionKey key{source.id, sink.id, occurrence};
  if (m_connections.count(key)) return;
  if (!m_factory) m_factory = CIecObjFactory::GetInstance();
  std::unique_ptr<CIecConnection> connection = m_factory->CreateIecConnection(source, sink, connectionType, flag, text);
  try {
    m_connections.emplace(key, std::move(connection));
  } catch (const std::bad_alloc&) {
    throw ZEB::CMemoryException("Cannot add CIecConnection object to map.", kSource, __LINE__);
  }
}

void CIecObjManager::SetTransactionId(GlTransactionId prevTransactionId) {
  try {
    m_transactionIds[grx::platform::CurrentThreadId()] = prevTransactionId;
  } catch (const std::bad_alloc&) {
    throw ZEB::CMemoryException("Cannot add transaction ID to map.", kSource, __LINE__);
  }
}

GlTransactionId CIecObjManager::GetTransactionId() const {
  const auto it = m_transactionIds.find(grx::platform::CurrentThreadId());
  return it == m_transactionIds.end() ? kNoTransaction : it->second;
}

void CIecObjManager::Clear_i() {
  try {
    m_connections.clear();
    for (auto& [type, mapper] : m_mappers) mapper->Clear();
    m_transactionIds.clear();
  } catch (...) {
    ZEB::CObject::Trace(4, "CIecObjManager::Clear_i", "Unexpected exception occured.");
  }
}

} // namespace OpenData
