#pragma once
// Wuffs' GIF decoder behind a small C interface, for the decoding benchmark
// only; built when the yardstick's source is there.
#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Called after each frame with its rectangle (x0, y0 inclusive; x1, y1 exclusive).
typedef void (*wuffs_yardstick_frame_fn)(void* context, uint32_t x0, uint32_t y0, uint32_t x1, uint32_t y1);

void* wuffs_yardstick_new(void);
void wuffs_yardstick_free(void* decoder);
// Decodes every frame of the GIF into canvas (width x height indices, after
// 1024 bytes of palette). With canvas too small (or null), only reports the
// size. Returns the number of frames, or -1 on an error.
long wuffs_yardstick_decode(void* decoder, const uint8_t* gif, size_t size, uint8_t* canvas, size_t canvasSize,
                            uint32_t* width, uint32_t* height, wuffs_yardstick_frame_fn onFrame, void* context);

#ifdef __cplusplus
}
#endif
