// Import/export decoration of the service library (libTerrace).
#pragma once

#if defined(TERRACE_BUILDING)
#define TERRACE_API __declspec(dllexport)
#else
#define TERRACE_API __declspec(dllimport)
#endif
