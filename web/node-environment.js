// The headless program on Node reads the real environment (LC_ALL, LANG: the default
// language), as the desktop program does, not the runtime's made-up one.
Module['preRun'] = [() => Object.assign(ENV, process.env)];
