// String resources of modules: what LoadStringA reads from a module's string table. A module
// that carries strings exports a function that hands out its table (GRX_STRING_TABLE below); the
// tables themselves stay inside their modules, so that modules with tables of the same kind can
// be loaded side by side.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/export_macros.h"

namespace grx::platform {

struct StringResource {
  std::uint32_t id;
  const char* text;
};

// A dialog template: its caption and the identifiers of its controls (0-terminated).
struct DialogTemplate {
  std::uint32_t id;
  const char* caption;
  const std::uint32_t* controls;
};

// The dialog template with that identifier in the module, or nullopt.
std::optional<DialogTemplate> LoadDialogTemplate(void* module, std::uint32_t id);

// The string with that identifier in the module (a handle of a loaded module), in the ANSI code
// page (tables are written in UTF-8, as resources are Unicode); nullopt when the module has no
// string table or no such string.
std::optional<std::string> LoadResourceString(void* module, std::uint32_t id);
// LoadStringA: copies at most size-1 characters and a terminating zero; the number of characters
// copied, 0 when there is no such string.
int LoadStringA(void* module, std::uint32_t id, char* buffer, int size);

} // namespace grx::platform

// Declares a module's string table: GRX_STRING_TABLE({509, "Help"}, {511, "&Yes"});
#define GRX_STRING_TABLE(...)                                                         \
  namespace {                                                                         \
  const grx::platform::StringResource grxStringTable[] = {__VA_ARGS__, {0, nullptr}}; \
  }                                                                                   \
  GRX_MODULE_EXPORT const grx::platform::StringResource* grx_string_table() {         \
    return grxStringTable;                                                            \
  }

// Declares a module's dialog templates: GRX_DIALOG_TABLE({6506, "Message", kControls}, ...);
#define GRX_DIALOG_TABLE(...)                                                                  \
  namespace {                                                                                  \
  const grx::platform::DialogTemplate grxDialogTable[] = {__VA_ARGS__, {0, nullptr, nullptr}}; \
  }                                                                                            \
  GRX_MODULE_EXPORT const grx::platform::DialogTemplate* grx_dialog_table() {                  \
    return grxDialogTable;                                                                     \
  }
