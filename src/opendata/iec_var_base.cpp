#include "opendata/iec_var_base.h"

#include <map>
#include <cstring>

#include "opendata/iec_block_base.h"
#include "opendata/iec_connection.h"
#include "opendata/open_data_impl.h"

namespace OpenData {
namespace {
constexpr const char* kSource = "IecVarBase";

} // namespace

std::unique_ptr<ObjectIdVector> ReadStructureElementIds(GlObjectId owner, const char* source) {
  std::unique_ptr<ObjectIdVector> list;
  try {
    list = std::make_unique<ObjectIdVector>();
  } catch (const std::bad_alloc&) {
    throw ZEB::CIllegalStateException("Cannot create OBJECT ID vector.", source, __LINE__);
  }
  GlObjectId iter = 0, element = 0;
  // Elements are always listed outside any transaction; a failed listing ends the list.
  grx::dbaccess::ForEachListed(
      [&](MODE mode) { return iec_StructureElementsGet(mode, owner, iter, element, kNoTransaction); },
      [&] { list->push_back(element); });
  return list;
}

GlObjectId CIecVarBase::GetBlockId() {
  if (m_blockId == 0) {
    GlObjectId block = 0;
    detail::Check(iec_VarBlockGet(GetId(), block, detail::Transaction()), "iec_VarBlockGet failed.", kSource, __LINE__);
    m_blockId = block;
  }
  return m_blockId;
}

CIecBlockBase* CIecVarBase::GetBlock() {
  return nullptr;
}

CIecBlockBase* CIecVarBase::FindBlock() {
  auto* block = dynamic_cast<CIecBlockBase*>(CIecObjManager::GetInstance()->FindIecObject(CIecObjId(GetBlockId())));
  if (!block) {
    throw ZEB::CIllegalStateException("CIecBlockBase-Object expected to be returned by CIecObjManager::FindIecObject.",
                                      kSource, __LINE__);
  }
  return block;
}

const TVectorOidAndTypes* CIecVarBase::GetSourceIds() {
  if (!m_sources) {
    auto list = detail::Allocate<TVectorOidAndTypes>("Cannot create TVectorOidAndTypes vector.", kSource, __LINE__);
    *list = detail::ReadSources({CIecObjId(GetId()), GetType()}, kSource);
    m_sources = std::move(list);
  }
  return m_sources.get();
}

const TVectorOidAndTypes* CIecVarBase::GetSinkIds() {
  if (!m_sinks) {
    auto list = detail::Allocate<TVectorOidAndTypes>("Cannot create TVectorOidAndTypes vector.", kSource, __LINE__);
    GlObjectId sink = 0;
    GlObjectType type = grx::dbaccess::kPresetElementType;
    GlBool isConnection = 0;
    Iec_Connection connection{};
    std::map<GlObjectId, std::uint32_t> seen;
    detail::Enumerate(
        [&](MODE m) {
          type = grx::dbaccess::kPresetElementType;
          return iec_SinksGet(m, GetId(), sink, type, isConnection, connection, detail::Transaction());
        },
        [&] {
          list->push_back({CIecObjId(sink), type});
          CIecObjManager::GetInstance()->AddIecConnection({CIecObjId(GetId()), GetType()}, {CIecObjId(sink), type},
                                                          isConnection ? IEC_CONNECTION_REAL : IEC_CONNECTION_NONE,
                                                          connection.flag != 0, std::string(), seen[sink]++);
        },
        "iec_SinksGet failed.", kSource, __LINE__);
    m_sinks = std::move(list);
  }
  return m_sinks.get();
}

std::unique_ptr<std::vector<CIecConnection*>> CIecVarBase::GetSourceConnections() {
  return detail::ConnectionsToSink(*GetSourceIds(), GetId(), kSource);
}

std::unique_ptr<std::vector<IIecSource*>> CIecVarBase::GetSources() {
  return detail::ToTypedVector<IIecSource>(*GetSourceIds(), "IIecSource");
}

std::unique_ptr<std::vector<CIecConnection*>> CIecVarBase::GetSinkConnections() {
  const TVectorOidAndTypes& sinks = *GetSinkIds();
  auto result =
      detail::Allocate<std::vector<CIecConnection*>>("Cannot create CIecConnection* vector.", kSource, __LINE__);
  std::map<GlObjectId, std::uint32_t> seen;
  for (const auto& sink : sinks) {
    result->push_back(
        CIecObjManager::GetInstance()->FindIecConnection(CIecObjId(GetId()), sink.id, seen[sink.id.GetId()]++));
  }
  return result;
}

std::unique_ptr<std::vector<IIecSink*>> CIecVarBase::GetSinks() {
  return detail::ToTypedVector<IIecSink>(*GetSinkIds(), "IIecSink");
}

void CIecVarBase::ClearConnectionLists() {
  m_sources.reset();
  m_sinks.reset();
}

std::unique_ptr<ObjectIdVector> CIecVarBase::GetStructureElementIds() {
  return ReadStructureElementIds(GetId(), kSource);
}

std::unique_ptr<std::vector<CIecObject*>> CIecVarBase::GetChildren(const std::vector<IEC_OBJECT_TYPE>* pvectorFilter) {
  auto children = detail::Allocate<std::vector<CIecObject*>>("Cannot create CIecObject* vector.", kSource, __LINE__);
  if (FilterSelects(pvectorFilter, IEC_OBJ_VAR_ELEMENT)) {
    detail::AppendObjects(*children, *GetStructureElementIds(), IEC_OBJ_VAR_ELEMENT);
  }
  return children;
}

} // namespace OpenData
