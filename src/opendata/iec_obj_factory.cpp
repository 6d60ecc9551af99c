#include "opendata/iec_obj_factory.h"

#include <mutex>

#include "opendata/iec_block.h"
#include "opendata/iec_block_type.h"
#include "opendata/iec_cfc.h"
#include "opendata/iec_cfc_var.h"
#include "opendata/iec_connection.h"
#include "opendata/iec_global_var.h"
#include "opendata/iec_processing_group.h"
#include "opendata/iec_resource.h"
#include "opendata/iec_task.h"
#include "opendata/iec_var.h"
#include "opendata/iec_var_element.h"
#include "opendata/iec_var_type.h"
#include "opendata/model_support.h"

namespace OpenData {
namespace {

constexpr const char* kSource = "IecObjFactory";

// The default factory is created on first use by any thread, so its creation is guarded. Its
// holder is never destroyed: the library's unload sequence deletes the factory explicitly.
std::mutex defaultMutex;
std::unique_ptr<CIecObjFactory>& DefaultFactory() {
  static auto* holder = new std::unique_ptr<CIecObjFactory>();
  return *holder;
}

template <class T>
std::unique_ptr<CIecObject> Create(GlObjectId id, const char* message) {
  return detail::Allocate<T>(message, kSource, __LINE__, id);
}

[[noreturn]] void NotSupported() {
  throw ZEB::CIllegalStateException("Object type not supported.", kSource, __LINE__);
}

bool OneOf(IEC_OBJECT_TYPE type, std::initializer_list<IEC_OBJECT_TYPE> allowed) {
  for (IEC_OBJECT_TYPE a : allowed) {
    if (a == type) return true;
  }
  return false;
}

} // namespace

CIecObjFactory::~CIecObjFactory() = default;

CIecObjFactory* CIecObjFactory::GetInstance() {
  std::lock_guard lock(defaultMutex);
  auto& factory = DefaultFactory();
  if (!factory) {
    factory = detail::Allocate<CIecObjFactory>("Cannot create CIecObjFactory object.", kSource, __LINE__);
  }
  return factory.get();
}

void CIecObjFactory::DeleteInstance() {
  std::lock_guard lock(defaultMutex);
  DefaultFactory().reset();
}

std::unique_ptr<CIecObject> CIecObjFactory::CreateIecObject(const CIecObjId& roid, IEC_OBJECT_TYPE iecObjectType) {
  if (roid.IsNew()) {
    throw ZEB::CIllegalStateException("<roid> with IsNew() = true is currently not supported.", kSource, __LINE__);
  }
  if (CIecObject::GetIecObjectType(roid.GetId()) != iecObjectType) {
    throw ZEB::CInvalidArgException("The object identified by <roid> is not of the type specified in <iecObjectType>.",
                                    kSource, __LINE__);
  }
  const GlObjectId id = roid.GetId();
  switch (iecObjectType) {
    case IEC_OBJ_RESOURCE:
      return CreateIecResource(id);
    case IEC_OBJ_FUNCTION_BLOCK_TYPE:
      return CreateIecFunctionBlockType(id);
    case IEC_OBJ_FUNCTION_TYPE:
      return CreateIecFunctionType(id);
    case IEC_OBJ_IN_VAR_TYPE:
      return CreateIecInVarType(id);
    case IEC_OBJ_OUT_VAR_TYPE:
      return CreateIecOutVarType(id);
    case IEC_OBJ_IN_OUT_VAR_TYPE:
      return CreateIecInOutVarType(id);
    case IEC_OBJ_GLOBAL_VAR:
      return CreateIecGlobalVar(id);
    case IEC_OBJ_TASK:
      return CreateIecTask(id);
    case IEC_OBJ_PROCESSING_GROUP:
      return CreateIecProcessingGroup(id);
    case IEC_OBJ_CFC:
      return CreateIecCfc(id);
    case IEC_OBJ_FUNCTION_BLOCK:
      return CreateIecFunctionBlock(id);
    case IEC_OBJ_FUNCTION:
      return CreateIecFunction(id);
    case IEC_OBJ_IN_VAR:
      return CreateIecInVar(id);
    case IEC_OBJ_OUT_VAR:
      return CreateIecOutVar(id);
    case IEC_OBJ_IN_OUT_VAR:
      return CreateIecInOutVar(id);
    case IEC_OBJ_VAR_TYPE_ELEMENT:
      return CreateIecVarTypeElement(id);
    case IEC_OBJ_CFC_IN_VAR:
      return CreateIecCfcInVar(id);
    case IEC_OBJ_CFC_OUT_VAR:
      return CreateIecCfcOutVar(id);
    case IEC_OBJ_CFC_IN_OUT_VAR:
      return CreateIecCfcInOutVar(id);
    case IEC_OBJ_VAR_ELEMENT:
      return CreateIecVarElement(id);
    default:
      NotSupported();
  }
}

std::unique_ptr<CIecConnection> CIecObjFactory::CreateIecConnection(const CIecTypedObjId& source,
                                                                    const CIecTypedObjId& sink,
                                                                    std::uint32_t connectionType, bool flag,
                                                                    const std::string& text) {
  if (connectionType == IEC_TEXTUAL_REF_TYPE) {
    if (source.type != IEC_OBJ_NULL) {
      throw ZEB::CInvalidArgException(
          "If connection Type is textual reference, then the object tpye must be IEC_OBJ_NULL.", kSource, __LINE__);
    }
  } else if (!OneOf(source.type, {IEC_OBJ_NULL, IEC_OBJ_GLOBAL_VAR, IEC_OBJ_OUT_VAR, IEC_OBJ_CFC_IN_VAR,
                                  IEC_OBJ_CFC_OUT_VAR, IEC_OBJ_CFC_IN_OUT_VAR})) {
    throw ZEB::CInvalidArgException(
        "Type of <source id> must be IEC_OBJ_GLOBAL_VAR, IEC_OBJ_OUT_VAR, "
        "IEC_OBJ_CFC_IN_VAR, IEC_OBJ_CFC_OUT_VAR, or IEC_OBJ_CFC_IN_OUT_VAR.",
        kSource, __LINE__);
  }
  if (!OneOf(sink.type, {IEC_OBJ_NULL, IEC_OBJ_GLOBAL_VAR, IEC_OBJ_IN_VAR, IEC_OBJ_IN_OUT_VAR, IEC_OBJ_CFC_IN_VAR,
                         IEC_OBJ_CFC_OUT_VAR, IEC_OBJ_CFC_IN_OUT_VAR, IEC_OBJ_PROCESSING_GROUP})) {
    throw ZEB::CInvalidArgException(
        "Type of <sink id> must be IEC_OBJ_GLOBAL_VAR, IEC_OBJ_IN_VAR, "
        "IEC_OBJ_IN_OUT_VAR, IEC_OBJ_CFC_IN_VAR, IEC_OBJ_CFC_OUT_VAR, "
        "IEC_OBJ_CFC_IN_OUT_VAR or IEC_OBJ_PROCESSING_GROUP.",
        kSource, __LINE__);
  }
  return CreateIecConnection_i(source, sink, connectionType, flag, text);
}

std::unique_ptr<CIecObject> CIecObjFactory::CreateIecResource(GlObjectId id) {
  return Create<CIecResource>(id, "Cannot create CIecResource object.");
}
std::unique_ptr<CIecObject> CIecObjFactory::CreateType1(GlObjectId) {
  NotSupported();
}
std::unique_ptr<CIecObject> CIecObjFactory::CreateIecFunctionBlockType(GlObjectId id) {
  return Create<CIecFunctionBlockType>(id, "Cannot create CIecFunctionBlockType object.");
}
std::unique_ptr<CIecObject> CIecObjFactory::CreateIecFunctionType(GlObjectId id) {
  return Create<CIecFunctionType>(id, "Cannot create CIecFunctionType object.");
}
std::unique_ptr<CIecObject> CIecObjFactory::CreateIecInVarType(GlObjectId id) {
  return Create<CIecInVarType>(id, "Cannot create CIecInVarType object.");
}
std::unique_ptr<CIecObject> CIecObjFactory::CreateIecOutVarType(GlObjectId id) {
  return Create<CIecOutVarType>(id, "Cannot create CIecOutVarType object.");
}
std::unique_ptr<CIecObject> CIecObjFactory::CreateIecInOutVarType(GlObjectId id) {
  return Create<CIecInOutVarType>(id, "Cannot create CIecInOutVarType object.");
}
std::unique_ptr<CIecObject> CIecObjFactory::CreateIecGlobalVar(GlObjectId id) {
  return Create<CIecGlobalVar>(id, "Cannot create CIecGlobalVar object.");
}
std::unique_ptr<CIecObject> CIecObjFactory::CreateIecTask(GlObjectId id) {
  return Create<CIecTask>(id, "Cannot create CIecTask object.");
}
std::unique_ptr<CIecObject> CIecObjFactory::CreateIecProcessingGroup(GlObjectId id) {
  return Create<CIecProcessingGroup>(id, "Cannot create CIecProcessingGroup object.");
}
std::unique_ptr<CIecObject> CIecObjFactory::CreateIecCfc(GlObjectId id) {
  return Create<CIecCfc>(id, "Cannot create CIecCfc object.");
}
std::unique_ptr<CIecObject> CIecObjFactory::CreateIecFunctionBlock(GlObjectId id) {
  return Create<CIecFunctionBlock>(id, "Cannot create CIecFunctionBlock object.");
}
std::unique_ptr<CIecObject> CIecObjFactory::CreateIecFunction(GlObjectId id) {
  return Create<CIecFunction>(id, "Cannot create CIecFunction object.");
}
std::unique_ptr<CIecObject> CIecObjFactory::CreateIecInVar(GlObjectId id) {
  return Create<CIecInVar>(id, "Cannot create CIecInVar object.");
}
std::unique_ptr<CIecObject> CIecObjFactory::CreateIecOutVar(GlObjectId id) {
  return Create<CIecOutVar>(id, "Cannot create CIecOutVar object.");
}
std::unique_ptr<CIecObject> CIecObjFactory::CreateIecInOutVar(GlObjectId id) {
  return Create<CIecInOutVar>(id, "Cannot create CIecInOutVar object.");
}
std::unique_ptr<CIecObject> CIecObjFactory::CreateType25(GlObjectId) {
  NotSupported();
}
std::unique_ptr<CIecObject> CIecObjFactory::CreateIecVarTypeElement(GlObjectId id) {
  return Create<CIecVarTypeElement>(id, "Cannot create CIecVarTypeElement object.");
}
std::unique_ptr<CIecObject> CIecObjFactory::CreateIecVarElement(GlObjectId id) {
  return Create<CIecVarElement>(id, "Cannot create CIecVarElement object.");
}
std::unique_ptr<CIecObject> CIecObjFactory::CreateIecCfcInVar(GlObjectId id) {
  return Create<CIecCfcInVar>(id, "Cannot create CIecCfcInVar object.");
}
std::unique_ptr<CIecObject> CIecObjFactory::CreateIecCfcOutVar(GlObjectId id) {
  return Create<CIecCfcOutVar>(id, "Cannot create CIecCfcOutVar object.");
}
std::unique_ptr<CIecObject> CIecObjFactory::CreateIecCfcInOutVar(GlObjectId id) {
  return Create<CIecCfcInOutVar>(id, "Cannot create CIecCfcInOutVar object.");
}
std::unique_ptr<CIecConnection> CIecObjFactory::CreateIecConnection_i(const CIecTypedObjId& source,
                                                                      const CIecTypedObjId& sink,
                                                                      std::uint32_t connectionType, bool flag,
                                                                      const std::string& text) {
  return detail::Allocate<CIecConnection>("Cannot create CIecConnection object.", kSource, __LINE__, source, sink,
                                          connectionType, flag, text);
}

} // namespace OpenData
