// A global variable of a controller.
#pragma once

#include "opendata/iec_var_base.h"

namespace OpenData {

class ZEB_API CIecGlobalVar : public CIecVarBase, public IIecSource, public IIecSink {
public:
  explicit CIecGlobalVar(GlObjectId id) : CIecVarBase(id, IEC_OBJ_GLOBAL_VAR) {}
  void Accept(IIecVisitor& visitor) override;
  std::string GetName() override;
  const IEC_DateAndTime* GetTimeStamp() override { return ReadTimeStamp(); }
  GlDataType GetDataType() override { return Record().dataType; }
  // A global variable has no value: raises CIllegalStateException.
  const char* GetValue() override;
  std::unique_ptr<std::vector<CIecConnection*>> GetSourceConnections() override {
    return CIecVarBase::GetSourceConnections();
  }
  std::unique_ptr<std::vector<IIecSource*>> GetSources() override { return CIecVarBase::GetSources(); }
  std::unique_ptr<std::vector<CIecConnection*>> GetSinkConnections() override {
    return CIecVarBase::GetSinkConnections();
  }
  std::unique_ptr<std::vector<IIecSink*>> GetSinks() override { return CIecVarBase::GetSinks(); }

private:
  const Iec_GlobalVar& Record();
  std::unique_ptr<Iec_GlobalVar> m_record;
};

} // namespace OpenData
