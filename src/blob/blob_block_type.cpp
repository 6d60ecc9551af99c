#include "blob/blob_block_type.h"

#include <cstring>

const char* BlockCategoryName(std::int32_t category) {
  static constexpr const char* kNames[] = {"BLKCAT_NDEF", "BLKCAT_ATTRIB_ONLY", "BLKCAT_LIB",        "BLKCAT_PRG",
                                           "BLKCAT_INL",  "BLKCAT_SYS",         "BLKCAT_BUILD_IN_FB"};
  return category >= 0 && category <= BLKCAT_BUILD_IN_FB ? kNames[category] : "invalid value";
}

void CBlobBlockType::ClearFields() {
  m_enmBlockCat = BLKCAT_NDEF;
  m_strLibrary.clear();
  m_strLibraryPureName.clear();
  for (BlobVariant* v : {&m_major, &m_minor, &m_numberOfInstances, &m_doClass, &m_properties, &m_execLevel,
                         &m_defaultExecLevel, &m_normalizedExecTime}) {
    *v = BlobVariant{};
  }
  m_inputCount = kDefaultInputCount;
}

std::string CBlobBlockType::FieldText(const char* key, BlobAttrType tag, const void* value) const {
  if (std::strcmp(key, "blockCat") == 0) return BlockCategoryName(*static_cast<const std::int32_t*>(value));
  return BlobValueText(tag, value);
}
