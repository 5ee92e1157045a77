// Compares two PNG files pixel for pixel, as RGB; or writes one's pixels as a binary PPM
// (for scripts that check pictures, with the same reader).
// Usage: png_compare A.png B.png   exit 0 when they match, 1 when not, 2 when unreadable
//        png_compare --ppm A.png   the pixels on standard output; exit 2 when unreadable
#include <stdio.h>
#include <string.h>

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_NO_THREAD_LOCALS // newlib on the console has none
#include <stb/stb_image.h>

int main(int argc, char** argv) {
    if (argc != 3) return fprintf(stderr, "usage: png_compare A.png B.png, or png_compare --ppm A.png\n"), 2;
    if (strcmp(argv[1], "--ppm") == 0) {
        int width, height, channels;
        unsigned char* pixels = stbi_load(argv[2], &width, &height, &channels, 3);
        if (pixels == nullptr) return fprintf(stderr, "png_compare: %s: %s\n", argv[2], stbi_failure_reason()), 2;
        printf("P6\n%d %d\n255\n", width, height);
        bool written = fwrite(pixels, 3, (size_t)width * height, stdout) == (size_t)width * height;
        stbi_image_free(pixels);
        return written && fflush(stdout) == 0 ? 0 : 2;
    }
    int width[2], height[2], channels;
    unsigned char* pixels[2];
    for (int i = 0; i < 2; i++) {
        pixels[i] = stbi_load(argv[1 + i], &width[i], &height[i], &channels, 3);
        if (pixels[i] == nullptr) return fprintf(stderr, "png_compare: %s: %s\n", argv[1 + i], stbi_failure_reason()), 2;
    }
    if (width[0] != width[1] || height[0] != height[1]) {
        return fprintf(stderr, "png_compare: %dx%d against %dx%d\n", width[0], height[0], width[1], height[1]), 1;
    }
    long differing = 0;
    for (long at = 0; at < 3L * width[0] * height[0]; at += 3) {
        if (memcmp(pixels[0] + at, pixels[1] + at, 3) == 0 || differing++ > 0) continue;
        fprintf(stderr, "png_compare: first difference at %ld,%ld: %d %d %d against %d %d %d\n", at / 3 % width[0],
                at / 3 / width[0], pixels[0][at], pixels[0][at + 1], pixels[0][at + 2], pixels[1][at],
                pixels[1][at + 1], pixels[1][at + 2]);
    }
    stbi_image_free(pixels[0]), stbi_image_free(pixels[1]);
    if (differing) fprintf(stderr, "png_compare: %ld pixels differ\n", differing);
    return differing ? 1 : 0;
}
