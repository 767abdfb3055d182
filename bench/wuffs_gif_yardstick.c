// Wuffs' GIF decoder for the benchmark: its single-file release compiled
// here, used through its public interface.
#include "wuffs_gif_yardstick.h"

#include <stdlib.h>

#include "wuffs-v0.4.c"

void* wuffs_yardstick_new(void) { return wuffs_gif__decoder__alloc(); }

void wuffs_yardstick_free(void* decoder) { free(decoder); }

long wuffs_yardstick_decode(void* decoder, const uint8_t* gif, size_t size, uint8_t* canvas, size_t canvasSize,
                            uint32_t* width, uint32_t* height, wuffs_yardstick_frame_fn onFrame, void* context) {
    wuffs_gif__decoder* d = (wuffs_gif__decoder*)decoder;
    wuffs_base__status status = wuffs_gif__decoder__initialize(d, sizeof__wuffs_gif__decoder(), WUFFS_VERSION, 0);
    if (!wuffs_base__status__is_ok(&status)) return -1;
    wuffs_base__io_buffer src = wuffs_base__ptr_u8__reader((uint8_t*)gif, size, true);
    wuffs_base__image_config config;
    status = wuffs_gif__decoder__decode_image_config(d, &config, &src);
    if (!wuffs_base__status__is_ok(&status)) return -1;
    *width = wuffs_base__pixel_config__width(&config.pixcfg);
    *height = wuffs_base__pixel_config__height(&config.pixcfg);
    const size_t needed = (size_t)1024 + (size_t)*width * *height;
    if (canvas == NULL || canvasSize < needed) return 0;
    wuffs_base__pixel_config pixels;
    wuffs_base__pixel_config__set(&pixels, WUFFS_BASE__PIXEL_FORMAT__INDEXED__BGRA_BINARY,
                                  WUFFS_BASE__PIXEL_SUBSAMPLING__NONE, *width, *height);
    wuffs_base__pixel_buffer buffer;
    status = wuffs_base__pixel_buffer__set_from_slice(&buffer, &pixels, wuffs_base__make_slice_u8(canvas, needed));
    if (!wuffs_base__status__is_ok(&status)) return -1;
    long frames = 0;
    for (;;) {
        wuffs_base__frame_config frame;
        status = wuffs_gif__decoder__decode_frame_config(d, &frame, &src);
        if (status.repr == wuffs_base__note__end_of_data) break;
        if (!wuffs_base__status__is_ok(&status)) return -1;
        status = wuffs_gif__decoder__decode_frame(d, &buffer, &src, WUFFS_BASE__PIXEL_BLEND__SRC,
                                                  wuffs_base__empty_slice_u8(), NULL);
        if (!wuffs_base__status__is_ok(&status)) return -1;
        ++frames;
        if (onFrame != NULL) {
            const wuffs_base__rect_ie_u32 r = wuffs_base__frame_config__bounds(&frame);
            onFrame(context, r.min_incl_x, r.min_incl_y, r.max_excl_x, r.max_excl_y);
        }
    }
    return frames;
}
