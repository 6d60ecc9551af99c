// The decorated names under which the chart-database library exports its overloaded functions,
// as the compiler of each platform decorates them: GlObjectId is unsigned long ("m") on 64-bit
// Linux and unsigned long long ("y") on 64-bit Windows.
#pragma once

#if defined(_WIN32)
#define GRX_DECORATED_GL_CPUIDGET "_Z11gl_CpuIdGetyRyR6OutCput"
#else
#define GRX_DECORATED_GL_CPUIDGET "_Z11gl_CpuIdGetmRmR6OutCput"
#endif
