// The English language resource library w5lresax: the helper library's own resources
// (src/app/library_resources.cpp) and the name of its language.
#include "platform/export_macros.h"
GRX_MODULE_EXPORT const char* w5lres_Language() {
  return "ENGLISH";
}
