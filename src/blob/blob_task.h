// CBlobTask: the record of a task.
#pragma once

#include "blob/blob_record.h"

class CBlobTask : public CBlobRecord<CBlobTask> {
public:
  static constexpr const char* kClassName = "CBlobTask";
  static constexpr std::uint32_t kVersion = 4;

  CBlobTask() = default;
  CBlobTask(GlObjectId objectId, GlTransactionId prevTransactionId) { Construct(objectId, prevTransactionId); }

  GRX_BLOB_PROPERTY(std::string, Name, m_strName)
  GRX_BLOB_PROPERTY(std::uint32_t, TaskId, m_taskID)

  static constexpr auto Fields() {
    return std::make_tuple(BlobField<BLOB_ATTR_TEXT>("name", &CBlobTask::m_strName),
                           BlobField<BLOB_ATTR_UINT>("taskId", &CBlobTask::m_taskID));
  }

protected:
  void ClearFields() override {
    m_strName.clear();
    m_taskID = 0;
  }

private:
  std::string m_strName;
  std::uint32_t m_taskID = 0;
};
