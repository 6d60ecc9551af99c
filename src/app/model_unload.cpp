// The object model is torn down as the last step of the application object's exit cleanup: every
// thread's manager and the default factory, then the extension factory of the blob records.
#include "app/grx_help_app.h"
#include "blob/zeb_iec_obj_factory.h"
#include "opendata/iec_obj_manager.h"

namespace {

void UnloadModel() {
  OpenData::ShutdownModel();
  CZebIecObjFactory::DeleteInstance();
}

const bool modelUnloadRegistered = [] {
  grx::app::AddUnloadStep(&UnloadModel);
  return true;
}();

} // namespace
