// A controller (resource): its record, alteration times and the lists of its global variables,
// charts and tasks.
#pragma once

#include "opendata/iec_object.h"

namespace OpenData {

class CIecGlobalVar;
class CIecCfc;
class CIecTask;

class CIecResource : public CIecObject {
public:
  explicit CIecResource(GlObjectId id) : CIecObject(id, IEC_OBJ_RESOURCE) {}
  void Accept(IIecVisitor& visitor) override;
  std::unique_ptr<std::vector<CIecObject*>> GetChildren(const std::vector<IEC_OBJECT_TYPE>* pvectorFilter) override;
  std::string GetName() override;
  const IEC_DateAndTime* GetTimeStamp() override { return ReadTimeStamp(); }

  const ObjectIdVector* GetGlobalVarIds();
  const ObjectIdVector* GetChartIds(GlSelect filter);
  const ObjectIdVector* GetTaskIds();
  std::unique_ptr<std::vector<CIecGlobalVar*>> GetGlobalVars();
  std::unique_ptr<std::vector<CIecCfc*>> GetCharts();
  std::unique_ptr<std::vector<CIecTask*>> GetTasks();
  IEC_DateAndTime GetAlterationTime();
  IEC_DateAndTime GetStructureAlterationTime();

private:
  const Iec_Resource& Record();

  std::unique_ptr<Iec_Resource> m_record;
  std::unique_ptr<IEC_DateAndTime> m_alterationTime;
  std::unique_ptr<IEC_DateAndTime> m_structureAlterationTime;
  std::unique_ptr<ObjectIdVector> m_globalVarIds;
  std::unique_ptr<ObjectIdVector> m_chartIds;
  std::unique_ptr<ObjectIdVector> m_taskIds;
};

} // namespace OpenData
