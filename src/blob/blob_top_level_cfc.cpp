#include "blob/blob_top_level_cfc.h"

#include <algorithm>

void CBlobTopLevelCfc::AddTo(std::vector<std::uint64_t>& list, std::uint64_t id) {
  EnsureLoaded();
  if (std::find(list.begin(), list.end(), id) == list.end()) list.push_back(id);
}

void CBlobTopLevelCfc::RemoveFrom(std::vector<std::uint64_t>& list, std::uint64_t id) {
  EnsureLoaded();
  const auto it = std::find(list.begin(), list.end(), id);
  if (it != list.end()) list.erase(it);
}

bool CBlobTopLevelCfc::LookupLibComment(const std::string& language, std::string& text) {
  EnsureLoaded();
  return m_libComment.Lookup(language, text);
}

void CBlobTopLevelCfc::SetLibCommentOf(const std::string& language, const std::string& text) {
  EnsureLoaded();
  m_libComment.SetAt(language, text);
}

bool CBlobTopLevelCfc::LookupLibHelpPath(const std::string& language, std::string& path) {
  EnsureLoaded();
  return m_libHelpPath.Lookup(language, path);
}

void CBlobTopLevelCfc::SetLibHelpPathOf(const std::string& language, const std::string& path) {
  EnsureLoaded();
  m_libHelpPath.SetAt(language, path);
}
