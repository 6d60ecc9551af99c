// CBlobGlobalVar: the record of a global variable.
#pragma once

#include "blob/blob_record.h"

class CBlobGlobalVar : public CBlobRecord<CBlobGlobalVar> {
public:
  static constexpr const char* kClassName = "CBlobGlobalVar";
  static constexpr std::uint32_t kVersion = 1;

  CBlobGlobalVar() = default;
  CBlobGlobalVar(GlObjectId objectId, GlTransactionId prevTransactionId) { Construct(objectId, prevTransactionId); }

  GRX_BLOB_PROPERTY(std::string, FullPath, m_strFullPath)

  static constexpr auto Fields() {
    return std::make_tuple(BlobField<BLOB_ATTR_TEXT>("fullPath", &CBlobGlobalVar::m_strFullPath));
  }

protected:
  void ClearFields() override { m_strFullPath.clear(); }

private:
  std::string m_strFullPath;
};
