// Control interface of the chart-database stand-in. The real chart database has no such calls:
// a host that knows nothing of the stand-in names its project in the environment variable
// Q3JDBMOX_PROJECT instead. Tools and tests use these calls to create, open and inspect projects
// and to inject faults. Every call returns 0 on success; on failure q3sim_LastError tells why.
#pragma once

#include <cstddef>
#include <cstdint>

#include "chartdb/q3jdbmox_types.h"

extern "C" {

// Opens a project database (":memory:" for a fresh, empty one kept in memory). With create set
// an absent file is created empty; without it a missing file or a file that is not a project
// is an error. The open project, iterations, transactions and injected faults are replaced.
int q3sim_OpenProject(const char* path, int create);
int q3sim_CloseProject();
// Text of the last failed control call of the calling thread ("" when none).
const char* q3sim_LastError();

// Imports a JSON project description into a new database file (":memory:" imports into a
// fresh in-memory project and opens it). Nothing is left behind on failure.
int q3sim_ImportDescription(const char* json, const char* path);
// Exports the open project as a JSON description. The text is owned by the stand-in and valid
// until the next call of the same thread.
int q3sim_ExportDescription(const char** json);

// Controllers of the open project in the order of their numbers: copies up to capacity ids and
// returns how many there are.
std::size_t q3sim_Controllers(GlObjectId* ids, std::size_t capacity);

// Object paths: RES, RES/CHART/SUB/BLOCK, a .NAME suffix for parameters, interface variables
// and structure elements, RES/@GLOBAL, RES/#TASK, RES/#TASK/GROUP, RES/%TYPE, RES/%TYPE.PARAM,
// or a plain number (decimal or 0x hex).
int q3sim_ResolvePath(const char* path, GlObjectId* id);
// The path of an object; the text is owned by the stand-in and valid until the next call of the
// same thread.
int q3sim_PathOf(GlObjectId id, const char** path);

// Fault injection. The function named fails with errorId on its firstCall-th call from now
// (1 = the next call) and on the count-1 calls after it; count 0 means on every call from then.
int q3sim_InjectFault(const char* function, std::uint32_t errorId, std::uint32_t firstCall, std::uint32_t count);
int q3sim_ClearFaults();
// Calls of an API function since the project was opened (or the counters were reset).
std::uint64_t q3sim_CallCount(const char* function);
int q3sim_ResetCallCounts();
// Calls of gl_ErrorHandler and the error id it was handed last.
std::uint64_t q3sim_ErrorHandlerCalls(std::uint32_t* lastErrorId);

// Objects of a transaction's object set (gl_ObjectSetGet): copies up to capacity ids and
// returns how many there are.
std::size_t q3sim_ObjectSetContents(GlObjectSet set, GlObjectId* ids, std::size_t capacity);

// Software version that gl_SoftwareVersionGet reports (null restores the configured one).
int q3sim_SetSoftwareVersion(const char* version);
}
