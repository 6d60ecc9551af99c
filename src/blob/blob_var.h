// CBlobVar: the record of a block-type parameter instance (input, output, in-out variable). It
// has no fields: it reads the blob only to check its version, so that a blob of another version
// is deleted on lazy load, and its Write stores nothing.
#pragma once

#include "blob/blob_record.h"
#include "blob/blob_var_base.h"

class CBlobVar : public CBlobRecord<CBlobVar, CBlobVarBase> {
public:
  static constexpr const char* kClassName = "CBlobVar";
  static constexpr std::uint32_t kVersion = 5;

  CBlobVar() = default;
  CBlobVar(GlObjectId objectId, GlTransactionId prevTransactionId) { Construct(objectId, prevTransactionId); }

  void Write(GlObjectId, GlTransactionId) override { Dump_i("::Write"); }
  void MarkLoaded() override {
    EnsureLoaded();
    m_bLoaded = true;
  }

  static constexpr auto Fields() { return std::tuple<>(); }

protected:
  void ClearFields() override {}
};
