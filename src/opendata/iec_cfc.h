// A chart: its record, its interface variables (from the block base) and its sub-charts,
// function blocks and functions.
#pragma once

#include "opendata/iec_block_base.h"
#include "opendata/iec_interfaces.h"

namespace OpenData {

class CIecFunctionBlock;
class CIecFunction;
class CIecCfcInVar;
class CIecCfcOutVar;
class CIecCfcInOutVar;

// A chart runs in a run sequence like a block: it can be a member of a task or of a processing
// group.
class CIecCfc : public CIecBlockBase, public IIecTaskElement, public IIecProcGroupElement {
public:
  explicit CIecCfc(GlObjectId id) : CIecBlockBase(id, IEC_OBJ_CFC) {}
  void Accept(IIecVisitor& visitor) override;
  std::unique_ptr<std::vector<CIecObject*>> GetChildren(const std::vector<IEC_OBJECT_TYPE>* pvectorFilter) override;
  std::string GetName() override;
  const IEC_DateAndTime* GetTimeStamp() override { return ReadTimeStamp(); }

  // Sub-charts (8), function blocks (10) or functions (11); one cached list per filter.
  const ObjectIdVector* GetBlockIds(GlSelect filter);
  std::unique_ptr<std::vector<CIecCfc*>> GetCharts();
  std::unique_ptr<std::vector<CIecFunctionBlock*>> GetFunctionBlocks();
  std::unique_ptr<std::vector<CIecFunction*>> GetFunctions();
  std::unique_ptr<std::vector<CIecCfcInVar*>> GetCfcInVars();
  std::unique_ptr<std::vector<CIecCfcOutVar*>> GetCfcOutVars();
  std::unique_ptr<std::vector<CIecCfcInOutVar*>> GetCfcInOutVars();

private:
  std::unique_ptr<Iec_Cfc> m_record;
  std::unique_ptr<ObjectIdVector> m_subChartIds;
  std::unique_ptr<ObjectIdVector> m_functionBlockIds;
  std::unique_ptr<ObjectIdVector> m_functionIds;
};

} // namespace OpenData
