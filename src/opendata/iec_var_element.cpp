#include "opendata/iec_var_element.h"

#include "opendata/iec_block_base.h"
#include "opendata/iec_visitor.h"
#include "opendata/open_data_impl.h"

namespace OpenData {

void CIecVarElement::Accept(IIecVisitor& visitor) {
  visitor.VisitVarElement(*this);
}

const Iec_VarElement& CIecVarElement::Record() {
  return detail::CachedRecord(m_record, GetId(), iec_VarElementRead, "Cannot create Iec_VarElement object.",
                              "iec_VarElementRead failed.", "IecVarElement", __LINE__);
}

CIecVarBase* CIecVarElement::GetVar() {
  GlObjectId var = 0;
  GlObjectType type = IEC_OBJ_NULL;
  if (gl_ErrorIdGet(iec_VarElementVarGet(GetId(), var, type, detail::Transaction())) != 0) return nullptr;
  return dynamic_cast<CIecVarBase*>(CIecObjManager::GetInstance()->FindIecObject(CIecObjId(var), type));
}

CIecVarBase* CIecVarElement::GetRootVar() {
  CIecVarBase* var = GetVar();
  if (!var) return nullptr;
  if (auto* element = dynamic_cast<CIecVarElement*>(var)) return element->GetRootVar();
  return var;
}

// An element without a root variable lies in no block.
CIecBlockBase* CIecVarElement::GetBlock() {
  CIecVarBase* root = GetRootVar();
  return root ? root->GetBlock() : nullptr;
}

} // namespace OpenData
