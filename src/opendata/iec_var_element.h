// An element of a structured variable.
#pragma once

#include "opendata/iec_var_base.h"

namespace OpenData {

class CIecVarElement : public CIecVarBase {
public:
  explicit CIecVarElement(GlObjectId id) : CIecVarBase(id, IEC_OBJ_VAR_ELEMENT) {}
  void Accept(IIecVisitor& visitor) override;
  GlDataType GetDataType() override { return Record().dataType; }
  // The block of the root variable.
  CIecBlockBase* GetBlock() override;
  const char* GetValue() override { return Record().value; }

  // The variable (or element) that holds this element directly, or null.
  CIecVarBase* GetVar();
  // The outermost variable that is not an element, or null.
  CIecVarBase* GetRootVar();

private:
  const Iec_VarElement& Record();
  std::unique_ptr<Iec_VarElement> m_record;
};

} // namespace OpenData
