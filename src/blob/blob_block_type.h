// CBlobBlockType: the record of a function-block type and of a function type.
#pragma once

#include "blob/blob_record.h"

enum BlockCategory : std::int32_t {
  BLKCAT_NDEF = 0,
  BLKCAT_ATTRIB_ONLY = 1,
  BLKCAT_LIB = 2,
  BLKCAT_PRG = 3,
  BLKCAT_INL = 4,
  BLKCAT_SYS = 5,
  BLKCAT_BUILD_IN_FB = 6,
};
// The name of a category in the dump ("invalid value" for any other number).
const char* BlockCategoryName(std::int32_t category);

class CBlobBlockType : public CBlobRecord<CBlobBlockType> {
public:
  static constexpr const char* kClassName = "CBlobBlockType";
  static constexpr std::uint32_t kVersion = 11;
  static constexpr std::int32_t kDefaultInputCount = 2;

  CBlobBlockType() = default;
  CBlobBlockType(GlObjectId objectId, GlTransactionId prevTransactionId) { Construct(objectId, prevTransactionId); }

  GRX_BLOB_PROPERTY(std::int32_t, BlockCat, m_enmBlockCat)
  GRX_BLOB_PROPERTY(std::string, Library, m_strLibrary)
  GRX_BLOB_PROPERTY(std::string, LibraryPureName, m_strLibraryPureName)
  GRX_BLOB_PROPERTY(BlobVariant, Major, m_major)
  GRX_BLOB_PROPERTY(BlobVariant, Minor, m_minor)
  GRX_BLOB_PROPERTY(BlobVariant, NumberOfInstances, m_numberOfInstances)
  GRX_BLOB_PROPERTY(BlobVariant, DOClass, m_doClass)
  GRX_BLOB_PROPERTY(BlobVariant, Properties, m_properties)
  GRX_BLOB_PROPERTY(BlobVariant, ExecLevel, m_execLevel)
  GRX_BLOB_PROPERTY(BlobVariant, DefaultExecLevel, m_defaultExecLevel)
  GRX_BLOB_PROPERTY(BlobVariant, NormalizedExecTime, m_normalizedExecTime)
  GRX_BLOB_PROPERTY(std::int32_t, InputCount, m_inputCount)

  static constexpr auto Fields() {
    return std::make_tuple(BlobField<BLOB_ATTR_ENUM>("blockCat", &CBlobBlockType::m_enmBlockCat),
                           BlobField<BLOB_ATTR_TEXT>("library", &CBlobBlockType::m_strLibrary),
                           BlobField<BLOB_ATTR_TEXT>("libraryPureName", &CBlobBlockType::m_strLibraryPureName),
                           BlobField<BLOB_ATTR_VARIANT>("major", &CBlobBlockType::m_major),
                           BlobField<BLOB_ATTR_VARIANT>("minor", &CBlobBlockType::m_minor),
                           BlobField<BLOB_ATTR_VARIANT>("numberOfInstances", &CBlobBlockType::m_numberOfInstances),
                           BlobField<BLOB_ATTR_VARIANT>("DOClass", &CBlobBlockType::m_doClass),
                           BlobField<BLOB_ATTR_VARIANT>("properties", &CBlobBlockType::m_properties),
                           BlobField<BLOB_ATTR_VARIANT>("execLevel", &CBlobBlockType::m_execLevel),
                           BlobField<BLOB_ATTR_VARIANT>("defaultExecLevel", &CBlobBlockType::m_defaultExecLevel),
                           BlobField<BLOB_ATTR_VARIANT>("normalizedExecTime", &CBlobBlockType::m_normalizedExecTime),
                           BlobField<BLOB_ATTR_ENUM>("inputCount", &CBlobBlockType::m_inputCount));
  }

protected:
  void ClearFields() override;
  const char* ClearFailureText() const override { return "An unexpected error occured."; }
  std::string FieldText(const char* key, BlobAttrType tag, const void* value) const override;

private:
  std::int32_t m_enmBlockCat = BLKCAT_NDEF;
  std::string m_strLibrary;
  std::string m_strLibraryPureName;
  BlobVariant m_major, m_minor, m_numberOfInstances, m_doClass, m_properties, m_execLevel, m_defaultExecLevel,
      m_normalizedExecTime;
  std::int32_t m_inputCount = kDefaultInputCount;
};
