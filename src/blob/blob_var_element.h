// CBlobVarElement: the record of a structure element instance. Like CBlobVar it has no fields,
// checks the version of a stored blob and writes nothing.
#pragma once

#include "blob/blob_record.h"
#include "blob/blob_var_base.h"

class CBlobVarElement : public CBlobRecord<CBlobVarElement, CBlobVarBase> {
public:
  static constexpr const char* kClassName = "CBlobVarElement";
  static constexpr std::uint32_t kVersion = 4;

  CBlobVarElement() = default;
  CBlobVarElement(GlObjectId objectId, GlTransactionId prevTransactionId) { Construct(objectId, prevTransactionId); }

  void Write(GlObjectId, GlTransactionId) override { Dump_i("::Write"); }
  void MarkLoaded() override {}

  static constexpr auto Fields() { return std::tuple<>(); }

protected:
  void ClearFields() override {}
};
