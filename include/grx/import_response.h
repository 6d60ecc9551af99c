// The answer of the task and block-type imports and of the import runner.
#pragma once

#include <cstdint>

enum RESPONSE : std::int32_t {
  RESPONSE_OK = 0,     // the import ran and its result was kept
  RESPONSE_FAILED = 1, // it could not run, reported errors, or its result was rejected
  RESPONSE_OTHER = 2,  // the import runner's own answer, passed through as it is
};
