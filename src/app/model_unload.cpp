// The object model is torn down as the last step of the application object's exit cleanup.
#include "app/grx_help_app.h"
#include "opendata/iec_obj_manager.h"

namespace {

const bool modelUnloadRegistered = [] {
  grx::app::AddUnloadStep(&OpenData::ShutdownModel);
  return true;
}();

} // namespace
