// CBlobProcessingGroup: the record of a processing group.
#pragma once

#include "blob/blob_record.h"

class CBlobProcessingGroup : public CBlobRecord<CBlobProcessingGroup> {
public:
  static constexpr const char* kClassName = "CBlobProcessingGroup";
  static constexpr std::uint32_t kVersion = 5;
  static constexpr std::int32_t kNoXmlId = 0xFFFF;

  CBlobProcessingGroup() = default;
  CBlobProcessingGroup(GlObjectId objectId, GlTransactionId prevTransactionId) {
    Construct(objectId, prevTransactionId);
  }

  GRX_BLOB_PROPERTY(std::uint64_t, TaskId, m_TaskId)
  GRX_BLOB_PROPERTY(std::int32_t, XMLid, m_nXMLid)
  GRX_BLOB_PROPERTY(std::uint64_t, OwnerId, m_ownerId)
  // Marks the record loaded without reading it.
  virtual void MarkLoaded() { m_bLoaded = true; }

  static constexpr auto Fields() {
    return std::make_tuple(BlobField<BLOB_ATTR_UINT64>("taskId", &CBlobProcessingGroup::m_TaskId),
                           BlobField<BLOB_ATTR_XML_ID>("XMLid", &CBlobProcessingGroup::m_nXMLid),
                           BlobField<BLOB_ATTR_UINT64>("OwnerId", &CBlobProcessingGroup::m_ownerId));
  }

protected:
  void ClearFields() override {
    m_TaskId = 0;
    m_nXMLid = kNoXmlId;
    m_ownerId = 0;
  }

private:
  std::uint64_t m_TaskId = 0;
  std::int32_t m_nXMLid = kNoXmlId;
  std::uint64_t m_ownerId = 0;
};
