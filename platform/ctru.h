// The console library's names as the game uses them. On the console this is the
// real library; everywhere else the same names, types and values are declared here
// and implemented by the host model of the console beside this header.
#pragma once

#ifdef __3DS__
#include <3ds.h>
#else

#include <stdbool.h>
#include <stdint.h>

typedef uint8_t u8;
typedef uint16_t u16;
typedef uint32_t u32;
typedef uint64_t u64;
typedef int8_t s8;
typedef int16_t s16;
typedef int32_t s32;
typedef int64_t s64;
typedef s32 Result;

#define BIT(n) (1U << (n))

// The screens as the hardware sees them: 240-pixel columns, 400 above and 320 below.
#define GSP_SCREEN_WIDTH 240
#define GSP_SCREEN_HEIGHT_TOP 400
#define GSP_SCREEN_HEIGHT_BOTTOM 320

#ifdef __cplusplus
extern "C" {
#endif

typedef enum { GFX_TOP = 0, GFX_BOTTOM = 1 } gfxScreen_t;
typedef enum { GFX_LEFT = 0, GFX_RIGHT = 1 } gfx3dSide_t;

typedef enum {
    GSP_RGBA8_OES = 0,
    GSP_BGR8_OES = 1,
    GSP_RGB565_OES = 2,
    GSP_RGB5_A1_OES = 3,
    GSP_RGBA4_OES = 4
} GSPGPU_FramebufferFormat;

typedef enum {
    GSPGPU_EVENT_PSC0 = 0,
    GSPGPU_EVENT_PSC1 = 1,
    GSPGPU_EVENT_VBlank0 = 2,
    GSPGPU_EVENT_VBlank1 = 3,
    GSPGPU_EVENT_PPF = 4,
    GSPGPU_EVENT_P3D = 5,
    GSPGPU_EVENT_DMA = 6
} GSPGPU_Event;

enum {
    KEY_A = BIT(0),
    KEY_B = BIT(1),
    KEY_SELECT = BIT(2),
    KEY_START = BIT(3),
    KEY_DRIGHT = BIT(4),
    KEY_DLEFT = BIT(5),
    KEY_DUP = BIT(6),
    KEY_DDOWN = BIT(7),
    KEY_R = BIT(8),
    KEY_L = BIT(9),
    KEY_X = BIT(10),
    KEY_Y = BIT(11),
    KEY_ZL = BIT(14),
    KEY_ZR = BIT(15),
    KEY_TOUCH = BIT(20),
    KEY_CSTICK_RIGHT = BIT(24),
    KEY_CSTICK_LEFT = BIT(25),
    KEY_CSTICK_UP = BIT(26),
    KEY_CSTICK_DOWN = BIT(27),
    KEY_CPAD_RIGHT = BIT(28),
    KEY_CPAD_LEFT = BIT(29),
    KEY_CPAD_UP = BIT(30),
    KEY_CPAD_DOWN = BIT(31),
    KEY_UP = KEY_DUP | KEY_CPAD_UP,
    KEY_DOWN = KEY_DDOWN | KEY_CPAD_DOWN,
    KEY_LEFT = KEY_DLEFT | KEY_CPAD_LEFT,
    KEY_RIGHT = KEY_DRIGHT | KEY_CPAD_RIGHT
};

typedef enum {
    CFG_LANGUAGE_JP = 0,
    CFG_LANGUAGE_EN = 1,
    CFG_LANGUAGE_FR = 2,
    CFG_LANGUAGE_DE = 3,
    CFG_LANGUAGE_IT = 4,
    CFG_LANGUAGE_ES = 5,
    CFG_LANGUAGE_ZH = 6,
    CFG_LANGUAGE_KO = 7,
    CFG_LANGUAGE_NL = 8,
    CFG_LANGUAGE_PT = 9,
    CFG_LANGUAGE_RU = 10,
    CFG_LANGUAGE_TW = 11
} CFG_Language;

void gfxInitDefault(void);
void gfxExit(void);
u8* gfxGetFramebuffer(gfxScreen_t screen, gfx3dSide_t side, u16* width, u16* height);
void gfxFlushBuffers(void);
void gfxSwapBuffers(void);
void gspWaitForEvent(GSPGPU_Event id, bool nextEvent);

Result cfguInit(void);
void cfguExit(void);
Result CFGU_GetSystemLanguage(u8* language);

u64 osGetTime(void);
bool aptMainLoop(void);

void hidScanInput(void);
u32 hidKeysDown(void);

#ifdef __cplusplus
}
#endif

#endif
