// Outside a Win32 build the help viewers are started by command (help_viewer.h): no viewer window
// takes requests, and the listener never listens.
#include "platform/help_requests.h"

namespace grx::platform {

struct HelpRequestListener::State {};

HelpRequestListener::HelpRequestListener() = default;
HelpRequestListener::~HelpRequestListener() = default;

bool HelpRequestListener::Listening() const {
  return false;
}

WindowHandle HelpRequestListener::Window() const {
  return kNoWindow;
}

std::vector<HelpRequest> HelpRequestListener::Requests() const {
  return {};
}

} // namespace grx::platform
