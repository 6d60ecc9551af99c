// The installation object of the tool library stand-in. It answers from the settings store:
//   Software\Halvorn\ORBIX\2.0\Installation\Libraries       value <library>: the product, "{GUID}"
//   Software\Halvorn\ORBIX\2.0\Installation\Products\{GUID}  value <property>, e.g. BI_HELP_PATH
// Unknown libraries, products and properties fail with error 10 (kInstallationNotFound).
// "Mode" under Software\Halvorn\ORBIX\2.0\Installation switches it for trying failure paths:
// "missing" gives no installation object, "no-libraries" one without IInstallationLibraries,
// "fail" one whose queries fail with E_FAIL.
#include <atomic>
#include <optional>
#include <string>

#include "platform/com_lite.h"
#include "platform/settings_store.h"
#include "w5tool/w5tl_installation.h"

namespace {

using grx::platform::E_FAIL;
using grx::platform::E_NOINTERFACE;
using grx::platform::E_POINTER;
using grx::platform::HRESULT;
using grx::platform::S_OK;

constexpr const char* kInstallationKey = "Software\\Halvorn\\ORBIX\\2.0\\Installation";

std::string Mode() {
  return grx::platform::ReadSettingText(grx::platform::Hive::LocalMachine, kInstallationKey, "Mode").value_or("");
}

std::optional<std::string> Setting(const std::string& subKey, const std::string& name) {
  return grx::platform::ReadSettingText(grx::platform::Hive::LocalMachine,
                                        std::string(kInstallationKey) + "\\" + subKey, name);
}

class Installation final : public w5tl::IInstallationLibraries, public w5tl::IInstallationProducts {
public:
  explicit Installation(bool withLibraries) : withLibraries_(withLibraries) {}

  HRESULT QueryInterface(const grx::platform::IID& iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if ((iid == w5tl::IID_IInstallationLibraries && withLibraries_) || iid == grx::platform::IID_IUnknown) {
      *object = static_cast<w5tl::IInstallationLibraries*>(this);
    } else if (iid == w5tl::IID_IInstallationProducts) {
      *object = static_cast<w5tl::IInstallationProducts*>(this);
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  std::uint32_t AddRef() override { return ++references_; }
  std::uint32_t Release() override {
    const std::uint32_t left = --references_;
    if (left == 0) delete this;
    return left;
  }

  GRX_COM_UNUSED_SLOT(3)
  GRX_COM_UNUSED_SLOT(4)
  GRX_COM_UNUSED_SLOT(5)
  GRX_COM_UNUSED_SLOT(6)
  GRX_COM_UNUSED_SLOT(7)
  GRX_COM_UNUSED_SLOT(8)
  GRX_COM_UNUSED_SLOT(9)
  GRX_COM_UNUSED_SLOT(10)
  GRX_COM_UNUSED_SLOT(11)
  GRX_COM_UNUSED_SLOT(12)
  GRX_COM_UNUSED_SLOT(13)
  GRX_COM_UNUSED_SLOT(14)
  GRX_COM_UNUSED_SLOT(15)

  HRESULT GetProductOfLibrary(const char* library, grx::platform::GUID* product, std::uint32_t* status) override {
    if (!library || !product || !status) return E_POINTER;
    if (Mode() == "fail") return E_FAIL;
    const auto text = *library ? Setting("Libraries", library) : std::nullopt;
    const auto guid = text ? grx::platform::GuidFromString(*text) : std::nullopt;
    if (!guid) return NotFound(status);
    *product = *guid;
    *status = 0;
    return S_OK;
  }

  HRESULT GetProductProperty(const grx::platform::GUID& product, grx::platform::BSTR name, grx::platform::BSTR* value,
                             std::uint32_t* status) override {
    if (!name || !value || !status) return E_POINTER;
    *value = nullptr;
    if (Mode() == "fail") return E_FAIL;
    const auto text = Setting("Products\\" + grx::platform::GuidToString(product), grx::platform::Narrow(name));
    if (!text) return NotFound(status);
    *value = grx::platform::SysAllocString(grx::platform::Widen(*text).c_str());
    *status = 0;
    return S_OK;
  }

private:
  ~Installation() = default;
  static HRESULT NotFound(std::uint32_t* status) {
    *status = w5tl::kInstallationNotFound;
    return w5tl::kInstallationNotFoundResult;
  }

  const bool withLibraries_;
  std::atomic<std::uint32_t> references_{1};
};

} // namespace

namespace w5tl {

grx::platform::IUnknown* GetInstallation() {
  const std::string mode = Mode();
  if (mode == "missing") return nullptr;
  return static_cast<IInstallationLibraries*>(new Installation(mode != "no-libraries"));
}

} // namespace w5tl
