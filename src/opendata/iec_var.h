// Parameters of placed blocks: inputs, outputs and in/outs with their variable record, their
// identifier record and their variable type.
#pragma once

#include "opendata/iec_var_base.h"

namespace OpenData {

class CIecVarType;

class CIecVar : public CIecVarBase {
public:
  CIecVar(GlObjectId id, IEC_OBJECT_TYPE type, IEC_OBJECT_TYPE varTypeType)
      : CIecVarBase(id, type), m_varTypeType(varTypeType) {}
  GlDataType GetDataType() override;
  CIecBlockBase* GetBlock() override { return FindBlock(); }
  const char* GetValue() override;
  virtual std::string GetIdentText2(); // slot 17: text at offset 23 of the identifier record
  virtual std::string GetIdentText1(); // slot 18: text at offset 0
  std::string GetName() override;

  GlObjectId GetVarTypeId();
  CIecVarType* GetVarType();
  const std::string& GetCachedIdentText1();
  const std::string& GetCachedIdentText2();

protected:
  const Iec_Var& VarRecord();
  // Re-reads both records (after a write, or on request).
  void ReadRecords();
  // Copies the text into the value field (at most 256 characters), writes the record with the
  // update function and reads both records again.
  void WriteValue(const char* text, GlResult (*update)(GlObjectId, const Iec_Var&, GlTransactionId),
                  const char* failure, const char* source);

private:
  std::string m_identText2;
  std::string m_identText1;
  GlObjectId m_varTypeId = 0;
  IEC_OBJECT_TYPE m_varTypeType;
  std::unique_ptr<Iec_Var> m_record;
  std::unique_ptr<Iec_VarIdent> m_ident;
};

class CIecInVar : public CIecSinkVar<CIecVar> {
public:
  explicit CIecInVar(GlObjectId id) : CIecSinkVar(id, IEC_OBJ_IN_VAR, IEC_OBJ_IN_VAR_TYPE) {}
  void Accept(IIecVisitor& visitor) override;
  virtual void SetValue(const std::string& value); // slot 19
  virtual const char* RefreshValue();              // 20
  virtual void SetValue(const char* value);        // 21
};

class CIecOutVar : public CIecSourceVar<CIecVar> {
public:
  explicit CIecOutVar(GlObjectId id) : CIecSourceVar(id, IEC_OBJ_OUT_VAR, IEC_OBJ_OUT_VAR_TYPE) {}
  void Accept(IIecVisitor& visitor) override;
  virtual void SetValue(const std::string& value); // slot 19
  virtual void SetValue(const char* value);        // 20
};

class CIecInOutVar : public CIecSinkVar<CIecVar> {
public:
  explicit CIecInOutVar(GlObjectId id) : CIecSinkVar(id, IEC_OBJ_IN_OUT_VAR, IEC_OBJ_IN_OUT_VAR_TYPE) {}
  void Accept(IIecVisitor& visitor) override;
};

} // namespace OpenData
