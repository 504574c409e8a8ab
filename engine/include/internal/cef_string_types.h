// The engine's C string structures.  Each one is a buffer, its length in code
// units, and the function that frees the buffer.  A structure whose dtor is
// null refers to text owned by someone else; clearing it only forgets the
// text.  Structures start zero-filled, which is the empty string.
#pragma once

#include <stddef.h>

#include "include/base/cef_basictypes.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef wchar_t cef_char16_t;

typedef struct _cef_string_utf16_t {
  cef_char16_t* str;
  size_t length;
  void (*dtor)(cef_char16_t* str);
} cef_string_utf16_t;

typedef struct _cef_string_utf8_t {
  char* str;
  size_t length;
  void (*dtor)(char* str);
} cef_string_utf8_t;

// A heap-allocated structure handed to the caller, who frees it (and its
// text) with the matching userfree function.
typedef cef_string_utf16_t* cef_string_userfree_utf16_t;
typedef cef_string_utf8_t* cef_string_userfree_utf8_t;

// Puts src_len code units of src into output, after freeing what output held.
// With copy set, output receives its own NUL-terminated copy; otherwise it
// refers to src, which must outlive it.  src may point into output's own text.
// Returns 1.
int cef_string_utf16_set(const cef_char16_t* src, size_t src_len, cef_string_utf16_t* output,
                         int copy);
int cef_string_utf8_set(const char* src, size_t src_len, cef_string_utf8_t* output, int copy);

#define cef_string_utf16_copy(src, src_len, output) cef_string_utf16_set(src, src_len, output, 1)
#define cef_string_utf8_copy(src, src_len, output) cef_string_utf8_set(src, src_len, output, 1)

// Frees the text (when the structure owns it) and empties the structure.
void cef_string_utf16_clear(cef_string_utf16_t* str);
void cef_string_utf8_clear(cef_string_utf8_t* str);

// Compares code unit by code unit: negative, 0 or positive.
int cef_string_utf16_cmp(const cef_string_utf16_t* str1, const cef_string_utf16_t* str2);
int cef_string_utf8_cmp(const cef_string_utf8_t* str1, const cef_string_utf8_t* str2);

// Converts into an owned copy in output.  Malformed input is not dropped:
// each bad sequence becomes U+FFFD (or its UTF-8 form).  Returns 1 when the
// input was well-formed, 0 when something had to be replaced.
int cef_string_utf8_to_utf16(const char* src, size_t src_len, cef_string_utf16_t* output);
int cef_string_utf16_to_utf8(const cef_char16_t* src, size_t src_len, cef_string_utf8_t* output);

cef_string_userfree_utf16_t cef_string_userfree_utf16_alloc(void);
void cef_string_userfree_utf16_free(cef_string_userfree_utf16_t str);
cef_string_userfree_utf8_t cef_string_userfree_utf8_alloc(void);
void cef_string_userfree_utf8_free(cef_string_userfree_utf8_t str);

#ifdef __cplusplus
}
#endif
