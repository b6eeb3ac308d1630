#pragma once
// Conversions of 32-bit pixels (bytes blue, green, red, alpha) between straight
// and premultiplied alpha, through two 256 x 256 tables filled once per process,
// and the colour routine that gives a disabled draw its look.

#include <cstddef>
#include <cstdint>

// Premultiplying: alpha 0 gives all zero bytes, alpha 255 leaves the pixel as it
// is, otherwise each colour byte c becomes c × alpha / 255 rounded to nearest.
void PremultiplyPixels(uint8_t* pixels, size_t count);
// Making straight: c becomes c × 255 / alpha rounded to nearest (at most 255)
// for alpha other than 0 and 255.
void UnpremultiplyPixels(uint8_t* pixels, size_t count);

// Takes pixels of a source without an alpha channel: the transparency key
// (red 255, green 0, blue 255) becomes all zero bytes, every other pixel gets
// alpha 255. True when at least one key pixel was found.
bool KeyTransparentPixels(uint8_t* pixels, size_t count);

// One pixel as 0xAARRGGBB (the four bytes read little-endian), made straight.
uint32_t StraightPixel(uint32_t premultiplied);

// The disabled look: each premultiplied pixel becomes the grey of its luma
// (Rec. 601 weights, so a grey is kept) at half its opacity.
void MakeGrayTranslucent(uint8_t* pixels, size_t count);
