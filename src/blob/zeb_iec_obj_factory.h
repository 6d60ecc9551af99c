// CZebIecObjFactory: the object model's factory that attaches to every object it creates the blob
// record of its kind, under EXTENSION_KEY_BLOB. One process-wide instance.
#pragma once

#include "opendata/iec_obj_factory.h"

class CZebIecObjFactory : public OpenData::CIecObjFactory {
public:
  CZebIecObjFactory();
  ~CZebIecObjFactory() override;

  static CZebIecObjFactory* GetInstance();
  static void DeleteInstance();

  std::unique_ptr<OpenData::CIecObject> CreateIecFunctionBlockType(GlObjectId id) override;
  std::unique_ptr<OpenData::CIecObject> CreateIecFunctionType(GlObjectId id) override;
  std::unique_ptr<OpenData::CIecObject> CreateIecInVarType(GlObjectId id) override;
  std::unique_ptr<OpenData::CIecObject> CreateIecOutVarType(GlObjectId id) override;
  std::unique_ptr<OpenData::CIecObject> CreateIecInOutVarType(GlObjectId id) override;
  std::unique_ptr<OpenData::CIecObject> CreateIecGlobalVar(GlObjectId id) override;
  std::unique_ptr<OpenData::CIecObject> CreateIecTask(GlObjectId id) override;
  std::unique_ptr<OpenData::CIecObject> CreateIecProcessingGroup(GlObjectId id) override;
  std::unique_ptr<OpenData::CIecObject> CreateIecCfc(GlObjectId id) override;
  std::unique_ptr<OpenData::CIecObject> CreateIecFunctionBlock(GlObjectId id) override;
  std::unique_ptr<OpenData::CIecObject> CreateIecInVar(GlObjectId id) override;
  std::unique_ptr<OpenData::CIecObject> CreateIecOutVar(GlObjectId id) override;
  std::unique_ptr<OpenData::CIecObject> CreateIecInOutVar(GlObjectId id) override;
  std::unique_ptr<OpenData::CIecObject> CreateIecVarTypeElement(GlObjectId id) override;
  std::unique_ptr<OpenData::CIecObject> CreateIecVarElement(GlObjectId id) override;
  std::unique_ptr<OpenData::CIecObject> CreateIecCfcInVar(GlObjectId id) override;
  std::unique_ptr<OpenData::CIecObject> CreateIecCfcOutVar(GlObjectId id) override;
  std::unique_ptr<OpenData::CIecObject> CreateIecCfcInOutVar(GlObjectId id) override;
};
