// Interface variables of charts: chart inputs, outputs and in/outs.
#pragma once

#include "opendata/iec_var_base.h"

namespace OpenData {

class CIecCfcVar : public CIecVarBase {
public:
  CIecCfcVar(GlObjectId id, IEC_OBJECT_TYPE type) : CIecVarBase(id, type) {}
  CIecBlockBase* GetBlock() override { return FindBlock(); }
};

// Chart inputs and in/outs share the layout of their record.
class CIecCfcInVarBase : public CIecSourceAndSinkVar<CIecCfcVar> {
public:
  CIecCfcInVarBase(GlObjectId id, IEC_OBJECT_TYPE type, GlResult (*read)(GlObjectId, Iec_CfcInVar&, GlTransactionId),
                   const char* allocFailure, const char* readFailure, const char* source)
      : CIecSourceVar(id, type),
        m_read(read),
        m_allocFailure(allocFailure),
        m_readFailure(readFailure),
        m_source(source) {}
  std::string GetName() override;
  GlDataType GetDataType() override { return Record().dataType; }
  const char* GetValue() override { return Record().value; }

protected:
  Iec_CfcInVar& Record();
  const char* Source() const { return m_source; }

private:
  GlResult (*m_read)(GlObjectId, Iec_CfcInVar&, GlTransactionId);
  const char* m_allocFailure;
  const char* m_readFailure;
  const char* m_source;
  std::unique_ptr<Iec_CfcInVar> m_record;
};

class CIecCfcInVar : public CIecCfcInVarBase {
public:
  explicit CIecCfcInVar(GlObjectId id);
  void Accept(IIecVisitor& visitor) override;
  virtual void SetValue(const std::string& value);   // slot 17
  virtual std::uint32_t SetValue(const char* value); // 18
};

class CIecCfcInOutVar : public CIecCfcInVarBase {
public:
  explicit CIecCfcInOutVar(GlObjectId id);
  void Accept(IIecVisitor& visitor) override;
};

class CIecCfcOutVar : public CIecSourceAndSinkVar<CIecCfcVar> {
public:
  explicit CIecCfcOutVar(GlObjectId id) : CIecSourceVar(id, IEC_OBJ_CFC_OUT_VAR) {}
  void Accept(IIecVisitor& visitor) override;
  std::string GetName() override;
  GlDataType GetDataType() override { return Record().dataType; }
  // A chart output has no value: raises CIllegalStateException.
  const char* GetValue() override;

private:
  const Iec_CfcOutVar& Record();
  std::unique_ptr<Iec_CfcOutVar> m_record;
};

} // namespace OpenData
