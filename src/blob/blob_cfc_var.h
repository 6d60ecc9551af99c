// CBlobCfcVar: the record of a chart interface parameter. Its Clear_i resets only the flags: the
// comment map keeps what it holds.
#pragma once

#include "blob/blob_record.h"
#include "blob/blob_var_base.h"

class CBlobCfcVar : public CBlobRecord<CBlobCfcVar, CBlobVarBase> {
public:
  static constexpr const char* kClassName = "CBlobCfcVar";
  static constexpr std::uint32_t kVersion = 4;

  CBlobCfcVar() = default;
  CBlobCfcVar(GlObjectId objectId, GlTransactionId prevTransactionId) { Construct(objectId, prevTransactionId); }

  GRX_BLOB_PROPERTY(CBlobStringMap, LibPinComment, m_libPinComment)
  void MarkLoaded() override { m_bLoaded = true; }

  static constexpr auto Fields() {
    return std::make_tuple(BlobField<BLOB_ATTR_STRING_MAP>("libPinComment", &CBlobCfcVar::m_libPinComment));
  }

protected:
  void ClearFields() override {}

private:
  CBlobStringMap m_libPinComment;
};
