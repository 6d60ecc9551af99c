// Block types: the library types that blocks instantiate.
#pragma once

#include "opendata/iec_object.h"

namespace OpenData {

class CIecBlockType : public CIecObject {
public:
  CIecBlockType(GlObjectId id, IEC_OBJECT_TYPE type) : CIecObject(id, type) {}
  // Block types list no children; a filter vector is not supported.
  std::unique_ptr<std::vector<CIecObject*>> GetChildren(const std::vector<IEC_OBJECT_TYPE>* pvectorFilter) override;
  const IEC_DateAndTime* GetTimeStamp() override { return ReadTimeStamp(); }
};

class CIecFunctionBlockType : public CIecBlockType {
public:
  explicit CIecFunctionBlockType(GlObjectId id) : CIecBlockType(id, IEC_OBJ_FUNCTION_BLOCK_TYPE) {}
  void Accept(IIecVisitor& visitor) override;
  std::string GetName() override;
  // True when the function-block type flag of the record (offset 112) is 1.
  virtual bool IsRecordFlagSet(); // slot 9

private:
  const Iec_FunctionBlockType& Record();
  std::unique_ptr<Iec_FunctionBlockType> m_record;
};

class CIecFunctionType : public CIecBlockType {
public:
  explicit CIecFunctionType(GlObjectId id) : CIecBlockType(id, IEC_OBJ_FUNCTION_TYPE) {}
  void Accept(IIecVisitor& visitor) override;
  std::string GetName() override;

private:
  std::unique_ptr<Iec_FunctionType> m_record;
};

} // namespace OpenData
