// CBlobBlock: the record of a function-block instance.
#pragma once

#include "blob/blob_record.h"

class CBlobBlock : public CBlobRecord<CBlobBlock> {
public:
  static constexpr const char* kClassName = "CBlobBlock";
  static constexpr std::uint32_t kVersion = 1;

  CBlobBlock() = default;
  CBlobBlock(GlObjectId objectId, GlTransactionId prevTransactionId) { Construct(objectId, prevTransactionId); }

  GRX_BLOB_PROPERTY(std::int32_t, XMLid, m_XMLid)
  GRX_BLOB_PROPERTY(std::string, FullName, m_strFullName)
  GRX_BLOB_PROPERTY(std::uint64_t, OwnerId, m_ownerId)

  static constexpr auto Fields() {
    return std::make_tuple(BlobField<BLOB_ATTR_XML_ID>("XMLid", &CBlobBlock::m_XMLid),
                           BlobField<BLOB_ATTR_TEXT>("fullName", &CBlobBlock::m_strFullName),
                           BlobField<BLOB_ATTR_UINT64>("OwnerId", &CBlobBlock::m_ownerId));
  }

protected:
  void ClearFields() override {
    m_XMLid = 0;
    m_strFullName.clear();
    m_ownerId = 0;
  }

private:
  std::int32_t m_XMLid = 0;
  std::string m_strFullName;
  std::uint64_t m_ownerId = 0;
};
