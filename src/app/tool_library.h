// The functions of the engineering system's tool library w5toolax that the library links by name.
#pragma once

extern "C" {
// The module of the language resource library for the user's language, or null.
void* W5TL_LoadLanguageDllEx(void* instance, const char* baseName);
}
