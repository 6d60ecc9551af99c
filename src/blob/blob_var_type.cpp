#include "blob/blob_var_type.h"

#include <cstring>

const char* StringTypeName(std::int32_t type) {
  static constexpr const char* kNames[] = {"STR_TYPE_NAME_NONE", "STR_TYPE_NAME_TASK", "STR_TYPE_NAME_ALARM"};
  return type >= 0 && type <= STR_TYPE_NAME_ALARM ? kNames[type] : "invalid value";
}

void CBlobVarType::ClearFields() {
  m_enmStringType = STR_TYPE_NAME_NONE;
  m_strTypeName.clear();
  for (BlobVariant* v : {&m_parameterNumber, &m_properties, &m_minimumValue, &m_maximumValue}) *v = BlobVariant{};
}

bool CBlobVarType::HasPropertyBit0() {
  EnsureLoaded();
  return (m_properties.ChangeToInt32() & 0x1) != 0;
}

bool CBlobVarType::HasPropertyBit5() {
  EnsureLoaded();
  return (m_properties.ChangeToInt32() & 0x20) != 0;
}

std::string CBlobVarType::FieldText(const char* key, BlobAttrType tag, const void* value) const {
  if (std::strcmp(key, "stringType") == 0) return StringTypeName(*static_cast<const std::int32_t*>(value));
  return BlobValueText(tag, value);
}
