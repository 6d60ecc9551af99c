#include "blob/zeb_iec_obj_factory.h"

#include <mutex>
#include <new>

#include "blob/blob_block.h"
#include "blob/blob_block_type.h"
#include "blob/blob_cfc_var.h"
#include "blob/blob_global_var.h"
#include "blob/blob_processing_group.h"
#include "blob/blob_task.h"
#include "blob/blob_top_level_cfc.h"
#include "blob/blob_var.h"
#include "blob/blob_var_element.h"
#include "blob/blob_var_type.h"
#include "foundation/exceptions.h"
#include "opendata/iec_block_base.h"

namespace {

constexpr const char* kSource = "ZebIecObjFactory";

std::mutex instanceMutex;
std::unique_ptr<CZebIecObjFactory>& Instance() {
  static auto* holder = new std::unique_ptr<CZebIecObjFactory>();
  return *holder;
}

// The record, made with its default constructor and attached to the new object.
template <class Record>
std::unique_ptr<OpenData::CIecObject> Attach(std::unique_ptr<OpenData::CIecObject> object, const char* message) {
  std::unique_ptr<Record> record;
  try {
    record = std::make_unique<Record>();
  } catch (const std::bad_alloc&) {
    throw ZEB::CMemoryException(message, kSource, __LINE__);
  }
  object->AddExtension(EXTENSION_KEY_BLOB, std::move(record));
  return object;
}

} // namespace

CZebIecObjFactory::CZebIecObjFactory() {
  ZEB::CObject::Trace(2, "CZebIecObjFactory::CZebIecObjFactory", "CZebIecObjFactory constructor.");
}

CZebIecObjFactory::~CZebIecObjFactory() {
  try {
    ZEB::CObject::Trace(2, "CZebIecObjFactory::~CZebIecObjFactory", "CZebIecObjFactory destructor.");
  } catch (...) {
  }
}

CZebIecObjFactory* CZebIecObjFactory::GetInstance() {
  std::lock_guard lock(instanceMutex);
  auto& instance = Instance();
  if (!instance) {
    try {
      instance = std::make_unique<CZebIecObjFactory>();
    } catch (const std::bad_alloc&) {
      throw ZEB::CMemoryException("Cannot create CIecObjFactory object.", kSource, __LINE__);
    }
  }
  return instance.get();
}

void CZebIecObjFactory::DeleteInstance() {
  std::lock_guard lock(instanceMutex);
  Instance().reset();
}

#define GRX_BLOB_SLOT(slot, Record)                                                       \
  std::unique_ptr<OpenData::CIecObject> CZebIecObjFactory::slot(GlObjectId id) {          \
    return Attach<Record>(CIecObjFactory::slot(id), "Cannot create " #Record " object."); \
  }
GRX_BLOB_SLOT(CreateIecFunctionBlockType, CBlobBlockType)
GRX_BLOB_SLOT(CreateIecFunctionType, CBlobBlockType)
GRX_BLOB_SLOT(CreateIecInVarType, CBlobVarType)
GRX_BLOB_SLOT(CreateIecOutVarType, CBlobVarType)
GRX_BLOB_SLOT(CreateIecInOutVarType, CBlobVarType)
GRX_BLOB_SLOT(CreateIecGlobalVar, CBlobGlobalVar)
GRX_BLOB_SLOT(CreateIecTask, CBlobTask)
GRX_BLOB_SLOT(CreateIecProcessingGroup, CBlobProcessingGroup)
GRX_BLOB_SLOT(CreateIecFunctionBlock, CBlobBlock)
GRX_BLOB_SLOT(CreateIecInVar, CBlobVar)
GRX_BLOB_SLOT(CreateIecOutVar, CBlobVar)
GRX_BLOB_SLOT(CreateIecInOutVar, CBlobVar)
GRX_BLOB_SLOT(CreateIecVarTypeElement, CBlobVarTypeElement)
GRX_BLOB_SLOT(CreateIecVarElement, CBlobVarElement)
GRX_BLOB_SLOT(CreateIecCfcInVar, CBlobCfcVar)
GRX_BLOB_SLOT(CreateIecCfcOutVar, CBlobCfcVar)
GRX_BLOB_SLOT(CreateIecCfcInOutVar, CBlobCfcVar)
#undef GRX_BLOB_SLOT

// Only a chart that lies in no other chart carries the top-level record.
std::unique_ptr<OpenData::CIecObject> CZebIecObjFactory::CreateIecCfc(GlObjectId id) {
  std::unique_ptr<OpenData::CIecObject> chart = CIecObjFactory::CreateIecCfc(id);
  auto* placed = dynamic_cast<OpenData::CIecBlockBase*>(chart.get());
  if (placed && placed->GetCfcId() != 0) return chart;
  return Attach<CBlobTopLevelCfc>(std::move(chart), "Cannot create CBlobTopLevelCfc object.");
}
