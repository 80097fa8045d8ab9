#include "WqLib.h"

// A game sees the public header and nothing of the library's insides.
#if __has_include("core/base/log_file.h") || __has_include("log_file.h") || \
    __has_include("core/startup/library_startup.h")
#error "the library's private headers are visible to a game"
#endif

int WriteThroughTheLibrary() { return LogWrite("probe\n"); }
