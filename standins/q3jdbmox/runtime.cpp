#include "runtime.h"

#include <cstdio>
#include <cstdlib>

namespace q3 {
namespace {

// Texts handed out per calling thread. The module is loaded at run time, so they are kept in
// a table of its own rather than in thread-local storage.
class PerThreadTexts {
public:
  std::string& For(const char* slot) {
    std::lock_guard lock(mutex_);
    return texts_[{std::this_thread::get_id(), slot}];
  }

private:
  std::mutex mutex_;
  std::map<std::pair<std::thread::id, const char*>, std::string> texts_;
};

PerThreadTexts& Texts() {
  static PerThreadTexts texts;
  return texts;
}

} // namespace

std::string& ThreadText(const char* slot) {
  return Texts().For(slot);
}

Runtime& Runtime::Instance() {
  static Runtime runtime;
  return runtime;
}

ProjectStore& Runtime::Store() {
  if (!store_) {
    const char* path = std::getenv("Q3JDBMOX_PROJECT");
    if (!path || !*path) {
      throw ApiError(kErrNoProject, "no project is open (set Q3JDBMOX_PROJECT)");
    }
    Open(path, false);
  }
  return *store_;
}

void Runtime::ResetSession() {
  // Q3JDBMOX_CALL_COUNTS names a file that receives the call counts of every project when it is
  // closed or replaced: one line "function count" each (for fault sweeps over a program's calls).
  if (const char* file = std::getenv("Q3JDBMOX_CALL_COUNTS"); file && *file && !callCounts_.empty()) {
    if (std::FILE* out = std::fopen(file, "a")) {
      for (const auto& [function, count] : callCounts_) {
        std::fprintf(out, "%s %llu\n", function.c_str(), static_cast<unsigned long long>(count));
      }
      std::fclose(out);
    }
  }
  positions_.clear();
  faults_.Clear();
  callCounts_.clear();
  errorHandlerCalls_ = 0;
  lastHandledError_ = 0;
}

void Runtime::Open(const std::string& path, bool create, bool readOnly) {
  auto store = ProjectStore::Open(path, create, readOnly);
  Adopt(std::move(store));
}

void Runtime::Adopt(std::unique_ptr<ProjectStore> store) {
  // Faults a process is started with (Q3JDBMOX_FAULTS) hold from the opening of each project on.
  FaultInjector configured;
  if (const char* faults = std::getenv("Q3JDBMOX_FAULTS"); faults && *faults) {
    configured.InjectFromText(faults);
  }
  store_ = std::move(store);
  store_->SetSoftwareVersion(SoftwareVersion());
  ResetSession();
  faults_ = std::move(configured);
}

void Runtime::Close() {
  store_.reset();
  ResetSession();
}

std::string Runtime::SoftwareVersion() const {
  if (!softwareVersion_.empty()) {
    return softwareVersion_;
  }
  const char* configured = std::getenv("Q3JDBMOX_SOFTWARE_VERSION");
  return configured && *configured ? configured : kDefaultSoftwareVersion;
}

void Runtime::SetSoftwareVersion(const char* version) {
  softwareVersion_ = version ? version : "";
  if (store_) {
    store_->SetSoftwareVersion(SoftwareVersion());
  }
}

void Runtime::CountCall(std::string_view function) {
  auto it = callCounts_.find(function);
  if (it == callCounts_.end()) {
    it = callCounts_.emplace(std::string(function), 0).first;
  }
  ++it->second;
}

std::uint64_t Runtime::CallCount(std::string_view function) const {
  auto it = callCounts_.find(function);
  return it == callCounts_.end() ? 0 : it->second;
}

std::optional<std::int64_t> Runtime::Position(const IterationKey& key) const {
  auto it = positions_.find(key);
  if (it == positions_.end()) return std::nullopt;
  return it->second;
}

void SetLastError(std::string text) {
  ThreadText("lastError") = std::move(text);
}
const std::string& LastError() {
  return ThreadText("lastError");
}

std::optional<std::int64_t> IterationPlace::Get() const {
  if (cursor_) {
    return *cursor_ == 0 ? std::nullopt : std::optional<std::int64_t>(static_cast<std::int64_t>(*cursor_));
  }
  return Runtime::Instance().Position(*key_);
}

void IterationPlace::Set(std::int64_t order) {
  if (cursor_) {
    *cursor_ = static_cast<std::uint64_t>(order);
  } else {
    Runtime::Instance().SetPosition(*key_, order);
  }
}

void IterationPlace::Finish() {
  if (key_) {
    Runtime::Instance().ErasePosition(*key_);
  }
}

void CopyText(char* dst, std::size_t size, std::string_view text) {
  if (!dst || size == 0) return;
  const std::size_t n = std::min(text.size(), size - 1);
  std::memcpy(dst, text.data(), n);
  dst[n] = '\0';
}

std::string InputText(const char* text, std::size_t size) {
  RequireBuffer(text);
  const std::size_t length = strnlen(text, size);
  if (length == size) {
    throw ApiError(kErrTextTooLong, "text longer than " + std::to_string(size - 1) + " characters");
  }
  return std::string(text, length);
}

void RequireBuffer(const void* buffer) {
  if (!buffer) {
    throw ApiError(kErrInvalidArgument, "null buffer");
  }
}

} // namespace q3
