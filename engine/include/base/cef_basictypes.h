// Fixed-size integer and character types that the engine's interfaces use.
#pragma once

#include <stddef.h>
#include <stdint.h>

typedef int32_t int32;
typedef uint32_t uint32;
typedef int64_t int64;
typedef uint64_t uint64;

// The engine's UTF-16 code unit.  On Windows wchar_t is 16 bits wide, so the
// engine's text is the platform's wide text.
typedef wchar_t char16;
