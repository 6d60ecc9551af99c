// A global variable of a controller.
#pragma once

#include "opendata/iec_var_base.h"

namespace OpenData {

class CIecGlobalVar : public CIecSourceAndSinkVar<CIecVarBase> {
public:
  explicit CIecGlobalVar(GlObjectId id) : CIecSourceVar(id, IEC_OBJ_GLOBAL_VAR) {}
  void Accept(IIecVisitor& visitor) override;
  std::string GetName() override;
  const IEC_DateAndTime* GetTimeStamp() override { return ReadTimeStamp(); }
  GlDataType GetDataType() override { return Record().dataType; }
  // A global variable has no value: raises CIllegalStateException.
  const char* GetValue() override;

private:
  const Iec_GlobalVar& Record();
  std::unique_ptr<Iec_GlobalVar> m_record;
};

} // namespace OpenData
