// What charts and blocks share: their variable lists and their place in the chart hierarchy.
#pragma once

#include <map>

#include "opendata/iec_object.h"

namespace OpenData {

class CIecCfc;

class CIecBlockBase : public CIecObject {
public:
  CIecBlockBase(GlObjectId id, IEC_OBJECT_TYPE type) : CIecObject(id, type) {}
  virtual GlObjectId GetCfcId();     // slot 9
  virtual GlObjectId GetCfcIdRoot(); // slot 10

  // The cached identifiers of the input (13), output (14) or in/out (15) variables.
  const ObjectIdVector* GetVarIds(GlSelect filter);
  CIecCfc* GetCfc();
  CIecCfc* GetRootCfc();

private:
  CIecCfc* FindChart(GlObjectId id);

  std::map<GlSelect, std::unique_ptr<ObjectIdVector>> m_varIds;
  GlObjectId m_cfcId = 0;
  bool m_hasCfc = true;
};

} // namespace OpenData
