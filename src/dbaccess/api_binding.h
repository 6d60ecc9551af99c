// Lazy binding of the chart-database API: the API library is loaded by its name on the first
// call of any wrapper and each function is looked up by its exported name on its own first call.
#pragma once

#include <atomic>

namespace grx::dbaccess {

inline constexpr const char* kApiLibraryName = "Q3JDBMOX.DLL";
inline constexpr const char* kWrapperVersion = "V6.2";

enum BindOutcome : int { kBound = 0, WRAP_PRIV_DLL_NOT_AVAIL = 1, WRAP_PRIV_FUNC_NOT_AVAIL = 2 };

// Binds one function into its slot. A failed load is not remembered; a slot once filled is never
// cleared. With report set a failure is written to the DB channel and shown in the
// installation-error box.
int BindApiFunction(std::atomic<void*>& slot, const char* exportedName, bool report);

} // namespace grx::dbaccess
