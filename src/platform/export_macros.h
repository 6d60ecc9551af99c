// The compiler's words for what a module exports and for printf-style checks, in one place:
// code outside the platform layer says GRX_MODULE_EXPORT and GRX_PRINTF_FORMAT, never the
// compiler's own attributes.
#pragma once

// GRX_SYMBOL_EXPORT exports a C++ function (an overload under its decorated name);
// GRX_MODULE_EXPORT a function under its plain C name.
#if defined(_WIN32)
#define GRX_SYMBOL_EXPORT __declspec(dllexport)
#else
#define GRX_SYMBOL_EXPORT __attribute__((visibility("default")))
#endif
#define GRX_MODULE_EXPORT extern "C" GRX_SYMBOL_EXPORT

#if defined(__GNUC__)
// formatIndex is the 1-based position of the format text, firstIndex that of the first checked argument
// (members count the object as 1).
#define GRX_PRINTF_FORMAT(formatIndex, firstIndex) __attribute__((format(printf, formatIndex, firstIndex)))
#else
#define GRX_PRINTF_FORMAT(formatIndex, firstIndex)
#endif
