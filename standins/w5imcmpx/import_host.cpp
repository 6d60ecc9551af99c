#include "import_host.h"

#include "import_settings.h"
#include "platform/com_lite.h"

namespace w5imp {

using grx::platform::HRESULT;

HRESULT ImportHost::QueryInterface(const grx::platform::IID& iid, void** object) {
  if (!object) return grx::platform::E_POINTER;
  *object = nullptr;
  if (iid == w5comp::IID_IImportHost || iid == grx::platform::IID_IUnknown) {
    *object = static_cast<w5comp::IImportHost*>(this);
  } else if (iid == w5comp::IID_ILogView && ImportMode() != "no-log-view") {
    *object = static_cast<w5comp::ILogView*>(this);
  } else {
    return grx::platform::E_NOINTERFACE;
  }
  AddRef();
  return grx::platform::S_OK;
}

std::uint32_t ImportHost::Release() {
  const std::uint32_t left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT ImportHost::Open(GlObjectId objectId, GlTransactionId tr) {
  if (ImportMode() == "fail-open") return grx::platform::E_FAIL;
  if (objectId == 0) return grx::platform::E_INVALIDARG;
  std::lock_guard lock(mutex_);
  open_ = true;
  objectId_ = objectId;
  tr_ = tr;
  return grx::platform::S_OK;
}

HRESULT ImportHost::GetOpened(GlObjectId* objectId, GlTransactionId* tr) {
  if (!objectId || !tr) return grx::platform::E_POINTER;
  std::lock_guard lock(mutex_);
  if (!open_) return E_UNEXPECTED;
  *objectId = objectId_;
  *tr = tr_;
  return grx::platform::S_OK;
}

HRESULT ImportHost::Close() {
  {
    std::lock_guard lock(mutex_);
    if (!open_) return grx::platform::S_OK;
    open_ = false;
  }
  if (const std::string file = ImportSetting("LogFile", "W5IMCMPX_LOG"); !file.empty()) {
    if (!log_.Save(file)) return HresultFromWin32(82); // ERROR_CANNOT_MAKE
  }
  return grx::platform::S_OK;
}

} // namespace w5imp
