// CBlobResource: the record of a resource (controller): the technology packages used by its
// charts as seven parallel lists, entry i of each list belonging to package i, and the version
// stamps of the library data. Version 1 blobs keep the packages as an object list ("elements")
// of CTPAttribs; they are read into the lists, and only version 2 is written.
#pragma once

#include "blob/blob_record.h"

class CBlobResource : public CBlobRecord<CBlobResource> {
public:
  static constexpr const char* kClassName = "CBlobResource";
  static constexpr std::uint32_t kVersion = 2;
  static constexpr std::uint32_t kOldVersion = 1;

  CBlobResource() = default;
  CBlobResource(GlObjectId objectId, GlTransactionId prevTransactionId) { Construct(objectId, prevTransactionId); }

  GRX_BLOB_PROPERTY(std::vector<std::string>, Names, m_names)
  GRX_BLOB_PROPERTY(std::vector<std::string>, TPVersions, m_tpVersions)
  GRX_BLOB_PROPERTY(std::vector<std::uint32_t>, LanguageIds, m_languageIds)
  GRX_BLOB_PROPERTY(std::vector<GUID>, RtTypeGuids, m_rtTypeGuids)
  GRX_BLOB_PROPERTY(std::vector<GUID>, InterfaceGuids, m_interfaceGuids)
  GRX_BLOB_PROPERTY(std::vector<bool>, AreLibs, m_areLibs)
  GRX_BLOB_PROPERTY(std::vector<std::vector<GUID>>, TypeIDMappedTPs, m_typeIDMappedTPs)
  GRX_BLOB_PROPERTY(std::string, Version, m_strVersion)
  GRX_BLOB_PROPERTY(std::string, BuildVersion, m_strBuildVersion)
  // The online state is used as it is: its accessors never load the record.
  bool GetCfcOnlineState() const { return m_bCfcOnlineState; }
  void SetCfcOnlineState(bool online) { m_bCfcOnlineState = online; }

  // Updates the entry of that name and version (byte-wise, case-sensitive), or appends one.
  void AddLibElement(const std::string& name, const std::string& version, std::uint32_t languageId,
                     const GUID& rtTypeGuid, const GUID& interfaceGuid, bool isLib,
                     const std::vector<GUID>& typeIDMappedTPs);
  // Refills the record's element list with one CTPAttribs per entry; the record keeps them.
  const CTPAttribsList& GetLibElements();

  static constexpr auto Fields() {
    return std::make_tuple(BlobField<BLOB_ATTR_TEXT_LIST>("names", &CBlobResource::m_names),
                           BlobField<BLOB_ATTR_TEXT_LIST>("TPVersions", &CBlobResource::m_tpVersions),
                           BlobField<BLOB_ATTR_UINT_LIST>("languageIds", &CBlobResource::m_languageIds),
                           BlobField<BLOB_ATTR_GUID_LIST>("rtTypeGuid", &CBlobResource::m_rtTypeGuids),
                           BlobField<BLOB_ATTR_GUID_LIST>("interfaceGuids", &CBlobResource::m_interfaceGuids),
                           BlobField<BLOB_ATTR_BOOL_LIST>("areLibs", &CBlobResource::m_areLibs),
                           BlobField<BLOB_ATTR_GUID_LIST_LIST>("typeIDMappedTPs", &CBlobResource::m_typeIDMappedTPs),
                           BlobField<BLOB_ATTR_TEXT>("version", &CBlobResource::m_strVersion),
                           BlobField<BLOB_ATTR_TEXT>("buildVersion", &CBlobResource::m_strBuildVersion),
                           BlobField<BLOB_ATTR_BOOL>("CfcOnlineState", &CBlobResource::m_bCfcOnlineState));
  }

protected:
  bool AcceptsVersion(std::uint32_t version) const override { return version == kVersion || version == kOldVersion; }
  void ReadFields(const CBlobMap& map) override;
  void ClearFields() override;

private:
  void Normalize();

  std::vector<std::string> m_names;
  std::vector<std::string> m_tpVersions;
  std::vector<std::uint32_t> m_languageIds;
  std::vector<GUID> m_rtTypeGuids;
  std::vector<GUID> m_interfaceGuids;
  std::vector<bool> m_areLibs;
  std::vector<std::vector<GUID>> m_typeIDMappedTPs;
  std::string m_strVersion;
  std::string m_strBuildVersion;
  bool m_bCfcOnlineState = false;
  CTPAttribsList m_lstLibElements;
};
