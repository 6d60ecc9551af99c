// The block-type import host: opened for a controller and a transaction, it keeps the import's
// log (its log view) and saves it at Close when a log file is set up.
#pragma once

#include <atomic>
#include <mutex>

#include "log_store.h"
#include "w5comp/block_type_import.h"

namespace w5imp {

class ImportHost final : public w5comp::IImportHost, public LogView {
public:
  grx::platform::HRESULT QueryInterface(const grx::platform::IID& iid, void** object) override;
  std::uint32_t AddRef() override { return ++references_; }
  std::uint32_t Release() override;

  grx::platform::HRESULT Open(GlObjectId objectId, GlTransactionId tr) override;
  grx::platform::HRESULT GetOpened(GlObjectId* objectId, GlTransactionId* tr) override;
  grx::platform::HRESULT Close() override;
  GRX_COM_UNUSED_SLOT(3)
  GRX_COM_UNUSED_SLOT(6)

private:
  ~ImportHost() override = default;

  std::atomic<std::uint32_t> references_{1};
  std::mutex mutex_;
  bool open_ = false;
  GlObjectId objectId_ = 0;
  GlTransactionId tr_ = kNoTransaction;
};

} // namespace w5imp
