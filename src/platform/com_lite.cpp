#include "platform/com_lite.h"


namespace grx::platform {
namespace {
std::atomic<int> liveErrorInfos{0};
} // namespace

ErrorInfo* ErrorInfo::Create(std::wstring description, std::uint32_t helpContext, std::wstring helpFile,
                             std::wstring source) {
  auto* info = new ErrorInfo();
  info->description_ = std::move(description);
  info->helpContext_ = helpContext;
  info->helpFile_ = std::move(helpFile);
  info->source_ = std::move(source);
  ++liveErrorInfos;
  return info;
}

std::uint32_t ErrorInfo::Release() {
  const std::uint32_t left = --references_;
  if (left == 0) delete this;
  return left;
}

ErrorInfo::~ErrorInfo() { --liveErrorInfos; }

int ErrorInfo::LiveObjects() { return liveErrorInfos.load(); }

ComError::ComError(HRESULT hr, IErrorInfo* info, bool addRef) : hr_(hr), info_(info) {
  if (info_ && addRef) info_->AddRef();
}

ComError::ComError(const ComError& other) : hr_(other.hr_), info_(other.info_) {
  if (info_) info_->AddRef();
}

ComError& ComError::operator=(const ComError& other) {
  if (this != &other) {
    if (other.info_) other.info_->AddRef();
    if (info_) info_->Release();
    hr_ = other.hr_;
    info_ = other.info_;
  }
  return *this;
}

ComError::~ComError() {
  if (info_) info_->Release();
}

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t wc : text) {
    const auto c = static_cast<std::uint32_t>(wc);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::wstring Widen(const std::string& text) {
  std::wstring out;
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    std::uint32_t code = c;
    std::size_t extra = 0;
    if (c >= 0xF0) {
      code = c & 0x07;
      extra = 3;
    } else if (c >= 0xE0) {
      code = c & 0x0F;
      extra = 2;
    } else if (c >= 0xC0) {
      code = c & 0x1F;
      extra = 1;
    }
    ++i;
    for (std::size_t k = 0; k < extra && i < text.size(); ++k, ++i) {
      code = (code << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
    }
    out += static_cast<wchar_t>(code);
  }
  return out;
}

} // namespace grx::platform
