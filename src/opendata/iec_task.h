// A task: its record and its elements (processing groups and directly installed objects).
#pragma once

#include "opendata/iec_interfaces.h"
#include "opendata/iec_object.h"

namespace OpenData {

class CIecTask : public CIecObject {
public:
  explicit CIecTask(GlObjectId id) : CIecObject(id, IEC_OBJ_TASK) {}
  void Accept(IIecVisitor& visitor) override;
  std::unique_ptr<std::vector<CIecObject*>> GetChildren(const std::vector<IEC_OBJECT_TYPE>* pvectorFilter) override;
  std::string GetName() override;
  const IEC_DateAndTime* GetTimeStamp() override { return ReadTimeStamp(); }

  const TVectorOidAndTypes* GetElementIds(GlSelect filter);
  std::unique_ptr<std::vector<IIecTaskElement*>> GetTaskElements();

private:
  std::unique_ptr<Iec_Task> m_record;
  std::unique_ptr<TVectorOidAndTypes> m_elements;
};

} // namespace OpenData
