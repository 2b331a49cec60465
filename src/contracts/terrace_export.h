// Import/export decoration of the service library (libTerrace).
#pragma once

#if !defined(_WIN32)
#define TERRACE_API  // the platform-free parts built natively for tests and fuzzing
#elif defined(TERRACE_BUILDING)
#define TERRACE_API __declspec(dllexport)
#else
#define TERRACE_API __declspec(dllimport)
#endif
