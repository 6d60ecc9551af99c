// The resource-classification component stand-in w5rccmpx. It classifies a resource by the
// controller family in word 5 of its object descriptor (as the chart database gives it out):
//   0x11xxxx  classified with the first selector, of the served kind
//   0x12xxxx  classified only with selector 0 (the caller's second try), of the served kind
//   others    classified, of another kind (0x12e0000)
// The setting "Mode" under Software\Halvorn\ORBIX\2.0\ResourceClassifier (or W5RC_MODE) switches
// it: "fail" makes Classify fail (E_FAIL), "status" makes it answer status 7.
#include <cstdlib>
#include <string>

#include "platform/com_lite.h"
#include "platform/export_macros.h"
#include "platform/settings_store.h"
#include "w5comp/resource_classifier.h"

namespace {

using grx::platform::HRESULT;
constexpr std::uint32_t kOtherKind = 0x12e0000;

std::string Mode() {
  if (const char* mode = std::getenv("W5RC_MODE"); mode && *mode) return mode;
  return grx::platform::ReadSettingText(grx::platform::Hive::LocalMachine,
                                        "Software\\Halvorn\\ORBIX\\2.0\\ResourceClassifier", "Mode")
      .value_or("");
}

class ResourceClassifier final
    : public grx::platform::ComObject<w5comp::IResourceClassifier, &w5comp::IID_IResourceClassifier> {
public:
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
  GRX_COM_UNUSED_SLOT(14)
  GRX_COM_UNUSED_SLOT(15)
  GRX_COM_UNUSED_SLOT(16)
  GRX_COM_UNUSED_SLOT(17)
  GRX_COM_UNUSED_SLOT(18)
  GRX_COM_UNUSED_SLOT(19)

  HRESULT GetKind(GlObjectDescriptor classified, std::uint32_t* kind, std::uint32_t* status) override {
    if (!kind || !status) return grx::platform::E_POINTER;
    const std::uint32_t family = classified.word[4];
    *kind = (family >> 16) == 0x11 || (family >> 16) == 0x12 ? w5comp::kServedKind : kOtherKind;
    *status = 0;
    return grx::platform::S_OK;
  }

  HRESULT Classify(GlObjectDescriptor resource, std::uint32_t selector, GlObjectDescriptor* classified,
                   std::uint32_t* status, GlObjectSet) override {
    if (!classified || !status) return grx::platform::E_POINTER;
    const std::string mode = Mode();
    if (mode == "fail") return grx::platform::E_FAIL;
    if (mode == "status") {
      *status = 7;
      return grx::platform::S_OK;
    }
    const std::uint32_t family = resource.word[4];
    if (selector == w5comp::kClassifySelector && (family >> 16) == 0x12) {
      *status = 1; // not classified by this selector
      return grx::platform::S_OK;
    }
    *classified = resource;
    *status = 0;
    return grx::platform::S_OK;
  }

private:
  ~ResourceClassifier() override = default;
};

} // namespace

GRX_MODULE_EXPORT HRESULT grx_CreateComponent(const grx::platform::CLSID& clsid, const grx::platform::IID& iid,
                                              void** object) {
  if (!object) return grx::platform::E_POINTER;
  *object = nullptr;
  if (!(clsid == w5comp::CLSID_ResourceClassifier))
    return static_cast<HRESULT>(0x80040111); // CLASS_E_CLASSNOTAVAILABLE
  return grx::platform::CreateComponentObject<ResourceClassifier>(iid, object);
}
