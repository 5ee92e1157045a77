// Compares two PNG files pixel for pixel, as RGB.
// Usage: png_compare A.png B.png; exit 0 when they match, 1 when not, 2 when unreadable.
#include <stdio.h>
#include <string.h>

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#include <stb/stb_image.h>

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: png_compare A.png B.png\n");
        return 2;
    }
    int width[2];
    int height[2];
    unsigned char* pixels[2];
    for (int i = 0; i < 2; i++) {
        int channels = 0;
        pixels[i] = stbi_load(argv[1 + i], &width[i], &height[i], &channels, 3);
        if (pixels[i] == nullptr) {
            fprintf(stderr, "png_compare: %s: %s\n", argv[1 + i], stbi_failure_reason());
            return 2;
        }
    }
    if (width[0] != width[1] || height[0] != height[1]) {
        fprintf(stderr, "png_compare: %dx%d against %dx%d\n", width[0], height[0], width[1], height[1]);
        return 1;
    }
    long differing = 0;
    for (int y = 0; y < height[0]; y++) {
        for (int x = 0; x < width[0]; x++) {
            size_t at = 3 * ((size_t)y * width[0] + x);
            if (memcmp(pixels[0] + at, pixels[1] + at, 3) == 0) continue;
            if (differing++ == 0) {
                fprintf(stderr, "png_compare: first difference at %d,%d: %d %d %d against %d %d %d\n", x, y,
                        pixels[0][at], pixels[0][at + 1], pixels[0][at + 2], pixels[1][at],
                        pixels[1][at + 1], pixels[1][at + 2]);
            }
        }
    }
    stbi_image_free(pixels[0]);
    stbi_image_free(pixels[1]);
    if (differing) fprintf(stderr, "png_compare: %ld pixels differ\n", differing);
    return differing ? 1 : 0;
}
