// Identifiers of the object model: a chart-database identifier with the is-new flag, typed
// identifiers, and the identifier lists that containers cache.
#pragma once

#include <compare>
#include <cstdint>
#include <vector>

#include "chartdb/q3jdbmox_types.h"

namespace OpenData {

using IEC_OBJECT_TYPE = GlObjectType;

class CIecObjId {
public:
  CIecObjId() = default;
  explicit CIecObjId(GlObjectId id, bool isNew = false) : m_id(id), m_isNew(isNew) {}
  GlObjectId GetId() const { return m_id; }
  bool IsNew() const { return m_isNew; }
  auto operator<=>(const CIecObjId&) const = default;

private:
  GlObjectId m_id = 0;
  bool m_isNew = false;
};

// A typed identifier: the two ends of a connection, and the members of typed lists.
struct CIecTypedObjId {
  CIecObjId id;
  IEC_OBJECT_TYPE type = IEC_OBJ_NULL;
};

using TVectorOidAndTypes = std::vector<CIecTypedObjId>;
using ObjectIdVector = std::vector<GlObjectId>;

// Connection types stored in CIecConnection.
inline constexpr std::uint32_t IEC_CONNECTION_REAL = 1;
inline constexpr std::uint32_t IEC_CONNECTION_NONE = 2;
inline constexpr std::uint32_t IEC_TEXTUAL_REF_TYPE = 3;

} // namespace OpenData
