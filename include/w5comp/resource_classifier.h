// The engineering system's resource-classification component: an in-process COM server that
// tells of what kind a resource (controller) is, from its object descriptor.
#pragma once

#include <cstdint>

#include "chartdb/q3jdbmox_types.h"
#include "grx/com_types.h"

namespace w5comp {

// {6A3D2F20-4B7C-4E21-9F3A-1C5D7E9B2A40}
inline constexpr grx::platform::CLSID CLSID_ResourceClassifier = {
    0x6A3D2F20, 0x4B7C, 0x4E21, {0x9F, 0x3A, 0x1C, 0x5D, 0x7E, 0x9B, 0x2A, 0x40}};
// {6A3D2F21-4B7C-4E21-9F3A-1C5D7E9B2A40}
inline constexpr grx::platform::IID IID_IResourceClassifier = {
    0x6A3D2F21, 0x4B7C, 0x4E21, {0x9F, 0x3A, 0x1C, 0x5D, 0x7E, 0x9B, 0x2A, 0x40}};

// The selector of the first classification, and the kind value of a resource of the served kind.
inline constexpr std::uint32_t kClassifySelector = 0x1410d1;
inline constexpr std::uint32_t kServedKind = 0x12e0726;

// The methods callers use sit in the slots 13 (GetKind) and 20 (Classify), counting the three
// IUnknown methods as slots 0 to 2; the slots between belong to other parts of the component.
class IResourceClassifier : public grx::platform::IUnknown {
public:
  GRX_COM_RESERVED_SLOT(3)
  GRX_COM_RESERVED_SLOT(4)
  GRX_COM_RESERVED_SLOT(5)
  GRX_COM_RESERVED_SLOT(6)
  GRX_COM_RESERVED_SLOT(7)
  GRX_COM_RESERVED_SLOT(8)
  GRX_COM_RESERVED_SLOT(9)
  GRX_COM_RESERVED_SLOT(10)
  GRX_COM_RESERVED_SLOT(11)
  GRX_COM_RESERVED_SLOT(12)
  // Slot 13: the kind of a classified resource.
  virtual grx::platform::HRESULT GetKind(GlObjectDescriptor classified, std::uint32_t* kind, std::uint32_t* status) = 0;
  GRX_COM_RESERVED_SLOT(14)
  GRX_COM_RESERVED_SLOT(15)
  GRX_COM_RESERVED_SLOT(16)
  GRX_COM_RESERVED_SLOT(17)
  GRX_COM_RESERVED_SLOT(18)
  GRX_COM_RESERVED_SLOT(19)
  // Slot 20: classifies a resource's descriptor with a selector (within the object set of a
  // transaction, or 0).
  virtual grx::platform::HRESULT Classify(GlObjectDescriptor resource, std::uint32_t selector,
                                          GlObjectDescriptor* classified, std::uint32_t* status,
                                          GlObjectSet objectSet) = 0;
};

} // namespace w5comp
