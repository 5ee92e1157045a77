// The game's entry point: start-up, one iteration per displayed frame, shut-down.
#pragma once

// Runs the game until the system closes it or START is pressed; returns 0.
int appMain(void);
