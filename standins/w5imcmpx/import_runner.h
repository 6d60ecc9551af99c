// The block-type import runner: brings the block types of the catalogue's technology packages
// into a controller, with their block-type records, and logs one line per type.
#pragma once

#include <atomic>

#include "platform/com_lite.h"
#include "w5comp/block_type_import.h"

namespace w5imp {

class ImportRunner final : public grx::platform::ComObject<w5comp::IImportRunner, &w5comp::IID_IImportRunner> {
public:
  grx::platform::HRESULT Run(grx::platform::WindowHandle window, grx::platform::IUnknown* host, GlObjectId objectId,
                             GlTransactionId* tr, RESPONSE* result) override;
  GRX_COM_UNUSED_SLOT(3)
  GRX_COM_UNUSED_SLOT(4)
  GRX_COM_UNUSED_SLOT(5)
  GRX_COM_UNUSED_SLOT(6)
  GRX_COM_UNUSED_SLOT(7)
  GRX_COM_UNUSED_SLOT(8)

private:
  ~ImportRunner() override = default;
};

} // namespace w5imp
