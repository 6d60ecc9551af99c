// The factory of the object model: creates the object for an identifier and type, and the
// connection objects. A derived factory (the blob extension factory) overrides the creation
// slots to attach extensions.
#pragma once

#include <memory>
#include <string>

#include "foundation/object_trace.h"
#include "opendata/iec_obj_id.h"

namespace OpenData {

class CIecObject;
class CIecConnection;

class CIecObjFactory : public ZEB::CObject {
public:
  CIecObjFactory() = default;
  ~CIecObjFactory() override;                                                                                // slot 0
  virtual std::unique_ptr<CIecObject> CreateIecObject(const CIecObjId& roid, IEC_OBJECT_TYPE iecObjectType); // 1
  virtual std::unique_ptr<CIecConnection> CreateIecConnection(const CIecTypedObjId& source, const CIecTypedObjId& sink,
                                                              std::uint32_t connectionType, bool flag,
                                                              const std::string& text); // 2
  virtual std::unique_ptr<CIecObject> CreateIecResource(GlObjectId id);                 // 3
  virtual std::unique_ptr<CIecObject> CreateType1(GlObjectId id);                       // 4
  virtual std::unique_ptr<CIecObject> CreateIecFunctionBlockType(GlObjectId id);        // 5
  virtual std::unique_ptr<CIecObject> CreateIecFunctionType(GlObjectId id);             // 6
  virtual std::unique_ptr<CIecObject> CreateIecInVarType(GlObjectId id);                // 7
  virtual std::unique_ptr<CIecObject> CreateIecOutVarType(GlObjectId id);               // 8
  virtual std::unique_ptr<CIecObject> CreateIecInOutVarType(GlObjectId id);             // 9
  virtual std::unique_ptr<CIecObject> CreateIecGlobalVar(GlObjectId id);                // 10
  virtual std::unique_ptr<CIecObject> CreateIecTask(GlObjectId id);                     // 11
  virtual std::unique_ptr<CIecObject> CreateIecProcessingGroup(GlObjectId id);          // 12
  virtual std::unique_ptr<CIecObject> CreateIecCfc(GlObjectId id);                      // 13
  virtual std::unique_ptr<CIecObject> CreateIecFunctionBlock(GlObjectId id);            // 14
  virtual std::unique_ptr<CIecObject> CreateIecFunction(GlObjectId id);                 // 15
  virtual std::unique_ptr<CIecObject> CreateIecInVar(GlObjectId id);                    // 16
  virtual std::unique_ptr<CIecObject> CreateIecOutVar(GlObjectId id);                   // 17
  virtual std::unique_ptr<CIecObject> CreateIecInOutVar(GlObjectId id);                 // 18
  virtual std::unique_ptr<CIecObject> CreateType25(GlObjectId id);                      // 19
  virtual std::unique_ptr<CIecObject> CreateIecVarTypeElement(GlObjectId id);           // 20
  virtual std::unique_ptr<CIecObject> CreateIecVarElement(GlObjectId id);               // 21
  virtual std::unique_ptr<CIecObject> CreateIecCfcInVar(GlObjectId id);                 // 22
  virtual std::unique_ptr<CIecObject> CreateIecCfcOutVar(GlObjectId id);                // 23
  virtual std::unique_ptr<CIecObject> CreateIecCfcInOutVar(GlObjectId id);              // 24
  virtual std::unique_ptr<CIecConnection> CreateIecConnection_i(const CIecTypedObjId& source,
                                                                const CIecTypedObjId& sink,
                                                                std::uint32_t connectionType, bool flag,
                                                                const std::string& text); // 25

  // The default factory, created on first use; deleted at library exit.
  static CIecObjFactory* GetInstance();
  static void DeleteInstance();
};

} // namespace OpenData
