// Placed blocks: function-block instances and function instances, with their block type and
// variables.
#pragma once

#include "opendata/iec_block_base.h"
#include "opendata/iec_interfaces.h"

namespace OpenData {

class CIecBlockType;
class CIecInVar;
class CIecOutVar;
class CIecInOutVar;

class CIecBlock : public CIecBlockBase, public IIecTaskElement, public IIecProcGroupElement {
public:
  CIecBlock(GlObjectId id, IEC_OBJECT_TYPE type, IEC_OBJECT_TYPE blockTypeType)
      : CIecBlockBase(id, type), m_blockTypeType(blockTypeType) {}
  std::unique_ptr<std::vector<CIecObject*>> GetChildren(const std::vector<IEC_OBJECT_TYPE>* pvectorFilter) override;

  GlObjectId GetBlockTypeId();
  CIecBlockType* GetBlockType();
  std::unique_ptr<std::vector<CIecInVar*>> GetInVars();
  std::unique_ptr<std::vector<CIecOutVar*>> GetOutVars();
  std::unique_ptr<std::vector<CIecInOutVar*>> GetInOutVars();

private:
  GlObjectId m_blockTypeId = 0;
  IEC_OBJECT_TYPE m_blockTypeType;
};

class CIecFunctionBlock : public CIecBlock {
public:
  explicit CIecFunctionBlock(GlObjectId id) : CIecBlock(id, IEC_OBJ_FUNCTION_BLOCK, IEC_OBJ_FUNCTION_BLOCK_TYPE) {}
  void Accept(IIecVisitor& visitor) override;
  // The cached name only: the chart database is not changed.
  virtual void ResetName();                      // slot 11
  virtual void SetName(const std::string& name); // slot 12
};

class CIecFunction : public CIecBlock {
public:
  explicit CIecFunction(GlObjectId id) : CIecBlock(id, IEC_OBJ_FUNCTION, IEC_OBJ_FUNCTION_TYPE) {}
  void Accept(IIecVisitor& visitor) override;
};

} // namespace OpenData
