// Import/export decoration of the Vantorel view library.
#pragma once

#if defined(VANTOREL_BUILDING)
#define VANTOREL_API __declspec(dllexport)
#else
#define VANTOREL_API __declspec(dllimport)
#endif
