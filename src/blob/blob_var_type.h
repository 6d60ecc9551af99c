// CBlobVarType: the record of input, output and in-out parameter types; CBlobVarTypeElement, the
// record of structure element types, is the same record under its own name.
#pragma once

#include "blob/blob_record.h"

enum StringTypeName : std::int32_t {
  STR_TYPE_NAME_NONE = 0,
  STR_TYPE_NAME_TASK = 1,
  STR_TYPE_NAME_ALARM = 2,
};
// The name of a string type in the dump ("invalid value" for any other number).
const char* StringTypeName(std::int32_t type);

class CBlobVarType : public CBlobRecord<CBlobVarType> {
public:
  static constexpr const char* kClassName = "CBlobVarType";
  static constexpr std::uint32_t kVersion = 9;

  CBlobVarType() = default;
  CBlobVarType(GlObjectId objectId, GlTransactionId prevTransactionId) { Construct(objectId, prevTransactionId); }

  GRX_BLOB_PROPERTY(std::int32_t, StringType, m_enmStringType)
  GRX_BLOB_PROPERTY(std::string, TypeName, m_strTypeName)
  GRX_BLOB_PROPERTY(BlobVariant, ParameterNumber, m_parameterNumber)
  GRX_BLOB_PROPERTY(BlobVariant, Properties, m_properties)
  GRX_BLOB_PROPERTY(BlobVariant, MinimumValue, m_minimumValue)
  GRX_BLOB_PROPERTY(BlobVariant, MaximumValue, m_maximumValue)
  // Bit 0 and bit 5 (0x20) of "properties", which becomes a VT_I4 on the way.
  bool HasPropertyBit0();
  bool HasPropertyBit5();

  static constexpr auto Fields() {
    return std::make_tuple(BlobField<BLOB_ATTR_ENUM>("stringType", &CBlobVarType::m_enmStringType),
                           BlobField<BLOB_ATTR_TEXT>("typeName", &CBlobVarType::m_strTypeName),
                           BlobField<BLOB_ATTR_VARIANT>("parameterNumber", &CBlobVarType::m_parameterNumber),
                           BlobField<BLOB_ATTR_VARIANT>("properties", &CBlobVarType::m_properties),
                           BlobField<BLOB_ATTR_VARIANT>("minimumValue", &CBlobVarType::m_minimumValue),
                           BlobField<BLOB_ATTR_VARIANT>("maximumValue", &CBlobVarType::m_maximumValue));
  }

protected:
  void ClearFields() override;
  const char* ClearFailureText() const override { return "An unexpected error occured."; }
  std::string FieldText(const char* key, BlobAttrType tag, const void* value) const override;

private:
  std::int32_t m_enmStringType = STR_TYPE_NAME_NONE;
  std::string m_strTypeName;
  BlobVariant m_parameterNumber, m_properties, m_minimumValue, m_maximumValue;
};

class CBlobVarTypeElement : public CBlobVarType {
public:
  CBlobVarTypeElement() = default;
  CBlobVarTypeElement(GlObjectId objectId, GlTransactionId prevTransactionId) {
    Construct(objectId, prevTransactionId);
  }
  const char* ClassName() const override { return "CBlobVarTypeElement"; }
};
