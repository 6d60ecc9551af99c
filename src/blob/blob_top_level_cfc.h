// CBlobTopLevelCfc: the record of a chart that lies in no other chart. Its Clear_i resets only the
// changed pins and the two stamps; the library fields keep their values. Both identifier lists
// are sets: adding an identifier present already does nothing.
#pragma once

#include "blob/blob_record.h"

class CBlobTopLevelCfc : public CBlobRecord<CBlobTopLevelCfc> {
public:
  static constexpr const char* kClassName = "CBlobTopLevelCfc";
  static constexpr std::uint32_t kVersion = 3;

  CBlobTopLevelCfc() = default;
  CBlobTopLevelCfc(GlObjectId objectId, GlTransactionId prevTransactionId) { Construct(objectId, prevTransactionId); }

  GRX_BLOB_PROPERTY(std::vector<std::uint64_t>, ChangedPins, m_vectChangedPins)
  GRX_BLOB_PROPERTY(std::string, Version, m_strVersion)
  GRX_BLOB_PROPERTY(std::string, BuildVersion, m_strBuildVersion)
  GRX_BLOB_PROPERTY(std::string, LibIconPath, m_strLibIconPath)
  GRX_BLOB_PROPERTY(CBlobStringMap, LibComment, m_libComment)
  GRX_BLOB_PROPERTY(std::string, LibFamily, m_strLibFamily)
  GRX_BLOB_PROPERTY(CBlobStringMap, LibHelpPath, m_libHelpPath)
  GRX_BLOB_PROPERTY(bool, IsPlanCopied, m_bIsPlanCopied)
  GRX_BLOB_PROPERTY(bool, IsPlanProtected, m_bIsPlanProtected)

  void AddChangedPin(std::uint64_t id) { AddTo(m_vectChangedPins, id); }
  void RemoveChangedPin(std::uint64_t id) { RemoveFrom(m_vectChangedPins, id); }
  void ClearChangedPins() {
    EnsureLoaded();
    m_vectChangedPins.clear();
  }
  // The second list, kept in memory only.
  const std::vector<std::uint64_t>& GetPendingPins() {
    EnsureLoaded();
    return m_vectPendingPins;
  }
  void AddPendingPin(std::uint64_t id) { AddTo(m_vectPendingPins, id); }
  void RemovePendingPin(std::uint64_t id) { RemoveFrom(m_vectPendingPins, id); }
  void ClearPendingPins() {
    EnsureLoaded();
    m_vectPendingPins.clear();
  }
  // One language's entry of "libComment" and "libHelpPath".
  bool LookupLibComment(const std::string& language, std::string& text);
  void SetLibCommentOf(const std::string& language, const std::string& text);
  bool LookupLibHelpPath(const std::string& language, std::string& path);
  void SetLibHelpPathOf(const std::string& language, const std::string& path);

  static constexpr auto Fields() {
    return std::make_tuple(BlobField<BLOB_ATTR_UINT64_LIST>("vectChangedPins", &CBlobTopLevelCfc::m_vectChangedPins),
                           BlobField<BLOB_ATTR_TEXT>("version", &CBlobTopLevelCfc::m_strVersion),
                           BlobField<BLOB_ATTR_TEXT>("buildVersion", &CBlobTopLevelCfc::m_strBuildVersion),
                           BlobField<BLOB_ATTR_TEXT>("libIconPath", &CBlobTopLevelCfc::m_strLibIconPath),
                           BlobField<BLOB_ATTR_STRING_MAP>("libComment", &CBlobTopLevelCfc::m_libComment),
                           BlobField<BLOB_ATTR_TEXT>("libFamily", &CBlobTopLevelCfc::m_strLibFamily),
                           BlobField<BLOB_ATTR_STRING_MAP>("libHelpPath", &CBlobTopLevelCfc::m_libHelpPath),
                           BlobField<BLOB_ATTR_BOOL>("IsPlanCopied", &CBlobTopLevelCfc::m_bIsPlanCopied),
                           BlobField<BLOB_ATTR_BOOL>("IsPlanProtected", &CBlobTopLevelCfc::m_bIsPlanProtected));
  }

protected:
  void ClearFields() override {
    m_vectChangedPins.clear();
    m_strVersion.clear();
    m_strBuildVersion.clear();
  }

private:
  void AddTo(std::vector<std::uint64_t>& list, std::uint64_t id);
  void RemoveFrom(std::vector<std::uint64_t>& list, std::uint64_t id);

  std::vector<std::uint64_t> m_vectChangedPins;
  std::string m_strVersion;
  std::string m_strBuildVersion;
  std::string m_strLibIconPath;
  CBlobStringMap m_libComment;
  std::string m_strLibFamily;
  CBlobStringMap m_libHelpPath;
  bool m_bIsPlanCopied = false;
  bool m_bIsPlanProtected = false;
  std::vector<std::uint64_t> m_vectPendingPins;
};
