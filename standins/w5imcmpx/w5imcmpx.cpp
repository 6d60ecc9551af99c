// The import components: the log (CLSID_Log), a log kept in memory for hosts and grx; and the
// engineering system's block-type import host with its log view and the import runner.
#include "import_host.h"
#include "import_runner.h"
#include "log_store.h"
#include "platform/com_lite.h"
#include "platform/export_macros.h"

namespace {

using grx::platform::HRESULT;

class Log final : public grx::platform::ComObject<w5imp::LogView, &w5comp::IID_ILogView> {
private:
  ~Log() override = default;
};

} // namespace

GRX_MODULE_EXPORT HRESULT grx_CreateComponent(const grx::platform::CLSID& clsid, const grx::platform::IID& iid,
                                              void** object) {
  if (!object) return grx::platform::E_POINTER;
  *object = nullptr;
  if (clsid == w5comp::CLSID_Log) return grx::platform::CreateComponentObject<Log>(iid, object);
  if (clsid == w5comp::CLSID_ImportHost) return grx::platform::CreateComponentObject<w5imp::ImportHost>(iid, object);
  if (clsid == w5comp::CLSID_ImportRunner) {
    return grx::platform::CreateComponentObject<w5imp::ImportRunner>(iid, object);
  }
  return static_cast<HRESULT>(0x80040111); // CLASS_E_CLASSNOTAVAILABLE
}
