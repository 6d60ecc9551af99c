#include "platform/system_messages.h"
#include "platform/system_text.h"

namespace grx::platform {
namespace {

struct Entry {
  std::uint32_t code;
  const char* text;
};

constexpr Entry kMessages[] = {
    {0, "The operation completed successfully."},
    {1, "Incorrect function."},
    {2, "The system cannot find the file specified."},
    {3, "The system cannot find the path specified."},
    {4, "The system cannot open the file."},
    {5, "Access is denied."},
    {6, "The handle is invalid."},
    {8, "Not enough memory resources are available to process this command."},
    {13, "The data is invalid."},
    {14, "Not enough memory resources are available to complete this operation."},
    {32, "The process cannot access the file because it is being used by another process."},
    {87, "The parameter is incorrect."},
    {122, "The data area passed to a system call is too small."},
    {126, "The specified module could not be found."},
    {127, "The specified procedure could not be found."},
    {183, "Cannot create a file when that file already exists."},
    {1400, "Invalid window handle."},
    {1812, "The specified image file did not contain a resource section."},
    {1814, "The specified resource name cannot be found in the image file."},
    {0x80004001, "Not implemented"},
    {0x80004002, "No such interface supported"},
    {0x80004003, "Invalid pointer"},
    {0x80004004, "Operation aborted"},
    {0x80004005, "Unspecified error"},
    {0x8000FFFF, "Catastrophic failure"},
    {0x80040154, "Class not registered"},
    {0x800401F0, "CoInitialize has not been called."},
    {0x80070002, "The system cannot find the file specified."},
    {0x80070005, "Access is denied."},
    {0x8007000E, "Not enough memory resources are available to complete this operation."},
    {0x80070057, "The parameter is incorrect."},
};

} // namespace

std::optional<std::string> SystemMessage(std::uint32_t code) {
  for (const Entry& e : kMessages) {
    if (e.code == code) return std::string(e.text) + "\r\n";
  }
  return system::FormattedMessage(code);
}

} // namespace grx::platform
