// The one place stb_image's implementation is compiled, for the formats
// skins use.  Images come from memory only (files and archives are read by
// the toolkit itself), and no skin image is anywhere near 16384 pixels on a
// side, so larger headers are taken for damage and refused before any
// allocation.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#define STBI_ONLY_PSD
#define STBI_ONLY_PIC
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS 16384
#include <stb_image.h>
