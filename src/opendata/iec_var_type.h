// Types of block variables (input, output, in/out) and the elements of structured types.
#pragma once

#include "opendata/iec_object.h"

namespace OpenData {

class CIecVarType : public CIecObject {
public:
  CIecVarType(GlObjectId id, IEC_OBJECT_TYPE type) : CIecObject(id, type) {}
  // The type's elements (IEC_OBJ_VAR_TYPE_ELEMENT), when the filter selects them.
  std::unique_ptr<std::vector<CIecObject*>> GetChildren(const std::vector<IEC_OBJECT_TYPE>* pvectorFilter) override;
  virtual GlDataType GetDataType() = 0; // slot 9
  std::unique_ptr<ObjectIdVector> GetStructureElementIds();
};

// The three parameter types read a record of their own; Record is its type.
template <class Record>
class CIecRecordVarType : public CIecVarType {
public:
  using ReadFn = GlResult (*)(GlObjectId, Record&, GlTransactionId);
  CIecRecordVarType(GlObjectId id, IEC_OBJECT_TYPE type, ReadFn read, const char* allocFailure, const char* readFailure,
                    const char* source)
      : CIecVarType(id, type),
        m_read(read),
        m_allocFailure(allocFailure),
        m_readFailure(readFailure),
        m_source(source) {}
  std::string GetName() override;
  GlDataType GetDataType() override { return Get().dataType; }

protected:
  const Record& Get();

private:
  ReadFn m_read;
  const char* m_allocFailure;
  const char* m_readFailure;
  const char* m_source;
  std::unique_ptr<Record> m_record;
};

class CIecInVarType : public CIecRecordVarType<Iec_InVarType> {
public:
  explicit CIecInVarType(GlObjectId id);
  void Accept(IIecVisitor& visitor) override;
};

class CIecOutVarType : public CIecRecordVarType<Iec_OutVarType> {
public:
  explicit CIecOutVarType(GlObjectId id);
  void Accept(IIecVisitor& visitor) override;
};

class CIecInOutVarType : public CIecRecordVarType<Iec_InOutVarType> {
public:
  explicit CIecInOutVarType(GlObjectId id);
  void Accept(IIecVisitor& visitor) override;
};

// An element of a structured type; its name comes from the properties record.
class CIecVarTypeElement : public CIecVarType {
public:
  explicit CIecVarTypeElement(GlObjectId id) : CIecVarType(id, IEC_OBJ_VAR_TYPE_ELEMENT) {}
  void Accept(IIecVisitor& visitor) override;
  GlDataType GetDataType() override;

private:
  std::unique_ptr<Iec_VarTypeElement> m_record;
};

} // namespace OpenData
