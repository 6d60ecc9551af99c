#include "platform/string_resources.h"

#include <cstring>

#include "platform/code_page.h"
#include "platform/dynamic_library.h"

namespace grx::platform {

std::optional<std::string> LoadResourceString(void* module, std::uint32_t id) {
  using TableFn = const StringResource* (*)();
  const auto tableFn = reinterpret_cast<TableFn>(FindInHandle(module, "grx_string_table"));
  const StringResource* table = tableFn ? tableFn() : nullptr;
  if (!table) return std::nullopt;
  for (const StringResource* s = table; s->text; ++s) {
    if (s->id == id) return Utf8ToAnsiLossy(s->text);
  }
  return std::nullopt;
}

std::optional<DialogTemplate> LoadDialogTemplate(void* module, std::uint32_t id) {
  using TableFn = const DialogTemplate* (*)();
  const auto tableFn = reinterpret_cast<TableFn>(FindInHandle(module, "grx_dialog_table"));
  const DialogTemplate* table = tableFn ? tableFn() : nullptr;
  if (!table) return std::nullopt;
  for (const DialogTemplate* d = table; d->caption; ++d) {
    if (d->id == id) return *d;
  }
  return std::nullopt;
}

int LoadStringA(void* module, std::uint32_t id, char* buffer, int size) {
  if (!buffer || size <= 0) return 0;
  buffer[0] = '\0';
  const auto text = LoadResourceString(module, id);
  if (!text) return 0;
  const std::size_t n = std::min(text->size(), static_cast<std::size_t>(size - 1));
  std::memcpy(buffer, text->data(), n);
  buffer[n] = '\0';
  return static_cast<int>(n);
}

} // namespace grx::platform
