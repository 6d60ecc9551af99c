// The compiler's keyword component: an in-process COM server that tells whether a name is a
// reserved word of the controller's programming language.
#pragma once

#include <cstdint>

#include "grx/com_types.h"

namespace w5comp {

// {6A3D2F10-4B7C-4E21-9F3A-1C5D7E9B2A40}
inline constexpr grx::platform::CLSID CLSID_CompilerKeyWords = {
    0x6A3D2F10, 0x4B7C, 0x4E21, {0x9F, 0x3A, 0x1C, 0x5D, 0x7E, 0x9B, 0x2A, 0x40}};
// {6A3D2F11-4B7C-4E21-9F3A-1C5D7E9B2A40}
inline constexpr grx::platform::IID IID_ICompilerKeyWords = {
    0x6A3D2F11, 0x4B7C, 0x4E21, {0x9F, 0x3A, 0x1C, 0x5D, 0x7E, 0x9B, 0x2A, 0x40}};

// The status low word 83 (0x53) marks a reserved word; 0 a name that is not one.
inline constexpr std::uint32_t kReservedWordStatus = 83;

class ICompilerKeyWords : public grx::platform::IUnknown {
public:
  virtual grx::platform::HRESULT isLangReservedName(grx::platform::BSTR language, grx::platform::BSTR name,
                                                    std::uint32_t* status) = 0;
};

} // namespace w5comp
