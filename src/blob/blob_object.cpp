#include "blob/blob_object.h"

#include <atomic>

#include "dbaccess/chartdb_functions.h"
#include "foundation/exceptions.h"
#include "foundation/object_trace.h"
#include "opendata/iec_obj_manager.h"

namespace {
std::atomic<bool> dumpSwitch{false};

OpenData::CIecObject* OwnerOf(const CBlobObject& record) {
  try {
    return record.GetSubject();
  } catch (const ZEB::CIllegalStateException&) {
    return nullptr;
  }
}
} // namespace

bool CBlobObject::GetDump() {
  return dumpSwitch.load();
}

void CBlobObject::SetDump(bool dump) {
  dumpSwitch.store(dump);
}

void CBlobObject::Read_i() {
  OpenData::CIecObject* owner = OwnerOf(*this);
  if (!owner) {
    m_bLoaded = true;
    return;
  }
  const GlObjectId id = owner->GetId();
  const GlTransactionId tr = OpenData::CIecObjManager::GetInstance()->GetTransactionId();
  Read(id, tr);
  if (!m_bEmpty && !m_bVersionOk) {
    iec_BlobDelete(id, tr);
    ZEB::CObject::Trace(3, "CBlobObject::Read_i", "Blob version incompatibility error occured. (Blob deleted");
  }
}

void CBlobObject::Write_i() {
  OpenData::CIecObject* owner = OwnerOf(*this);
  if (!owner) {
    m_bLoaded = true;
    return;
  }
  if (owner->GetId() == 0) return;
  Write(owner->GetId(), OpenData::CIecObjManager::GetInstance()->GetTransactionId());
}
