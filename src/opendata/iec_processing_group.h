// A processing group (run-time group) of a task: its record, task, members and sources.
#pragma once

#include "opendata/iec_interfaces.h"
#include "opendata/iec_object.h"

namespace OpenData {

class CIecTask;

class CIecProcessingGroup : public CIecObject, public IIecTaskElement, public IIecSink {
public:
  explicit CIecProcessingGroup(GlObjectId id) : CIecObject(id, IEC_OBJ_PROCESSING_GROUP) {}
  void Accept(IIecVisitor& visitor) override;
  std::unique_ptr<std::vector<CIecObject*>> GetChildren(const std::vector<IEC_OBJECT_TYPE>* pvectorFilter) override;
  std::string GetName() override;
  std::string GetComment() override;
  virtual std::unique_ptr<std::vector<CIecConnection*>> GetSourceConnections(); // slot 9
  virtual std::unique_ptr<std::vector<IIecSource*>> GetSources();               // slot 10
  virtual void ClearSources();                                                  // slot 11
  // A processing group has no sinks.
  std::unique_ptr<std::vector<CIecConnection*>> GetSinkConnections() override;
  std::unique_ptr<std::vector<IIecSink*>> GetSinks() override;

  const TVectorOidAndTypes* GetBlockIds(GlSelect filter);
  std::unique_ptr<std::vector<IIecProcGroupElement*>> GetProcGroupElements();
  GlObjectId GetTaskId();
  CIecTask* GetTask();
  const TVectorOidAndTypes* GetSourceIds();
  std::uint16_t GetReduction();
  std::uint16_t GetPhase();

private:
  const Iec_ProcessingGroup& Record();

  std::unique_ptr<Iec_ProcessingGroup> m_record;
  GlObjectId m_taskId = 0;
  std::unique_ptr<TVectorOidAndTypes> m_blocks;
  std::unique_ptr<TVectorOidAndTypes> m_sources;
};

} // namespace OpenData
