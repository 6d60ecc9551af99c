#include "blob/blob_resource.h"

void CBlobResource::ClearFields() {
  m_names.clear();
  m_tpVersions.clear();
  m_languageIds.clear();
  m_rtTypeGuids.clear();
  m_interfaceGuids.clear();
  m_areLibs.clear();
  m_typeIDMappedTPs.clear();
  m_strVersion.clear();
  m_strBuildVersion.clear();
  m_bCfcOnlineState = false;
}

void CBlobResource::ReadFields(const CBlobMap& map) {
  if (map.GetVersion() == kOldVersion) {
    // The lists are filled from the packages alone, also when the record is read again.
    m_lstLibElements.clear();
    m_names.clear();
    m_tpVersions.clear();
    m_languageIds.clear();
    map.Lookup<BLOB_ATTR_OBJECT_LIST>("elements", m_lstLibElements);
    for (const auto& element : m_lstLibElements) {
      m_names.push_back(element->m_strName);
      m_tpVersions.push_back(element->m_strTPVersion);
      m_languageIds.push_back(element->m_nLanguageId);
    }
    m_lstLibElements.clear();
  } else {
    map.Lookup<BLOB_ATTR_TEXT_LIST>("names", m_names);
    map.Lookup<BLOB_ATTR_TEXT_LIST>("TPVersions", m_tpVersions);
    map.Lookup<BLOB_ATTR_UINT_LIST>("languageIds", m_languageIds);
    map.Lookup<BLOB_ATTR_GUID_LIST>("rtTypeGuid", m_rtTypeGuids);
    map.Lookup<BLOB_ATTR_GUID_LIST>("interfaceGuids", m_interfaceGuids);
    map.Lookup<BLOB_ATTR_BOOL_LIST>("areLibs", m_areLibs);
    map.Lookup<BLOB_ATTR_GUID_LIST_LIST>("typeIDMappedTPs", m_typeIDMappedTPs);
    map.Lookup<BLOB_ATTR_BOOL>("CfcOnlineState", m_bCfcOnlineState);
  }
  map.Lookup<BLOB_ATTR_TEXT>("version", m_strVersion);
  map.Lookup<BLOB_ATTR_TEXT>("buildVersion", m_strBuildVersion);
  Normalize();
}

// Every list as long as the names: surplus entries go, missing ones take their defaults.
void CBlobResource::Normalize() {
  const std::size_t n = m_names.size();
  m_tpVersions.resize(n);
  m_languageIds.resize(n, 0);
  m_rtTypeGuids.resize(n, GUID{});
  m_interfaceGuids.resize(n, GUID{});
  m_areLibs.resize(n, false);
  m_typeIDMappedTPs.resize(n);
}

void CBlobResource::AddLibElement(const std::string& name, const std::string& version, std::uint32_t languageId,
                                  const GUID& rtTypeGuid, const GUID& interfaceGuid, bool isLib,
                                  const std::vector<GUID>& typeIDMappedTPs) {
  EnsureLoaded();
  Normalize();
  for (std::size_t i = 0; i < m_names.size(); ++i) {
    if (m_names[i] == name && m_tpVersions[i] == version) {
      m_languageIds[i] = languageId;
      m_rtTypeGuids[i] = rtTypeGuid;
      m_interfaceGuids[i] = interfaceGuid;
      m_areLibs[i] = isLib;
      m_typeIDMappedTPs[i] = typeIDMappedTPs;
      return;
    }
  }
  m_names.push_back(name);
  m_tpVersions.push_back(version);
  m_languageIds.push_back(languageId);
  m_rtTypeGuids.push_back(rtTypeGuid);
  m_interfaceGuids.push_back(interfaceGuid);
  m_areLibs.push_back(isLib);
  m_typeIDMappedTPs.push_back(typeIDMappedTPs);
}

const CTPAttribsList& CBlobResource::GetLibElements() {
  EnsureLoaded();
  m_lstLibElements.clear();
  for (std::size_t i = 0; i < m_names.size(); ++i) {
    auto element = std::make_unique<CTPAttribs>();
    element->m_strName = m_names[i];
    element->m_strTPVersion = i < m_tpVersions.size() ? m_tpVersions[i] : std::string();
    element->m_nLanguageId = i < m_languageIds.size() ? m_languageIds[i] : 0;
    element->m_rtTypeGuid = i < m_rtTypeGuids.size() ? m_rtTypeGuids[i] : GUID{};
    element->m_interfaceGuid = i < m_interfaceGuids.size() ? m_interfaceGuids[i] : GUID{};
    element->m_bIsLib = i < m_areLibs.size() && m_areLibs[i];
    if (i < m_typeIDMappedTPs.size()) element->m_typeIDMappedTPs = m_typeIDMappedTPs[i];
    m_lstLibElements.push_back(std::move(element));
  }
  return m_lstLibElements;
}
